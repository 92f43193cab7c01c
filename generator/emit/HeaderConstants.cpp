#include "generator/emit/HeaderConstants.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/EnumerationChecks.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/Identifier.h"
#include "generator/model/NameForms.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// The fixed block: suffix and value as written, and the note above a
// constant the generated code reads otherwise than its name says, a line
// each ("<PROJ>" stands for the project's prefix); an empty suffix is an
// empty line.
struct CFixedLimit {
    const char* suffix;
    const char* value;
    std::array<const char*, 3> note;
};

const CFixedLimit FixedLimits[] = {
    {"_MAX_USER_LEN", "32", {}},
    {"_MAX_USER_PWD_LEN", "32", {}},
    {"_MAX_ARRAY_NUM", "5",
     {"//not used by the generated code (arrays hold as many items as the message brings); kept for callers that "
      "size arrays of their own with it"}},
    {"_MAX_IP_LEN", "32", {}},
    {"_MAX_URL_LEN", "64", {}},
    {"_MAX_AUTHINFO_LEN", "512", {}},
    {"_MAX_MESSAGE_LEN", "120000",
     {"//what a message may make beyond what it brings: the items a SOAP array declares and leaves out, the copies",
      "//its references make when it is shorter. A message read may be longer, up to <PROJ>_MAX_READ_MESSAGE_LEN bytes",
      "//(its buffer grows while it comes); a longer one is refused"}},
    {"_MAX_READ_MESSAGE_LEN", "67108864", {}},
    {"_MAX_HTTP_PART_LEN", "1024", {}},
    {"_BEGINXMLFLAG", "\"<?xml\"", {}},
    {"_ENDXMLFLAG", "\"Envelope>\"", {}},
    {"_HTTPENDFLAG", "\"\\r\\n\\r\\n\"", {}},
    {"", "", {}},
    {"_MAX_HTTP_HEADER_NAME_LEN", "24", {}},
    {"_MAX_HTTP_HEADER_VALUE_LEN", "128", {}},
    {"_MAX_HTTP_HEADER_NUM", "5", {}},
    {"_MAX_BOUNDARY_LEN", "240", {}},
    {"_MAX_SOAP_FAULT_FAULTCODE_LEN", "240", {}},
    {"_MAX_SOAP_FAULT_FAULTSTRING_LEN", "1024", {}},
    {"_MAX_SOAP_FAULT_DETAIL_LEN", "4096",
     {"//not used by the generated code (a fault's detail is allocated as long as it comes); kept for callers that "
      "size details of their own with it"}},
    {"_MAX_HTTP_MSG_BUFFER_LEN", "1024", {}},
    {"_MAX_HTTP_ERR_CODE_STRING_LEN", "32", {}},
    {"_MAX_DECODE_ERROR_LEN", "240", {}},
    {"_MAX_ERROR_DETAIL_LEN", "512", {}},
};

// Writes each length macro of the layout once, in the order of the walk:
// global elements, the types of each schema, message parts, then any other
// the structs use. The comment comes before the first.
class CLimitWriter {
public:
    CLimitWriter(const CStructLayout& layout, CTextBuffer& out) : layout_(layout), out_(out)
    {
        macros_.reserve(layout.lengthConstants().size());
        for (const CLengthConstant& length : layout.lengthConstants())
            macros_.emplace(length.name, Macro{&length, false});
        for (const auto& fixed : CStructLayout::fixedLengths()) {
            const auto found = macros_.find(layout.projUpper() + "_MAX_" + fixed.first + "_LEN");
            if (found != macros_.end())
                found->second.written = true;
        }
    }

    void members(const CStructDef* def)
    {
        if (def == nullptr)
            return;
        for (const CStructMember& member : def->members)
            write(member.lengthConstant);
    }

    void member(const CStructMember& member) { write(member.lengthConstant); }

    void rest()
    {
        for (const CLengthConstant& length : layout_.lengthConstants())
            write(length.name);
    }

private:
    // A member's macro is one of the layout's, which the fixed limits are too.
    void write(std::string_view name)
    {
        if (name.empty())
            return;
        Macro& macro = macros_.find(name)->second;
        if (macro.written)
            return;
        macro.written = true;
        if (!commented_)
            out_.line("//the default string length is " + std::to_string(layout_.textLength()) +
                      ",you can modify it as your requirement.");
        commented_ = true;
        out_.line("#define ", name, "\t", std::to_string(macro.length->value));
    }

