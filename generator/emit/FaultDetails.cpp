#include "generator/emit/FaultDetails.h"

#include "generator/model/EmitContext.h"
#include "generator/model/Identifier.h"
#include "generator/model/NameForms.h"
#include "generator/model/XmlNamespaces.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/PacketDecoder.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/TypeEncoders.h"
#include "generator/emit/ValueDecoding.h"

namespace {

// "fault->detail_msg.<M>" and the like: the union member of a fault struct.
std::string heldMessage(const std::string& owner, const CStructDef& def)
{
    return owner + "detail_msg." + std::string(def.message->cName);
}

// The element a fault message's detail starts with: its first part's (an
// element part's global element, else the part's name in no namespace).
bool firstElement(const CStructDef& def, std::string_view& ns, std::string_view& name)
{
    for (const CStructMember& member : def.members) {
        if (member.part == nullptr)
            continue;
        const CViewPart& part = *member.part;
        const bool element = part.refKind == CViewPart::ElementRef && part.element != nullptr;
        ns = element ? part.element->ns : std::string_view();
        name = element ? part.element->name : member.xmlName;
        return true;
    }
    return false;
}

void writeMessageDecoder(const CEmitContext& context, const CStructDef& def, CTextBuffer& out)
{
    // A value that fails is named as the caller reaches it.
    const std::string held = heldMessage("fault->", def) + "->";
    CTextBuffer blocks;
    for (const CStructMember& member : def.members)
        writeMatchedPart(context, member, held + std::string(member.cName), "\t\t", blocks);
    const std::string_view message = def.message->cName;
    out.line("//the fault message ", message, " from the elements of the fault's detail at cur");
    out.line("static int mydecode_detail_", message, "(xmlDocPtr doc, xmlNodePtr cur, ", context.proj(),
             "_soap_fault_msg_t *fault)");
    out.line("{");
    out.line("\tint\tresult = 0;");
    out.line("\txmlChar\t*key = NULL;");
    out.emptyLine();
    out.line("\t(void)doc;");
    out.line("\t(void)fault;");
    out.line("\tfor(cur = cur->xmlChildrenNode; cur != NULL; cur = cur->next){");
    out.line("\t\tif(cur->type != XML_ELEMENT_NODE)");
    out.line("\t\t\tcontinue;");
    out.append(blocks.text());
    out.line("\t}");
    if (blocks.text().find("goto over;") != std::string::npos)
        out.line("over:");
    out.line("\tif(key != NULL)");
    out.line("\t\txmlFree(key);");
    out.line("\treturn result;");
    out.line("}");
    out.emptyLine();
}

// Which declared message the detail holds, by its first element: the
// first fault struct that starts with it.
void writeDispatch(const CEmitContext& context, const std::vector<std::string>& constants, CTextBuffer& out)
{
    const std::string& p = context.proj();
    out.line("//the fault message the service declares that the detail at detail holds, known by its first");
    out.line("//element, into value->detail_msg with detail_type its constant; a detail that holds none, or one");
    out.line("//that does not decode (why stays in the decode error), leaves detail_type 0");
    out.line("static void myfree_detail_msg(", p, "_soap_fault_msg_t *fault);");
    out.emptyLine();
    out.line("static void mydecode_detail_msg(xmlDocPtr doc, xmlNodePtr detail, ", p, "_soap_fault_msg_t *value)");
    out.line("{");
    out.line("\txmlNodePtr\tcur = detail->xmlChildrenNode;");
    out.line("\tint\tresult = 0;");
    out.emptyLine();
    out.line("\twhile(cur != NULL && cur->type != XML_ELEMENT_NODE)");
    out.line("\t\tcur = cur->next;");
    out.line("\tif(cur == NULL)");
    out.line("\t\treturn;");
    const std::vector<const CStructDef*>& faults = context.layout().faultStructs();
    std::string_view ns, name;
    const char* branch = "\t";
    bool tested = false;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        if (!firstElement(*faults[i], ns, name))
            continue;
        const std::string held = heldMessage("value->", *faults[i]);
        out.line(branch, "if(", namedTest(ns, name), "){");
        out.line("\t\tvalue->detail_type = ", constants[i], ";");
        out.line("\t\tif((", held, " = calloc(1, sizeof(*", held, "))) == NULL)");
        out.line("\t\t\tresult = -1;");
        out.line("\t\telse");
        out.line("\t\t\tresult = mydecode_detail_", faults[i]->message->cName, "(doc, detail, value);");
        branch = "\t}else ";
        tested = true;
    }
    if (tested)
        out.line("\t}");
    out.line("\t//what was decoded goes; the markup stays");
    out.line("\tif(result != 0)");
    out.line("\t\tmyfree_detail_msg(value);");
    out.line("}");
    out.emptyLine();
}

