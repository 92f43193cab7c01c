// Compile, Compile Demo and Generate Makefile: each starts one command line
// and says in the output pane whether it started.

#include "project/ProjectCommands.h"

#include "project/BuildCommandLines.h"
#include "generator/emit/MakefileText.h"
#include "project/ProjectFiles.h"
#include "project/ProjectHost.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

const char* const Compiled = "Successfully Compiled";
const char* const NotStarted = "Compiling failed: the compiler could not be started";
const char* const MakefileStart = "Start Generating Makefile...\r\n";

#ifdef _WIN32
const bool WindowsHost = true;
#else
const bool WindowsHost = false;
#endif

}  // namespace

bool CProjectCommands::compilerLocated()
{
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

bool CProjectCommands::onCompile()
{
    if (!project_ || !compilerLocated() || !onFileSave())
        return false;
    for (const std::string& product : libraryProducts(*project_))
        std::remove(product.c_str());
    return start(libraryCompileLine(*project_, compilerPath_), Compiled, NotStarted);
}

bool CProjectCommands::onCompileDemo()
{
    if (!project_ || !compilerLocated())
        return false;
    std::remove(demoProduct(*project_).c_str());
    if (!onFileSave())
        return false;
    return start(demoCompileLine(*project_, compilerPath_), Compiled, NotStarted);
}

bool CProjectCommands::writeMakefileFile(std::string& path)
{
    host_.setOutput(MakefileStart);
    files_.makefile.clear();
    writeMakefile(*project_, files_.makefile);
    path = joinProjectPath(project_->location, "Makefile");
    if (writeDocumentFile(path, files_.makefile.text()))
        return true;
    host_.showError("The file " + path + " could not be written.", "ERROR!");
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
