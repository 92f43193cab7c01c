#include "generator/emit/ResponseDecoders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/StructLayout.h"
#include "generator/model/XmlNamespaces.h"
#include "generator/emit/ElementTwins.h"
#include "generator/emit/EnumerationChecks.h"
#include "generator/emit/FaultDetails.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/MemberKinds.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/ValueDecoding.h"
#include "schema/SchemaConstants.h"

#include <set>
#include <string_view>
#include <vector>

bool isRequiredValue(const CStructMember& member)
{
    const bool structure = member.kind == CStructMember::Struct && member.userType != nullptr;
    return (member.kind == CStructMember::Number || member.kind == CStructMember::Text || structure) &&
        member.origin == CStructMember::Element && !member.optional && !member.wildcard &&
        member.presentName.empty();
}

namespace {

// Texts listed anew for each decoder, in room that stays from decoder to
// decoder: clearing keeps each string's storage for the next list.
class CTextList {
public:
    void clear() { size_ = 0; }
    std::string& add()
    {
        if (size_ == texts_.size())
            texts_.emplace_back();
        std::string& text = texts_[size_++];
        text.clear();
        return text;
    }
    std::size_t size() const { return size_; }
    const std::string& operator[](std::size_t i) const { return texts_[i]; }

private:
    std::vector<std::string> texts_;
    std::size_t size_ = 0;
};

// The fault's detail is read as markup, so that the elements it holds
// arrive with their namespaces.
CStructMember faultDetailMember()
{
    CStructMember member;
    member.kind = CStructMember::Text;
    member.cName = "detail";
    member.anyContent = true;
    member.pointer = true;
    return member;
}

// The fault's decoder reads two texts and the detail, as SOAP 1.2's
// decoder reads its Detail (mydecode_fault_detail).
void decodeFault(CMemberDecoder& decoder)
{
    for (const char* name : {"faultcode", "faultstring"}) {
        CStructMember member;
        member.kind = CStructMember::Text;
        member.cName = name;
        decoder.child(member, name, [&](const std::string& indent) { decoder.text(member, "value->" + std::string(member.cName), indent); });
    }
    const CStructMember detail = faultDetailMember();
    decoder.child(detail, "detail", [&](const std::string& indent) {
        decoder.line(indent + "if((result = mydecode_fault_detail(doc, cur, value)) != 0)");
        decoder.line(indent + "\tgoto over;");
    });
}

void decodeType(CMemberDecoder& decoder, const CViewType& type, const CStructDef& def)
{
    for (const CStructMember& member : def.members)
        memberKindOf(member).decode(decoder, type, member);
}

// A nil item of a nillable array keeps its place; a nillable single
// value has a flag.
bool nilItemsKeepPlace(const CStructMember& member) { return member.nillable && member.isArray(); }
bool readsNil(const CStructMember& member) { return nilItemsKeepPlace(member) || !member.nilName.empty(); }
// An element's allocated base64Binary text, which a XOP package may send as a binary part.
bool takesBinaryPart(const CStructMember& member)
{
    return member.pointer && member.valueBuiltin == Schema::XSD_BASE64BIN && member.origin != CStructMember::Attribute &&
           (member.kind == CStructMember::Text || member.kind == CStructMember::TextArray);
}

// What the decoders call beside their own code: number conversions, and
// whether any grows an array, reads xsi:nil, or copies an element's content
// or an xsd:any's markup. A walk of the decoders' members records it
// before they are written, so that the helpers they call go first and the
// decoders straight on after them.
// It must decide as CDecoderWriter does for each member it calls a helper for.
class CDecoderNeeds : public CMemberDecoder {
public:
    // A number or text the packet decoder converts with the same helpers.
    void useConversion(const CStructMember& member)
    {
        usesContent_ = usesContent_ || member.anyContent;
        usesOwnType_ = usesOwnType_ || !member.typeName.empty();
        addUsedConversions(member, conversions_);
    }

    void attributeText(const CStructMember& member, const std::string&) override { readValue(member); }
    void ownText(const CStructMember& member, const std::string&) override { readValue(member); }
    void child(const CStructMember& member, std::string_view,
               const std::function<void(const std::string& indent)>& body) override
    {
        usesNil_ = usesNil_ || readsNil(member);
        usesGrow_ = usesGrow_ || nilItemsKeepPlace(member);
        usesFlags_ = usesFlags_ || (nilItemsKeepPlace(member) && !member.nilName.empty());
        body(std::string());
    }
    void text(const CStructMember& member, const std::string&, const std::string&) override
    {
        usesContent_ = usesContent_ || member.anyContent;
        usesOwnType_ = usesOwnType_ || !member.typeName.empty();
        readValue(member);
    }
    void wildcard(const CStructMember&, const std::string&) override { usesMarkupDup_ = true; }
    void nested(const CStructMember&, const std::string&, const std::string&) override {}
    std::string slot(const CStructMember&, const std::string&) override
    {
        usesGrow_ = true;
        return std::string();
    }
    void line(const std::string&) override {}
    // Some decoder takes elements by their position among their name's.
    void useTwins() { usesTwins_ = true; }