// A part of a fault message as an element of the detail: an element part
// in its element's namespace, any other named after the part, in none.
void writePartElement(const CEmitContext& context, const CStructMember& member, const std::string& access,
                      CTextBuffer& out)
{
    const CViewPart& part = *member.part;
    const std::string tag = part.refKind == CViewPart::ElementRef && part.element != nullptr
        ? context.namespaces().qualifiedName(part.element->ns, part.element->name)
        : std::string(member.xmlName);
    if (member.kind == CStructMember::Struct && member.userType != nullptr) {
        if (context.layout().structOf(member.userType) != nullptr)
            out.line("\t\tencode_", member.userType->cName, "_t(body, ", cStringLiteral(tag), ", &", access, ", 0);");
        return;
    }
    // An element of a built-in type: its struct holds the one value.
    const bool inner = member.kind == CStructMember::Struct;
    if (inner && (member.target == nullptr || member.target->members.empty()))
        return;
    const CStructMember& value = inner ? member.target->members.front() : member;
    const std::string valueAccess = inner ? access + "." + std::string(value.cName) : access;
    if (value.typeName.empty()) {
        out.line("\t\tmystrcat(body, \"<", cStringBody(tag), ">\");");
    } else { // an anyType value goes with its own xsi:type, as it came
        out.line("\t\tmystrcat(body, \"<", cStringBody(tag), "\");");
        out.indent();
        out.indent();
        writeOwnTypeAppend(out, "body", value, valueAccess.substr(0, valueAccess.size() - value.cName.size()));
        out.outdent();
        out.outdent();
        out.line("\t\tmystrcat(body, \">\");");
    }
    if (value.kind == CStructMember::Number) {
        out.indent();
        out.indent();
        writeNumberAppend(out, value, "body", valueAccess);
        out.outdent();
        out.outdent();
    } else if (value.kind == CStructMember::Text) {
        out.indent();
        out.indent();
        writeTextAppend(out, value.anyContent ? "mymarkupcat" : "mytstrcat", "body", value, valueAccess);
        out.outdent();
        out.outdent();
    }
    out.line("\t\tmystrcat(body, \"</", cStringBody(tag), ">\");");
}

} // namespace

std::vector<std::string> faultDetailConstants(const CStructLayout& layout)
{
    CNameScope scope;
    std::vector<std::string> constants;
    for (const CStructDef* def : layout.faultStructs())
        constants.push_back(scope.claim(layout.projUpper() + "_DETAIL_" + upperName(def->message->cName)));
    return constants;
}

void writeFaultDetailDecoders(const CEmitContext& context, CTextBuffer& source)
{
    const std::string& p = context.proj();
    const bool declared = !context.layout().faultStructs().empty();
    if (declared) {
        for (const CStructDef* def : context.layout().faultStructs())
            writeMessageDecoder(context, *def, source);
        writeDispatch(context, faultDetailConstants(context.layout()), source);
    }
    source.line("//a fault's detail (SOAP 1.1's detail, SOAP 1.2's Detail) at cur: its content as markup into value->detail",
                declared ? ", and the fault message it holds decoded" : "");
    source.line("static int mydecode_fault_detail(xmlDocPtr doc, xmlNodePtr cur, ", p, "_soap_fault_msg_t *value)");
    source.line("{");
    source.line("\tint\tresult = 0;");
    source.line("\txmlChar\t*key = mydecode_content(cur);");
    source.emptyLine();
    source.line("\tif(key != NULL){");
    source.line("\t\tif((result = mydecode_textdup(&value->detail, key)) != 0)");
    source.line("\t\t\tmydecode_refuse(doc, \"", p, "_soap_fault_msg_t.detail\", key, \"finds no memory\");");
    source.line("\t\txmlFree(key);");
    source.line("\t}");
    if (declared) {
        source.line("\tif(result == 0)");
        source.line("\t\tmydecode_detail_msg(doc, cur, value);");
    }
    source.line("\treturn result;");
    source.line("}");
    source.emptyLine();
}

