// The project commands against a fake host: the order of their steps, the
// texts they show, which tabs they touch and the files they write.

#include "FakeProjectHost.h"
#include "generator/emit/GeneratorRun.h"
#include "generator/model/ServiceView.h"
#include "project/BuildCommandLines.h"
#include "project/ProjectCommands.h"
#include "project/SolutionFile.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "wsdl/WsdlParseTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <mutex>

using gentest::FakeProjectHost;

namespace {

const char* const Started = "Start Generating...\r\n";
const char* const Generated = "Successfully Generated!\r\n";

std::vector<std::string> withPrefix(const std::vector<std::string>& log, const std::string& prefix)
{
    std::vector<std::string> lines;
    std::copy_if(log.begin(), log.end(), std::back_inserter(lines),
                 [&](const std::string& line) { return line.compare(0, prefix.size(), prefix) == 0; });
    return lines;
}

class ProjectCommandsTest : public ::testing::Test {
protected:
    ProjectCommandsTest() : commands_(host_)
    {
        location_ = folder_.path().generic_string() + "/";
        testsupport::writeBytes(location_ + "calc.wsdl", wsdltest::calculator());
        openProject();
    }

    void openProject(const std::string& wsdl = "calc.wsdl")
    {
        auto record = std::make_unique<CProjectRecord>();
        record->name = "calc";
        record->location = location_;
        record->wsdlPath = location_ + wsdl;
        record->targetPlatform = CProjectRecord::Unix;
        commands_.setProject(std::move(record));
    }

    void showTabs(std::initializer_list<const char*> captions)
    {
        for (const char* caption : captions)
            host_.tabs.push_back({caption, true, std::string()});
    }

    testsupport::ScopedWorkingFolder folder_;
    std::string location_;
    FakeProjectHost host_;
    CProjectCommands commands_;
};

TEST_F(ProjectCommandsTest, GenerateCodeSavesParsesAndReplacesTheMatchingTabs)
{
    showTabs({"calc_api.h", "calc_api.c *", "calc_api_demo.c", "Calc_api.h", "calc.wsdl"});
    ASSERT_TRUE(commands_.onGenerateCode()) << host_.output;
    EXPECT_EQ(host_.output, std::string(Started) + Generated);
    const std::vector<std::string> expected{
        "save calc_api.h to " + location_ + "calc_api.h",
        "save calc_api.c * to " + location_ + "calc_api.c",
        "save calc_api_demo.c to " + location_ + "calc_api_demo.c",
        "save Calc_api.h to " + location_ + "Calc_api.h",
        "save calc.wsdl to " + location_ + "calc.wsdl",
        std::string("output ") + Started,
        "replace calc_api.h",
        "replace calc_api.c *",
        "replace calc_api_demo.c",
        std::string("append ") + Generated,
        "refresh"};
    EXPECT_EQ(host_.log, expected);
    EXPECT_EQ(host_.tabs[0].text, commands_.generated().header.text());
    EXPECT_NE(host_.tabs[0].text.find("#define CALC_API_H"), std::string::npos);
    EXPECT_EQ(host_.tabs[1].text, commands_.generated().source.text());
    EXPECT_NE(host_.tabs[1].text.find("#include \"calc_api.h\""), std::string::npos);
    EXPECT_TRUE(host_.tabs[3].text.empty());
    EXPECT_TRUE(std::filesystem::exists(location_ + "calc.zbq"));
}

TEST_F(ProjectCommandsTest, ReaderFailuresEndTheCommandWithTheirMessages)
{
    struct Case {
        const char* document; // written as the WSDL file; null: no file
        const char* shown;    // part of the output pane's text
    } cases[] = {
        {"<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\"><message name=\"a\">",
         "calc.wsdl:1:72: Xml Parser Exception : Unexpected EOF"},
        {"<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\">"
         "<binding name=\"B\" type=\"tns:Nope\"/></definitions>",
         "calc.wsdl:1:"},
        {"<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\">"
         "<binding name=\"B\" type=\"tns:Nope\"/></definitions>",
         ": Wsdl Parser Exception : Unknown port type Nope\n"},
        // Read without error, but nothing to generate.
        {"<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\">"
         "<portType name=\"P\"/></definitions>",
         "calc.wsdl: no operation to generate: no operation of the document is bound by a SOAP 1.1 or SOAP 1.2 binding\r\n"},
        {nullptr, "calc.wsdl: Wsdl Parser Exception : "},
        {nullptr, "calc.wsdl could not be opened: file not found\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        std::filesystem::remove(location_ + "calc.wsdl");
        if (c.document)
            testsupport::writeBytes(location_ + "calc.wsdl", c.document);
        showTabs({"calc_api.h"});
        host_.log.clear();
        EXPECT_FALSE(commands_.onGenerateCode());
        EXPECT_EQ(host_.output.compare(0, 21, Started), 0);
        EXPECT_NE(host_.output.find(c.shown), std::string::npos) << host_.output;
        EXPECT_EQ(host_.output.find("Successfully"), std::string::npos);
        EXPECT_TRUE(withPrefix(host_.log, "replace").empty());
        host_.tabs.clear();
    }
}

TEST_F(ProjectCommandsTest, ASecondRunStartsFromEmptyText)
{
    ASSERT_TRUE(commands_.onGenerateCode());
    std::string other = wsdltest::calculator();
    for (std::string::size_type at; (at = other.find("Add")) != std::string::npos;)
        other.replace(at, 3, "Mul");
    testsupport::writeBytes(location_ + "calc.wsdl", other);
    ASSERT_TRUE(commands_.onGenerateCode());
    EXPECT_EQ(host_.output, std::string(Started) + Generated);
    // The first run's names start a word or follow a '_' (calc_Add, AddResponse...); libxml2's own
    // names that merely hold the letters (xmlAddChild), and words that go on in lower case (an
    // endpoint reference's Address), are no trace of it.
    const auto namesFirstRun = [](const std::string& text) {
        for (std::size_t at = text.find("Add"); at != std::string::npos; at = text.find("Add", at + 1))
            if ((at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]))) &&
                !std::islower(static_cast<unsigned char>(at + 3 < text.size() ? text[at + 3] : 'X')))
                return true;
        return false;
    };
    for (const CTextBuffer* text : {&commands_.generated().header, &commands_.generated().source}) {
        EXPECT_FALSE(namesFirstRun(text->text()));
        EXPECT_NE(text->text().find("Mul"), std::string::npos);
        EXPECT_EQ(text->text().find("#define CALC_API_H"), text->text().rfind("#define CALC_API_H"));
    }
}