    // The helpers, each once, before the decoders that call them.
    void writeHelpers(const CEmitContext& context, CTextBuffer& out) const
    {
        const std::string& projUpper = context.projUpper();
        writeFragment(context, CFragment::MtomValues, out);
        writeDecodeHelpers(conversions_, projUpper, context.namespaces().serviceNamespaces(), out);
        if (usesGrow_)
            writeGrow(projUpper, out);
        if (usesFlags_)
            writeFlags(projUpper, out);
        if (usesMarkupDup_ || usesContent_)
            writeDump(out);
        if (usesMarkupDup_)
            writeMarkupDup(out);
        if (usesContent_)
            writeContent(out);
        if (usesOwnType_)
            writeOwnType(context, out);
        if (usesTwins_)
            CElementTwins::writeHelper(out);
        if (usesNil_) {
            out.line("//xsi:nil=\"true\" (or \"1\") on an element: it stands for no value. An element without");
            out.line("//attributes is not nil: a message has no DTD to give it one, so no lookup is needed");
            out.line("static int mydecode_nil(xmlNodePtr cur)");
            out.open("{");
            out.line("xmlChar\t*nil = cur->properties == NULL ? NULL : xmlGetNsProp(cur, (const xmlChar *)\"nil\", (const xmlChar *)\"" +
                     std::string(CXmlNamespaces::InstanceUri) + "\");");
            out.line("int\tresult = nil != NULL && (!xmlStrcmp(nil, (const xmlChar *)\"true\") || !xmlStrcmp(nil, (const xmlChar *)\"1\"));");
            out.emptyLine();
            out.line("if(nil != NULL)");
            out.line("\txmlFree(nil);");
            out.line("return result;");
            out.close();
            out.emptyLine();
        }
    }

    // Room for one more item behind count items of size bytes: the block
    // grows to 4, 8, 16 ... items, and the item behind count is zeroed
    // (nested arrays and pointers start empty). Only that item is: the room
    // behind it stays untouched until an item takes it, so a doubled block
    // costs no more memory than the items it holds. On failure the block
    // stays, result is -1 and the decode error names the member.
    static void writeGrow(const std::string& projUpper, CTextBuffer& out)
    {
        out.line("//room for the item behind count items of size bytes of the member, that item zeroed; the block");
        out.line("//holds 4, 8, 16 ... items, the room behind the item left untouched until an item takes it");
        out.line("static void *mydecode_grow(xmlDocPtr doc, const char *member, void *items, int count, size_t size, int *result)");
        out.open("{");
        out.line("size_t\troom;");
        out.line("void\t*grown;");
        out.line("char\t*error = (char *)doc->_private;");
        out.emptyLine();
        out.line("//the block is full where count is 4 or more and a power of two");
        out.line("if(count > 0 && (count < 4 || (count & (count - 1)) != 0)){");
        out.line("\tmemset((char *)items + (size_t)count * size, 0, size);");
        out.line("\treturn items;");
        out.line("}");
        out.line("room = count > 0 ? (size_t)count * 2 : 4;");
        out.line("if(count < 0 || room > ((size_t)-1) / size || (grown = realloc(items, room * size)) == NULL){");
        out.line("\tif(error != NULL && error[0] == '\\0')");
        out.line("\t\tsnprintf(error, ", projUpper, "_MAX_DECODE_ERROR_LEN + 1, \"%s: no room for item %d\", member, count + 1);");
        out.line("\t*result = -1;");
        out.line("\treturn items;");
        out.line("}");
        out.line("memset((char *)grown + (size_t)count * size, 0, size);");
        out.line("return grown;");
        out.close();
        out.emptyLine();
    }

    // The nil flags of an array whose first nil item comes behind count
    // items: all zeroed, in a block of the room mydecode_grow has given the
    // items, so that from then on the flags grow with them.
    static void writeFlags(const std::string& projUpper, CTextBuffer& out)
    {
        out.line("//the nil flags of an array at its first nil item, behind count items: all zeroed, as much room as");
        out.line("//mydecode_grow gave the items (4, 8, 16 ...), NULL without memory (result -1, the error said)");
        out.line("static int *mydecode_flags(xmlDocPtr doc, const char *member, int count, int *result)");
        out.open("{");
        out.line("size_t\troom = 4;");
        out.line("int\t*flags = NULL;");
        out.line("char\t*error = (char *)doc->_private;");
        out.emptyLine();
        out.line("while(count >= 0 && room <= (size_t)count)");
        out.line("\troom *= 2;");
        out.line("if(count < 0 || room > ((size_t)-1) / sizeof(int) || (flags = (int *)calloc(room, sizeof(int))) == NULL){");
        out.line("\tif(error != NULL && error[0] == '\\0')");
        out.line("\t\tsnprintf(error, ", projUpper, "_MAX_DECODE_ERROR_LEN + 1, \"%s: no room for item %d\", member, count + 1);");
        out.line("\t*result = -1;");
        out.line("}");
        out.line("return flags;");
        out.close();
        out.emptyLine();
    }

