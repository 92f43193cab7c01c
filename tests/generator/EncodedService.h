#pragma once

// A WSDL document of one-way rpc/encoded operations over SOAP-encoded
// arrays, bound by SOAP 1.1 and by SOAP 1.2 with its own encoding, for the
// tests that send and read such arrays through generated code.

#include "wsdl/WsdlParseTestSupport.h"

#include <string>
#include <vector>

namespace gentest {

// A SOAP array type of the schema: name restricts SOAP-ENC:Array, content
// (a sequence, say) stands before its arrayType attribute, which names
// items ("xsd:int", "tns:Entry").
inline std::string soapArrayType(const std::string& name, const std::string& items,
                                 const std::string& content = std::string())
{
    return "<xsd:complexType name=\"" + name + "\"><xsd:complexContent><xsd:restriction base=\"soapenc:Array\">" +
        content + "<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"" + items +
        "[]\"/></xsd:restriction></xsd:complexContent></xsd:complexType>";
}

// Operation X of ops sends message XIn (one of messages); types is the
// content of the schema of urn:t, in which soapenc and wsdl are bound and
// the SOAP encoding imported. Binding B is SOAP 1.1's, B12 SOAP 1.2's.
inline std::string encodedOneWayService(const std::vector<std::string>& ops, const std::string& types,
                                        const std::string& messages)
{
    const std::string body = "<soap:body use=\"encoded\" namespace=\"urn:t\" "
                             "encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/>";
    std::string operations, binding;
    for (const std::string& name : ops) {
        operations += "<operation name=\"" + name + "\"><input message=\"tns:" + name + "In\"/></operation>";
        binding += "<operation name=\"" + name + "\"><soap:operation soapAction=\"\"/><input>" + body +
            "</input></operation>";
    }
    binding = "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"rpc\" "
              "transport=\"http://schemas.xmlsoap.org/soap/http\"/>" + binding + "</binding>";
    std::string soap12 = wsdltest::asSoap12Binding(binding, "B", "B12");
    const std::string from = "http://schemas.xmlsoap.org/soap/encoding/";
    for (std::size_t at = soap12.find(from); at != std::string::npos; at = soap12.find(from, at))
        soap12.replace(at, from.size(), "http://www.w3.org/2003/05/soap-encoding");
    return wsdltest::definitions(
        "<types><xsd:schema targetNamespace=\"urn:t\" xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
        "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"><xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>" +
            types + "</xsd:schema></types>\n" + messages + "<portType name=\"P\">" + operations + "</portType>" +
            binding + soap12 + "\n",
        " xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\"");
}

// C text after LoopbackPeer: send_kept(pk) sends project "demo"'s packet
// to a peer that closes at once, and gives the bytes it sent (the transport
// keeps them), ended by a NUL; the caller frees them. NULL when nothing
// went out.
const char* const SendKept = R"(
static char *send_kept(demo_proto_packet_t *pk)
{
	demo_proto_trans_t trans;
	peer_t peer;
	char *sent;

	memset(&trans, 0, sizeof(trans));
	trans.keep_sent = 1;
	strcpy(trans.dest_ip, "127.0.0.1");
	strcpy(trans.url, "/x");
	memset(&peer, 0, sizeof(peer));
	if(peer_start(&peer, &trans.socket) != 0)
		return NULL;
	demo_proto_sendpacket(&trans, pk, 5);
	peer_finish(&peer, trans.socket);
	if(trans.sent == NULL || (sent = realloc(trans.sent, trans.sent_length + 1)) == NULL){
		free(trans.sent);
		return NULL;
	}
	sent[trans.sent_length] = '\0';
	return sent;
}
)";

} // namespace gentest
