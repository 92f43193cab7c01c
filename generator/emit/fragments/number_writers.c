//floating values as XML Schema spells them (a type that holds none leaves a writer unused)
static int myfloatcat(mycursor_t *out, const char *format, double value) KVPROJ_MAYBE_UNUSED;
static int mydecimalcat(mycursor_t *out, double value) KVPROJ_MAYBE_UNUSED;

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

//a decimal: 15 significant digits and never an exponent, which its lexical form does not have; NaN and
//the infinities have no decimal form and spend the cursor
static int mydecimalcat(mycursor_t *out, double value)
{
	char	text[32], *digits, temp[400], *mark;
	int	point, length, used = 0, i;

	if(value != value || value - value != 0)
		return myrefuse(out);
	//[-]d.dddddddddddddde+x: the fifteen digits, and how many of them stand before the point
	snprintf(text, sizeof(text), "%.14e", value);
	digits = text[0] == '-' ? text + 1 : text;
	mark = strchr(digits, 'e');
	if(mark == NULL)
		return myrefuse(out);
	point = atoi(mark + 1) + 1;
	*mark = '\0';
	memmove(digits + 1, digits + 2, strlen(digits + 2) + 1);
	length = (int)strlen(digits);
	while(length > 1 && digits[length - 1] == '0')
		length--;
	//no "-0"
	if(length == 1 && digits[0] == '0')
		return mystrcat(out, "0");
	if(digits != text)
		temp[used++] = '-';
	if(point <= 0){
		temp[used++] = '0';
		temp[used++] = '.';
		for(i = point; i < 0; i++)
			temp[used++] = '0';
		memcpy(temp + used, digits, (size_t)length);
		used += length;
	}else{
		for(i = 0; i < length || i < point; i++){
			if(i == point)
				temp[used++] = '.';
			temp[used++] = i < length ? digits[i] : '0';
		}
	}
	temp[used] = '\0';
	return mystrcat(out, temp);
}