    // An element as markup: copied into a document of its own, so that the
    // namespaces it uses are declared on it. The copy declares those of its
    // names; the prefix of an xsi:type value is in none of them.
    static void writeDump(CTextBuffer& out)
    {
        out.line("//declares on copy (the copy of the element at cur) the prefix of each xsi:type value in it where");
        out.line("//the copy leaves it undeclared, so that the type names still name their types");
        out.line("static void mydecode_type_prefixes(xmlNodePtr cur, xmlNodePtr copy)");
        out.open("{");
        out.line("xmlChar\t*type = xmlGetNsProp(cur, (const xmlChar *)\"type\", (const xmlChar *)\"" +
                 std::string(CXmlNamespaces::InstanceUri) + "\");");
        out.line("const xmlChar\t*colon = type != NULL ? xmlStrchr(type, ':') : NULL;");
        out.line("xmlNodePtr\tfrom, to;");
        out.emptyLine();
        out.line("if(colon != NULL){");
        out.line("\txmlChar\t*prefix = xmlStrndup(type, (int)(colon - type));");
        out.line("\txmlNsPtr\tns = prefix != NULL ? xmlSearchNs(cur->doc, cur, prefix) : NULL;");
        out.line("\tif(ns != NULL && ns->href != NULL && xmlSearchNs(copy->doc, copy, prefix) == NULL)");
        out.line("\t\txmlNewNs(copy, ns->href, prefix);");
        out.line("\txmlFree(prefix);");
        out.line("}");
        out.line("if(type != NULL)");
        out.line("\txmlFree(type);");
        out.line("for(from = cur->children, to = copy->children; from != NULL && to != NULL; from = from->next, to = to->next){");
        out.line("\tif(from->type == XML_ELEMENT_NODE && to->type == XML_ELEMENT_NODE)");
        out.line("\t\tmydecode_type_prefixes(from, to);");
        out.line("}");
        out.close();
        out.emptyLine();
        out.line("//appends the element at cur to buffer as markup, with the namespaces it uses declared on it");
        out.line("static int mydecode_dump(xmlNodePtr cur, xmlBufferPtr buffer)");
        out.open("{");
        out.line("xmlDocPtr\tcopy = xmlNewDoc((const xmlChar *)\"1.0\");");
        out.line("xmlNodePtr\tnode = copy != NULL ? xmlDocCopyNode(cur, copy, 1) : NULL;");
        out.line("int\tresult = -1;");
        out.emptyLine();
        out.line("if(node != NULL){");
        out.line("\txmlDocSetRootElement(copy, node);");
        out.line("\tmydecode_type_prefixes(cur, node);");
        out.line("\tresult = xmlNodeDump(buffer, copy, node, 0, 0) >= 0 ? 0 : -1;");
        out.line("}");
        out.line("if(copy != NULL)");
        out.line("\txmlFreeDoc(copy);");
        out.line("return result;");
        out.close();
        out.emptyLine();
    }

    // The content of an element of anyType as markup: its elements each
    // with the namespaces they use, its text escaped.
    static void writeContent(CTextBuffer& out)
    {
        out.line("//the content of the element at cur (text and elements) as markup, to be freed with xmlFree;");
        out.line("//NULL when it cannot be made");
        out.line("static xmlChar *mydecode_content(xmlNodePtr cur)");
        out.open("{");
        out.line("xmlBufferPtr\tbuffer = xmlBufferCreate();");
        out.line("xmlNodePtr\tchild;");
        out.line("xmlChar\t*text, *result = NULL;");
        out.line("int\tfailed = buffer == NULL;");
        out.emptyLine();
        out.line("for(child = cur->xmlChildrenNode; child != NULL && !failed; child = child->next){");
        out.line("\tif(child->type == XML_ELEMENT_NODE){");
        out.line("\t\tfailed = mydecode_dump(child, buffer) != 0;");
        out.line("\t}else if(child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE){");
        out.line("\t\ttext = xmlEncodeSpecialChars(cur->doc, child->content);");
        out.line("\t\tfailed = text == NULL || xmlBufferCat(buffer, text) != 0;");
        out.line("\t\txmlFree(text);");
        out.line("\t}");
        out.line("}");
        out.line("if(!failed)");
        out.line("\tresult = xmlStrdup(xmlBufferContent(buffer));");
        out.line("if(buffer != NULL)");
        out.line("\txmlBufferFree(buffer);");
        out.line("return result;");
        out.close();
        out.emptyLine();
    }

