//numbers as XML Schema spells them (a type that holds none leaves a writer unused)
static const char *myfloattext(char *text, size_t size, const char *format, double value) KVPROJ_MAYBE_UNUSED;
static int myfloatcat(mycursor_t *out, const char *format, double value) KVPROJ_MAYBE_UNUSED;
static int myunsignedcat(mycursor_t *out, unsigned long long value) KVPROJ_MAYBE_UNUSED;
static int mysignedcat(mycursor_t *out, long long value) KVPROJ_MAYBE_UNUSED;

//an integer's decimal digits, as printf writes them without its cost: a message of numbers is
//mostly their writing
static int myunsignedcat(mycursor_t *out, unsigned long long value)
{
	char	digits[24];
	char	*at = digits + sizeof(digits);

	do{
		*--at = (char)('0' + value % 10);
		value /= 10;
	}while(value != 0);
	return mymemcat(out, at, (size_t)(digits + sizeof(digits) - at));
}

//the sign, then the magnitude, which the smallest value has too
static int mysignedcat(mycursor_t *out, long long value)
{
	if(value >= 0)
		return myunsignedcat(out, (unsigned long long)value);
	if(mymemcat(out, "-", 1) != 0)
		return -1;
	return myunsignedcat(out, 0ULL - (unsigned long long)value);
}

//a double of a magnitude that %.17g writes without an exponent, in the fewest decimals that read
//back as the same double, into text (size bytes, at least 40): 0 where it has such decimals within
//the digits a double holds exactly, else -1. printf's conversion of a double costs thousands of
//instructions; most values a message carries are short decimals. m / 10^k of an m and a 10^k that
//are both exact is the double nearest m * 10^-k, which is what a reader's strtod gives for them
static int mydecimaltext(char *text, size_t size, double value)
{
	static const double	scales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
		1e16, 1e17, 1e18};
	double	magnitude = value < 0 ? -value : value, scaled;
	unsigned long long	m = 0;
	char	digits[24], *at = digits + sizeof(digits), *out = text;
	int	k, n;

	if(size < 40)
		return -1;
	if(value == 0){
		//the sign of a zero is in its bits alone
		memcpy(&m, &value, sizeof(m));
		strcpy(text, m >> 63 ? "-0" : "0");
		return 0;
	}
	if(!(magnitude >= 1e-4 && magnitude < 1e15))
		return -1;
	for(k = 0; k < (int)(sizeof(scales) / sizeof(scales[0])); k++){
		scaled = magnitude * scales[k];
		if(scaled >= 9007199254740992.0)
			return -1;
		m = (unsigned long long)(scaled + 0.5);
		if((double)m / scales[k] == magnitude)
			break;
	}
	if(k == (int)(sizeof(scales) / sizeof(scales[0])))
		return -1;
	do{
		*--at = (char)('0' + m % 10);
		m /= 10;
	}while(m != 0);
	n = (int)(digits + sizeof(digits) - at);
	if(value < 0)
		*out++ = '-';
	if(n <= k){
		//0.00ddd: as many zeros behind the point as the digits lack
		*out++ = '0';
		*out++ = '.';
		memset(out, '0', (size_t)(k - n));
		out += k - n;
	}else{
		memcpy(out, at, (size_t)(n - k));
		out += n - k;
		at += n - k;
		n = k;
		if(k > 0)
			*out++ = '.';
	}
	memcpy(out, at, (size_t)n);
	out[n] = '\0';
	return 0;
}

//a float or double as format prints it into text, or the name of a value that has no digits: NaN,
//INF and -INF where printf would write nan or inf. The point is '.' even where the program has set
//a locale whose decimal point printf writes otherwise ("0,5" is no number on the wire). A double
//goes in the fewest decimals that read back as it, where it has them
static const char *myfloattext(char *text, size_t size, const char *format, double value)
{
	const char	*point;
	size_t		length;
	char		*at;

	if(value != value)
		return "NaN";
	if(value - value != 0)
		return value > 0 ? "INF" : "-INF";
	if(strcmp(format, "%.17g") == 0 && mydecimaltext(text, size, value) == 0)
		return text;
	point = localeconv()->decimal_point;
	length = strlen(point);
	snprintf(text, size, format, value);
	if(length > 0 && strcmp(point, ".") != 0 && (at = strstr(text, point)) != NULL){
		*at = '.';
		memmove(at + 1, at + length, strlen(at + length) + 1);
	}
	return text;
}

static int myfloatcat(mycursor_t *out, const char *format, double value)
{
	char	text[64];

	return mystrcat(out, myfloattext(text, sizeof(text), format, value));
}
