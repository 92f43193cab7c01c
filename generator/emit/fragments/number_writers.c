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

//a float or double as format prints it into text, or the name of a value that has no digits: NaN,
//INF and -INF where printf would write nan or inf. The point is '.' even where the program has set
//a locale whose decimal point printf writes otherwise ("0,5" is no number on the wire)
static const char *myfloattext(char *text, size_t size, const char *format, double value)
{
	const char	*point = localeconv()->decimal_point;
	size_t		length = strlen(point);
	char		*at;

	if(value != value)
		return "NaN";
	if(value - value != 0)
		return value > 0 ? "INF" : "-INF";
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