    // An anyType element's own xsi:type, kept with the namespace its
    // prefix names where the element stands, so that it can be written
    // again under any prefix.
    static void writeOwnType(const CEmitContext& context, CTextBuffer& out)
    {
        // Not every message that holds such a value is read by the packet decoder (a fault's is not).
        if (context.layout().keepsOtherOwnTypes())
            out.line("static int mydecode_own_type(xmlDocPtr doc, xmlNodePtr cur, const char *member, char **type, char **ns) ",
                     context.projUpper(), "_MAYBE_UNUSED;");
        out.line("//the xsi:type of the element at cur as written into *type, and the namespace its prefix (without one,");
        out.line("//the default namespace) stands for there into *ns (NULL: none), both allocated; -1 without memory");
        out.line("static int mydecode_own_type(xmlDocPtr doc, xmlNodePtr cur, const char *member, char **type, char **ns)");
        out.open("{");
        out.line("xmlChar\t*written = xmlGetNsProp(cur, (const xmlChar *)\"type\", (const xmlChar *)\"" +
                 std::string(CXmlNamespaces::InstanceUri) + "\");");
        out.line("const xmlChar\t*colon = written != NULL ? xmlStrchr(written, ':') : NULL;");
        out.line("xmlChar\t*prefix = colon != NULL ? xmlStrndup(written, (int)(colon - written)) : NULL;");
        out.line("xmlNsPtr\tfound = written != NULL && (colon == NULL || prefix != NULL) ? xmlSearchNs(cur->doc, cur, prefix) : NULL;");
        out.line("int\tresult = 0;");
        out.emptyLine();
        out.line("if(written == NULL)");
        out.line("\treturn 0;");
        out.line("*type = strdup((const char *)written);");
        out.line("if(found != NULL && found->href != NULL)");
        out.line("\t*ns = strdup((const char *)found->href);");
        out.line("if(*type == NULL || (colon != NULL && prefix == NULL) || (found != NULL && found->href != NULL && *ns == NULL))");
        out.line("\tresult = mydecode_refuse(doc, member, NULL, \"no memory for its xsi:type\");");
        out.line("xmlFree(prefix);");
        out.line("xmlFree(written);");
        out.line("return result;");
        out.close();
        out.emptyLine();
    }

    // An element's markup appended to an allocated text, which grows.
    static void writeMarkupDup(CTextBuffer& out)
    {
        out.line("//appends the element at cur as markup, with the namespaces it uses declared on it, to the");
        out.line("//allocated text at *dest (NULL: none yet); -1 without memory");
        out.line("static int mydecode_markupdup(xmlNodePtr cur, char **dest)");
        out.open("{");
        out.line("xmlBufferPtr\tbuffer = xmlBufferCreate();");
        out.line("size_t\tused = *dest != NULL ? strlen(*dest) : 0, length;");
        out.line("char\t*grown;");
        out.line("int\tresult = -1;");
        out.emptyLine();
        out.line("if(buffer != NULL && mydecode_dump(cur, buffer) == 0){");
        out.line("\tlength = (size_t)xmlBufferLength(buffer);");
        out.line("\tgrown = (char *)realloc(*dest, used + length + 1);");
        out.line("\tif(grown != NULL){");
        out.line("\t\tmemcpy(grown + used, xmlBufferContent(buffer), length);");
        out.line("\t\tgrown[used + length] = '\\0';");
        out.line("\t\t*dest = grown;");
        out.line("\t\tresult = 0;");
        out.line("\t}");
        out.line("}");
        out.line("if(buffer != NULL)");
        out.line("\txmlBufferFree(buffer);");
        out.line("return result;");
        out.close();
        out.emptyLine();
    }

private:
    void readValue(const CStructMember& member) { useConversion(member); }

    bool usesNil_ = false;
    bool usesFlags_ = false;
    bool usesGrow_ = false;
    bool usesContent_ = false;
    bool usesOwnType_ = false;
    bool usesMarkupDup_ = false;
    std::set<CDecodeConversion> conversions_;
    bool usesTwins_ = false;
};

// The decoders, each "static int decode_<X>_t(...)", written straight on.
// A helper it comes to call must be one CDecoderNeeds records.
class CDecoderWriter : public CMemberDecoder {
public:
    CDecoderWriter(const CEmitContext& context, CTextBuffer& out) : context_(context), text_(out) {}

    void writeFault()
    {
        begin("soap_fault_msg");
        decodeFault(*this);
        end();
    }

    void writeType(const CViewType& type, const CStructDef& def)
    {
        begin(type.cName);
        hasTwins_ = twins_.read(def);
        soapArray_ = type.soapArray;
        current_ = &type;
        enumerated_ = enumeratedValue(type, def) != nullptr || enumeratedNumber(type, def) != nullptr ? &type : nullptr;
        decodeType(*this, type, def);
        if (decodedItemByItem(type, def))
            endItemByItem(type.cName);
        else
            end();
    }

    void attributeText(const CStructMember& member, const std::string& access) override
    {
        inHead_ = true;
        read(member, access, "\t", "xmlGetProp(cur, (const xmlChar *)\"" + cStringBody(member.xmlName) + "\")");
        inHead_ = false;
    }

    void ownText(const CStructMember& member, const std::string& access) override
    {
        inHead_ = true;
        read(member, access, "\t");
        inHead_ = false;
    }

