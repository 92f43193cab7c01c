// The SOAP binding extension: element ids and their kinds, what each element
// records, the reports, the guards of the info calls, and its schema.

#include "schema/SchemaValidatorTestSupport.h"
#include "support/LocatedMessage.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "wsdl/Message.h"
#include "wsdl/SoapExtension.h"
#include "wsdl/WsdlNamespaces.h"
#include "wsdl/WsdlParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string_view>

#include <climits>

using namespace Wsdl;
using namespace validatortest;

namespace {

class SoapExtensionTest : public ::testing::Test {
protected:
    SoapExtensionTest()
    {
        testsupport::writeBytes("doc.wsdl", R"(<definitions xmlns="http://schemas.xmlsoap.org/wsdl/"/>)");
        parser_ = std::make_unique<WsdlParser>("doc.wsdl", diagnostics_, builtInSchemaFolder());
        soap_ = parser_->getSoapExtension();
        soap_->setStartId(1);
        soap_->setSchemaParser(loadSchema(soap_->getExtensibilitySchema()));
        soap_->setWsdlParser(parser_.get());

        Message* header = parser_->getMessageOrCreate(Schema::QualifiedName("tns:Hdr"));
        const int stringType = Schema::XSD_STRING;
        header->addPart("user", Part::TypeRef, &stringType, 0);
        header->addPart("token", Part::TypeRef, &stringType, 0);
        header->setDefined();
        takeDiagnostics();
    }

    std::unique_ptr<Schema::SchemaParser> loadSchema(const std::string& location)
    {
        auto schema = std::make_unique<Schema::SchemaParser>(location, SoapBindingUri, diagnostics_);
        EXPECT_TRUE(schema->parseSchemaTag()) << diagnostics_.str();
        return schema;
    }

    // Hands the element to the extension as the WSDL parser does, and checks
    // that the pull parser is left on the element's end tag.
    int handle(const std::string& element, int parentKind = WsdlParser::OPERATION)
    {
        Instance instance(soapElement(element));
        const std::string name = instance.xpp.getName();
        const int id = soap_->handleElement(parentKind, instance.xpp);
        EXPECT_EQ(instance.xpp.getEventType(), XmlPullParser::END_TAG) << element;
        EXPECT_EQ(instance.xpp.getName(), name) << element;
        return id;
    }

    // The line from "Soap Processing" on when it starts "doc.wsdl: " or "doc.wsdl:<line>:<column>: "
    // before it; else the whole line.
    static std::string_view withoutDocument(std::string_view line)
    {
        const std::string_view document = "doc.wsdl";
        if (line.substr(0, document.size()) != document)
            return line;
        std::string_view rest = line.substr(document.size());
        const std::size_t lineDigits = rest.empty() || rest[0] != ':' ? 0 : testsupport::leadingDigits(rest.substr(1));
        if (lineDigits > 0 && rest.size() > lineDigits + 1 && rest[lineDigits + 1] == ':') {
            const std::size_t columnDigits = testsupport::leadingDigits(rest.substr(lineDigits + 2));
            if (columnDigits > 0)
                rest.remove_prefix(lineDigits + 2 + columnDigits);
        }
        const std::string_view soap = ": Soap Processing";
        return rest.substr(0, soap.size()) == soap ? rest.substr(2) : line;
    }

    // The messages without the document they name at their start (each must).
    std::string takeDiagnostics()
    {
        const std::string text = diagnostics_.str();
        diagnostics_.str("");
        std::string bare;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
            bare += withoutDocument(std::string_view(text).substr(start, end - start));
            start = end;
        }
        const auto count = [](const std::string& in, const std::string& what) {
            std::size_t n = 0;
            for (std::size_t at = in.find(what); at != std::string::npos; at = in.find(what, at + 1))
                ++n;
            return n;
        };
        EXPECT_EQ(count(text, "doc.wsdl"), count(bare, "Soap Processing")) << text;
        return bare;
    }

