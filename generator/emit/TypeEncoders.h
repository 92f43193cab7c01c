#ifndef KELVANE_GENERATOR_EMIT_TYPEENCODERS_H
#define KELVANE_GENERATOR_EMIT_TYPEENCODERS_H

#include <string>
#include <vector>

class CEmitContext;
class CTextBuffer;
struct CStructMember;

// One encoder per type with a struct:
// "static int encode_<T>_t(mycursor_t *buff, char *name, <proj>_<T>_t *value, int encoded)"
// writes the value as the element name (qualified or not as its declaration
// says; members likewise), text XML-escaped and numbers in their C type's
// conversion; encoded adds the xsi:type of rpc/encoded messages, and a SOAP
// array always says its items' type and number, which its items then leave
// out (an item's encoder is given the negative use). It returns 0, or -1 when
// the text did not fit the cursor's buffer or holds what XML cannot carry.
// Before them stands "myfloatcat" when any member is a floating number.
void writeTypeEncoders(const CEmitContext& context, CTextBuffer& source);

// The C lines that append a number member's value at cursor (a
// mycursor_t pointer expression) through the scratch "temp": its
// conversion, or for floating types the XML Schema spelling of infinities
// and NaN.
void writeNumberAppend(CTextBuffer& out, const CStructMember& member, const char* cursor, const std::string& access);

// "<appender>(<cursor>, <text>, <size>);": a text appender's call for a text
// member, of its array, or of an allocated text (none when NULL) up to its end.
void writeTextAppend(CTextBuffer& out, const char* appender, const char* cursor, const CStructMember& member,
                     const std::string& access);

// A value the reader cannot do without, held by pointer: a struct, or a text
// that is never empty (a number or date held as text). Left NULL, it would go
// out as an empty element (or none) that the reader refuses: where it is
// required it is refused before sending, where it is optional (a presence
// flag beside it) it is left out.
bool refusedWhenNull(const CStructMember& member);
// "if(<access> == NULL) mycheck_null(<cursor>, "<name>");": the refusal of such
// a required value, naming the member; the cursor is spent, so nothing goes out.
void writeNullRefusal(CTextBuffer& out, const char* cursor, const std::string& access, const std::string& name);

// The C lines that append an anyType value's own xsi:type at cursor where
// it has one: "if(<type> ...)" and its statement, for the caller's else.
// owner: the access path before the member's names ("value->", "pk->");
// the type of an array's item i.
void writeOwnTypeAppend(CTextBuffer& out, const char* cursor, const CStructMember& member, const std::string& owner);

#endif
