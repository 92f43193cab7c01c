// XML Signatures of WS-Security against an independent implementation: the
// xmlsec1 command verifies what the support library signs, and the library
// verifies what xmlsec1 signs. Every way a signed message can be bad is
// refused with its fault: other bytes than were signed, a signed Body moved
// away and another put in its place, an Id twice, an expired Timestamp, a
// signer nobody trusts, transforms that could sign other bytes.
// Keys and certificates are made for the run by the openssl command.

#include <gtest/gtest.h>

#include "WsseTestSupport.h"
#include "tessaro_wsse_xml.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

using namespace wssetest;
namespace fs = std::filesystem;

namespace {

const std::string Utility = "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd";
const std::string Secext = "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";

class TessaroWsseSignatureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = fs::temp_directory_path() / ("kelvane-wsse-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        const std::string make = "cd " + dir_.string() +
                                 " && openssl req -x509 -newkey rsa:2048 -nodes -keyout signer.key -out signer.pem -days 30 -subj /CN=signer"
                                 " && openssl req -x509 -newkey rsa:2048 -nodes -keyout other.key -out other.pem -days 30 -subj /CN=other"
                                 " && openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 30 -subj /CN=authority"
                                 " && openssl req -newkey rsa:2048 -nodes -keyout issued.key -out issued.csr -subj /CN=issued"
                                 " && openssl x509 -req -in issued.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out issued.pem -days 30"
                                 " && openssl pkey -in signer.key -aes256 -passout pass:opensesame -out locked.key"
                                 " && cat signer.key signer.pem > both.pem";
        ASSERT_EQ(std::system(("(" + make + ") >" + path("openssl.log") + " 2>&1").c_str()), 0) << "openssl could not make the test keys";
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }

    static std::string path(const char* name) { return (dir_ / name).string(); }

    // Settings that sign with the key (and certificate) given and trust the PEM given.
    tessaro_wsse_t signing(const char* key, const char* cert, const char* trust, int method = TESSARO_WSSE_RSA_SHA256,
                           int digest = TESSARO_WSSE_DIGEST_SHA256)
    {
        tessaro_wsse_t value;
        std::memset(&value, 0, sizeof(value));
        value.use = TESSARO_WSSE_SIGN | TESSARO_WSSE_VERIFY;
        value.signature_method = method;
        value.digest_method = digest;
        char why[256] = "";
        EXPECT_EQ(tessaro_wsse_key_load(&value.key, path(key).c_str(), cert ? path(cert).c_str() : nullptr, nullptr, why, sizeof(why)), 0) << why;
        EXPECT_EQ(tessaro_wsse_trust_load(&value.trust, path(trust).c_str(), why, sizeof(why)), 0) << why;
        return value;
    }
    void release(tessaro_wsse_t& value)
    {
        tessaro_wsse_key_free(value.key);
        tessaro_wsse_trust_free(value.trust);
    }