void writeFaultDetailSenderHook(const CEmitContext& context, CTextBuffer& source)
{
    if (context.layout().faultStructs().empty())
        return;
    const std::string& p = context.proj();
    source.line("//a fault's detail written from the fault message it holds");
    source.line("static int ", p, "_detail_msg_cat(mycursor_t *body, ", p, "_soap_fault_msg_t *fault, const char *tag);");
    source.line("#define ", context.projUpper(), "_DETAIL_MSG_CAT(body, fault, tag)\t", p, "_detail_msg_cat(body, fault, tag)");
    source.emptyLine();
}

void writeFaultDetailSender(const CEmitContext& context, CTextBuffer& source)
{
    const std::vector<const CStructDef*>& faults = context.layout().faultStructs();
    if (faults.empty())
        return;
    const std::string& p = context.proj();
    const std::vector<std::string> constants = faultDetailConstants(context.layout());
    CTextBuffer cases;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        const std::string held = heldMessage("fault->", *faults[i]);
        cases.line("\tcase ", constants[i], ":");
        for (const CStructMember& member : faults[i]->members) {
            if (member.part != nullptr)
                writePartElement(context, member, held + "->" + std::string(member.cName), cases);
        }
        cases.line("\t\tbreak;");
    }
    // The fault envelope declares its own namespace alone: the detail
    // declares those its content uses.
    const std::string open = std::string(" xmlns:xsi=\"") + CXmlNamespaces::InstanceUri +
        "\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"" + context.namespaces().declarations() + ">";
    source.line("//the fault message the fault holds (detail_type, with its detail_msg given) as the detail element");
    source.line("//named tag, the namespaces it uses declared there: 1, or 0 when it holds none");
    source.line("static int ", p, "_detail_msg_cat(mycursor_t *body, ", p, "_soap_fault_msg_t *fault, const char *tag)");
    source.line("{");
    source.line("\tvoid\t*held = NULL;");
    source.emptyLine();
    source.line("\tswitch(fault->detail_type){");
    for (std::size_t i = 0; i < faults.size(); ++i) {
        source.line("\tcase ", constants[i], ":");
        source.line("\t\theld = ", heldMessage("fault->", *faults[i]), ";");
        source.line("\t\tbreak;");
    }
    source.line("\t}");
    source.line("\tif(held == NULL)");
    source.line("\t\treturn 0;");
    source.line("\tmystrcat(body, \"<\");");
    source.line("\tmystrcat(body, tag);");
    source.line("\tmystrcat(body, ", cStringLiteral(open), ");");
    source.line("\tswitch(fault->detail_type){");
    source.append(cases.text());
    source.line("\t}");
    source.line("\tmystrcat(body, \"</\");");
    source.line("\tmystrcat(body, tag);");
    source.line("\tmystrcat(body, \">\");");
    source.line("\treturn 1;");
    source.line("}");
    source.emptyLine();
}

void writeFaultFree(const CEmitContext& context, CHeldStorage& known, CTextBuffer& source)
{
    const std::string& p = context.proj();
    const std::vector<const CStructDef*>& faults = context.layout().faultStructs();
    const std::vector<std::string> constants = faultDetailConstants(context.layout());
    if (!faults.empty()) {
        source.line("//frees the fault message a fault's detail was decoded into (the detail's markup stays), and");
        source.line("//leaves it NULL and detail_type 0");
        source.line("static void myfree_detail_msg(", p, "_soap_fault_msg_t *fault)");
        source.open("{");
        for (std::size_t i = 0; i < faults.size(); ++i) {
            const std::string held = heldMessage("fault->", *faults[i]);
            source.open("if(fault->detail_type == ", constants[i], " && ", held, " != NULL){");
            writeMessageFree(context, *faults[i], held + "->", known, source);
            source.line("free(", held, ");");
            source.close();
        }
        source.line("fault->detail_type = 0;");
        source.line("memset(&fault->detail_msg, 0, sizeof(fault->detail_msg));");
        source.close();
        source.emptyLine();
    }
    source.line("//frees a fault's detail and the fault message it was decoded into, and leaves them NULL and");
    source.line("//detail_type 0");
    source.line(exportedDefinitionHead(p, CExportedFunction::FreeFault));
    source.open("{");
    source.line("if(fault == NULL)");
    source.line("\treturn;");
    source.line("free(fault->detail);");
    source.line("fault->detail = NULL;");
    if (!faults.empty())
        source.line("myfree_detail_msg(fault);");
    source.close();
    source.emptyLine();
}
