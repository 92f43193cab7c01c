#include "generator/emit/HeaderStructs.h"

#include "generator/emit/Mtom.h"
#include "generator/model/EmitContext.h"
#include "generator/emit/FaultDetails.h"
#include "generator/emit/MemberKinds.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/WsAddressing.h"

namespace {

const std::string Slashes(76, '/');

void banner(CTextBuffer& out)
{
    out.emptyLine();
    out.line(Slashes);
}

// How the structs tell what a message holds beyond the values.
// otherOwnTypes: an anyType value beyond a type's single element keeps its
// own type; nilItems: a SOAP array's items have nil flags.
void writeConventions(const std::string& proj, bool otherOwnTypes, bool nilItems, CTextBuffer& out)
{
    for (const char* text :
         {"//Presence: an element that may be left out (minOccurs=\"0\", or a branch of a choice) has",
          "//an int <member>_present beside it. Encoders write the element only when it is non-zero,",
          "//and write the first branch of a choice whose flag is set; decoders set it to 1 when the",
          "//element arrived. A nillable element has an int <member>_nil: non-zero sends",
          "//<element xsi:nil=\"true\"/>, and decoders set it when that arrives (the value stays empty).",
          "//A repeated nillable element has an int *<member>_nil: a flag per item (NULL: none is nil);",
          "//an item whose flag is set is written as nil, and a nil item that arrives keeps its place",
          "//as an empty item with its flag set.",
          nilItems ? "//The items of a SOAP array, of whatever type, have such flags too." : nullptr,
          "//Attributes are written when their text is not empty. Members without a flag are always",
          "//written.",
          "//Repeated elements and the items of SOAP arrays: a pointer to <member>_count items. Encoders",
          "//write exactly that many; the packet reader allocates them as they arrive, and",
          "//@_free_proto_packet frees them (with the attachment and the structs it allocated for",
          "//types that hold each other). A packet filled by the caller holds the caller's storage.",
          "//An xsd:any member holds the markup of its elements as it is written and as it came; an",
          "//anyType member (an element declared without a type) the markup of its content.",
          "//An anyType element that stands once also has char *<member>_type, its own xsi:type as it came",
          "//(NULL: none), and char *<member>_type_ns, the namespace of that name's prefix there; a type with",
          "//a namespace is written under a prefix declared beside it, one without as given.",
          otherOwnTypes ? "//A repeated anyType element (a SOAP array's anyType items too) has char **<member>_type and"
                        : nullptr,
          otherOwnTypes ? "//char **<member>_type_ns, a type and its namespace per item (NULL: none has one); an anyType"
                        : nullptr,
          otherOwnTypes ? "//part or header member, and a global anyType element's value, has its own xsi:type as an"
                        : nullptr,
          otherOwnTypes ? "//element that stands once." : nullptr,
          "//Text members are a char * to their text, allocated with its length: the packet reader",
          "//allocates it and @_free_proto_packet frees it; NULL is written as empty. Repeated texts",
          "//are a char ** to <member>_count such texts. (Generated with a fixed text length, texts",
          "//are char arrays instead, and a longer text fails its message; base64Binary, hexBinary,",
          "//xsd:any and anyType members stay allocated.) What a free function frees is left empty:",
          "//pointers NULL, counts and the presence flags of freed members 0.",
          "//The comment before each struct says which element, attribute or part each member holds."})
    {
        if (text == nullptr)
            continue;
        std::string line = text;
        const std::string::size_type at = line.find('@');
        out.line(at == std::string::npos ? line : line.replace(at, 1, proj));
    }
    out.emptyLine();
}

void writeMembers(const CStructLayout& layout, const std::vector<CStructMember>& members, CTextBuffer& out)
{
    for (const CStructMember& member : members) {
        memberKindOf(member).declare(layout, member, out);
    }
}

// What a member holds in documents: "//<member>: element <name> in <ns>,
// optional, repeated, nillable" (attributes and parts alike). note: one
// line at a time, in room that stays from struct to struct.
void writeMemberNotes(const std::vector<CStructMember>& members, std::string& note, CTextBuffer& out)
{
    for (const CStructMember& member : members) {
        note.assign("//").append(member.cName).append(": ");
        const std::size_t what = note.size();
        std::string_view ns = member.ns;
        if (member.origin == CStructMember::Items)
            note += "the items";
        else if (member.origin == CStructMember::Element)
            note.append(member.wildcard ? "any elements of " : "element ").append(member.xmlName);
        else if (member.origin == CStructMember::Attribute && !member.wildcard)
            note.append("attribute ").append(member.xmlName);
        else if (member.origin == CStructMember::Part && member.part != nullptr) {
            const bool element = member.part->refKind == CViewPart::ElementRef && member.part->element != nullptr;
            note.append(element ? "element " : "part ").append(element ? member.part->element->name : member.part->name);
            ns = element ? std::string_view(member.part->element->ns) : std::string_view();
        }
        if (note.size() == what)
            continue;
        if (member.origin != CStructMember::Items && !member.wildcard && ns.empty())
            note += " (no namespace)";
        else if (member.origin != CStructMember::Items && !member.wildcard)
            note.append(" in ").append(ns);
        if (member.optional)
            note += ", optional";
        if (member.isArray())
            note += ", repeated";
        if (member.nillable)
            note += ", nillable";
        if (member.anyContent)
            note += ", its content as markup";
        out.line(note);
    }
}

void writeTypeStruct(const CStructLayout& layout, const CStructDef& def, std::string& note, CTextBuffer& out)
{
    if (def.kind != CStructDef::ElementAlias)
        writeMemberNotes(def.members, note, out);
    const std::string& p = layout.proj();
    if (def.kind == CStructDef::ElementAlias) {
        out.line("typedef ", p, "_", def.type->cName, "_t ", p, "_", def.name, "_t;");
        out.emptyLine();
        return;
    }
    out.line("typedef struct ", p, "_", def.name, "_t{");
    writeMembers(layout, def.members, out);
    if (def.secondName.empty())
        out.line("}", p, "_", def.name, "_t;");
    else
        out.line("}", p, "_", def.name, "_t,", p, "_", def.secondName, "_t;");
    out.emptyLine();
}

// A SOAP 1.2 fault's Code/Value stands in faultcode, its Reason/Text in
// faultstring and its Detail in detail; these hold what SOAP 1.1 has no
// place for.
void writeSoap12FaultMembers(const std::string& P, CTextBuffer& out)
{
    out.line("\t//in SOAP 1.2 faultcode holds Code/Value (\"SOAP-ENV:Sender\", \"SOAP-ENV:Receiver\"..., SOAP 1.1's Client and");
    out.line("\t//Server go out as Sender and Receiver) and faultstring Reason/Text, subcode holds Code/Subcode/Value");
    out.line("\t//and lang the xml:lang of Reason/Text (\"en\" when sent empty), both empty in SOAP 1.1");
    out.line("\tchar subcode[", P, "_MAX_SOAP_FAULT_FAULTCODE_LEN+1];");
    out.line("\tchar lang[", P, "_MAX_SOAP_FAULT_FAULTCODE_LEN+1];");
    out.line("\t//the namespace of subcode's prefix (other than SOAP-ENV): the reader sets it, and a fault sent declares");
    out.line("\t//the prefix with it; a prefixed subcode sent without it goes without its prefix, in no namespace. A");
    out.line("\t//SOAP 1.1 fault sent declares its faultcode's prefix (other than SOAP-ENV) with it too");
    out.line("\tchar subcode_ns[", P, "_MAX_SOAP_FAULT_FAULTCODE_LEN+1];");
}

// The fault messages the service declares: their constants, before the
// fault struct.
void writeFaultDetailConstants(const CStructLayout& layout, CTextBuffer& out)
{
    const std::vector<std::string> constants = faultDetailConstants(layout);
    if (constants.empty())
        return;
    out.line("//the fault messages the service declares, as a fault's detail_type names them (0: none)");
    for (std::size_t i = 0; i < constants.size(); ++i)
        out.line("#define ", constants[i], "\t", std::to_string(i + 1));
    out.emptyLine();
}

// Where the service declares fault messages, the one a detail holds.
void writeFaultDetailMembers(const CStructLayout& layout, CTextBuffer& out)
{
    if (layout.faultStructs().empty())
        return;
    const std::string& p = layout.proj();
    out.line("\t//the fault message of the service the detail holds, decoded (detail keeps its markup): detail_type");
    out.line("\t//is its ", layout.projUpper(), "_DETAIL_ constant and detail_msg points to it; 0 when the detail holds none");
    out.line("\t//of them. A fault sent with detail_type set and its pointer given goes with that message as its");
    out.line("\t//detail (detail is then left aside). ", p, "_free_fault frees it, and so does the packet's free");
    out.line("\tint\tdetail_type;");
    out.line("\tunion{");
    for (const CStructDef* def : layout.faultStructs())
        out.line("\t\t", p, "_", def->name, "_t\t*", def->message->cName, ";");
    out.line("\t}detail_msg;");
}

void writeFixedStructs(const CStructLayout& layout, CTextBuffer& out)
{
    const std::string& p = layout.proj();
    const std::string& P = layout.projUpper();
    writeFaultDetailConstants(layout, out);
    out.line("typedef struct ", p, "_soap_fault_msg_t{");
    out.line("\tchar faultcode[", P, "_MAX_SOAP_FAULT_FAULTCODE_LEN+1];");
    out.line("\tchar faultstring[", P, "_MAX_SOAP_FAULT_FAULTSTRING_LEN+1];");
    out.line("\t//the detail's content as markup: its elements with the namespaces they use, its text escaped;");
    out.line("\t//a detail to send that is no XML content goes as text. Allocated, as long as the markup (NULL:");
    out.line("\t//none): ", p, "_free_fault frees it, and so does the packet's free");
    out.line("\tchar *detail;");
    writeSoap12FaultMembers(P, out);
    writeFaultDetailMembers(layout, out);
    out.line("}", p, "_soap_fault_msg_t;");
    out.emptyLine();
    out.line("typedef struct ", p, "_http_header_t{");
    out.line("\tchar name[", P, "_MAX_HTTP_HEADER_NAME_LEN+1];");
    out.line("\tchar value[", P, "_MAX_HTTP_HEADER_VALUE_LEN+1];");
    out.line("}", p, "_http_header_t;");
    out.emptyLine();
    out.line("typedef struct ", p, "_http_msg_t{");
    out.line("\tint\terr_code;");
    out.line("\tchar err_code_string[", P, "_MAX_HTTP_ERR_CODE_STRING_LEN+1];");
    out.line("\tchar buffer[", P, "_MAX_HTTP_MSG_BUFFER_LEN+1];");
    out.line("}", p, "_http_msg_t;");
    out.emptyLine();
}

void writePacket(const CEmitContext& context, CTextBuffer& out)
{
    const CStructLayout& layout = context.layout();
    const std::string& p = layout.proj();
    const std::string& P = layout.projUpper();
    out.line("//the ways of msg_direction");
    out.line("#define ", P, "_DIRECTION_REQUEST\t1");
    out.line("#define ", P, "_DIRECTION_RESPONSE\t2");
    out.line("//the values of soap_version");
    out.line("#define ", P, "_SOAP_1_1\t11");
    out.line("#define ", P, "_SOAP_1_2\t12");
    out.emptyLine();
    writeWsAddressingTypes(context, out);
    out.line("typedef struct ", p, "_proto_packet_t{");
    out.line("\t", p, "_http_header_t\thttp_headers[", P, "_MAX_HTTP_HEADER_NUM];");
    out.line("\tint http_headers_count;");
    out.emptyLine();
    out.line("\t//boundary_part between http header and soap message if there is");
    out.line("\tchar\tboundary_part[", P, "_MAX_BOUNDARY_LEN+1];");
    out.emptyLine();
    writeMembers(layout, layout.headerMembers(), out);
    out.emptyLine();
    out.line("\tunsigned int\tmsg_type;");
    out.line("\tunion{");
    out.line("\t\t", p, "_http_msg_t\thttp_msg;");
    out.line("\t\t", p, "_soap_fault_msg_t\tsoap_fault;");
    for (const CStructDef* def : layout.messageStructs())
        out.line("\t\t", p, "_", def->name, "_t\t", def->message->cName, ";");
    out.line("\t}msg;");
    out.line("\tint attachment_length;");
    out.line("\tchar *attachment;");
    out.line("\t//why reading the packet failed (for a value: the member and why); beside an HTTP error status,");
    out.line("\t//why its body is no SOAP fault");
    out.line("\tchar\tdecode_error[", P, "_MAX_DECODE_ERROR_LEN+1];");
    out.line("\t//when reading the packet failed on its SOAP message: the faultcode that answers it,");
    out.line("\t//\"SOAP-ENV:MustUnderstand\" for a header entry that must be understood, else \"SOAP-ENV:Client\"");
    out.line("\tconst char\t*decode_fault;");
    out.line("\t//how many of http_headers, and whether boundary_part, came with the message read into");
    out.line("\t//the packet: a message sent from the packet leaves them out");
    out.line("\tint\thttp_headers_received;");
    out.line("\tint\tboundary_received;");
    out.line("\t//the way the message goes: the packet reader sets it to the way the message came. Where one");
    out.line("\t//message kind is both a request and a response (one body element or message sent both ways),");
    out.line("\t//sending goes by it, and by the way of the kind's first operation when it is 0");
    out.line("\tint\tmsg_direction;");
    out.line("\t//the value of the Authorization header a request goes with, or NULL: the caller's, never freed");
    out.line("\tconst char\t*authorization;");
    out.line("\t//the SOAP version of the envelope: ", P, "_SOAP_1_2, or ", P, "_SOAP_1_1 (also when 0). The reader sets it");
    out.line("\t//to the version of the message read, an operation's call to its binding's; a message sent from");
    out.line("\t//the packet goes in that version's envelope, with its Content-Type and action");
    out.line("\tint\tsoap_version;");
    writeWsAddressingPacketMember(context, out);
    out.line("\t//the WS-Security settings a message sent from the packet goes with (tessaro_wsse.h), or NULL: the caller's");
    out.line("\tconst tessaro_wsse_t\t*wsse;");
    out.line("\t//NULL, or the header entries the reader takes as understood although no header part names them,");
    out.line("\t//each \"{namespace}name\", ended by a NULL: the caller's, never freed");
    out.line("\tconst char\t*const *understood;");
    out.line("\t//the header entry that had to be understood and was not, as {namespace}name: the reader sets it when");
    out.line("\t//it refuses a message for it; a SOAP 1.2 MustUnderstand fault sent from the packet names it in a");
    out.line("\t//NotUnderstood header block");
    out.line("\tchar\tnot_understood[", P, "_MAX_SOAP_FAULT_FAULTSTRING_LEN+1];");
    writeMtomPacketMember(out);
    out.line("}", p, "_proto_packet_t;");
    out.emptyLine();
    out.emptyLine();
}

void writeTransport(const CStructLayout& layout, CTextBuffer& out)
{
    const std::string& p = layout.proj();
    banner(out);
    out.line("typedef struct ", p, "_proto_trans_t{");
    out.line("\ttessaro_socket_t socket;");
    out.line("\tchar dest_ip[256];//destination ip");
    out.line("\ttessaro_port_t dest_port;//destination port");
    out.line("\tchar url[256];//url");
    out.line("\tconst char *proxy_authorization;//NULL, or the Proxy-Authorization value of the request sent next");
    // Zero-filled, a transport is a plain connection on its socket with no deadline.
    out.line("\tstruct tessaro_tls *tls;//the TLS session of an https connection; NULL: the socket itself");
    out.line("\ttessaro_usec_t deadline;//0, or the clock reading (tessaro_clock_usec) at which sending and reading end");
    out.line("\ttessaro_size_t received;//bytes received on it");
    out.line("\tint keep_sent;//non-zero: each message sent is kept in sent (its owner frees it)");
    out.line("\tchar *sent;");
    out.line("\ttessaro_size_t sent_length;");
    out.line("\tint keep_open;//after a message was read: its sender keeps the connection open (HTTP/1.1 keep-alive)");
    out.line("\tint failure;//the result of the receive or send that failed last on it (tessaro_socket.h), 0 when none did");
    out.line("\tconst tessaro_wsse_t *wsse;//NULL, or the WS-Security settings a message read on it is checked against");
    out.line("\tint wsse_result;//the last message read failed that check: why (TESSARO_WSSE_ in tessaro_wsse.h), else 0");
    out.line("\tconst char *const *understood;//NULL, or the further header entries a message read on it may carry (see the packet's)");
    out.line("\ttessaro_size_t max_read;//0, or the most bytes a message read on it may have (less than ", layout.projUpper(), "_MAX_READ_MESSAGE_LEN): a server's bound");
    out.line("\tconst char *carry;//NULL, or the bytes a server read for it before handing it over: a message read on it takes them first,");
    out.line("\ttessaro_size_t carry_length;//and those behind the message stay");
    out.line("\tchar *owned;//NULL, or the heap block carry begins (owned_room bytes): a message read on it takes it as its room");
    out.line("\ttessaro_size_t owned_room;");
    out.line("\tconst tessaro_server_frame_t *framed;//NULL, or the server's framing check of the request carry begins with (its head read once)");
    out.line("}", p, "_proto_trans_t;");
    out.emptyLine();
    out.emptyLine();
    out.emptyLine();
}

} // namespace

void writeHeaderStructs(const CEmitContext& context, CTextBuffer& header)
{
    const CStructLayout& layout = context.layout();
    banner(header);
    writeConventions(layout.proj(), layout.keepsOtherOwnTypes(), layout.hasNilItems(), header);
    std::string note;
    for (const CStructDef* def : layout.typeStructs())
        writeTypeStruct(layout, *def, note, header);
    for (const CStructDef* def : layout.messageStructs())
        writeTypeStruct(layout, *def, note, header);
    for (const CStructDef* def : layout.faultStructs()) {
        if (layout.isFaultOnly(*def))
            writeTypeStruct(layout, *def, note, header);
    }
    writeFixedStructs(layout, header);
    writePacket(context, header);
    writeTransport(layout, header);
}