    static std::string write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return path(name.c_str());
    }
    static std::string read(const std::string& name)
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // xmlsec1 on the message (ids: wsu:Id of Body and Timestamp), its exit status.
    static int xmlsec(const std::string& arguments, const std::string& message, const char* ns = Soap11)
    {
        const std::string file = write("message.xml", message);
        const std::string command = "xmlsec1 " + arguments + " --id-attr:Id " + ns + ":Body --id-attr:Id " + Utility +
                                    ":Timestamp " + file + " >" + path("xmlsec.log") + " 2>&1";
        return std::system(command.c_str());
    }

    // What xmlsec1 signs: a template over the envelope's Body (and Timestamp when it has one) with the
    // signature's method and digest, the certificate in an X509Data.
    static std::string signedByXmlsec(const std::string& timestamp, const std::string& body, const std::string& method,
                                      const std::string& digest, const char* key = "signer.key", const char* cert = "signer.pem",
                                      bool referTimestamp = true, const std::string& transforms = "")
    {
        auto reference = [&](const char* id) {
            return "<ds:Reference URI=\"#" + std::string(id) + "\"><ds:Transforms>" +
                   (transforms.empty() ? "<ds:Transform Algorithm=\"http://www.w3.org/2001/10/xml-exc-c14n#\"/>" : transforms) +
                   "</ds:Transforms><ds:DigestMethod Algorithm=\"" + digest + "\"/><ds:DigestValue/></ds:Reference>";
        };
        const std::string header =
            "<wsse:Security xmlns:wsse=\"" + Secext + "\" xmlns:wsu=\"" + Utility + "\" env:mustUnderstand=\"1\">" + timestamp +
            "<ds:Signature xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#\"><ds:SignedInfo>"
            "<ds:CanonicalizationMethod Algorithm=\"http://www.w3.org/2001/10/xml-exc-c14n#\"/>"
            "<ds:SignatureMethod Algorithm=\"" + method + "\"/>" + reference("B") +
            (timestamp.empty() || !referTimestamp ? "" : reference("T")) +
            "</ds:SignedInfo><ds:SignatureValue/><ds:KeyInfo><ds:X509Data/></ds:KeyInfo></ds:Signature></wsse:Security>";
        std::string message = envelope(Soap11, body, header);
        message.replace(message.find("<env:Body>"), 10, "<env:Body xmlns:wsu=\"" + Utility + "\" wsu:Id=\"B\">");
        const std::string file = write("template.xml", message);
        const std::string command = "xmlsec1 --sign --privkey-pem " + path(key) + "," + path(cert) + " --id-attr:Id " +
                                    Soap11 + ":Body --id-attr:Id " + Utility + ":Timestamp --output " + path("signed.xml") +
                                    " " + file + " >" + path("xmlsec.log") + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << read("xmlsec.log");
        return read("signed.xml");
    }

    static std::string timestamp(long createdAgo, long expiresIn)
    {
        char created[21], expires[21];
        tessaro_wsse_time_text(std::time(nullptr) - createdAgo, created);
        tessaro_wsse_time_text(std::time(nullptr) + expiresIn, expires);
        return std::string("<wsu:Timestamp wsu:Id=\"T\"><wsu:Created>") + created + "</wsu:Created><wsu:Expires>" + expires +
               "</wsu:Expires></wsu:Timestamp>";
    }

    static int verify(const tessaro_wsse_t& value, const std::string& message, std::string* why = nullptr, int unsignedFaults = 0)
    {
        char reason[256] = "";
        const int result = tessaro_wsse_verify(&value, message.data(), message.size(), unsignedFaults, reason, sizeof(reason));
        if (why != nullptr)
            *why = reason;
        return result;
    }

    static fs::path dir_;
};

fs::path TessaroWsseSignatureTest::dir_;

const char* const RsaSha256 = "http://www.w3.org/2001/04/xmldsig-more#rsa-sha256";
const char* const RsaSha1 = "http://www.w3.org/2000/09/xmldsig#rsa-sha1";
const char* const Sha256 = "http://www.w3.org/2001/04/xmlenc#sha256";
const char* const Sha1 = "http://www.w3.org/2000/09/xmldsig#sha1";
const std::string Body = "<m:Pay xmlns:m=\"urn:bank\"><to>alice</to><amount>10</amount></m:Pay>";

TEST_F(TessaroWsseSignatureTest, Xmlsec1VerifiesWhatWeSign)
{
    const struct {
        int method, digest, extra;
        const char* ns;
        const char* key;
        const char* cert;
    } cases[] = {
        {TESSARO_WSSE_RSA_SHA256, TESSARO_WSSE_DIGEST_SHA256, TESSARO_WSSE_TIMESTAMP, Soap11, "signer.key", "signer.pem"},
        {TESSARO_WSSE_RSA_SHA1, TESSARO_WSSE_DIGEST_SHA1, TESSARO_WSSE_TIMESTAMP, Soap11, "signer.key", "signer.pem"},
        {TESSARO_WSSE_RSA_SHA256, TESSARO_WSSE_DIGEST_SHA1, 0, Soap12, "signer.key", "signer.pem"},
        {TESSARO_WSSE_RSA_SHA1, TESSARO_WSSE_DIGEST_SHA256, TESSARO_WSSE_TIMESTAMP | TESSARO_WSSE_USERNAME_TOKEN, Soap12,
         "both.pem", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ns) + " method " + std::to_string(c.method) + " digest " + std::to_string(c.digest));
        tessaro_wsse_t value = signing(c.key, c.cert, "signer.pem", c.method, c.digest);
        value.use |= c.extra;
        const std::string message = secure(value, envelope(c.ns, Body, "<h:Trace xmlns:h=\"urn:h\">1</h:Trace>"));
        ASSERT_NE(message, "");
        EXPECT_EQ(xmlsec("--verify --pubkey-cert-pem " + path("signer.pem"), message, c.ns), 0) << read("xmlsec.log");
        EXPECT_EQ(verify(value, message), 0);
        const Doc doc(message);
        EXPECT_EQ(doc.count("//ds:Reference"), (c.extra & TESSARO_WSSE_TIMESTAMP) ? 2 : 1);
        // a key that is not the certificate's fails the independent check
        EXPECT_NE(xmlsec("--verify --pubkey-cert-pem " + path("other.pem"), message, c.ns), 0);
        release(value);
    }
}