TEST_F(ProjectCommandsTest, SaveWritesTheVisibleTabsWhereTheyBelong)
{
    openProject("specs/Service.wsdl");
    showTabs({"calc_api.c *", "SERVICE.WSDL", "calc_api.h", "*"});
    host_.tabs[2].visible = false;
    ASSERT_TRUE(commands_.onFileSave());
    const std::vector<std::string> expected{"save calc_api.c * to " + location_ + "calc_api.c",
                                            "save SERVICE.WSDL to " + location_ + "specs/Service.wsdl"};
    EXPECT_EQ(host_.log, expected);
    CProjectRecord read;
    ASSERT_EQ(loadSolution(location_ + "calc.zbq", read), 0);
    EXPECT_EQ(read.wsdlPath, location_ + "specs/Service.wsdl");
}

TEST_F(ProjectCommandsTest, SaveWritesOnlyChangedTabsAndAsksBeforeOverwritingAFileChangedOnDisk)
{
    using Answer = ChangedFileAnswer;
    struct Case {
        const char* name;
        const char* onDisk;    // the file's bytes; null: no file
        bool changedOnDisk;    // since the tab loaded it
        bool modified;         // edited in the tab
        Answer answer;
        std::vector<std::string> log; // after the solution is written; "P" stands for the path
        bool saved;            // what Save returns
    } cases[] = {
        {"untouched", "int b;\r\n", false, false, Answer::Cancel, {}, true},
        {"same text", "int a;\r\n", false, true, Answer::Cancel, {"unchanged calc_api.c in P"}, true},
        {"same text, touched on disk", "int a;\r\n", true, false, Answer::Cancel, {"unchanged calc_api.c in P"}, true},
        {"edited in the tab", "int b;\r\n", false, true, Answer::Cancel, {"save calc_api.c to P"}, true},
        {"no file yet", nullptr, false, true, Answer::Cancel, {"save calc_api.c to P"}, true},
        {"changed on disk: reload", "int b;\r\n", true, false, Answer::Reload, {"ask changed P", "reload calc_api.c from P"}, true},
        {"changed on disk: keep mine", "int b;\r\n", true, true, Answer::KeepMine, {"ask changed P", "save calc_api.c to P"}, true},
        {"changed on disk: cancel", "int b;\r\n", true, true, Answer::Cancel, {"ask changed P"}, false},
    };
    const std::string path = location_ + "calc_api.c";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path);
        if (c.onDisk)
            testsupport::writeBytes(path, c.onDisk);
        host_.tabs = {{"calc_api.c", true, "int a;\r\n", c.changedOnDisk, c.modified}, {"calc_api.h", true, "x"}};
        host_.changedFileAnswer = c.answer;
        host_.log.clear();
        EXPECT_EQ(commands_.onFileSave(), c.saved);
        std::vector<std::string> expected;
        for (std::string line : c.log)
            expected.push_back(line.replace(line.size() - 1, 1, path));
        // A cancel stops the command: the next tab is not saved.
        if (c.saved)
            expected.push_back("save calc_api.h to " + location_ + "calc_api.h");
        EXPECT_EQ(host_.log, expected);
        EXPECT_EQ(testsupport::readBytes(path), c.onDisk ? c.onDisk : "");
    }
}

