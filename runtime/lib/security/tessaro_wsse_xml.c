/* tessaro: Base64, UTC times, canonical forms and element look-ups that
 * building and checking a WS-Security header share. */
#include "tessaro_wsse_xml.h"
#include "tessaro_hash.h"
#include "tessaro_wsse.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <libxml/c14n.h>
#include <libxml/xmlIO.h>

int tessaro_wsse_fail(int result, char *why, size_t size, const char *format, ...)
{
	va_list arguments;

	if(why == NULL || size == 0 || why[0] != '\0')
		return result;
	va_start(arguments, format);
	vsnprintf(why, size, format, arguments);
	va_end(arguments);
	return result;
}

void tessaro_wsse_fail_clear(char *why, size_t size)
{
	if(why != NULL && size > 0)
		why[0] = '\0';
}

int tessaro_wsse_readable(const char *path, char *why, size_t size)
{
	FILE *file = path != NULL ? fopen(path, "rb") : NULL;

	if(file == NULL)
		return tessaro_wsse_fail(-1, why, size, "%s: %s", path != NULL ? path : "(no file)", path != NULL ? strerror(errno) : "none given");
	fclose(file);
	return 0;
}

static const char tessaro_base64_digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

char *tessaro_base64_encode(const unsigned char *data, size_t length)
{
	char *text = (char *)malloc(4 * ((length + 2) / 3) + 1);
	size_t i, n = 0;
	unsigned long group;

	if(text == NULL)
		return NULL;
	for(i = 0; i < length; i += 3){
		group = (unsigned long)data[i] << 16;
		if(i + 1 < length)
			group |= (unsigned long)data[i + 1] << 8;
		if(i + 2 < length)
			group |= data[i + 2];
		text[n++] = tessaro_base64_digits[(group >> 18) & 63];
		text[n++] = tessaro_base64_digits[(group >> 12) & 63];
		text[n++] = i + 1 < length ? tessaro_base64_digits[(group >> 6) & 63] : '=';
		text[n++] = i + 2 < length ? tessaro_base64_digits[group & 63] : '=';
	}
	text[n] = '\0';
	return text;
}

