// The generated Makefile: its text, and a project built with it and our
// Make.rules against the support library.

#include "GeneratorTestSupport.h"
#include "generator/emit/MakefileText.h"

using namespace gentest;

namespace {

const char* const CalcMakefile =
    "include Make.rules\r\n\r\nTARGET\t= calc_demo\r\n\r\nSRC\t= calc_api_demo.c calc_api.c\r\nCC\t= gcc\r\n\r\n"
    "all:\t${TARGET}\r\n${TARGET}:${OBJ}\r\n"
    "\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/solaris/ -ltessaro -lxml2 -lsocket -lnsl -lpthread \r\n"
    "#${TARGET}:${OBJ}\r\n"
    "#\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/redhat/ -ltessaro -lxml2 -lnsl -lpthread \r\n"
    "clean:\r\n\trm -f core ${TARGET} ${OBJ}\r\n\r\n";

TEST(MakefileText, OnlyTheNameVariesAndTextAppends)
{
    CProjectRecord project;
    project.name = "calc";
    CTextBuffer text;
    writeMakefile(project, text);
    EXPECT_EQ(text.text(), CalcMakefile);
    project.targetPlatform = CProjectRecord::Windows;
    writeMakefile(project, text);
    EXPECT_EQ(text.text(), std::string(CalcMakefile) + CalcMakefile);
}

#ifdef KELVANE_TESSARO_DIR
class MakefileBuildTest : public GeneratorTest {};

// The project folder as a new project holds it; the Linux rule switched on
// by hand, as the Makefile's comment pair intends.
TEST_F(MakefileBuildTest, MakeBuildsTheDemoAgainstTheSupportLibrary)
{
    view(schemaDocument("<xsd:complexType name=\"Pair\"><xsd:sequence><xsd:element name=\"a\" type=\"xsd:int\"/>"
                        "</xsd:sequence></xsd:complexType>"));
    const std::string header = emitHeader("calc");
    const std::string source = emitSourceWithReaders();
    CTextBuffer makefile;
    writeMakefile(project_, makefile);
    std::string text = makefile.text();
    text.erase(text.find("#\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/redhat/"), 1);
    text.erase(text.find("#${TARGET}:${OBJ}"), 1);
    text.insert(text.find("\t$(CC) ${CFLAGS}  -o $@ $(OBJ) -L./lib/bin/solaris/"), "#");
    text.insert(text.find("${TARGET}:${OBJ}"), "#");
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
                             "/runtime/lib/include lib/ && cp " KELVANE_TESSARO_DIR "/libtessaro.a lib/bin/redhat/";
    ASSERT_EQ(std::system(copy.c_str()), 0);
    const int built = std::system("make > make.txt 2>&1");
    ASSERT_EQ(built, 0) << testsupport::readBytes("make.txt");
    ASSERT_EQ(std::system("./calc_demo > run.txt 2>&1"), 0);
    EXPECT_EQ(testsupport::readBytes("run.txt"), "-1\n");
}
#endif

} // namespace
