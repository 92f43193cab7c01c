//floating values as XML Schema spells them (a type that holds none leaves a writer unused)
static const char *myfloattext(char *text, size_t size, const char *format, double value) KVPROJ_MAYBE_UNUSED;
static int myfloatcat(mycursor_t *out, const char *format, double value) KVPROJ_MAYBE_UNUSED;

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