    void text(const CStructMember& member, const std::string& access, const std::string& indent) override
    {
        read(member, access, indent, member.anyContent ? "mydecode_content(cur)" : ElementText);
        if (member.typeName.empty())
            return;
        // An item's type goes beside it, in the room its slot grew.
        const std::string item = member.isArray() ? "[value->" + std::string(member.countName) + "]" : std::string();
        loop_.line(indent, "if((result = mydecode_own_type(doc, cur, \"", structType_, ".", member.cName, "\", &value->",
                   member.typeName, item, ", &value->", member.typeNsName, item, ")) != 0", item.empty() ? ")" : "){");
        if (item.empty()) {
            loop_.line(indent, "\t", fail());
            return;
        }
        // The item read is counted, so that it is freed with the others.
        loop_.line(indent, "\tvalue->", member.countName, "++;");
        loop_.line(indent, "\t", fail());
        loop_.line(indent, "}");
    }

    void line(const std::string& text) override { loop_.line(text); }

    // An xsd:any member is an allocated text (the layout makes it one).
    void wildcard(const CStructMember&, const std::string& access) override
    {
        wildcards_.push_back("mydecode_markupdup(cur, &" + access + ")");
    }


private:
    // name: the X of "decode_X_t" and of the C type "<proj>_X_t" the decoder fills.
    void begin(std::string_view name)
    {
        head_.clear();
        loop_.clear();
        enumerated_ = nullptr;
        current_ = nullptr;
        usesGoto_ = false;
        structType_.assign(context_.proj()).append("_").append(name).append("_t");
        signature_.assign("static int decode_").append(name).append("_t(xmlDocPtr doc, xmlNodePtr cur, ");
        signature_.append(structType_).append(" *value)");
        required_.clear();
        names_.clear();
        wildcards_.clear();
        soapArray_ = false;
        arrayItems_ = nullptr;
        hasTwins_ = false;
    }

    void end()
    {
        writeWildcards();
        text_.line(signature_);
        text_.line("{");
        text_.line("\tint result = 0;");
        for (std::size_t i = 0; i < required_.size(); ++i)
            text_.line("\tint seen", std::to_string(i), " = 0;");
        if (arrayItems_ != nullptr) // the size its arrayType declares, its offset, an item's index
            text_.line("\tlong array_size = -1, array_offset = 0, array_index = 0;");
        text_.emptyLine();
        // A type without members reads neither the document nor the value.
        text_.line("\t(void)doc;");
        text_.line("\t(void)value;");
        text_.append(head_.text());
        if (arrayItems_ != nullptr) {
            text_.line("\tif((result = myarray_shape(doc, cur, \"", structType_, ".", arrayItems_->cName,
                       "\", &array_size, &array_offset)) != 0)");
            text_.line("\t\t", fail());
        }
        text_.line("\tfor(cur = cur->xmlChildrenNode; cur != NULL; cur = cur->next){");
        text_.line("\t\tif(cur->type != XML_ELEMENT_NODE)");
        text_.line("\t\t\tcontinue;");
        text_.append(loop_.text());
        text_.line("\t}");
        if (arrayItems_ != nullptr)
            writeItemsNotSent();
        text_.emptyLine();
        // A value the type requires must have come: 0 or an empty text is not what it said.
        for (std::size_t i = 0; i < required_.size(); ++i) {
            text_.line("\tif(!seen", std::to_string(i), "){");
            writeEmptyValueRefusal(text_, required_[i], "\t\t");
            text_.line("\t\t", fail());
            text_.line("\t}");
        }
        if (usesGoto_)
            text_.line("over:");
        text_.line("\treturn result;");
        text_.line("}");
        text_.emptyLine();
    }

    // The items a SOAP array's size (array_size) declares that were not
    // sent, added empty.
    void writeItemsNotSent()
    {
        text_.line("\twhile(value->", arrayItems_->countName, " < array_size){");
        writeItemGrowth(text_, *arrayItems_, "\t\t");
        text_.line("\t\tvalue->", arrayItems_->countName, "++;");
        text_.line("\t}");
    }

