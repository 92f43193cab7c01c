#ifndef KELVANE_GENERATOR_EMIT_VALUEDECODING_H
#define KELVANE_GENERATOR_EMIT_VALUEDECODING_H

#include "generator/emit/TextBuffer.h"
#include "generator/model/BuiltinTypes.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

class CStructLayout;
struct CStructDef;
struct CStructMember;
class CViewType;

// The static mydecode_ helpers that turn a value's text into its member:
// the text copy always, each number helper only when some decoder calls
// it (Text in used: the copy into an allocated text), so that the file
// stays free of unused static functions.
// mydecode_refuse writes why a value failed into the text the parsed
// document's _private points to (the packet's decode_error, of
// <projUpper>_MAX_DECODE_ERROR_LEN), when it points to one.
// mydecode_named tells an element of a member's name and namespace (or of
// one of the service's namespaces, or of none) from one of a foreign
// namespace: the service's namespaces are listed for it.
void writeDecodeHelpers(const std::set<CDecodeConversion>& used, const std::string& projUpper,
                        const std::vector<std::string_view>& namespaces, CTextBuffer& out);

// mydecode_note: a value taken though it is not listed, said unless a
// failure or another note is there; a failure said later replaces it.
void writeNoteHelper(const std::string& projUpper, CTextBuffer& out);

// Lines at indent that turn key (a non-null xmlChar * in scope) into the
// number or text member at access, setting result to 0 or -1 (a text that
// does not fit or is no value of the built-in type it holds, a number that
// does not convert or is out of range); a failure names the member as name
// and the cause in the decode error (doc in scope).
void writeKeyConversion(const CStructMember& member, const std::string& access, const std::string& name,
                        const std::string& indent, CTextBuffer& out);

// The statement that fails an element without text, naming its member,
// as a line of out after the pieces that start it.
template <class... Start>
void writeEmptyValueRefusal(CTextBuffer& out, std::string_view name, const Start&... start)
{
    out.line(start..., "result = mydecode_refuse(doc, \"", name, "\", NULL, NULL);");
}

// Adds the helpers the conversion of the member's text calls to used: its
// number's, or the number type's a text holds (an attribute of int).
void addUsedConversions(const CStructMember& member, std::set<CDecodeConversion>& used);

// The C test that the element at cur is of namespace ns (empty: of none)
// and has the local name given; appended to test by appendNamedTest.
std::string namedTest(std::string_view ns, std::string_view name);
void appendNamedTest(std::string_view ns, std::string_view name, std::string& test);

// An element without text holds no value of the member: a number, or a text
// of a number or date type, is never empty (other texts can be).
bool emptyTextFails(const CStructMember& member);

#endif
