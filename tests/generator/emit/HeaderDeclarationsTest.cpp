// The header declares every function the generated source exports: the
// source is compiled to an object, the object's exported symbols are read
// back with nm, and a C++ translation unit that includes the header takes the
// address of each one. C would only warn of an undeclared call; C++ refuses it.

#include "GeneratorTestSupport.h"
#include "support/CorpusManifest.h"

#include <sstream>

using namespace gentest;

namespace {

// The symbols an object defines and exports, as nm lists them.
std::vector<std::string> exportedSymbols(const std::string& listing)
{
    std::vector<std::string> symbols;
    std::istringstream lines(listing);
    std::string address, kind, name;
    while (lines >> address >> kind >> name)
        symbols.push_back(name);
    return symbols;
}

// A C++ unit that includes the header and takes every symbol's address.
std::string takeEveryAddress(const std::string& header, const std::vector<std::string>& symbols)
{
    std::string unit = "#include \"" + header + "\"\n\nint main()\n{\n";
    for (const std::string& symbol : symbols)
        unit += "\tdecltype(&" + symbol + ") kept_" + symbol + " = &" + symbol + ";\n\t(void)kept_" + symbol + ";\n";
    return unit + "\treturn 0;\n}\n";
}

class HeaderDeclarationsTest : public GeneratorTest {};

struct DeclarationCase {
    const char* document;
    int authType;
};

TEST_F(HeaderDeclarationsTest, EverySymbolTheSourceExportsIsDeclaredForCAndCpp)
{
#if defined(KELVANE_C_COMPILER) && defined(KELVANE_CXX_COMPILER) && defined(KELVANE_NM)
    // The example, a document/literal corpus service with Digest authentication, an rpc/encoded one.
    const DeclarationCase cases[] = {
        {KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl", CProjectRecord::AuthNone},
        {"savon/blz_service.wsdl", CProjectRecord::AuthDigest},
        {"axis1/interop3/rpcEnc/InteropTestRpcEnc.wsdl", CProjectRecord::AuthBasic},
    };
    for (const DeclarationCase& c : cases) {
        SCOPED_TRACE(c.document);
        const std::string document = c.document[0] == '/' ? c.document : testsupport::CorpusFolder + c.document;
        viewLocation(document);
        project_.authType = c.authType;
        const auto files = emitLibrary("decl");
        testsupport::ScopedWorkingFolder folder;
        for (const auto& file : files)
            testsupport::writeBytes(file.first, file.second);
        ASSERT_EQ(runHostCommand(std::string(KELVANE_C_COMPILER) + " -std=gnu99 -Wall -Werror -c -I. -I" KELVANE_SOURCE_DIR
                                 "/runtime/lib/include -I/usr/include/libxml2 decl_api.c -o decl_api.o > messages.txt 2>&1"),
                  0)
            << testsupport::readBytes("messages.txt");
        ASSERT_EQ(runHostCommand(KELVANE_NM " -g --defined-only decl_api.o > symbols.txt 2>&1"), 0);
        const std::vector<std::string> symbols = exportedSymbols(testsupport::readBytes("symbols.txt"));
        for (const char* call : {"decl_client_init", "decl_client_close", "decl_client_set_tls", "decl_client_set_proxy",
                                 "decl_proto_sendpacket"})
            EXPECT_NE(std::find(symbols.begin(), symbols.end(), call), symbols.end()) << call;
        testsupport::writeBytes("every_address.cpp", takeEveryAddress("decl_api.h", symbols));
        EXPECT_EQ(runHostCommand(std::string(KELVANE_CXX_COMPILER) + " -std=c++17 -Wall -Werror -fsyntax-only -I. -I" KELVANE_SOURCE_DIR
                                 "/runtime/lib/include -I/usr/include/libxml2 every_address.cpp > messages.txt 2>&1"),
                  0)
            << testsupport::readBytes("messages.txt");
    }
#else
    GTEST_SKIP() << "needs the build machine's C and C++ compilers";
#endif
}

} // namespace
