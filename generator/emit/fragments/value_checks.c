//the lexical forms of XML Schema's built-in types that the members hold as text; each returns 0
//when the whole text (blanks around it aside) is one, else -1 (a type that holds none leaves a
//check unused)
#define MYCHECK_INTEGER	0	//integer: any sign
#define MYCHECK_UNSIGNED	1	//nonNegativeInteger and the unsigned types: "-" only before zero
#define MYCHECK_POSITIVE	2	//positiveInteger: above zero
static int mycheck_integer(const char *text, int rule) KVPROJ_MAYBE_UNUSED;
static int mycheck_decimal(const char *text) KVPROJ_MAYBE_UNUSED;
#define MYCHECK_DATE	1
#define MYCHECK_TIME	2
#define MYCHECK_DATETIME	3
static int mycheck_moment(const char *text, int parts) KVPROJ_MAYBE_UNUSED;
//how an enumeration's values are compared with a text: as written, or as the numbers they write
//("01" is "1", "2.50" is "2.5")
#define MYCHECK_AS_TEXT	0
#define MYCHECK_AS_INTEGER	1
#define MYCHECK_AS_DECIMAL	2
#define MYCHECK_AS_DOUBLE	3
static int mycheck_listed(const char *text, const char *const *values, int rule) KVPROJ_MAYBE_UNUSED;
static int mycheck_enumerated(mycursor_t *out, const char *name, const char *text, const char *const *values, int rule) KVPROJ_MAYBE_UNUSED;
static int mycheck_unlisted(mycursor_t *out, const char *name, const char *text) KVPROJ_MAYBE_UNUSED;
static int mycheck_null(mycursor_t *out, const char *member) KVPROJ_MAYBE_UNUSED;

static const char *mycheck_blanks(const char *c)
{
	while(*c == ' ' || *c == '\t' || *c == '\r' || *c == '\n')
		c++;
	return c;
}

//the digits at *c, at least one; *zero tells whether all are 0
static int mycheck_digits(const char **c, int *zero)
{
	const char	*start = *c;

	*zero = 1;
	while(**c >= '0' && **c <= '9'){
		if(**c != '0')
			*zero = 0;
		(*c)++;
	}
	return *c > start ? 0 : -1;
}

static int mycheck_integer(const char *text, int rule)
{
	const char	*c = mycheck_blanks(text);
	int		negative = 0, zero;

	if(*c == '+' || *c == '-')
		negative = *c++ == '-';
	if(mycheck_digits(&c, &zero) != 0 || *mycheck_blanks(c) != '\0')
		return -1;
	if(rule != MYCHECK_INTEGER && negative && !zero)
		return -1;
	return rule == MYCHECK_POSITIVE && zero ? -1 : 0;
}

//a sign, digits with one point at most among or around them, at least one digit; no exponent
static int mycheck_decimal(const char *text)
{
	const char	*c = mycheck_blanks(text);
	int		zero, whole, fraction = -1;

	if(*c == '+' || *c == '-')
		c++;
	whole = mycheck_digits(&c, &zero);
	if(*c == '.'){
		c++;
		fraction = mycheck_digits(&c, &zero);
	}
	if(whole != 0 && fraction != 0)
		return -1;
	return *mycheck_blanks(c) == '\0' ? 0 : -1;
}

//exactly n digits at *c as a number; -1 when they are not there
static int mycheck_field(const char **c, int n)
{
	int	value = 0;

	for(; n > 0; n--, (*c)++){
		if(**c < '0' || **c > '9')
			return -1;
		value = value * 10 + (**c - '0');
	}
	return value;
}

//-?yyyy-mm-dd with a year of four digits or more (no leading zero then, never 0000) and a day
//its month has
static int mycheck_date(const char **c)
{
	static const int	days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
	const char	*start;
	int		by400 = 0, month, day, zero;

	if(**c == '-')
		(*c)++;
	start = *c;
	if(mycheck_digits(c, &zero) != 0 || *c - start < 4 || zero || (*c - start > 4 && *start == '0'))
		return -1;
	//the year modulo 400 tells a leap year
	for(; start < *c; start++)
		by400 = (by400 * 10 + (*start - '0')) % 400;
	if(*(*c)++ != '-' || (month = mycheck_field(c, 2)) < 1 || month > 12 || *(*c)++ != '-' ||
		(day = mycheck_field(c, 2)) < 1 || day > days[month - 1])
		return -1;
	if(month == 2 && day == 29 && !(by400 % 4 == 0 && (by400 % 100 != 0 || by400 == 0)))
		return -1;
	return 0;
}

