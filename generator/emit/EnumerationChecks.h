#ifndef KELVANE_GENERATOR_EMIT_ENUMERATIONCHECKS_H
#define KELVANE_GENERATOR_EMIT_ENUMERATIONCHECKS_H

#include <string>

class CStructLayout;
class CTextBuffer;
class CViewType;
struct CStructDef;
struct CStructMember;

// The values an enumeration lists, which the encoders refuse to send
// otherwise and the decoders take but note: a simple type's value (a text,
// or a C number of a number type) and an attribute of an enumerated type.

// An enumerated type's text value: the member, or null for a type whose
// value is no text of an enumeration.
const CStructMember* enumeratedValue(const CViewType& type, const CStructDef& def);
// An enumerated number type's value, a C number: the member, or null.
const CStructMember* enumeratedNumber(const CViewType& type, const CStructDef& def);
// The enumerated type of an attribute member's values (held as text,
// whatever the type's values are); null when its type lists none.
const CViewType* attributeEnumeration(const CViewType& owner, const CStructMember& member);

// "myenum_<type>": the static list of an enumerated type's values as texts.
std::string enumerationList(const CViewType& type);
// "myenum_<type>, MYCHECK_AS_<rule>": the list and how a text is compared
// with its values (as numbers where the type's values are numbers held as
// text: "01" is then "1"), the last arguments of mycheck_listed and
// mycheck_enumerated.
std::string enumerationArguments(const CViewType& type);
// "myenum_<type>_lists": the static function that tells whether an
// enumerated number type lists a C number.
std::string enumerationTest(const CViewType& type);
// The C literal of a value of a number type's enumeration, of the member's
// C type (builtin); empty for a text that is no such number.
std::string enumerationNumberLiteral(const std::string& value, int builtin);

// The lists and tests of the enumerated codec types and of the types of
// their attributes, before the codecs that read them.
void writeEnumerationLists(const CStructLayout& layout, CTextBuffer& out);
// Whether any codec checks an enumeration (its decoder then notes values it does not list).
bool hasEnumeratedType(const CStructLayout& layout);

#endif
