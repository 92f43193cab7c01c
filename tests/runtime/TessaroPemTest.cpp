// The PEM reader of the Windows build (CryptoAPI's decoders): a PKCS#8 and a PKCS#1 file of one key
// give the same key blob, blocks are found one after another, and what is no key (a certificate, an
// encrypted key, a damaged block) gives none.

#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "tessaro_pem.h"

#include <windows.h>
#include <wincrypt.h>

#include <string>

namespace {

const std::string Data = KELVANE_SOURCE_DIR "/tests/runtime/data/tls/";

// The key blob of text, or "none".
std::string keyBlob(const std::string& text)
{
    unsigned long size = 0;
    unsigned char* blob = tessaro_pem_rsa_key(text.c_str(), &size);
    if (blob == nullptr)
        return "none";
    std::string bytes(reinterpret_cast<char*>(blob), size);
    LocalFree(blob);
    return bytes;
}

TEST(TessaroPemTest, BothKeyFormsGiveTheKeyAndNothingElseDoes)
{
    const std::string pkcs8 = testsupport::readBytes(Data + "server.key");
    const std::string blob = keyBlob(pkcs8);
    ASSERT_GT(blob.size(), sizeof(BLOBHEADER) + sizeof(RSAPUBKEY));
    EXPECT_EQ(reinterpret_cast<const BLOBHEADER*>(blob.data())->bType, PRIVATEKEYBLOB);
    EXPECT_EQ(reinterpret_cast<const RSAPUBKEY*>(blob.data() + sizeof(BLOBHEADER))->bitlen, 2048u);
    EXPECT_EQ(keyBlob(testsupport::readBytes(Data + "server-rsa.key")), blob);
    EXPECT_NE(keyBlob(testsupport::readBytes(Data + "stranger.key")), blob);

    std::string damaged = pkcs8;
    damaged.erase(damaged.find('\n') + 1, 200);
    std::string encrypted = pkcs8;
    encrypted.replace(encrypted.find("PRIVATE KEY"), 11, "ENCRYPTED PRIVATE KEY");
    for (const std::string& text : {testsupport::readBytes(Data + "server.pem"), damaged, encrypted, std::string(),
                                    pkcs8.substr(0, pkcs8.find("-----END"))})
        EXPECT_EQ(keyBlob(text), "none") << text.substr(0, 60);
}

TEST(TessaroPemTest, BlocksComeOneAfterAnother)
{
    size_t length = 0;
    char* text = tessaro_pem_read((Data + "server.pem").c_str(), &length);
    ASSERT_NE(text, nullptr);
    const std::string both = std::string(text, length) + testsupport::readBytes(Data + "stranger.key") +
                             testsupport::readBytes(Data + "stranger.pem");
    free(text);
    EXPECT_EQ(tessaro_pem_read((Data + "none.pem").c_str(), &length), nullptr);

    const char* at = both.c_str();
    int certificates = 0;
    unsigned long size = 0;
    while (unsigned char* der = tessaro_pem_block(&at, "CERTIFICATE", &size)) {
        EXPECT_EQ(der[0], 0x30) << "a DER sequence";
        free(der);
        ++certificates;
    }
    EXPECT_EQ(certificates, 2);
    at = both.c_str();
    unsigned char* key = tessaro_pem_block(&at, "PRIVATE KEY", &size);
    ASSERT_NE(key, nullptr);
    free(key);
    EXPECT_EQ(tessaro_pem_block(&at, "PRIVATE KEY", &size), nullptr) << "one key only";
}

} // namespace