TEST_F(ProjectCommandsTest, ACancelOverAFileChangedOnDiskStopsGenerateCodeAndClose)
{
    testsupport::writeBytes(location_ + "calc_api.h", "changed by another program\r\n");
    host_.tabs = {{"calc_api.h", true, "old", true}, {"calc_api.c", true, "", false}};
    EXPECT_FALSE(commands_.onGenerateCode());
    EXPECT_TRUE(withPrefix(host_.log, "replace").empty());
    EXPECT_TRUE(withPrefix(host_.log, "output").empty());
    commands_.onFileClose();
    EXPECT_NE(commands_.project(), nullptr);
    EXPECT_TRUE(withPrefix(host_.log, "close").empty());
    EXPECT_EQ(host_.tabs.size(), 2u);

    // Reloaded, the tab holds what the other program wrote, and Generate Code goes on from it.
    host_.changedFileAnswer = ChangedFileAnswer::Reload;
    host_.log.clear();
    EXPECT_TRUE(commands_.onGenerateCode()) << host_.output;
    EXPECT_EQ(withPrefix(host_.log, "reload").size(), 1u);
    EXPECT_EQ(testsupport::readBytes(location_ + "calc_api.h"), "changed by another program\r\n");
}

TEST_F(ProjectCommandsTest, CloseSavesAndClosesEveryTab)
{
    showTabs({"calc_api_demo.c", "calc_api.c", "calc_api.h", "calc.wsdl", "notes.txt"});
    host_.tabs[1].visible = false;
    commands_.onFileClose();
    EXPECT_TRUE(host_.tabs.empty());
    EXPECT_EQ(withPrefix(host_.log, "save").size(), 5u);
    EXPECT_EQ(withPrefix(host_.log, "close").size(), 5u);
    EXPECT_EQ(host_.log.back(), "refresh");
    EXPECT_EQ(commands_.project(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(location_ + "calc.zbq"));
}

TEST_F(ProjectCommandsTest, GenerateFilesWritesTheGeneratedTextWithoutTouchingTabs)
{
    showTabs({"calc_api.h", "calc_api.c"});
    ASSERT_TRUE(commands_.generateFiles()) << host_.output;
    EXPECT_EQ(host_.output, std::string(Started) + Generated);
    EXPECT_EQ(host_.log, (std::vector<std::string>{std::string("output ") + Started, std::string("append ") + Generated}));
    EXPECT_TRUE(std::filesystem::exists(location_ + "calc.zbq"));
    std::vector<std::string> written;
    for (const char* file : {"calc_api.h", "calc_api.c", "calc_api_demo.c"})
        written.push_back(testsupport::readBytes(location_ + file));

    // The same text as the frame's command puts into its tabs.
    ASSERT_TRUE(commands_.onGenerateCode()) << host_.output;
    EXPECT_EQ(written[0], commands_.generated().header.text());
    EXPECT_EQ(written[1], commands_.generated().source.text());
    EXPECT_EQ(written[2], commands_.generated().demo.text());
}

TEST_F(ProjectCommandsTest, GenerateFilesNamesTheFileItCouldNotWrite)
{
    for (const char* file : {"calc_api.h", "calc_api.c", "calc_api_demo.c", "calc_server.c"}) {
        SCOPED_TRACE(file);
        std::filesystem::create_directory(location_ + file); // a folder where the file goes
        host_.log.clear();
        EXPECT_FALSE(commands_.generateFiles());
        EXPECT_EQ(withPrefix(host_.log, "error"),
                  std::vector<std::string>{"error ERROR! The file " + location_ + file + " could not be written."});
        EXPECT_EQ(host_.output.find(Generated), std::string::npos);
        std::filesystem::remove(location_ + file);
    }
}

// The command line writes through its own writer and takes the finished run
// to end it as it likes; a run that failed is not kept.
TEST_F(ProjectCommandsTest, GenerateFilesWritesThroughTheWriterGivenAndKeepsItsRunUntilTaken)
{
    testsupport::writeBytes(location_ + "bad.wsdl", "<definitions");
    struct Case {
        const char* name;
        const char* wsdl;
        bool writes;
        bool generated;
    };
    const Case cases[] = {
        {"a run that wrote its files", "calc.wsdl", true, true},
        {"a file that could not be written", "calc.wsdl", false, false},
        {"a document the reader rejects", "bad.wsdl", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openProject(c.wsdl);
        std::vector<std::string> paths;
        const bool generated = commands_.generateFiles(
            [&](const std::string& path, const std::function<void(std::ostream&)>& write) {
                paths.push_back(path);
                return c.writes && writeDocumentFile(path, write);
            });
        EXPECT_EQ(generated, c.generated) << host_.output;
        if (c.generated) {
            EXPECT_EQ(paths, (std::vector<std::string>{location_ + "calc_api.h", location_ + "calc_api.c",
                                                       location_ + "calc_api_demo.c", location_ + "calc_server.c"}));
        }
        const std::unique_ptr<CGeneratorRun> run = commands_.takeFinishedRun();
        ASSERT_EQ(run != nullptr, c.generated);
        if (run) {
            EXPECT_EQ(run->view().portTypes().size(), 1u);
        }
        EXPECT_EQ(commands_.takeFinishedRun(), nullptr);
    }
}

// Whether the files reach the writer one by one or together, a run that
// could not write a file names the first such file in order; together,
// every file is handed to the writer (from threads of their own), one by
// one none after the first that failed.
TEST_F(ProjectCommandsTest, GenerateFilesNamesTheFirstFileNotWrittenHoweverTheyAreWritten)
{
    const std::vector<std::string> all{"calc_api.h", "calc_api.c", "calc_api_demo.c", "calc_server.c"}; // in order
    const std::vector<std::string> sorted{"calc_api.c", "calc_api.h", "calc_api_demo.c", "calc_server.c"};
    struct Case {
        const char* name;
        DocumentWrites writes;
        std::vector<std::string> failing;
        std::vector<std::string> handed; // sorted
    };
    const Case cases[] = {
        {"together, all written", DocumentWrites::Together, {}, sorted},
        {"together, the header fails", DocumentWrites::Together, {"calc_api.h"}, sorted},
        {"together, the demo fails", DocumentWrites::Together, {"calc_api_demo.c"}, sorted},
        {"together, source and demo fail", DocumentWrites::Together, {"calc_api_demo.c", "calc_api.c"}, sorted},
        {"together, the skeleton fails", DocumentWrites::Together, {"calc_server.c"}, sorted},
        {"one by one, the source fails", DocumentWrites::OneByOne, {"calc_api.c"}, {"calc_api.c", "calc_api.h"}},
        {"one by one, header and demo fail", DocumentWrites::OneByOne, {"calc_api.h", "calc_api_demo.c"}, {"calc_api.h"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host_.log.clear();
        std::mutex handedLock;
        std::vector<std::string> handed;
        const bool generated = commands_.generateFiles(
            [&](const std::string& path, const std::function<void(std::ostream&)>& write) {
                const std::string file = path.substr(location_.size());
                {
                    const std::lock_guard<std::mutex> recording(handedLock);
                    handed.push_back(file);
                }
                const bool fails = std::find(c.failing.begin(), c.failing.end(), file) != c.failing.end();
                return !fails && writeDocumentFile(path, write);
            },
            c.writes);
        std::sort(handed.begin(), handed.end());
        EXPECT_EQ(handed, c.handed);
        EXPECT_EQ(generated, c.failing.empty()) << host_.output;
        std::vector<std::string> errors;
        for (const std::string& file : all) {
            if (std::find(c.failing.begin(), c.failing.end(), file) != c.failing.end()) {
                errors.push_back("error ERROR! The file " + location_ + file + " could not be written.");
                break;
            }
        }
        EXPECT_EQ(withPrefix(host_.log, "error"), errors);
    }
}

TEST_F(ProjectCommandsTest, WithoutAProjectNothingHappens)
{
    commands_.setProject(nullptr);
    commands_.setCompilerPath("C:\\VS\\vcvars32.bat");
    showTabs({"calc_api.h"});
    EXPECT_FALSE(commands_.onFileSave());
    EXPECT_FALSE(commands_.onGenerateCode());
    EXPECT_FALSE(commands_.generateFiles());
    EXPECT_FALSE(commands_.onCompile());
    EXPECT_FALSE(commands_.onCompileDemo());
    EXPECT_FALSE(commands_.onGenerateMakefile());
    commands_.onFileClose();
    EXPECT_TRUE(host_.log.empty());
    EXPECT_EQ(host_.tabs.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(location_ + "calc.zbq"));
}

TEST_F(ProjectCommandsTest, OpenClosesTheOldProjectAndOpensTheFourDocumentsInOrder)
{
    ASSERT_EQ(saveSolution(*commands_.project()), 0);
    showTabs({"calc_api.h"});
    host_.answer = location_ + "calc.zbq";
    commands_.onFileOpen(true);
    const std::vector<std::string> expected{
        "ask " + std::string(KELVANE_SOURCE_DIR) + "/runtime/example",
        "save calc_api.h to " + location_ + "calc_api.h",
        "close calc_api.h",
        "refresh",
        "open " + location_ + "calc_api_demo.c",
        "open " + location_ + "calc_api.c",
        "open " + location_ + "calc_api.h",
        "open " + location_ + "calc.wsdl",
        "refresh",
        "recent " + location_ + "calc.zbq"};
    EXPECT_EQ(host_.log, expected);
    ASSERT_NE(commands_.project(), nullptr);
    EXPECT_EQ(commands_.project()->location, location_);
    EXPECT_EQ(host_.tabs.size(), 4u);
}

TEST_F(ProjectCommandsTest, AFailedOpenLeavesNothingOpen)
{
    ASSERT_EQ(saveSolution(*commands_.project()), 0);
    testsupport::writeBytes(location_ + "bad.zbq", "<solution><project name=\"calc\"/></solution>");
    struct Case {
        std::string path;
        std::string failOpening;
        std::string error; // the message box, if any
    } cases[] = {
        {location_ + "bad.zbq", "", "error ERROR! invalid project file!"},
        {location_ + "missing.zbq", "", "error ERROR! invalid project file!"},
        {location_ + "calc.zbq", "calc_api.h", ""},
        {location_ + "calc.zbq", "calc.wsdl", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " " + c.failOpening);
        openProject();
        host_.log.clear();
        host_.failOpening = c.failOpening;
        commands_.openSolution(c.path);
        EXPECT_EQ(commands_.project(), nullptr);
        EXPECT_TRUE(host_.tabs.empty());
        EXPECT_EQ(withPrefix(host_.log, "error"), c.error.empty() ? std::vector<std::string>{}
                                                                   : std::vector<std::string>{c.error});
        EXPECT_TRUE(withPrefix(host_.log, "recent").empty());
    }
}

TEST_F(ProjectCommandsTest, CompileCommandsDeleteOldProductsAndRunTheVisualCppLine)
{
    commands_.setCompilerPath("C:\\VS\\vcvars32.bat");
    for (const char* product : {"calc.dll", "calc.exp", "calc_demo.exe"})
        testsupport::writeBytes(location_ + product, "old");
    // The line ends with success, but nothing was made.
    EXPECT_TRUE(commands_.onCompile());
    EXPECT_EQ(host_.output.substr(host_.output.find("Compiling failed")),
              "Compiling failed: the compiler exited with code 0 but " + location_ + "calc.dll was not made");
    EXPECT_TRUE(commands_.onCompileDemo());
    EXPECT_FALSE(std::filesystem::exists(location_ + "calc.dll"));
    EXPECT_FALSE(std::filesystem::exists(location_ + "calc.exp"));
    EXPECT_FALSE(std::filesystem::exists(location_ + "calc_demo.exe"));
    ASSERT_EQ(host_.jobs.size(), 2u);
    for (const CBuildJob& job : host_.jobs) {
        EXPECT_EQ(job.shellLine.rfind("\"C:\\VS\\vcvars32.bat\" & cl.exe ", 0), 0u) << job.shellLine;
        EXPECT_EQ(job.folder, location_);
    }
    EXPECT_EQ(host_.output.rfind("Compiling " + location_ + "calc_demo.exe\r\n> \"C:\\VS\\vcvars32.bat\" & cl.exe ", 0), 0u)
        << host_.output;

    host_.log.clear();
    commands_.setCompilerPath("");
    showTabs({"calc_api.c"});
    EXPECT_FALSE(commands_.onCompileDemo());
    EXPECT_EQ(host_.log,
              std::vector<std::string>{"error ERROR! vc++ file vcvars32.bat must be located before compile! "});
}

TEST_F(ProjectCommandsTest, CompileSaysSuccessOnlyWhenTheCompilerExitedWithZeroAndMadeItsProduct)
{
    const std::string gcc = location_ + "x86_64-w64-mingw32-gcc";
    testsupport::writeBytes(gcc, "a compiler");
    commands_.setCompiler(CProjectCommands::Compiler::MingwGcc);
    commands_.setGccPath(gcc);
    struct Case {
        const char* name;
        CBuildOutcome outcome;
        bool makesProduct;
        std::string last; // the output pane's last line
    } cases[] = {
        {"built", {true, "", "", 0}, true, "Successfully Compiled"},
        {"compiler failed", {true, "", "", 1}, true, "Compiling failed: x86_64-w64-mingw32-gcc exited with code 1"},
        {"archiver failed", {true, "", location_ + "x86_64-w64-mingw32-ar", 2}, true,
         "Compiling failed: x86_64-w64-mingw32-ar exited with code 2"},
        {"nothing made", {true, "", "", 0}, false,
         "Compiling failed: x86_64-w64-mingw32-gcc exited with code 0 but " + location_ + "calc_demo.exe was not made"},
        {"not started", {false, "gcc could not be started (error 2)", "", 0}, false,
         "Compiling failed: gcc could not be started (error 2)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host_.buildOutcome = c.outcome;
        host_.building = [&](const CBuildJob&) {
            if (c.makesProduct)
                testsupport::writeBytes(location_ + "calc_demo.exe", "MZ");
        };
        host_.jobs.clear();
        EXPECT_TRUE(commands_.onCompileDemo());
        ASSERT_EQ(host_.jobs.size(), 1u);
        const std::vector<std::string> expected{gcc, "-std=gnu99", "-Wall", "-O2", "-DLIBXML_STATIC", "-I.",
                                                "-Ilib/include", "-Ilibxml2/include", "-o", "calc_demo.exe",
                                                "calc_api.c", "calc_api_demo.c", "-Llib/bin/win32", "-ltessaroMTD",
                                                "-Llibxml2/lib", "-lxml2", "-lws2_32", "-lsecur32", "-lcrypt32", "-lbcrypt", "-static"};
        ASSERT_EQ(host_.jobs[0].steps.size(), 1u);
        EXPECT_EQ(host_.jobs[0].steps[0].arguments, expected);
        EXPECT_GE(host_.output.size(), c.last.size());
        EXPECT_EQ(host_.output.substr(host_.output.size() - c.last.size()), c.last) << host_.output;
    }

    // A build still running: nothing starts, and the pane says why.
    host_.buildsRun = false;
    EXPECT_FALSE(commands_.onCompile());
    EXPECT_NE(host_.output.find("a build is still running"), std::string::npos) << host_.output;

    // A compiler that is not there is named, and nothing is saved or started.
    host_.buildsRun = true;
    host_.jobs.clear();
    host_.log.clear();
    commands_.setGccPath(location_ + "no-such-gcc");
    showTabs({"calc_api.c"});
    EXPECT_FALSE(commands_.onCompile());
    EXPECT_EQ(host_.output, "Compiling failed: the compiler " + location_ + "no-such-gcc was not found.");
    EXPECT_TRUE(host_.jobs.empty());
    EXPECT_TRUE(withPrefix(host_.log, "save").empty());
}

TEST_F(ProjectCommandsTest, TheLibraryStepsFollowTheLibraryType)
{
    auto record = std::make_unique<CProjectRecord>(*commands_.project());
    record->libraryType = CProjectRecord::StaticLibrary;
    const std::vector<CBuildStep> steps = gccLibrarySteps(*record, "C:\\mingw\\bin\\gcc.exe");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].arguments, (std::vector<std::string>{"C:\\mingw\\bin\\ar.exe", "rcs", "calcS.lib", "calcS.obj"}));
    EXPECT_EQ(steps[0].arguments.back(), "calc_api.c");
    record->libraryType = CProjectRecord::DllLibrary;
    const std::vector<CBuildStep> dll = gccLibrarySteps(*record, "gcc");
    ASSERT_EQ(dll.size(), 1u);
    EXPECT_EQ(dll[0].arguments[1], "-shared");
    EXPECT_NE(std::find(dll[0].arguments.begin(), dll[0].arguments.end(), "-Wl,--out-implib,calc.lib"),
              dll[0].arguments.end());
    const std::pair<const char*, const char*> archivers[] = {
        {"/usr/bin/x86_64-w64-mingw32-gcc", "/usr/bin/x86_64-w64-mingw32-ar"},
        {"Z:\\usr\\bin\\x86_64-w64-mingw32-gcc-posix", "Z:\\usr\\bin\\x86_64-w64-mingw32-ar"},
        {"C:\\gcc\\bin\\cc.exe", "C:\\gcc\\bin\\ar"},
    };
    for (const auto& [gcc, ar] : archivers)
        EXPECT_EQ(archiverBeside(gcc), ar) << gcc;
}

TEST_F(ProjectCommandsTest, RunDemoRunsTheDemoAndEndsWithItsExitCode)
{
    EXPECT_FALSE(commands_.onRunDemo());
    EXPECT_EQ(host_.output, "There is no demo to run: " + location_ + "calc_demo.exe does not exist. Compile Demo builds it.");
    EXPECT_TRUE(host_.jobs.empty());
    testsupport::writeBytes(location_ + "calc_demo.exe", "MZ");
    host_.buildOutcome = {true, "", "", 3};
    EXPECT_TRUE(commands_.onRunDemo());
    ASSERT_EQ(host_.jobs.size(), 1u);
    ASSERT_EQ(host_.jobs[0].steps.size(), 1u);
    EXPECT_EQ(host_.jobs[0].steps[0].arguments, (std::vector<std::string>{location_ + "calc_demo.exe", "0"}));
    EXPECT_EQ(host_.output, "Running " + location_ + "calc_demo.exe\r\ncalc_demo.exe exited with code 3");
}

TEST_F(ProjectCommandsTest, GenerateMakefileWritesTheMakefileAndCopiesTheRules)
{
    testsupport::writeBytes(location_ + "Makefile", std::string(5000, 'x'));
    ASSERT_TRUE(commands_.onGenerateMakefile());
    EXPECT_EQ(testsupport::readBytes(location_ + "Makefile"), commands_.generated().makefile.text());
    EXPECT_EQ(commands_.generated().makefile.text().compare(0, 19, "include Make.rules\r"), 0);
    EXPECT_EQ(host_.output, "Start Generating Makefile...\r\n" + location_ + "Makefile Successfully be Generated.");
    ASSERT_EQ(withPrefix(host_.log, "start").size(), 1u);

    host_.starts = false;
    EXPECT_FALSE(commands_.onGenerateMakefile());
    EXPECT_NE(host_.output.find("Make.rules could not be copied"), std::string::npos);
}

} // namespace
