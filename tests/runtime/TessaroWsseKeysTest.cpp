// The platform's keys and signatures (libcrypto on Unix, BCrypt and
// CryptoAPI on Windows) against libcrypto's own: a key read from PEM (PKCS#8
// or PKCS#1), or on Windows from a PFX, signs the very bytes openssl signs
// (RSA with PKCS#1 padding is the same every time), openssl's signatures
// verify, and a certificate is trusted only by a trust that holds it.

#include <gtest/gtest.h>

#include "support/TestFiles.h"
#include "tessaro_wsse_crypto.h"

#include <string>
#include <thread>
#include <vector>

namespace {

const std::string Data = KELVANE_SOURCE_DIR "/tests/runtime/data/wsse/";

std::string signed_by(const tessaro_wsse_key_t* key, int method, const std::string& data)
{
    unsigned char* signature = nullptr;
    size_t length = 0;
    char why[256] = "";
    if (tessaro_wsse_sign_bytes(key, method, data.data(), data.size(), &signature, &length, why, sizeof(why)) != 0)
        return std::string("failed: ") + why;
    std::string bytes(reinterpret_cast<char*>(signature), length);
    free(signature);
    return bytes;
}

TEST(TessaroWsseKeysTest, KeysSignWhatOpensslSignsAndItsSignaturesVerify)
{
    const std::string data = testsupport::readBytes(Data + "data.txt");
    const struct {
        const char* key;
        const char* password;
        bool windowsOnly;
    } keys[] = {{"signer.key", nullptr, false}, {"signer-rsa.key", nullptr, false}, {"signer.pfx", "pfx-password", true}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
#ifndef _WIN32
        if (k.windowsOnly)
            continue;
#endif
        tessaro_wsse_key_t* key = nullptr;
        char why[256] = "";
        const std::string cert = Data + "signer.pem";
        ASSERT_EQ(tessaro_wsse_key_load(&key, (Data + k.key).c_str(), k.windowsOnly ? nullptr : cert.c_str(), k.password, why, sizeof(why)), 0)
            << why;
        EXPECT_EQ(signed_by(key, TESSARO_WSSE_RSA_SHA256, data), testsupport::readBytes(Data + "data.sha256.sig"));
        EXPECT_EQ(signed_by(key, TESSARO_WSSE_RSA_SHA1, data), testsupport::readBytes(Data + "data.sha1.sig"));
        const unsigned char* der = nullptr;
        size_t length = 0;
        ASSERT_EQ(tessaro_wsse_key_certificate(key, &der, &length), 0);
        const struct {
            int method;
            const char* signature;
            std::string signedData;
            int result;
        } checks[] = {{TESSARO_WSSE_RSA_SHA256, "data.sha256.sig", data, 0},
                      {TESSARO_WSSE_RSA_SHA1, "data.sha1.sig", data, 0},
                      {TESSARO_WSSE_RSA_SHA1, "data.sha256.sig", data, TESSARO_WSSE_FAILED_CHECK},
                      {TESSARO_WSSE_RSA_SHA256, "data.sha256.sig", data + ".", TESSARO_WSSE_FAILED_CHECK}};
        for (const auto& c : checks) {
            const std::string signature = testsupport::readBytes(Data + c.signature);
            EXPECT_EQ(tessaro_wsse_verify_bytes(der, length, c.method, c.signedData.data(), c.signedData.size(),
                                                reinterpret_cast<const unsigned char*>(signature.data()), signature.size(), why,
                                                sizeof(why)),
                      c.result)
                << c.signature;
        }
        const std::string junk = "not a certificate";
        EXPECT_EQ(tessaro_wsse_verify_bytes(reinterpret_cast<const unsigned char*>(junk.data()), junk.size(), TESSARO_WSSE_RSA_SHA256,
                                            data.data(), data.size(), der, length, why, sizeof(why)),
                  TESSARO_WSSE_SECURITY_TOKEN);

        tessaro_wsse_trust_t *own = nullptr, *stranger = nullptr;
        ASSERT_EQ(tessaro_wsse_trust_load(&own, cert.c_str(), why, sizeof(why)), 0) << why;
        ASSERT_EQ(tessaro_wsse_trust_load(&stranger, (Data + "stranger.pem").c_str(), why, sizeof(why)), 0) << why;
        EXPECT_EQ(tessaro_wsse_trusted(own, der, length, why, sizeof(why)), 0) << why;
        EXPECT_EQ(tessaro_wsse_trusted(stranger, der, length, why, sizeof(why)), TESSARO_WSSE_FAILED_AUTH);
        EXPECT_NE(std::string(why).find("signer"), std::string::npos) << why;
        tessaro_wsse_trust_free(own);
        tessaro_wsse_trust_free(stranger);
        tessaro_wsse_key_free(key);
    }
}

TEST(TessaroWsseKeysTest, AKeyOfAnotherCertificateOrNoKeyIsRefused)
{
    const struct {
        std::string key;
        std::string cert;
        const char* why;
    } cases[] = {
        {"signer.key", "stranger.pem", "is no RSA key of the certificate"},
        {"signer.pem", "signer.pem", "no PEM private key"},
        {"missing.key", "signer.pem", "missing.key"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        tessaro_wsse_key_t* key = nullptr;
        char why[256] = "";
        EXPECT_EQ(tessaro_wsse_key_load(&key, (Data + c.key).c_str(), (Data + c.cert).c_str(), nullptr, why, sizeof(why)), -1);
        EXPECT_EQ(key, nullptr);
        EXPECT_NE(std::string(why).find(c.why), std::string::npos) << why;
    }
}

#ifdef _WIN32
// Servers started together load their PFX at once: each load keeps its key, though every import goes
// through key containers that another import may share and that are deleted once read.
TEST(TessaroWsseKeysTest, PfxLoadsAtOnceEachKeepTheirKey)
{
    const std::string data = testsupport::readBytes(Data + "data.txt");
    const std::string expected = testsupport::readBytes(Data + "data.sha256.sig");
    constexpr int Threads = 6, Loads = 8;
    std::vector<int> good(Threads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < Loads; ++i) {
                tessaro_wsse_key_t* key = nullptr;
                char why[256] = "";
                if (tessaro_wsse_key_load(&key, (Data + "signer.pfx").c_str(), nullptr, "pfx-password", why, sizeof(why)) != 0)
                    continue;
                good[t] += signed_by(key, TESSARO_WSSE_RSA_SHA256, data) == expected;
                tessaro_wsse_key_free(key);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < Threads; ++t)
        EXPECT_EQ(good[t], Loads) << "thread " << t;
}
#endif

} // namespace
