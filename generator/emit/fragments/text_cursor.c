//write position and last byte of a text being built; tail is NULL once it overflowed
typedef struct mycursor_t{
	char	*tail;
	char	*end;
}mycursor_t;

static void mycursor_init(mycursor_t *out, char *buffer, size_t size)
{
	out->tail = buffer;
	out->end = buffer + size - 1;
	*buffer = '\0';
}

static int mystrcat(mycursor_t *out, const char *text)
{
	size_t	length = strlen(text);

	if(out->tail == NULL || length > (size_t)(out->end - out->tail)){
		out->tail = NULL;
		return -1;
	}
	memcpy(out->tail, text, length);
	out->tail += length;
	*out->tail = '\0';
	return 0;
}

//appends at most size bytes of text with & < > " ' written as references
static int mytstrcat(mycursor_t *out, const char *text, size_t size)
{
	char	one[2] = {0, 0};
	int	result = 0;
	size_t	i;

	for(i = 0; i < size && text[i] != '\0' && result == 0; i++){
		switch(text[i]){
		case '&': result = mystrcat(out, "&amp;"); break;
		case '<': result = mystrcat(out, "&lt;"); break;
		case '>': result = mystrcat(out, "&gt;"); break;
		case '"': result = mystrcat(out, "&quot;"); break;
		case '\'': result = mystrcat(out, "&apos;"); break;
		default: one[0] = text[i]; result = mystrcat(out, one);
		}
	}
	return result;
}