    testsupport::ScopedWorkingFolder folder_;
    std::ostringstream diagnostics_;
    std::unique_ptr<WsdlParser> parser_;
    SoapExtension* soap_ = nullptr;
};

TEST_F(SoapExtensionTest, InfoCallsAnswerOnlyForIdsOfTheirOwnKindAndRange)
{
    for (const int start : {1, WsdlExtensionHandler::ElementIdBlockSize + 1}) {
        SCOPED_TRACE(start);
        SoapExtension soap(builtInSchemaFolder());
        soap.setStartId(start);
        soap.setSchemaParser(loadSchema(soap.getExtensibilitySchema()));
        soap.setWsdlParser(parser_.get());
        soap_ = &soap;
        const int operation = handle(R"(<soap:operation soapAction="urn:op" style="rpc"/>)");
        const int body = handle(R"(<soap:body use="encoded"/>)");
        const int header = handle(R"(<soap:header message="tns:Hdr" part="token"/>)");
        const int address = handle(R"(<soap:address location="http://host/"/>)");
        ASSERT_EQ(operation, start);
        ASSERT_EQ(address, start + 3);

        struct Probe {
            int id;
            bool operation, header, body, address;
        };
        const Probe probes[] = {
            {operation, true, false, false, false}, {body, false, false, true, false},
            {header, false, true, false, false},    {address, false, false, false, true},
            {start - 1, false, false, false, false}, {start + 4, false, false, false, false},
            {0, false, false, false, false},         {-1, false, false, false, false},
            {INT_MIN, false, false, false, false},   {INT_MAX, false, false, false, false},
        };
        for (const Probe& p : probes) {
            SCOPED_TRACE(p.id);
            std::string action = "untouched";
            int style = -7;
            EXPECT_EQ(soap.getOperationInfo(p.id, action, style), p.operation);
            EXPECT_EQ(action, p.operation ? "urn:op" : "untouched");
            EXPECT_EQ(style, p.operation ? SoapExtension::Rpc : -7);

            int partIndex = -7;
            Message* message = nullptr;
            EXPECT_EQ(soap.getHeaderInfo(p.id, partIndex, message), p.header);
            EXPECT_EQ(partIndex, p.header ? 1 : -7);
            EXPECT_EQ(message, p.header ? parser_->getMessage(Schema::QualifiedName("Hdr")) : nullptr);
            EXPECT_EQ(soap.isSoapHeader(p.id), p.header);

            int use = -7;
            std::string encodingStyle, ns;
            EXPECT_EQ(soap.getBodyInfo(p.id, use, encodingStyle, ns), p.body);
            EXPECT_EQ(use, p.body ? 1 : -7);

            std::string location;
            EXPECT_EQ(soap.getAddressLocation(p.id, location), p.address);
        }
        soap_ = nullptr;
    }
}

TEST_F(SoapExtensionTest, OperationsTakeTheBindingStyleUnlessTheyNameOne)
{
    struct Case {
        const char* binding; // empty: no binding element before the operation
        const char* operation;
        const char* soapAction;
        int style;
    };
    const Case cases[] = {
        {"", R"(<soap:operation/>)", "", SoapExtension::Document},
        {R"(<soap:binding/>)", R"(<soap:operation soapAction="urn:a"/>)", "urn:a", SoapExtension::Document},
        {R"(<soap:binding style="rpc"/>)", R"(<soap:operation/>)", "", SoapExtension::Rpc},
        {R"(<soap:binding style="rpc"/>)", R"(<soap:operation style="document"/>)", "", SoapExtension::Document},
        {R"(<soap:binding style="rpc"/>)", R"(<soap:operation style="weird"/>)", "", SoapExtension::Document},
        {R"(<soap:binding style="document"/>)", R"(<soap:operation style="rpc"/>)", "", SoapExtension::Rpc},
        {R"(<soap:binding style="weird"/>)", R"(<soap:operation soapAction=""/>)", "", SoapExtension::Document},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.binding) + c.operation);
        if (*c.binding != '\0')
            handle(c.binding, WsdlParser::BINDING);
        std::string action = "untouched";
        int style = -1;
        EXPECT_TRUE(soap_->getOperationInfo(handle(c.operation), action, style));
        EXPECT_EQ(action, c.soapAction);
        EXPECT_EQ(style, c.style);
    }
}