//hh:mm:ss with fractions of a second, 24:00:00 for the end of a day
static int mycheck_time(const char **c)
{
	int	hour, minute, second, zero = 1;

	if((hour = mycheck_field(c, 2)) < 0 || *(*c)++ != ':' || (minute = mycheck_field(c, 2)) < 0 ||
		*(*c)++ != ':' || (second = mycheck_field(c, 2)) < 0)
		return -1;
	if(**c == '.'){
		(*c)++;
		if(mycheck_digits(c, &zero) != 0)
			return -1;
	}
	if(minute > 59 || second > 59 || hour > 24 || (hour == 24 && (minute != 0 || second != 0 || !zero)))
		return -1;
	return 0;
}

//a date, a time or both (a T between them), then Z or a zone of +-hh:mm up to 14:00
static int mycheck_moment(const char *text, int parts)
{
	const char	*c = mycheck_blanks(text);
	int		hours, minutes;

	if((parts & MYCHECK_DATE) && mycheck_date(&c) != 0)
		return -1;
	if(parts == MYCHECK_DATETIME && *c++ != 'T')
		return -1;
	if((parts & MYCHECK_TIME) && mycheck_time(&c) != 0)
		return -1;
	if(*c == 'Z'){
		c++;
	}else if(*c == '+' || *c == '-'){
		c++;
		if((hours = mycheck_field(&c, 2)) < 0 || *c++ != ':' || (minutes = mycheck_field(&c, 2)) < 0 ||
			minutes > 59 || hours > 14 || (hours == 14 && minutes != 0))
			return -1;
	}
	return *mycheck_blanks(c) == '\0' ? 0 : -1;
}

//a decimal's text taken apart: its sign, its whole digits without leading zeros and its fraction
//digits without trailing zeros, so that two texts of one number come apart alike; -1 when the
//text is no decimal (with a fraction, no integer)
typedef struct{
	int		negative;
	const char	*whole, *fraction;
	size_t		whole_length, fraction_length;
}mycheck_number_t;

static int mycheck_number_parts(const char *text, int rule, mycheck_number_t *n)
{
	const char	*c = mycheck_blanks(text);

	if(rule == MYCHECK_AS_INTEGER ? mycheck_integer(text, MYCHECK_INTEGER) != 0 : mycheck_decimal(text) != 0)
		return -1;
	n->negative = *c == '-';
	if(*c == '+' || *c == '-')
		c++;
	while(*c == '0')
		c++;
	for(n->whole = c; *c >= '0' && *c <= '9'; c++)
		;
	n->whole_length = (size_t)(c - n->whole);
	n->fraction = c;
	n->fraction_length = 0;
	if(*c == '.'){
		for(n->fraction = ++c; *c >= '0' && *c <= '9'; c++)
			;
		n->fraction_length = (size_t)(c - n->fraction);
		while(n->fraction_length > 0 && n->fraction[n->fraction_length - 1] == '0')
			n->fraction_length--;
	}
	if(n->whole_length == 0 && n->fraction_length == 0)
		n->negative = 0; //-0 is 0
	return 0;
}

#include <float.h>

//a double computed in wider registers would be rounded twice: there the exact reading is left out
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
#define MYCHECK_EXACT_DOUBLES 1
#else
#define MYCHECK_EXACT_DOUBLES 0
#endif

//the double of a short decimal text ([sign] digits [. digits] [e exponent], ended by its end or a
//blank) where it is exact: a whole number of at most 2^53 times or divided by a power of ten of at
//most 22, both exact in a double, so that the one rounding of the product or quotient is the one
//strtod makes. 0 with *end behind the number, or -1 where strtod must read the text: strtod costs
//some hundreds of instructions for a number of a few digits
static int mycheck_exact_double(const char *text, double *value, char **end)
{
	static const double	powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13,
		1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
	const char	*c = text + (*text == '-' || *text == '+');
	unsigned long long	whole = 0;
	int	digits = 0, significant = 0, point = 0, behind = 0, exponent = 0, negative = 0;

	for(; (*c >= '0' && *c <= '9') || (*c == '.' && !point); c++){
		if(*c == '.'){
			point = 1;
			continue;
		}
		digits++;
		behind += point;
		//zeros in front of the first other digit add nothing
		if(whole == 0 && *c == '0')
			continue;
		if(++significant > 19)
			return -1;
		whole = whole * 10 + (unsigned long long)(*c - '0');
	}
	if(digits == 0 || whole > (1ULL << 53))
		return -1;
	if(*c == 'e' || *c == 'E'){
		negative = c[1] == '-';
		c += 1 + (c[1] == '-' || c[1] == '+');
		if(*c < '0' || *c > '9')
			return -1;
		for(; *c >= '0' && *c <= '9'; c++){
			if((exponent = exponent * 10 + (*c - '0')) > 1000)
				return -1;
		}
		exponent = negative ? -exponent : exponent;
	}
	exponent -= behind;
	if((*c != '\0' && *c != ' ' && *c != '\t' && *c != '\r' && *c != '\n') || (whole != 0 && (exponent < -22 || exponent > 22)))
		return -1;
	*value = whole == 0 ? 0.0 : exponent >= 0 ? (double)whole * powers[exponent] : (double)whole / powers[-exponent];
	if(*text == '-')
		*value = -*value;
	*end = (char *)c;
	return 0;
}