TEST_F(TessaroWsseSignatureTest, WeVerifyWhatXmlsec1Signs)
{
    const struct {
        const char* method;
        const char* digest;
        const char* key;
        const char* cert;
        const char* trust;
    } cases[] = {
        {RsaSha256, Sha256, "signer.key", "signer.pem", "signer.pem"},
        {RsaSha1, Sha1, "signer.key", "signer.pem", "signer.pem"},
        {RsaSha256, Sha1, "signer.key", "signer.pem", "signer.pem"},
        // trusted through the authority that issued it
        {RsaSha256, Sha256, "issued.key", "issued.pem", "ca.pem"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " " + c.digest + " " + c.cert);
        tessaro_wsse_t value = signing("signer.key", "signer.pem", c.trust);
        std::string why;
        EXPECT_EQ(verify(value, signedByXmlsec(timestamp(5, 300), Body, c.method, c.digest, c.key, c.cert), &why), 0) << why;
        EXPECT_EQ(verify(value, signedByXmlsec("", Body, c.method, c.digest, c.key, c.cert), &why), 0) << why;
        release(value);
    }
}

TEST_F(TessaroWsseSignatureTest, BadMessagesAreRefusedWithTheirFault)
{
    tessaro_wsse_t value = signing("signer.key", "signer.pem", "signer.pem");
    value.use |= TESSARO_WSSE_TIMESTAMP;
    const std::string good = secure(value, envelope(Soap11, Body));
    ASSERT_EQ(verify(value, good), 0);
    auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::size_t bodyStart = good.find("<env:Body"), bodyEnd = good.find("</env:Body>") + 11;
    const std::string signedBody = good.substr(bodyStart, bodyEnd - bodyStart);
    // the signed Body moved into a header of its own, another Body in its place
    const std::string wrapped =
        replaced(replaced(good, signedBody, "<env:Body><m:Pay xmlns:m=\"urn:bank\"><to>mallory</to><amount>9999</amount></m:Pay></env:Body>"),
                 "<env:Header>", "<env:Header><w:Wrapper xmlns:w=\"urn:w\">" + signedBody + "</w:Wrapper>");
    // the same, the other Body carrying the signed one's Id too
    const std::string twice = replaced(wrapped, "<env:Body>", "<env:Body xmlns:wsu=\"" + Utility + "\" wsu:Id=\"Body\">");
    const std::string signature = Doc(good).text("//ds:SignatureValue");
    const struct {
        const char* name;
        std::string message;
        int result;
    } cases[] = {
        {"other bytes in the Body", replaced(good, "<amount>10<", "<amount>11<"), TESSARO_WSSE_FAILED_CHECK},
        {"a Body moved away", wrapped, TESSARO_WSSE_FAILED_CHECK},
        {"an Id twice", twice, TESSARO_WSSE_INVALID},
        {"another signature value", replaced(good, signature.substr(0, 8), signature.substr(0, 7) + (signature[7] == 'A' ? "B" : "A")),
         TESSARO_WSSE_FAILED_CHECK},
        {"other bytes in the Timestamp", replaced(good, "Expires>20", "Expires>21"), TESSARO_WSSE_FAILED_CHECK},
        {"no Security header", envelope(Soap11, Body), TESSARO_WSSE_INVALID},
        {"no signature", envelope(Soap11, Body, "<wsse:Security xmlns:wsse=\"" + Secext + "\"/>"), TESSARO_WSSE_INVALID},
        {"two Security headers", replaced(good, "<env:Header>", "<env:Header><wsse:Security xmlns:wsse=\"" + Secext + "\"/>"),
         TESSARO_WSSE_INVALID},
        {"a DTD", replaced(good, "<env:Envelope", "<!DOCTYPE env:Envelope []><env:Envelope"), TESSARO_WSSE_INVALID},
        {"no XML", "<env:Envelope", TESSARO_WSSE_INVALID},
        {"an expired Timestamp", signedByXmlsec(timestamp(900, -600), Body, RsaSha256, Sha256), TESSARO_WSSE_EXPIRED},
        {"a Timestamp from the future", signedByXmlsec(timestamp(-3600, 7200), Body, RsaSha256, Sha256), TESSARO_WSSE_EXPIRED},
        {"a Timestamp not signed", signedByXmlsec(timestamp(5, 300), Body, RsaSha256, Sha256, "signer.key", "signer.pem", false),
         TESSARO_WSSE_FAILED_CHECK},
        {"a signer nobody trusts", signedByXmlsec(timestamp(5, 300), Body, RsaSha256, Sha256, "other.key", "other.pem"),
         TESSARO_WSSE_FAILED_AUTH},
        {"an enveloped-signature transform",
         signedByXmlsec("", Body, RsaSha256, Sha256, "signer.key", "signer.pem", true,
                        "<ds:Transform Algorithm=\"http://www.w3.org/2000/09/xmldsig#enveloped-signature\"/>"
                        "<ds:Transform Algorithm=\"http://www.w3.org/2001/10/xml-exc-c14n#\"/>"),
         TESSARO_WSSE_INVALID},
        {"a reference outside the message", replaced(good, "URI=\"#Body\"", "URI=\"http://example.invalid/x\""), TESSARO_WSSE_INVALID},
        {"a token reference to no token", replaced(good, "URI=\"#X509\"", "URI=\"#Body\""), TESSARO_WSSE_SECURITY_TOKEN},
        {"a token that is no certificate", replaced(good, "\">MII", "\">AAAA"), TESSARO_WSSE_SECURITY_TOKEN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string why;
        EXPECT_EQ(verify(value, c.message, &why), c.result) << why;
        EXPECT_NE(why, "");
        const char* ns = nullptr;
        EXPECT_NE(tessaro_wsse_fault_code(c.result, &ns), nullptr);
    }
    // a fault may come unsigned when the caller allows it
    const std::string fault = envelope(Soap11, "<env:Fault><faultcode>env:Server</faultcode><faultstring>no</faultstring></env:Fault>");
    EXPECT_EQ(verify(value, fault, nullptr, 1), 0);
    EXPECT_EQ(verify(value, fault, nullptr, 0), TESSARO_WSSE_INVALID);
    release(value);
}

TEST_F(TessaroWsseSignatureTest, KeysThatCannotBeReadSayWhy)
{
    const struct {
        const char* key;
        const char* cert;
        const char* password;
        bool loads;
    } cases[] = {
        {"signer.key", "signer.pem", nullptr, true},
        {"both.pem", nullptr, nullptr, true},
        {"locked.key", "signer.pem", "opensesame", true},
        {"locked.key", "signer.pem", "wrong", false},
        {"locked.key", "signer.pem", nullptr, false},
        {"signer.key", "other.pem", nullptr, false},
        {"signer.key", nullptr, nullptr, false},
        {"missing.key", "signer.pem", nullptr, false},
        {"signer.pem", "signer.pem", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + (c.cert ? c.cert : "-") + " " + (c.password ? c.password : "-"));
        tessaro_wsse_key_t* key = nullptr;
        char why[256] = "";
        EXPECT_EQ(tessaro_wsse_key_load(&key, path(c.key).c_str(), c.cert ? path(c.cert).c_str() : nullptr, c.password, why, sizeof(why)),
                  c.loads ? 0 : -1);
        EXPECT_EQ(key != nullptr, c.loads);
        if (!c.loads) {
            EXPECT_NE(std::string(why).find(dir_.string()), std::string::npos) << why;
        }
        tessaro_wsse_key_free(key);
    }
    tessaro_wsse_trust_t* trust = nullptr;
    char why[256] = "";
    EXPECT_EQ(tessaro_wsse_trust_load(&trust, path("signer.key").c_str(), why, sizeof(why)), -1);
    EXPECT_EQ(trust, nullptr);
}

} // namespace
