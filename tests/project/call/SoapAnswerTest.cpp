// Faults read in words and answers indented, as the call window shows them.
#include "project/call/SoapAnswer.h"

#include <gtest/gtest.h>

namespace {

const std::string kSoap11 = "http://schemas.xmlsoap.org/soap/envelope/";
const std::string kSoap12 = "http://www.w3.org/2003/05/soap-envelope";

std::string envelope11(const std::string& body)
{
    return "<s:Envelope xmlns:s=\"" + kSoap11 + "\"><s:Header><h>1</h></s:Header><s:Body>" + body +
        "</s:Body></s:Envelope>";
}

TEST(SoapAnswerTest, FaultsOfBothVersionsAreReadInWords)
{
    const struct {
        const char* name;
        std::string body;
        SoapFaultWords expected;
    } cases[] = {
        {"1.1",
         envelope11("<s:Fault><faultcode>s:Server</faultcode><faultstring> Division by zero </faultstring>"
                    "<faultactor>calc</faultactor><detail><e:why xmlns:e=\"urn:e\">b is 0</e:why></detail>"
                    "</s:Fault>"),
         {true, "s:Server", "", "Division by zero", "<e:why xmlns:e=\"urn:e\">b is 0</e:why>"}},
        {"1.2 with nested subcodes",
         "<env:Envelope xmlns:env=\"" + kSoap12 + "\"><env:Body><env:Fault>"
         "<env:Code><env:Value>env:Sender</env:Value><env:Subcode><env:Value>m:Bad</env:Value>"
         "<env:Subcode><env:Value>m:Worse</env:Value></env:Subcode></env:Subcode></env:Code>"
         "<env:Reason><env:Text xml:lang=\"en\">Bad &amp; worse</env:Text><env:Text xml:lang=\"de\">Schlecht</env:Text>"
         "</env:Reason><env:Detail><a><b>1</b></a>note</env:Detail></env:Fault></env:Body></env:Envelope>",
         {true, "env:Sender", "m:Bad / m:Worse", "Bad & worse", "<a>\n  <b>1</b>\n</a>\nnote"}},
        {"an answer", envelope11("<r:AddResponse xmlns:r=\"urn:r\"><sum>3</sum></r:AddResponse>"), {}},
        {"a fault outside the envelope namespace", envelope11("<Fault><faultcode>x</faultcode></Fault>"), {}},
        {"1.2 fault in a 1.1 envelope",
         envelope11("<f:Fault xmlns:f=\"" + kSoap12 + "\"><f:Reason><f:Text>x</f:Text></f:Reason></f:Fault>"), {}},
        {"no envelope", "<Fault/>", {}},
        {"not XML", "HTTP server error", {}},
        {"empty body", envelope11(""), {}},
        {"broken off after the code", envelope11("<s:Fault><faultcode>s:Client</faultcode><faultstring>cut"),
         {true, "s:Client", "", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SoapFaultWords fault = readFault(c.body);
        EXPECT_EQ(fault.isFault, c.expected.isFault);
        EXPECT_EQ(fault.code, c.expected.code);
        EXPECT_EQ(fault.subcode, c.expected.subcode);
        EXPECT_EQ(fault.text, c.expected.text);
        EXPECT_EQ(fault.detail, c.expected.detail);
    }
}

TEST(SoapAnswerTest, PlainWordsHoldEveryPartGivenAndNothingForNoFault)
{
    SoapFaultWords fault{true, "s:Server", "", "Division by zero", "<why>b</why>"};
    EXPECT_EQ(fault.plain(),
              "The service answered with a fault.\nCode: s:Server\nReason: Division by zero\nDetail:\n<why>b</why>\n");
    EXPECT_EQ(SoapFaultWords().plain(), "");
}

TEST(SoapAnswerTest, IndentingPutsElementsOnLinesOfTheirOwnAndKeepsText)
{
    const struct {
        const char* name;
        std::string xml;
        std::string expected;
    } cases[] = {
        {"nested", "<a x=\"1\"><b>t</b><c/></a>", "<a x=\"1\">\n  <b>t</b>\n  <c/>\n</a>"},
        {"blanks between elements go", "<a>\n\t <b>1</b>   <b>2</b>\n</a>", "<a>\n  <b>1</b>\n  <b>2</b>\n</a>"},
        {"mixed content stays on its line", "<p>one <b>two</b> three</p>", "<p>one <b>two</b> three</p>"},
        {"blank content stays", "<a>  </a>", "<a>  </a>"},
        {"declaration, namespaces and prefixes as written",
         "<?xml version=\"1.0\"?><s:E xmlns:s=\"urn:s\" xmlns=\"urn:d\"><s:B s:k=\"v\"><x/></s:B></s:E>",
         "<?xml version=\"1.0\"?>\n<s:E xmlns:s=\"urn:s\" xmlns=\"urn:d\">\n  <s:B s:k=\"v\">\n    <x/>\n  </s:B>\n</s:E>"},
        {"escapes survive", "<a v=\"&quot;&lt;&#10;\">&lt;&amp;&#13;</a>", "<a v=\"&quot;&lt;&#10;\">&lt;&amp;&#13;</a>"},
        {"comments, CDATA and instructions keep their place",
         "<!--c--><a><?pi data?><b><![CDATA[<raw>]]></b></a>",
         "<!--c-->\n<a>\n  <?pi data?>\n  <b><![CDATA[<raw>]]></b>\n</a>"},
        {"not well-formed is unchanged", "<a><b></a>", "<a><b></a>"},
        {"plain text is unchanged", "Service Unavailable", "Service Unavailable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(indentXml(c.xml), c.expected);
        // Indenting what is indented changes nothing more.
        EXPECT_EQ(indentXml(indentXml(c.xml)), c.expected);
    }
}

}  // namespace