//strtod of a text whose decimal point is '.' (as XML Schema writes it) even where the program has
//set a locale whose decimal point strtod reads otherwise: the text's '.' becomes the locale's in a
//copy, on the stack unless the text is long. Nothing is read (*end is text) when no memory is left
static double mycheck_strtod(const char *text, char **end)
{
	const char	*point, *dot;
	size_t		length, before, after;
	char		held[64], *copy = held, *copy_end;
	double		value;
	int		error;

	if(MYCHECK_EXACT_DOUBLES && mycheck_exact_double(text, &value, end) == 0)
		return value;
	point = localeconv()->decimal_point;
	dot = strchr(text, '.');
	length = strlen(point);
	if(dot == NULL || length == 0 || strcmp(point, ".") == 0)
		return strtod(text, end);
	before = (size_t)(dot - text);
	after = strlen(dot + 1) + 1;
	if(before + length + after > sizeof(held) && (copy = (char *)malloc(before + length + after)) == NULL){
		*end = (char *)text;
		return 0;
	}
	memcpy(copy, text, before);
	memcpy(copy + before, point, length);
	memcpy(copy + before + length, dot + 1, after);
	value = strtod(copy, &copy_end);
	error = errno;
	//as far into text as into the copy, the locale's point taken as the one byte it stands for
	*end = (char *)text + (copy_end - copy) - ((size_t)(copy_end - copy) > before ? length - 1 : 0);
	if(copy != held)
		free(copy);
	errno = error; //strtod's ERANGE, whatever free does
	return value;
}

//the double a text of digits, signs, a point and an exponent writes (no hexadecimal, no names);
//-1 when it is none
static int mycheck_double(const char *text, double *value)
{
	const char	*c = mycheck_blanks(text);
	size_t		length = strspn(c, "+-.0123456789eE");
	char		*end;

	if(length == 0 || *mycheck_blanks(c + length) != '\0')
		return -1;
	*value = mycheck_strtod(c, &end);
	return end == c + length ? 0 : -1;
}

//1 when both texts write the same number by the rule, else 0 (also when either is no number)
static int mycheck_same_number(const char *a, const char *b, int rule)
{
	mycheck_number_t	x, y;
	double			p, q;

	if(rule == MYCHECK_AS_DOUBLE)
		return mycheck_double(a, &p) == 0 && mycheck_double(b, &q) == 0 && p == q;
	return mycheck_number_parts(a, rule, &x) == 0 && mycheck_number_parts(b, rule, &y) == 0 &&
		x.negative == y.negative && x.whole_length == y.whole_length && x.fraction_length == y.fraction_length &&
		memcmp(x.whole, y.whole, x.whole_length) == 0 && memcmp(x.fraction, y.fraction, x.fraction_length) == 0;
}

//0 when values (ended by NULL) list the text (NULL: empty) by the rule (MYCHECK_AS_...), else -1
static int mycheck_listed(const char *text, const char *const *values, int rule)
{
	const char	*given = text != NULL ? text : "";

	for(; *values != NULL; values++){
		if(strcmp(given, *values) == 0 || (rule != MYCHECK_AS_TEXT && mycheck_same_number(given, *values, rule)))
			return 0;
	}
	return -1;
}

//a value an enumeration does not list is not sent: -1, the cursor spent and the reason said
static int mycheck_unlisted(mycursor_t *out, const char *name, const char *text)
{
	if(out->why != NULL && out->why[0] == '\0')
		snprintf(out->why, out->why_size, "%s: \"%.40s%s\" is none of the values its enumeration lists", name, text,
			strlen(text) > 40 ? "..." : "");
	return myrefuse(out);
}

static int mycheck_enumerated(mycursor_t *out, const char *name, const char *text, const char *const *values, int rule)
{
	if(mycheck_listed(text, values, rule) == 0)
		return 0;
	return mycheck_unlisted(out, name, text != NULL ? text : "");
}

//a required value the caller left NULL is not sent (as an empty element the reader would refuse
//the message): -1, the cursor spent and the member named
static int mycheck_null(mycursor_t *out, const char *member)
{
	if(out->why != NULL && out->why[0] == '\0')
		snprintf(out->why, out->why_size, "%s: a required value is NULL", member);
	return myrefuse(out);
}
