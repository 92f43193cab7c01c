// The exact bytes of the lines Compile, Compile Demo and Generate Makefile start.

#include "project/BuildCommandLines.h"
#include "generator/model/ProjectRecord.h"
#include "project/CommandQuoting.h"

#include <gtest/gtest.h>

namespace {

const std::string Vcvars = "C:\\VS\\vcvars32.bat";

CProjectRecord calc(const std::string& location, int libraryType)
{
    CProjectRecord record;
    record.name = "calc";
    record.location = location;
    record.libraryType = libraryType;
    return record;
}

TEST(BuildCommandLinesTest, CompilerLines)
{
    const std::string head = "\"C:\\VS\\vcvars32.bat\" & cl.exe  ";
    const std::string includes = "/MD /W3 /I ./ /I C:\\work\\calc\\lib\\include\\ /I C:\\work\\calc\\libxml2\\include\\ ";
    const std::string libraries = " /LIBPATH:\"C:\\work\\calc\\lib\\bin\\win32\" tessaroMTD.lib wsock32.lib"
                                  " /LIBPATH:\"C:\\work\\calc\\libxml2\\lib\" libxml2.lib";
    const std::string dll = head + includes +
        "/O2 /D \"WIN32\" /D\"_DEBUG\" /D\"_WINDOWS\" /D \"_USRDLL\" /D \"API_EXPORTS\"  /D\"MBCS\" "
        "/Fe\"C:\\work\\calc\\calc.dll\" \"C:\\work\\calc\\calc_api.c\"  "
        "/link /nologo /DLL /subsystem:windows /incremental:no /machine:I386 " + libraries;
    const std::string staticLibrary = head + "/c " + includes +
        "/O2 /D \"WIN32\" /D\"_DEBUG\" /D\"_WINDOWS\" /D\"_LIB\"  /D\"MBCS\" "
        "/Fo\"C:\\work\\calc\\calcS.obj\" \"C:\\work\\calc\\calc_api.c\"  "
        "& lib.exe /OUT:\"C:\\work\\calc\\calcS.lib\" \"C:\\work\\calc\\calcS.obj\" ";
    const std::string demo = head + includes +
        "/D \"WIN32\" /D\"_DEBUG\" /D\"_CONSOLE\"  /D\"MBCS\" /Fe\"C:\\work\\calc\\calc_demo.exe\" "
        "\"C:\\work\\calc\\calc_api.c\" \"C:\\work\\calc\\calc_api_demo.c\"  "
        "/link /nologo /subsystem:console /incremental:no /machine:I386 " + libraries;
    // A folder read from a solution file keeps its final backslash; the lines are the same.
    for (const std::string location : {"C:\\work\\calc", "C:\\work\\calc\\"}) {
        SCOPED_TRACE(location);
        EXPECT_EQ(libraryCompileLine(calc(location, CProjectRecord::DllLibrary), Vcvars), dll);
        EXPECT_EQ(libraryCompileLine(calc(location, CProjectRecord::StaticLibrary), Vcvars), staticLibrary);
        EXPECT_EQ(libraryCompileLine(calc(location, 5), Vcvars), staticLibrary);
        EXPECT_EQ(demoCompileLine(calc(location, 0), Vcvars), demo);
    }
}

TEST(BuildCommandLinesTest, ALocationWithBlanksIsQuotedWhole)
{
    const std::string line = demoCompileLine(calc("C:\\my work", 0), Vcvars);
    EXPECT_NE(line.find("/I \"C:\\my work\\lib\\include\" /I \"C:\\my work\\libxml2\\include\" /D"), std::string::npos)
        << line;
    EXPECT_NE(line.find("/Fe\"C:\\my work\\calc_demo.exe\" \"C:\\my work\\calc_api.c\""), std::string::npos);
    EXPECT_NE(line.find("/LIBPATH:\"C:\\my work\\lib\\bin\\win32\" "), std::string::npos);
}

TEST(BuildCommandLinesTest, ProductsToDelete)
{
    const std::vector<std::string> dll = libraryProducts(calc("w", 0));
    ASSERT_EQ(dll.size(), 4u);
    EXPECT_EQ(dll[0].substr(2), "calc.dll");
    EXPECT_EQ(dll[3].substr(2), "calc_api.obj");
    const std::vector<std::string> lib = libraryProducts(calc("w", 1));
    ASSERT_EQ(lib.size(), 2u);
    EXPECT_EQ(lib[0].substr(2), "calcS.lib");
    EXPECT_EQ(lib[1].substr(2), "calcS.obj");
}

TEST(BuildCommandLinesTest, MakeRulesCopy)
{
    EXPECT_EQ(makeRulesCopyLine("C:\\tools\\", "C:\\work\\calc", true),
              "xcopy /Y \"C:\\tools\\make\\Make.rules\" \"C:\\work\\calc\"");
    EXPECT_EQ(makeRulesCopyLine("C:\\tools\\", "C:\\work\\calc\\", true),
              "xcopy /Y \"C:\\tools\\make\\Make.rules\" \"C:\\work\\calc\\.\"");
    EXPECT_EQ(makeRulesCopyLine("/opt/k/", "/home/o'neil/calc", false),
              "cp -f '/opt/k/make/Make.rules' '/home/o'\\''neil/calc'");
}

} // namespace

namespace {

// Each argument comes back whole from the command line a Windows program splits, and from a
// Unix shell.
TEST(CommandQuotingTest, ArgumentsSurviveTheCommandLineAndTheShell)
{
    const struct {
        const char* argument;
        const char* windows;
        const char* shell;
    } cases[] = {
        {"gcc", "gcc", "'gcc'"},
        {"", "\"\"", "''"},
        {"C:\\Program Files\\mingw\\gcc.exe", "\"C:\\Program Files\\mingw\\gcc.exe\"", "'C:\\Program Files\\mingw\\gcc.exe'"},
        {"C:\\a b\\", "\"C:\\a b\\\\\"", "'C:\\a b\\'"},
        {"say \"hi\"", "\"say \\\"hi\\\"\"", "'say \"hi\"'"},
        {"a\\\"b", "\"a\\\\\\\"b\"", "'a\\\"b'"},
        {"o'neil", "o'neil", "'o'\\''neil'"},
        {"tab\there", "\"tab\there\"", "'tab\there'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowsArgument(c.argument), c.windows) << c.argument;
        EXPECT_EQ(shellArgument(c.argument), c.shell) << c.argument;
    }
    EXPECT_EQ(windowsCommandLine({"gcc", "-o", "a b.exe"}), "gcc -o \"a b.exe\"");
}

}  // namespace