    struct Macro {
        const CLengthConstant* length;
        bool written;
    };

    const CStructLayout& layout_;
    CTextBuffer& out_;
    std::unordered_map<std::string_view, Macro> macros_; // by the names the layout keeps
    bool commented_ = false;
};

std::string noteLine(std::string line, const std::string& projUpper)
{
    const std::string proj = "<PROJ>";
    const std::size_t at = line.find(proj);
    if (at != std::string::npos)
        line.replace(at, proj.size(), projUpper);
    return line;
}

void writeLimits(const CEmitContext& context, CTextBuffer& out)
{
    const CStructLayout& layout = context.layout();
    CLimitWriter limits(layout, out);
    for (const CViewSchema& schema : context.view().schemas()) {
        for (const CViewElement* element : schema.elements) {
            if (element->type.isText())
                limits.members(layout.structOf(element));
        }
    }
    for (const CViewSchema& schema : context.view().schemas()) {
        for (const CViewType* type : schema.types) {
            if (type != nullptr && !type->isNamedArray())
                limits.members(layout.structOf(type));
        }
    }
    out.emptyLine();
    for (const CViewMessage& message : context.view().messages())
        limits.members(layout.structOf(&message));
    for (const CStructMember& member : layout.headerMembers())
        limits.member(member);
    limits.rest();

    out.emptyLine();
    for (const CFixedLimit& fixed : FixedLimits) {
        if (*fixed.suffix == '\0') {
            out.emptyLine();
            continue;
        }
        for (const char* line : fixed.note) {
            if (line != nullptr)
                out.line(noteLine(line, context.projUpper()));
        }
        out.line("#define ", context.projUpper(), fixed.suffix, "\t", fixed.value);
    }
    out.emptyLine();
    out.emptyLine();
    out.line(std::string(76, '/'));
}

// One constant per value of each enumerated type, "<PROJ>_<TYPE>_<VALUE>",
// holding the value's text as it goes on the wire (a number type's: the
// number); names that would meet
// (values differing in case or in bytes no identifier holds) get "_2" ...
void writeEnumerationValues(const CEmitContext& context, CTextBuffer& out)
{
    CNameScope names;
    bool commented = false;
    for (const CViewType& type : context.view().types()) {
        if (type.enumerations.empty() || type.cName.empty())
            continue;
        if (!commented)
            out.line("//the values of each enumerated type, as they are written");
        commented = true;
        const std::string prefix = context.projUpper() + "_" + std::string(type.cName) + "_";
        // A number type's values are C numbers, as its members hold them.
        const int number = isNumericTypeId(type.valueType) ? type.valueType : 0;
        for (const std::string& value : type.enumerations) {
            const std::string literal = number != 0 ? enumerationNumberLiteral(value, number) : cStringLiteral(value);
            if (!literal.empty())
                out.line("#define ", names.claim(upperName(prefix + value)), "\t", literal);
        }
    }
    if (commented)
        out.emptyLine();
}

} // namespace

void writeHeaderLimitsAndTags(const CEmitContext& context, CTextBuffer& header)
{
    writeLimits(context, header);
    const std::string& P = context.projUpper();
    for (const CMessageKey& key : context.keys().keys()) {
        if (!key.emptyBody())
            header.line("#define ", P, "_", key.id, "_TAG\t\"", key.tagValue(), "\"");
    }
    header.line("#define ", P, "_SOAP_FAULT_TAG\t\"Fault\"");
    header.emptyLine();
    writeEnumerationValues(context, header);
}

void writeDecodeErrorCode(const CEmitContext& context, CTextBuffer& header)
{
    // Apart from the calls' codes (from -1) and the transport's (from -20).
    header.line("//the answer arrived and does not decode: ", context.proj(), "_client_error_detail names the member or cause");
    header.line("#define ", context.projUpper(), "_ERR_DECODE\t(-30)");
}

void writeHeaderMessageIds(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& P = context.projUpper();
    if (context.keys().hasOperations()) {
        header.line("enum{");
        header.line("\t", P, "_PROTO_HTTP\t=0x1,");
        header.line("\t", P, "_PROTO_SOAP_FAULT\t=0x2,");
        // The number is written in decimal after "0x": the ids stay distinct
        // and keep the values generated programs have always used.
        int counter = 3;
        for (const CMessageKey& key : context.keys().keys())
            header.line("\t", P, "_PROTO_", key.id, "\t= 0x", std::to_string(counter++), ",");
        header.line("};");
    }
    header.emptyLine();
}
