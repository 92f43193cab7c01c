// kvgen: Generate Code and Generate Makefile from the command line. The
// generated sources, the Makefile and Make.rules are written to one folder.

#include "project/ProjectCommands.h"
#include "project/ProjectFiles.h"
#include "project/ProjectHost.h"
#include "net/FetchUri.h"
#include "tools/ProgramFolder.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "usage: kvgen [--schemas DIR] [--target unix|windows] [--out DIR] [--timeout S] NAME WSDL\n"
    "\n"
    "Reads the WSDL 1.1 document WSDL (a file name or an http, https or ftp\n"
    "address) and writes NAME_api.h, NAME_api.c, NAME_api_demo.c, Makefile and\n"
    "Make.rules, and the project's solution file NAME.zbq, into DIR (default: the\n"
    "current folder). Prints what the generator reports and exits with 0 after\n"
    "\"Successfully Generated!\"; the reader's messages, each with its document,\n"
    "line and column, go to the error output with exit status 1. Wrong arguments\n"
    "exit with 2.\n"
    "\n"
    "NAME           project name: letters, digits and '_', not starting with a digit\n"
    "--schemas DIR  folder of the built-in schemas (default: soap-schemas of the\n"
    "               installed run-time folder)\n"
    "--target T     unix (default) or windows: the platform the code is for\n"
    "--timeout S    the most seconds one download may take (default: 60; 0: no limit)\n";

// kvgen has no editor tabs: the project commands write the generated files
// themselves, and the output pane becomes kvgen's transcript.
class CommandLineHost : public CProjectHost {
public:
    explicit CommandLineHost(std::string appFolder) : appFolder_(std::move(appFolder)) {}

    int tabCount() const override { return 0; }
    std::string tabCaption(int) const override { return std::string(); }
    bool tabVisible(int) const override { return false; }
    void replaceTabText(int, const std::string&) override {}
    bool saveTab(int, const std::string&) override { return true; }
    void closeTab(int) override {}
    bool openDocument(const std::string&) override { return false; }
    // A pane text that grows what it replaces prints only what it adds.
    void setOutput(const std::string& text) override
    {
        const bool grows = !pane_.empty() && text.compare(0, pane_.size(), pane_) == 0;
        transcript_ += grows ? text.substr(pane_.size()) : text;
        pane_ = text;
    }
    void appendOutput(const std::string& text) override
    {
        transcript_ += text;
        pane_ += text;
    }
    void showError(const std::string& text, const std::string&) override
    {
        std::cerr << "kvgen: " << text << "\n";
        failed_ = true;
    }
    std::string askSolutionPath(const std::string&) override { return std::string(); }
    // Waits for the command: its result must be there when kvgen ends.
    bool startProcess(const std::string& commandLine) override { return std::system(commandLine.c_str()) == 0; }
    std::string applicationFolder() const override { return appFolder_; }

    bool failed() const { return failed_; }
    // The output pane's text in the order it was written, with plain line ends.
    std::string transcript() const
    {
        std::string text;
        for (char c : transcript_) {
            if (c != '\r')
                text += c;
        }
        return text.empty() || text.back() == '\n' ? text : text + "\n";
    }

private:
    std::string appFolder_;
    std::string pane_;
    std::string transcript_;
    bool failed_ = false;
};

struct Arguments {
    std::string schemas;
    std::string out = ".";
    int target = CProjectRecord::Unix;
    std::string name;
    std::string wsdl;
    int timeout = kDefaultFetchTimeoutSeconds;
};

// A whole number of seconds, 0 or more.
bool readSeconds(const std::string& text, int& seconds)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    seconds = std::stoi(text);
    return true;
}

bool readArguments(int argc, char** argv, Arguments& args)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--schemas" && hasValue) {
            args.schemas = argv[++i];
        } else if (argument == "--out" && hasValue) {
            args.out = argv[++i];
        } else if (argument == "--timeout" && hasValue) {
            if (!readSeconds(argv[++i], args.timeout))
                return false;
        } else if (argument == "--target" && hasValue) {
            const std::string target = argv[++i];
            if (target != "unix" && target != "windows")
                return false;
            args.target = target == "unix" ? CProjectRecord::Unix : CProjectRecord::Windows;
        } else if (!argument.empty() && argument[0] != '-') {
            positional.push_back(argument);
        } else {
            return false;
        }
    }
    if (positional.size() != 2 || !isValidProjectName(positional[0]))
        return false;
    args.name = positional[0];
    args.wsdl = positional[1];
    return true;
}

std::string asFolder(const std::string& folder)
{
    return folder.back() == '/' || folder.back() == '\\' ? folder : folder + "/";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << Usage;
        return 0;
    }
    Arguments args;
    if (!readArguments(argc, argv, args)) {
        std::cerr << Usage;
        return 2;
    }
    std::error_code failed;
    std::filesystem::create_directories(args.out, failed);
    setFetchTimeout(args.timeout);

    CommandLineHost host(runtimeFolder(argv[0]));
    CProjectCommands commands(host);
    auto project = std::make_unique<CProjectRecord>();
    project->name = args.name;
    project->wsdlPath = args.wsdl;
    project->targetPlatform = args.target;
    project->location = asFolder(args.out);
    commands.setProject(std::move(project));
    if (!args.schemas.empty())
        commands.setSchemaFolder(asFolder(args.schemas));

    const bool generated = commands.generateFiles() && commands.onGenerateMakefile();
    const bool ok = generated && !host.failed();
    (ok ? std::cout : std::cerr) << host.transcript();
    return ok ? 0 : 1;
}