unsigned char *tessaro_base64_decode(const char *text, size_t *length)
{
	size_t size = strlen(text), n = 0, digits = 0, padding = 0;
	unsigned char *bytes = (unsigned char *)malloc(size / 4 * 3 + 3);
	unsigned long group = 0;
	const char *at;
	const char *digit;

	if(bytes == NULL)
		return NULL;
	for(at = text; *at != '\0'; at++){
		if(*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n')
			continue;
		if(*at == '=' && digits % 4 >= 2){
			padding++;
			digits++;
			group <<= 6;
		}else if(padding == 0 && (digit = strchr(tessaro_base64_digits, *at)) != NULL){
			digits++;
			group = (group << 6) | (unsigned long)(digit - tessaro_base64_digits);
		}else{
			break;
		}
		if(digits % 4 == 0){
			bytes[n++] = (unsigned char)(group >> 16);
			bytes[n++] = (unsigned char)(group >> 8);
			bytes[n++] = (unsigned char)group;
			group = 0;
		}
	}
	if(*at != '\0' || digits % 4 != 0 || padding > 2){
		free(bytes);
		return NULL;
	}
	*length = n - padding;
	return bytes;
}

/* days from 1970-01-01 to the date of the proleptic Gregorian calendar */
static long tessaro_days_from_civil(long year, unsigned month, unsigned day)
{
	long era;
	unsigned yoe, doy, doe;

	year -= month <= 2;
	era = (year >= 0 ? year : year - 399) / 400;
	yoe = (unsigned)(year - era * 400);
	doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
	doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
	return era * 146097 + (long)doe - 719468;
}

void tessaro_wsse_time_text(time_t t, char *text)
{
	struct tm parts;

#ifdef _WIN32
	gmtime_s(&parts, &t);
#else
	gmtime_r(&t, &parts);
#endif
	strftime(text, 21, "%Y-%m-%dT%H:%M:%SZ", &parts);
}

int tessaro_wsse_time_parse(const char *text, time_t *t)
{
	static const unsigned month_days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
	int year, month, day, hour, minute, second, zone_hour, zone_minute, used = 0, sign;
	const char *rest;

	if(sscanf(text, "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second, &used) != 6 || used != 19)
		return -1;
	if(month < 1 || month > 12 || day < 1 || (unsigned)day > month_days[month - 1] || hour > 23 || minute > 59 || second > 60 ||
			hour < 0 || minute < 0 || second < 0)
		return -1;
	rest = text + used;
	if(*rest == '.')
		for(rest++; *rest >= '0' && *rest <= '9'; rest++)
			;
	*t = (time_t)(tessaro_days_from_civil(year, (unsigned)month, (unsigned)day) * 86400L + hour * 3600L + minute * 60L + second);
	if(strcmp(rest, "Z") == 0)
		return 0;
	sign = *rest == '+' ? 1 : *rest == '-' ? -1 : 0;
	if(sign == 0 || sscanf(rest + 1, "%2d:%2d%n", &zone_hour, &zone_minute, &used) != 2 || used != 5 || rest[6] != '\0' ||
			zone_hour > 14 || zone_minute > 59)
		return -1;
	*t -= sign * (zone_hour * 3600L + zone_minute * 60L);
	return 0;
}

/* whether a node libxml2's canonicalizer asks about lies in the element's subtree (a namespace
 * node comes with the element it is in scope of) */
static int tessaro_wsse_in_subtree(void *element, xmlNodePtr node, xmlNodePtr parent)
{
	xmlNodePtr at = node == NULL || node->type == XML_NAMESPACE_DECL ? parent : node;

	for(; at != NULL; at = at->parent)
		if(at == (xmlNodePtr)element)
			return 1;
	return 0;
}

int tessaro_wsse_c14n(xmlNodePtr element, xmlChar **prefixes, xmlChar **text)
{
	xmlOutputBufferPtr buffer = xmlAllocOutputBuffer(NULL);
	int length = -1;

	*text = NULL;
	if(buffer == NULL)
		return -1;
	if(xmlC14NExecute(element->doc, tessaro_wsse_in_subtree, element, XML_C14N_EXCLUSIVE_1_0, prefixes, 0, buffer) >= 0 &&
			(*text = xmlStrndup(xmlOutputBufferGetContent(buffer), (int)xmlOutputBufferGetSize(buffer))) != NULL)
		length = (int)xmlOutputBufferGetSize(buffer);
	xmlOutputBufferClose(buffer);
	return length;
}

size_t tessaro_wsse_element_digest(xmlNodePtr element, int digest_method, unsigned char *digest)
{
	xmlChar *text;
	int length = tessaro_wsse_c14n(element, NULL, &text);
	size_t size = 0;

	if(length >= 0)
		size = tessaro_hash(digest_method == TESSARO_WSSE_DIGEST_SHA1 ? TESSARO_HASH_SHA1 : TESSARO_HASH_SHA256, text, (size_t)length, digest);
	xmlFree(text);
	return size;
}

xmlNodePtr tessaro_wsse_child(xmlNodePtr node, xmlNodePtr after, const char *ns, const char *name)
{
	xmlNodePtr child = after != NULL ? after->next : node->children;

	for(; child != NULL; child = child->next){
		if(child->type != XML_ELEMENT_NODE || !xmlStrEqual(child->name, (const xmlChar *)name))
			continue;
		if(ns == NULL || (child->ns != NULL && xmlStrEqual(child->ns->href, (const xmlChar *)ns)))
			return child;
	}
	return NULL;
}

xmlChar *tessaro_wsse_id_of(xmlNodePtr element)
{
	xmlChar *id = xmlGetNsProp(element, (const xmlChar *)"Id", (const xmlChar *)TESSARO_WSU_NS);

	return id != NULL ? id : xmlGetNoNsProp(element, (const xmlChar *)"Id");
}

static void tessaro_wsse_find_id(xmlNodePtr node, const char *id, xmlNodePtr *found, int *count)
{
	xmlChar *own;

	for(; node != NULL; node = node->next){
		if(node->type != XML_ELEMENT_NODE)
			continue;
		if((own = tessaro_wsse_id_of(node)) != NULL){
			if(xmlStrEqual(own, (const xmlChar *)id) && (*count)++ == 0)
				*found = node;
			xmlFree(own);
		}
		tessaro_wsse_find_id(node->children, id, found, count);
	}
}

xmlNodePtr tessaro_wsse_by_id(xmlDocPtr doc, const char *id, int *count)
{
	xmlNodePtr found = NULL;

	*count = 0;
	tessaro_wsse_find_id(xmlDocGetRootElement(doc), id, &found, count);
	return found;
}

/* the attribute's value as a C string that stays the document's; "" for none */
const char *tessaro_wsse_attribute(xmlNodePtr node, const char *name)
{
	xmlAttrPtr attribute = node != NULL ? xmlHasNsProp(node, (const xmlChar *)name, NULL) : NULL;

	return attribute != NULL && attribute->children != NULL && attribute->children->content != NULL ?
		(const char *)attribute->children->content : "";
}
