// Services spread over thousands of documents: every document read is closed
// before the next, so neither the descriptor limit of a POSIX process nor the
// stream limit of the Windows C runtime (512) ends the parse.

#include "WsdlParseTestSupport.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

using namespace Wsdl;
using namespace wsdltest;

namespace {

#ifndef _WIN32
// Lowers the soft descriptor limit for the life of the object, so that the
// test means the same on a machine whose limit is set high.
class DescriptorLimit {
public:
    explicit DescriptorLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_NOFILE, &previous_);
        rlimit lowered = previous_;
        lowered.rlim_cur = std::min<rlim_t>(limit, previous_.rlim_max);
        setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~DescriptorLimit() { setrlimit(RLIMIT_NOFILE, &previous_); }
    DescriptorLimit(const DescriptorLimit&) = delete;
    DescriptorLimit& operator=(const DescriptorLimit&) = delete;

private:
    rlimit previous_{};
};
#else
struct DescriptorLimit {
    explicit DescriptorLimit(int) {}
};
#endif

class WsdlParseManyDocumentsTest : public WsdlParseTest {};

TEST_F(WsdlParseManyDocumentsTest, EveryDocumentIsClosedOnceRead)
{
    const DescriptorLimit limit(256);
    struct Case {
        const char* name;
        int schemaImports; // by one embedded schema, each of its own namespace
        int wsdlImports;   // by the document, each of the target namespace
    };
    const Case cases[] = {
        {"schemas imported by one schema", 2000, 0},
        {"documents imported by the service", 0, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string imports, uses;
        for (int i = 0; i < c.schemaImports; ++i) {
            const std::string n = std::to_string(i);
            write("s" + n + ".xsd",
                  "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:i" + n +
                      "\"><xs:simpleType name=\"T\"><xs:restriction base=\"xs:int\"/></xs:simpleType></xs:schema>\n");
            imports += "<xsd:import namespace=\"urn:i" + n + "\" schemaLocation=\"s" + n + ".xsd\"/>\n";
            uses += "<xsd:element name=\"e" + n + "\" type=\"i:T\" xmlns:i=\"urn:i" + n + "\"/>";
        }
        std::string documents;
        for (int i = 0; i < c.wsdlImports; ++i) {
            const std::string n = std::to_string(i);
            write("m" + n + ".wsdl", definitions("<message name=\"M" + n + "\"/>\n"));
            documents += "<import namespace=\"urn:t\" location=\"m" + n + ".wsdl\"/>\n";
        }
        const std::string types = "<types><xsd:schema targetNamespace=\"urn:t\">\n" + imports +
            "<xsd:complexType name=\"All\"><xsd:sequence>" + uses + "</xsd:sequence></xsd:complexType>"
            "</xsd:schema></types>\n";
        parse(definitions(documents + types));
        expectSuccess();
        EXPECT_EQ(parser_->getMessages().size(), static_cast<std::size_t>(c.wsdlImports));
        Schema::SchemaParser* schema = parser_->getSchemaParser(2);
        ASSERT_NE(schema, nullptr);
        EXPECT_EQ(schema->getImports().size(), static_cast<std::size_t>(c.schemaImports) + 2);
        // The last import is as usable as the first.
        if (c.schemaImports > 0) {
            const int last = schema->getTypeId(qname("urn:i" + std::to_string(c.schemaImports - 1), "T"));
            ASSERT_NE(schema->getType(last), nullptr);
            EXPECT_EQ(schema->getBasicContentType(last), Schema::XSD_INT);
        }
    }
}

} // namespace
