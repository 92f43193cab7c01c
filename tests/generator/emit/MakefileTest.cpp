// The generated Makefile: its text, and a project built with it and our
// Make.rules against the support library.

#include "GeneratorTestSupport.h"
#include "generator/emit/MakefileText.h"

using namespace gentest;

namespace {

const std::string Head =
    "include Make.rules\r\n\r\nTARGET\t= calc_demo\r\n\r\nSRC\t= calc_api_demo.c calc_api.c\r\nCC\t= gcc\r\n\r\n"
    "all:\t${TARGET}\r\n";
const std::string Solaris = "${TARGET}:${OBJ}\r\n"
                            "\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/solaris/ -ltessaro -lxml2 -lssl -lcrypto -lsocket -lpthread \r\n";
const std::string Linux = "${TARGET}:${OBJ}\r\n"
                          "\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/redhat/ -ltessaro -lxml2 -lssl -lcrypto -lpthread \r\n";
const std::string Windows = "${TARGET}:${OBJ}\r\n"
                            "\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/win32/ -ltessaroMTD -L./libxml2/lib/ -lxml2 -lws2_32 -lsecur32 -lcrypt32 -lbcrypt -static \r\n";
const std::string Tail = "clean:\r\n\trm -f core ${TARGET} ${OBJ}\r\n\r\n";

// Each line of a rule commented out.
std::string commented(const std::string& rule)
{
    const std::size_t second = rule.find("\r\n") + 2;
    return "#" + rule.substr(0, second) + "#" + rule.substr(second);
}

// The rule of the target platform is active, the others stand commented
// out; a second run appends a second copy.
TEST(MakefileText, TheTargetPlatformsLinkRuleIsActive)
{
    CProjectRecord project;
    project.name = "calc";
    project.targetPlatform = CProjectRecord::Unix;
    CTextBuffer text;
    writeMakefile(project, text);
    const std::string forUnix = Head + commented(Solaris) + Linux + commented(Windows) + Tail;
    EXPECT_EQ(text.text(), forUnix);
    project.targetPlatform = CProjectRecord::Windows;
    writeMakefile(project, text);
    EXPECT_EQ(text.text(), forUnix + Head + commented(Solaris) + commented(Linux) + Windows + Tail);
}

#ifdef KELVANE_TESSARO_DIR
class MakefileBuildTest : public GeneratorTest {};

// The project folder as a new project holds it: make builds the support
// library from its sources, then the demo, with the Makefile as written.
TEST_F(MakefileBuildTest, MakeBuildsTheDemoAgainstTheSupportLibrary)
{
    view(schemaDocument("<xsd:complexType name=\"Pair\"><xsd:sequence><xsd:element name=\"a\" type=\"xsd:int\"/>"
                        "</xsd:sequence></xsd:complexType>"));
    const std::string header = emitHeader("calc");
    const std::string source = emitSourceWithReaders();
    CTextBuffer makefile;
    project_.targetPlatform = CProjectRecord::Unix;
    writeMakefile(project_, makefile);
    const std::string text = makefile.text();
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("Makefile", text);
    testsupport::writeBytes("calc_api.h", header);
    testsupport::writeBytes("calc_api.c", source);
    testsupport::writeBytes("calc_api_demo.c",
                            "#include <stdio.h>\n#include \"tessaro_socket.h\"\n#include \"calc_api.h\"\n"
                            "int main(void)\n{\n\tcalc_proto_trans_t trans;\n"
                            "\tprintf(\"%d\\n\", calc_connect_server(&trans, \"not an address\", \"/\", 80));\n"
                            "\treturn 0;\n}\n");
    const std::string copy = "mkdir -p lib/bin/redhat && cp " KELVANE_SOURCE_DIR "/runtime/make/Make.rules . && cp -r " KELVANE_SOURCE_DIR
                             "/runtime/lib/include lib/ && mkdir lib/src && cp " KELVANE_SOURCE_DIR "/runtime/lib/*.c " KELVANE_SOURCE_DIR
                             "/runtime/lib/security/*.c " KELVANE_SOURCE_DIR "/runtime/lib/server/*.c lib/src/";
    ASSERT_EQ(std::system(copy.c_str()), 0);
    const int built = std::system("make > make.txt 2>&1");
    ASSERT_EQ(built, 0) << testsupport::readBytes("make.txt");
    ASSERT_EQ(std::system("./calc_demo > run.txt 2>&1"), 0);
    // a name that is not found
    EXPECT_EQ(testsupport::readBytes("run.txt"), "-2\n");
}
#endif

} // namespace
