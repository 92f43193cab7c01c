//floating values as XML Schema spells them (a type that holds none leaves a writer unused)
static int myfloatcat(mycursor_t *out, const char *format, double value) KVPROJ_MAYBE_UNUSED;

//a float or double: NaN, INF and -INF where printf would write nan or inf
static int myfloatcat(mycursor_t *out, const char *format, double value)
{
	char	temp[64];

	if(value != value)
		return mystrcat(out, "NaN");
	if(value - value != 0)
		return mystrcat(out, value > 0 ? "INF" : "-INF");
	snprintf(temp, sizeof(temp), format, value);
	return mystrcat(out, temp);
}
