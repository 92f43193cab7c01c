// Compile, Compile Demo, Run Demo and Generate Makefile. The compilers and
// the demo run through the host, which shows their output as it comes; the
// output pane ends with what became of the run.

#include "project/ProjectCommands.h"

#include "project/BuildCommandLines.h"
#include "generator/emit/CMakeListsText.h"
#include "generator/emit/MakefileText.h"
#include "generator/emit/TextBuffer.h"
#include "project/CommandQuoting.h"
#include "project/ProjectFiles.h"
#include "project/ProjectHost.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

const char* const Compiled = "Successfully Compiled";
const char* const NotStarted = "Compiling failed: the compiler could not be started";
const char* const MakefileStart = "Start Generating Makefile...\r\n";

// CMake's build file beside the Makefile: the same build for CMake users.
bool writeCMakeListsFile(const CProjectRecord& project, const std::string& path)
{
    CTextBuffer text;
    writeCMakeLists(project, text);
    return writeDocumentFile(path, text.text());
}

#ifdef _WIN32
const bool WindowsHost = true;
#else
const bool WindowsHost = false;
#endif

bool isFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string fileNameOf(const std::string& path)
{
    return path.substr(folderOfPath(path).size());
}

// The lines the output pane shows before the programs' own output.
std::string commandText(const CBuildJob& job)
{
    if (!job.shellLine.empty())
        return "> " + job.shellLine + "\r\n";
    std::string text;
    for (const CBuildStep& step : job.steps)
        text += "> " + windowsCommandLine(step.arguments) + "\r\n";
    return text;
}

// The last line of a compile: success only when the compiler said so and
// left its product.
std::string compileVerdict(const CBuildOutcome& outcome, const std::string& product)
{
    if (!outcome.started)
        return std::string("Compiling failed: ") + outcome.failure;
    const std::string compiler = outcome.program.empty() ? "the compiler" : fileNameOf(outcome.program);
    if (outcome.exitCode != 0)
        return "Compiling failed: " + compiler + " exited with code " + std::to_string(outcome.exitCode);
    if (!isFile(product))
        return "Compiling failed: " + compiler + " exited with code 0 but " + product + " was not made";
    return Compiled;
}

}  // namespace

bool CProjectCommands::compilerLocated()
{
    if (compiler_ == Compiler::MingwGcc) {
        if (isFile(gccPath_))
            return true;
        host_.setOutput(gccPath_.empty() ? std::string("Compiling failed: no mingw-w64 gcc is set in Options.")
                                         : "Compiling failed: the compiler " + gccPath_ + " was not found.");
        return false;
    }
    if (!compilerPath_.empty())
        return true;
    host_.showError("vc++ file vcvars32.bat must be located before compile! ", "ERROR!");
    return false;
}

bool CProjectCommands::start(const std::string& commandLine, const char* success, const char* failure)
{
    const bool started = host_.startProcess(commandLine);
    host_.setOutput(started ? success : failure);
    return started;
}

bool CProjectCommands::startCompile(CBuildJob job, const std::string& product)
{
    job.folder = project_->location;
    host_.setOutput("Compiling " + product + "\r\n" + commandText(job));
    job.finished = [this, product](const CBuildOutcome& outcome) { host_.appendOutput(compileVerdict(outcome, product)); };
    if (host_.runBuild(std::move(job)))
        return true;
    host_.appendOutput(NotStarted + std::string(": a build is still running"));
    return false;
}

bool CProjectCommands::onCompile()
{
    if (!project_ || !compilerLocated() || !onFileSave())
        return false;
    const std::vector<std::string> products = libraryProducts(*project_);
    for (const std::string& product : products)
        std::remove(product.c_str());
    CBuildJob job;
    if (compiler_ == Compiler::MingwGcc)
        job.steps = gccLibrarySteps(*project_, gccPath_);
    else
        job.shellLine = libraryCompileLine(*project_, compilerPath_);
    return startCompile(std::move(job), products.front());
}

bool CProjectCommands::onCompileDemo()
{
    if (!project_ || !compilerLocated())
        return false;
    std::remove(demoProduct(*project_).c_str());
    if (!onFileSave())
        return false;
    CBuildJob job;
    if (compiler_ == Compiler::MingwGcc)
        job.steps = gccDemoSteps(*project_, gccPath_);
    else
        job.shellLine = demoCompileLine(*project_, compilerPath_);
    return startCompile(std::move(job), demoProduct(*project_));
}

bool CProjectCommands::onRunDemo()
{
    if (!project_)
        return false;
    const std::string demo = demoProduct(*project_);
    if (!isFile(demo)) {
        host_.setOutput("There is no demo to run: " + demo + " does not exist. Compile Demo builds it.");
        return false;
    }
    CBuildJob job;
    job.folder = project_->location;
    // Its server thread takes any free port, so that a busy one cannot fail the run.
    job.steps = {CBuildStep{{demo, "0"}}};
    host_.setOutput("Running " + demo + "\r\n");
    job.finished = [this](const CBuildOutcome& outcome) {
        host_.appendOutput(outcome.started ? fileNameOf(outcome.program) + " exited with code " + std::to_string(outcome.exitCode)
                                           : "Running failed: " + outcome.failure);
    };
    if (host_.runBuild(std::move(job)))
        return true;
    host_.appendOutput("Running failed: a build is still running");
    return false;
}

bool CProjectCommands::writeMakefileFile(std::string& path)
{
    host_.setOutput(MakefileStart);
    files_.makefile.clear();
    writeMakefile(*project_, files_.makefile);
    path = joinProjectPath(project_->location, "Makefile");
    const std::string cmake = joinProjectPath(project_->location, "CMakeLists.txt");
    if (!writeDocumentFile(path, files_.makefile.text())) {
        host_.showError("The file " + path + " could not be written.", "ERROR!");
        return false;
    }
    if (writeCMakeListsFile(*project_, cmake))
        return true;
    host_.showError("The file " + cmake + " could not be written.", "ERROR!");
    return false;
}

bool CProjectCommands::onGenerateMakefile()
{
    std::string path;
    if (!project_ || !writeMakefileFile(path))
        return false;
    const std::string done = MakefileStart + path + " Successfully be Generated.";
    const std::string copy = makeRulesCopyLine(host_.applicationFolder(), project_->location, WindowsHost);
    return start(copy, done.c_str(), (done + "\r\nMake.rules could not be copied beside it.").c_str());
}

bool CProjectCommands::generateMakefileFiles()
{
    std::string path;
    if (!project_ || !writeMakefileFile(path))
        return false;
    const std::string rules = joinProjectPath(joinProjectPath(host_.applicationFolder(), "make"), "Make.rules");
    std::error_code failed;
    std::filesystem::copy_file(rules, joinProjectPath(project_->location, "Make.rules"),
                               std::filesystem::copy_options::overwrite_existing, failed);
    if (failed) {
        host_.showError("Make.rules could not be copied from " + rules + ": " + failed.message(), "ERROR!");
        return false;
    }
    host_.setOutput(MakefileStart + path + " Successfully be Generated.");
    return true;
}