    // The child loop's body as a function of one child, and the decoder a
    // loop over the children calling it. A block's "continue" (a nil item)
    // leaves the do-while as it went on to the next child. A SOAP array's
    // item function takes its shape beside the value (mydecode_items_t), and
    // decode_<T>_end adds the items its size declares that did not come.
    void endItemByItem(std::string_view name)
    {
        const bool shaped = arrayItems_ != nullptr;
        text_.line("//one child of a ", structType_, ", as the reader of a message hands its items over one at a time");
        text_.line("static int decode_", name, "_item(xmlDocPtr doc, xmlNodePtr cur, void *item_of)");
        text_.line("{");
        if (shaped) {
            text_.line("\tmydecode_items_t *items = (mydecode_items_t *)item_of;");
            text_.line("\t", structType_, " *value = (", structType_, " *)items->value;");
            text_.line("\tlong array_size = items->size, array_offset = items->offset, array_index = 0;");
        } else {
            text_.line("\t", structType_, " *value = (", structType_, " *)item_of;");
        }
        text_.line("\tint result = 0;");
        text_.emptyLine();
        text_.line("\t(void)doc;");
        text_.line("\t(void)value;");
        text_.line("\tif(cur->type != XML_ELEMENT_NODE)");
        text_.line("\t\treturn 0;");
        text_.line("\tdo{");
        text_.append(loop_.text());
        text_.line("\t}while(0);");
        if (usesGoto_)
            text_.line("over:");
        text_.line("\treturn result;");
        text_.line("}");
        text_.emptyLine();
        if (shaped) {
            text_.line("//the items the size of a ", structType_, " declares, those not sent empty (items_of: its shape)");
            text_.line("static int decode_", name, "_end(xmlDocPtr doc, void *items_of)");
            text_.line("{");
            text_.line("\tmydecode_items_t *items = (mydecode_items_t *)items_of;");
            text_.line("\t", structType_, " *value = (", structType_, " *)items->value;");
            text_.line("\tlong array_size = items->size;");
            text_.line("\tint result = 0;");
            text_.emptyLine();
            writeItemsNotSent();
            text_.line("over:");
            text_.line("\treturn result;");
            text_.line("}");
            text_.emptyLine();
        }
        text_.line(signature_);
        text_.line("{");
        if (shaped) {
            text_.line("\tmydecode_items_t items = {value, -1, 0};");
            text_.line("\tint result = myarray_shape(doc, cur, \"", structType_, ".", arrayItems_->cName,
                       "\", &items.size, &items.offset);");
        } else {
            text_.line("\tint result = 0;");
        }
        text_.emptyLine();
        text_.line("\tfor(cur = cur->xmlChildrenNode; cur != NULL && result == 0; cur = cur->next)");
        text_.line("\t\tresult = decode_", name, "_item(doc, cur, ", shaped ? "&items" : "value", ");");
        text_.line(shaped ? "\treturn result != 0 ? result : decode_" + std::string(name) + "_end(doc, &items);"
                          : std::string("\treturn result;"));
        text_.line("}");
        text_.emptyLine();
    }

    // The children no member's name takes go to the wildcards, as markup.
    void writeWildcards()
    {
        if (wildcards_.empty())
            return;
        std::string test;
        for (std::size_t i = 0; i < names_.size(); ++i)
            test += (test.empty() ? "" : " && ") + std::string("!") + names_[i];
        loop_.line("\t\tif(", (test.empty() ? std::string("1") : test), "){");
        for (const std::string& call : wildcards_) {
            loop_.line("\t\t\tif((result = ", call, ") != 0)");
            loop_.line("\t\t\t\t", fail());
        }
        loop_.line("\t\t}");
    }

    const char* fail()
    {
        usesGoto_ = true;
        return "goto over;";
    }

    // A block of the child loop for children named name.
    void child(const CStructMember& member, std::string_view name,
               const std::function<void(const std::string& indent)>& body) override
    {
        if (name.empty()) {
            loop_.line("\t\tif(cur->name != NULL){ //an item of any name");
            names_.add().assign("1");
        } else {
            std::string& test = names_.add();
            test.clear();
            appendNamedTest(member.ns, name, test);
            if (const CElementTwins::Place* twin = hasTwins_ ? twins_.placeOf(member) : nullptr)
                test = CElementTwins::positionTest(test, *twin);
            loop_.line("\t\tif(", test, "){");
        }
        // An element that stands once, and the last of twins, refuse one of their name too many.
        const CElementTwins::Place* place = hasTwins_ ? twins_.placeOf(member) : nullptr;
        const std::string surplus = place != nullptr ? (place->place + 1 == place->count ? CElementTwins::surplusTest(*place) : "")
                                    : member.isArray()  ? ""
                                                        : "mydecode_repeated(cur)";
        if (!surplus.empty()) {
            loop_.line("\t\t\tif(", surplus, "){");
            loop_.line("\t\t\t\tresult = mydecode_refuse(doc, \"", structType_, ".", member.cName, "\", NULL, \"stands twice\");");
            loop_.line("\t\t\t\t", fail());
            loop_.line("\t\t\t}");
        }
        if (isRequiredValue(member)) { // nil or not, it came
            loop_.line("\t\t\tseen", std::to_string(required_.size()), " = 1;");
            required_.add().assign(structType_).append(".").append(member.cName);
        }
        if (!member.presentName.empty())
            loop_.line("\t\t\tvalue->", member.presentName, " = 1;");
        if (nilItemsKeepPlace(member)) {
            // A nil item keeps its place, empty, and its flag says nil: the
            // items after it stay where they stood.
            loop_.line("\t\t\tif(mydecode_nil(cur)){");
            slot(member, "\t\t\t\t");
            if (!member.nilName.empty())
                writeNilFlag(member, "\t\t\t\t");
            loop_.line("\t\t\t\tvalue->", member.countName, "++;");
            loop_.line("\t\t\t\tcontinue;");
            loop_.line("\t\t\t}");
        } else if (readsNil(member)) {
            loop_.line("\t\t\tif(mydecode_nil(cur)){");
            loop_.line("\t\t\t\tvalue->", member.nilName, " = 1;");
            loop_.line("\t\t\t\tcontinue;");
            loop_.line("\t\t\t}");
        }
        body("\t\t\t");
        loop_.line("\t\t}");
    }

    static constexpr const char* ElementText = "mydecode_key(doc, cur)";