TEST_F(SoapExtensionTest, BindingAndBodyRecordWhatTheyRead)
{
    struct Transport {
        const char* binding;
        bool http;
    };
    const Transport transports[] = {
        {R"(<soap:binding/>)", true},
        {R"(<soap:binding transport="http://schemas.xmlsoap.org/soap/http"/>)", true},
        {R"(<soap:binding transport="http://schemas.xmlsoap.org/soap/smtp"/>)", false},
    };
    for (const Transport& t : transports) {
        handle(t.binding, WsdlParser::BINDING);
        EXPECT_EQ(soap_->isHttpTransport(), t.http) << t.binding;
    }

    struct Body {
        const char* element;
        int use;
        const char* encodingStyle;
        const char* ns;
    };
    const Body bodies[] = {
        {R"(<soap:body use="literal"/>)", 0, "", ""},
        {R"(<soap:body use="encoded" encodingStyle="http://schemas.xmlsoap.org/soap/encoding/" namespace="urn:n"/>)", 1,
         "http://schemas.xmlsoap.org/soap/encoding/", "urn:n"},
        {R"(<soap:body/>)", 0, "", ""},
        {R"(<soap:body use="other"/>)", 1, "", ""},
    };
    for (const Body& b : bodies) {
        SCOPED_TRACE(b.element);
        int use = -1;
        std::string encodingStyle = "x", ns = "x";
        EXPECT_TRUE(soap_->getBodyInfo(handle(b.element), use, encodingStyle, ns));
        EXPECT_EQ(use, b.use);
        EXPECT_EQ(encodingStyle, b.encodingStyle);
        EXPECT_EQ(ns, b.ns);
    }

    std::string location;
    EXPECT_TRUE(soap_->getAddressLocation(handle(R"(<soap:address location="http://h/s"/>)"), location));
    EXPECT_EQ(location, "http://h/s");
}

TEST_F(SoapExtensionTest, HeadersNameAMessageAndOneOfItsParts)
{
    struct Case {
        const char* element;
        const char* message;
        int partIndex; // a message not defined yet: its part is looked up at the end
        const char* report;
    };
    const Case cases[] = {
        {R"(<soap:header message="tns:Hdr" part="token"/>)", "Hdr", 1, ""},
        {R"(<soap:header message="Hdr" part="user"/>)", "Hdr", 0, ""},
        {R"(<soap:header message="x:Hdr" parts="token" part="user"/>)", "Hdr", 1, ""},
        {R"(<soap:header message="tns:Hdr" part="zz"/>)", "Hdr", -1, "Soap Processing  Unkown part type :zz\n"},
        {R"(<soap:header message="tns:Nope" part="user"/>)", "Nope", -1, ""},
    };
    int expectedId = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        const int id = handle(c.element);
        EXPECT_EQ(takeDiagnostics(), c.report);
        EXPECT_EQ(id, expectedId++);
        int partIndex = -7;
        Message* message = nullptr;
        ASSERT_TRUE(soap_->getHeaderInfo(id, partIndex, message));
        EXPECT_EQ(partIndex, c.partIndex);
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->getName(), c.message);
        EXPECT_TRUE(soap_->isSoapHeader(id));
    }
    EXPECT_EQ(soap_->resolveHeaders(), "Nope");
}

TEST_F(SoapExtensionTest, ProblemsAreReportedAndReadingGoesOn)
{
    // What the extension reports when the schema refuses an element.
    const auto invalid = [](const std::string& message, const std::string& element) {
        return "Soap Processing  Schema Parser Exception : " + message +
            "\nError validating schema instance\nEncountered error while validating {" + SoapBindingUri + "}:" +
            element + "\n";
    };
    struct Case {
        const char* element;
        int id; // 0: nothing recorded
        std::string report;
    };
    const Case cases[] = {
        {R"(<soap:operation bogus="1" soapAction="urn:a"/>)", 1, invalid("Unknown attribute \"bogus\"", "operation")},
        {R"(<soap:address location=""/>)", 2, invalid("Required attribute \"location\" missing or empty", "address")},
        // after an error inside the element, reading goes on from its end tag
        {R"(<soap:header message="tns:Hdr" part="user"><x:odd><soap:body/></x:odd><soap:headerfault/></soap:header>)",
         3, invalid("Could not find element odd in header", "header")},
        {R"(<soap:header bogus="1" message="tns:Hdr"><soap:headerfault message="tns:Hdr"/></soap:header>)", 0,
         invalid("Unknown attribute \"bogus\"", "header") + "Soap Processing  Unkown message \n"},
        {R"(<soap:unknown><soap:body/></soap:unknown>)", 0, "Soap Processing  Unknown element\n"},
        // text where only elements may stand is reported like any other violation
        {R"(<soap:address location="http://x/">see docs</soap:address>)", 4,
         invalid("Unexpected text in address", "address")},
        {R"(<soap:header message="tns:Hdr" part="user">text<soap:headerfault message="tns:Hdr"/></soap:header>)", 5,
         invalid("Unexpected text in header", "header")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        EXPECT_EQ(handle(c.element), c.id);
        EXPECT_EQ(takeDiagnostics(), c.report);
    }
    // The operation keeps what was read before its error.
    std::string action;
    int style = -1;
    EXPECT_TRUE(soap_->getOperationInfo(1, action, style));
    EXPECT_EQ(action, "");
}

// What an extension recorded for an element id, in words.
std::string recorded(const SoapExtension& soap, int id)
{
    std::ostringstream out;
    std::string action, encodingStyle, ns, location;
    int style = -1, use = -1;
    out << "id " << id << " type " << soap.getExtElementType(id);
    if (soap.getOperationInfo(id, action, style))
        out << " operation [" << action << "] " << style;
    if (soap.getBodyInfo(id, use, encodingStyle, ns))
        out << " body " << use << " [" << encodingStyle << "] [" << ns << "]";
    if (soap.getAddressLocation(id, location))
        out << " address [" << location << "]";
    out << " http " << soap.isHttpTransport() << " style " << soap.getDefaultStyle();
    return out.str();
}

// An element written as one tag is read straight off it when validation
// could say nothing of it; with an end tag of its own it always goes through
// the validator. Both must record and report the same.
TEST_F(SoapExtensionTest, ElementsWrittenAsOneTagRecordWhatValidationRecords)
{
    struct Case {
        const char* tag;
        const char* attributes;
        int parentKind;
    };
    const Case cases[] = {
        {"binding", R"( style="rpc" transport="urn:t")", WsdlParser::BINDING},
        {"binding", "", WsdlParser::BINDING},
        {"operation", R"( soapAction="urn:a" style="document")", WsdlParser::OPERATION},
        {"operation", R"( style="RPC" soapAction="")", WsdlParser::OPERATION},
        // in the SOAP namespace an attribute is the validator's own; in another one it is passed over
        {"operation", R"( soap:style="document" soapAction="urn:b")", WsdlParser::OPERATION},
        {"operation", R"( x:soapAction="urn:x" soapAction="urn:c")", WsdlParser::OPERATION},
        {"operation", R"( soapAction="urn:d" bogus="1" style="rpc")", WsdlParser::OPERATION},
        {"body", R"( use="encoded" encodingStyle="urn:e1 urn:e2" namespace="urn:n" parts="a b")", WsdlParser::INPUT},
        {"body", R"( use="literal" soap:namespace="urn:n2")", WsdlParser::OUTPUT},
        {"body", R"( use="" encodingStyle="" namespace="")", WsdlParser::INPUT},
        {"fault", R"( name="f" use="literal")", WsdlParser::FAULT},
        {"fault", R"( name="f" style="rpc")", WsdlParser::FAULT},
        {"address", R"( location="http://h/s")", WsdlParser::PORT},
        {"address", R"( location="")", WsdlParser::PORT},
        {"address", "", WsdlParser::PORT},
        {"address", R"( soap:location="http://h/p")", WsdlParser::PORT},
        // values as written: blanks, line ends and references stand as the validator keeps them
        {"operation", R"( style=" rpc" soapAction="a&#10;b")", WsdlParser::OPERATION},
        {"body", R"( use=" literal " encodingStyle="  urn:a	  urn:b  " namespace="urn:&amp;n")", WsdlParser::INPUT},
        {"body", "\n use=\"bogus\"\r\n parts=\"a,b\" ", WsdlParser::OUTPUT},
        {"address", R"( location="&#32;")", WsdlParser::PORT},
        {"address", R"( location=" http://h/s&#9;")", WsdlParser::PORT},
    };
    SoapExtension* oneTag = soap_;
    SoapExtension twoTags(builtInSchemaFolder());
    twoTags.setStartId(1);
    twoTags.setSchemaParser(loadSchema(twoTags.getExtensibilitySchema()));
    twoTags.setWsdlParser(parser_.get());
    for (const Case& c : cases) {
        const std::string start = std::string("<soap:") + c.tag + c.attributes;
        SCOPED_TRACE(start);
        soap_ = oneTag;
        const int oneTagId = handle(start + "/>", c.parentKind);
        const std::string oneTagReport = takeDiagnostics();
        soap_ = &twoTags;
        const int twoTagsId = handle(start + "></soap:" + c.tag + ">", c.parentKind);
        EXPECT_EQ(oneTagReport, takeDiagnostics());
        EXPECT_EQ(recorded(*oneTag, oneTagId), recorded(twoTags, twoTagsId));
    }
    soap_ = oneTag;
}

TEST_F(SoapExtensionTest, AFullBlockOfIdsGivesNoMore)
{
    // A second handler's block of three ids.
    const int start = WsdlExtensionHandler::ElementIdBlockSize + 1;
    SoapExtension soap(builtInSchemaFolder(), 3);
    soap.setStartId(start);
    soap.setSchemaParser(loadSchema(soap.getExtensibilitySchema()));
    soap.setWsdlParser(parser_.get());
    soap_ = &soap;
    struct Case {
        const char* element;
        int id; // 0: refused
        const char* report;
    };
    const Case cases[] = {
        {R"(<soap:binding/>)", start, ""},
        {R"(<soap:operation soapAction="urn:a"/>)", start + 1, ""},
        {R"(<soap:fault name="f"/>)", start + 1, ""},
        {R"(<soap:body/>)", start + 2, ""},
        {R"(<soap:body><x:inside/></soap:body>)", 0, "Soap Processing  Too many soap extensibility elements\n"},
        {R"(<soap:address location="http://h/"/>)", 0, "Soap Processing  Too many soap extensibility elements\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        EXPECT_EQ(handle(c.element), c.id);
        EXPECT_EQ(takeDiagnostics(), c.report);
    }
    EXPECT_EQ(soap.getExtElementType(start + 3), 0);
    std::string action;
    int style = -1;
    EXPECT_TRUE(soap.getOperationInfo(start + 1, action, style));
    EXPECT_EQ(action, "urn:a");
    soap_ = nullptr;
}

TEST(SoapExtensionSchemaTest, SchemaLocationsJoinTheFolderAsGiven)
{
    struct Case {
        const char* folder;
        const char* schema;
        const char* encoding;
    };
    const Case cases[] = {
        {"schemas/", "schemas/soap.xsd", "schemas/soap-encoding.xsd"},
        {"schemas", "schemas/soap.xsd", "schemas/soap-encoding.xsd"},
        {"schemas\\", "schemas\\soap.xsd", "schemas\\soap-encoding.xsd"},
        {"", "soap.xsd", "soap-encoding.xsd"},
    };
    for (const Case& c : cases) {
        SoapExtension soap(c.folder);
        EXPECT_EQ(soap.getExtensibilitySchema(), c.schema);
        EXPECT_EQ(soap.getEncodingSchema(), c.encoding);
        soap.setSchemaPath("other/");
        EXPECT_EQ(soap.getExtensibilitySchema(), "other/soap.xsd");
    }
    SoapExtension soap("");
    EXPECT_EQ(soap.getNamespace(), SoapBindingUri);
    EXPECT_TRUE(soap.isNamespaceHandler("http://schemas.xmlsoap.org/wsdl/soap/"));
    EXPECT_FALSE(soap.isNamespaceHandler("http://schemas.xmlsoap.org/wsdl/soap"));
    EXPECT_FALSE(soap.isNamespaceHandler("http://schemas.xmlsoap.org/wsdl/"));
    EXPECT_FALSE(soap.hasWsdlParser());
    EXPECT_EQ(soap.getSchemaParser(), nullptr);
    soap.setNamespacePrefix("soap");
    EXPECT_EQ(soap.getNamespacePrefix(), "soap");
    Instance instance(soapElement(R"(<soap:operation soapAction="a"/>)"));
    EXPECT_EQ(soap.handleAttribute(WsdlParser::OPERATION, "soapAction", instance.xpp), 0);
}

} // namespace