    // Reads the text of node into the member at access: key is freed
    // before any early exit. An element without text fails where its
    // member cannot be empty; a missing attribute leaves its member as is.
    void read(const CStructMember& member, const std::string& access, const std::string& indent,
              const std::string& fetch = ElementText)
    {
        CTextBuffer& o = out_();
        std::string& name = valueName_; // in room that stays from value to value
        name.assign(structType_).append(".").append(member.cName);
        if (fetch == ElementText && takesBinaryPart(member)) {
            // A binary part goes into the member as its text at once, with no copy between.
            o.line(indent, "if(mymtom_part_of(cur) != NULL){");
            o.line(indent, "\tif((result = mymtom_take(doc, cur, \"", name, "\", &", access, ")) != 0)");
            o.line(indent, "\t\t", fail());
            o.line(indent, "}else");
        }
        o.line(indent, "{");
        o.line(indent, "\txmlChar\t*key = ", fetch, ";");
        o.line(indent, "\tif(key != NULL){");
        writeKeyConversion(member, access, name, indent + "\t\t", o);
        writeUnlistedNote(member, access, name, indent + "\t\t", o);
        o.line(indent, fetch == ElementText ? "\t\tmydecode_key_free(cur, key);" : "\t\txmlFree(key);");
        o.line(indent, "\t\tif(result != 0)");
        o.line(indent, "\t\t\t", fail());
        if (fetch == ElementText && emptyTextFails(member)) {
            o.line(indent, "\t}else{");
            writeEmptyValueRefusal(o, name, indent, "\t\t");
            o.line(indent, "\t\t", fail());
        }
        o.line(indent, "\t}");
        o.line(indent, "}");
    }

    // A member's next array item, in storage grown as items arrive; the
    // nil flags of a nillable array grow with it, item for item.
    std::string slot(const CStructMember& member, const std::string& indent) override
    {
        if (soapArray_ && member.origin == CStructMember::Items)
            writePlacement(member, indent);
        writeItemGrowth(loop_, member, indent);
        return "value->" + std::string(member.cName) + "[value->" + std::string(member.countName) + "]";
    }

    // A SOAP array's item stands at its position, else after the item
    // before it (the first at the array's offset); the items it passes over
    // stay empty.
    void writePlacement(const CStructMember& member, const std::string& indent)
    {
        arrayItems_ = &member;
        const std::string count = "value->" + std::string(member.countName);
        loop_.line(indent, "array_index = ", count, " > array_offset ? ", count, " : array_offset;");
        loop_.line(indent, "if((result = myarray_place(doc, cur, \"", structType_, ".", member.cName, "\", array_size, ", count,
                   ", &array_index)) != 0)");
        loop_.line(indent, "\t", fail());
        loop_.line(indent, "while(", count, " < array_index){");
        writeItemGrowth(loop_, member, indent + "\t");
        loop_.line(indent, "\t", count, "++;");
        loop_.line(indent, "}");
    }

    // The room for one more item of the member's array grown (its items or
    // its nil flags).
    void writeGrowth(CTextBuffer& out, const CStructMember& member, std::string_view grown, const std::string& indent)
    {
        out.line(indent, "value->", grown, " = mydecode_grow(doc, \"", structType_, ".", member.cName, "\", value->",
                 grown, ", value->", member.countName, ", sizeof(*value->", grown, "), &result);");
        out.line(indent, "if(result != 0)");
        out.line(indent, "\t", fail());
    }

    // The room for one more item, and for what stands beside each item (its
    // own type, its nil flag): they grow together, so that each has room for
    // every item counted. The nil flags exist only from the first nil item
    // on (most arrays have none): until then they stay NULL and do not grow.
    void writeItemGrowth(CTextBuffer& out, const CStructMember& member, const std::string& indent)
    {
        writeGrowth(out, member, member.cName, indent);
        for (const std::string_view beside : {member.typeName, member.typeNsName}) {
            if (!beside.empty())
                writeGrowth(out, member, beside, indent);
        }
        if (member.nilName.empty())
            return;
        out.line(indent, "if(value->", member.nilName, " != NULL){");
        writeGrowth(out, member, member.nilName, indent + "\t");
        out.line(indent, "}");
    }

    // The flag of the nil item at the count (its room grown): the first nil
    // item allocates the flags, zeroed, with the room its items have.
    void writeNilFlag(const CStructMember& member, const std::string& indent)
    {
        const std::string flags = "value->" + std::string(member.nilName);
        const std::string count = "value->" + std::string(member.countName);
        loop_.line(indent, "if(", flags, " == NULL && (", flags, " = mydecode_flags(doc, \"", structType_, ".", member.cName,
                   "\", ", count, ", &result)) == NULL)");
        loop_.line(indent, "\t", fail());
        loop_.line(indent, flags, "[", count, "] = 1;");
    }

    // A struct held by pointer (types that hold each other) is allocated
    // when its element arrives.
    void nested(const CStructMember& member, const std::string& access, const std::string& indent) override
    {
        const std::string_view type = member.userType->cName;
        // An item that failed half read is counted, so that what it holds
        // is freed with the items before it.
        const bool item = member.isArray();
        const char* open = item ? "){" : ")";
        if (member.pointer) {
            loop_.line(indent, "if(", access, " == NULL)");
            loop_.line(indent, "\t", access, " = calloc(1, sizeof(*", access, "));");
            loop_.line(indent, "if((result = ", access, " == NULL ? -1 : decode_", type, "_t(doc, cur, ", access, ")) != 0", open);
        } else {
            loop_.line(indent, "if((result = decode_", type, "_t(doc, cur, &", access, ")) != 0", open);
        }
        if (item)
            loop_.line(indent, "\tvalue->", member.countName, "++;");
        loop_.line(indent, "\t", fail());
        if (item)
            loop_.line(indent, "}");
    }

    // A value its enumeration does not list is taken, and said.
    void writeUnlistedNote(const CStructMember& member, const std::string& access, const std::string& name,
                           const std::string& indent, CTextBuffer& o) const
    {
        std::string unlisted;
        if (enumerated_ != nullptr && member.origin == CStructMember::Value && member.kind == CStructMember::Number)
            unlisted = "!" + enumerationTest(*enumerated_) + "(" + access + ")";
        else if (enumerated_ != nullptr && member.origin == CStructMember::Value)
            unlisted = "mycheck_listed((const char *)key, " + enumerationArguments(*enumerated_) + ") != 0";
        else if (const CViewType* attribute = current_ != nullptr ? attributeEnumeration(*current_, member) : nullptr)
            unlisted = "mycheck_listed((const char *)key, " + enumerationArguments(*attribute) + ") != 0";
        if (unlisted.empty())
            return;
        o.line(indent, "if(result == 0 && ", unlisted, ")");
        o.line(indent, "\tmydecode_note(doc, \"", name, "\", key, \"is none of the values its enumeration lists\");");
    }

    CTextBuffer& out_() { return inHead_ ? head_ : loop_; }

    const CEmitContext& context_;
    CTextBuffer& text_;
    CTextBuffer head_;
    CTextBuffer loop_;
    std::string structType_;
    std::string valueName_; // "<struct type>.<member>" of the value read
    std::string signature_;
    CTextList required_; // the names of required values, by their seen flags
    bool usesGoto_ = false;
    bool inHead_ = false;
    CTextList names_;                    // the tests of the children the current decoder's members take
    CElementTwins twins_;                // the current decoder's members that take elements by position
    bool hasTwins_ = false;
    bool soapArray_ = false;             // the current decoder's type is a SOAP array
    const CViewType* enumerated_ = nullptr; // the current decoder's type, when its value is enumerated
    const CViewType* current_ = nullptr;    // the current decoder's type
    const CStructMember* arrayItems_ = nullptr; // its items' member, once placed
    std::vector<std::string> wildcards_; // the calls that append a child to its xsd:any members
};

} // namespace

bool decodedItemByItem(const CViewType& type, const CStructDef& def)
{
    if (def.members.empty() || (type.soapArray && def.members.size() != 1))
        return false;
    // A SOAP array's one member holds its items; another type's are elements.
    const CStructMember::Origin origin = type.soapArray ? CStructMember::Items : CStructMember::Element;
    for (const CStructMember& member : def.members) {
        if (!member.isArray() || member.origin != origin || member.wildcard)
            return false;
    }
    return true;
}

bool readFromItemText(const CStructDef& def)
{
    for (const CStructMember& member : def.members) {
        const bool simple = member.kind == CStructMember::NumberArray || member.kind == CStructMember::TextArray;
        if (!simple || member.anyContent || !member.typeName.empty())
            return false;
    }
    return true;
}

void writeResponseDecoders(const CEmitContext& context, CTextBuffer& source)
{
    const CStructLayout& layout = context.layout();
    CDecoderNeeds needs;
    for (const CStructMember& member : layout.headerMembers()) {
        if (const CStructMember* value = carriedValue(member))
            needs.useConversion(*value);
    }
    for (const CStructDef* def : layout.messageStructs()) {
        for (const CStructMember& member : def->members) {
            if (const CStructMember* value = carriedValue(member))
                needs.useConversion(*value);
        }
    }
    for (const CStructDef* def : layout.faultStructs()) {
        for (const CStructMember& member : def->members) {
            if (const CStructMember* value = carriedValue(member))
                needs.useConversion(*value);
        }
    }
    needs.useConversion(faultDetailMember());
    decodeFault(needs);
    CElementTwins twins;
    for (const CViewType* type : layout.codecTypes()) {
        decodeType(needs, *type, *layout.structOf(type));
        if (twins.read(*layout.structOf(type)))
            needs.useTwins();
    }
    writeFragment(context, CFragment::ArrayShapes, source);
    source.emptyLine();
    needs.writeHelpers(context, source);
    if (hasEnumeratedType(layout))
        writeNoteHelper(context.projUpper(), source);

    writeFaultDetailDecoders(context, source);
    CDecoderWriter writer(context, source);
    writer.writeFault();
    for (const CViewType* type : layout.codecTypes())
        writer.writeType(*type, *layout.structOf(type));
    source.emptyLine();
}
