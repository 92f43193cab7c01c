// kvgen: Generate Code and Generate Makefile from the command line. The
// project folder it writes is complete: the generated sources, the
// Makefile with Make.rules, the solution file and the support library, so
// that make there builds the library and the demo.

#include "generator/emit/GeneratorRun.h"
#include "net/FetchCatalogs.h"
#include "net/FetchUri.h"
#include "net/XmlCatalog.h"
#include "project/ProjectCommands.h"
#include "project/ProjectFiles.h"
#include "project/ProjectLayout.h"
#include "tools/ProgramFolder.h"
#include "tools/kvgen/CommandLineHost.h"
#include "tools/kvgen/KvgenArguments.h"
#include "tools/kvgen/ProjectStaging.h"
#include "tools/kvgen/ServiceListing.h"

#include <filesystem>
#include <future>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

enum ExitStatus { Done = 0, Failed = 1, WrongArguments = 2 };

std::string asFolder(const std::string& folder)
{
    return folder.back() == '/' || folder.back() == '\\' ? folder : folder + "/";
}

std::unique_ptr<CProjectRecord> projectOf(const KvgenArguments& args, const std::string& location)
{
    auto project = std::make_unique<CProjectRecord>();
    project->name = args.name.empty() ? "listing" : args.name;
    project->wsdlPath = args.wsdl;
    project->targetPlatform = args.windowsTarget ? CProjectRecord::Windows : CProjectRecord::Unix;
    project->textLength = args.textLength;
    project->authType = args.authType;
    project->location = location;
    return project;
}

void setUp(CProjectCommands& commands, const KvgenArguments& args, const std::string& location)
{
    commands.setProject(projectOf(args, location));
    if (!args.schemas.empty())
        commands.setSchemaFolder(asFolder(args.schemas));
}

int list(const KvgenArguments& args, const std::string& appFolder)
{
    CommandLineHost host(appFolder, std::string(), std::string());
    CProjectCommands commands(host);
    setUp(commands, args, std::string());
    std::ostringstream listing;
    const bool read = commands.readService([&](const CServiceView& view) { listService(view, listing); });
    std::cerr << host.diagnostics();
    std::cout << listing.str();
    return read && !host.failed() ? Done : Failed;
}

// A generator run holds the service view and every name and layout the
// emitters worked out: hundreds of thousands of blocks for a large service.
// Once the files are committed nothing is done with it, and freeing it block
// by block costs more than all the rest of kvgen's exit, while the system
// takes the process's memory back whole. It holds no file and no unwritten
// output. Kept reachable here, it is no leak to a leak checker.
void leaveToProcessEnd(std::unique_ptr<CGeneratorRun> run)
{
    [[maybe_unused]] static CGeneratorRun* volatile left = nullptr;
    left = run.release();
}

// A folder as a shell takes it back.
std::string shellWord(const std::string& word)
{
    if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./+,:=@") == std::string::npos)
        return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The files the run wrote (and, when verbose, those it left as they were),
// then how to build the project.
void reportFiles(const std::vector<CProjectStaging::CommittedFile>& files, const KvgenArguments& args)
{
    for (const CProjectStaging::CommittedFile& file : files) {
        if (file.written)
            std::cout << "wrote " << file.path << "\n";
        else if (args.verbosity == KvgenArguments::Verbose)
            std::cout << "unchanged " << file.path << "\n";
    }
    std::string folder = std::filesystem::path(args.out).lexically_normal().generic_string();
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    // The command depends on the target alone, not on the system kvgen runs on: a project for
    // Windows is built by the mingw-w64 compiler under that name on Linux and in MSYS2 alike.
    std::string make = "make";
    if (args.windowsTarget)
        make += " CC=x86_64-w64-mingw32-gcc";
    const bool here = folder == "." || folder == "./";
    std::cout << "next: " << (here ? make : "cd " + shellWord(folder) + " && " + make) << "\n";
}

int generate(const KvgenArguments& args, const std::string& appFolder)
{
    const std::string projectFolder = asFolder(args.out);
    CProjectStaging staging(args.out);
    if (!staging.ready()) {
        std::cerr << "kvgen: " << staging.failure() << "\n";
        return Failed;
    }
    // The support library goes into the staging folder while the document is read and the files
    // generated: it needs nothing of theirs, and its dozens of files cost the run's end system calls
    // rather than work. Should generating fail, the staging folder goes with what was copied. Where
    // no thread can be started the copy is made when its outcome is asked for.
    std::future<CProjectLayout> libraries = std::async(std::launch::async | std::launch::deferred, copyProjectLibraries,
                                                       appFolder, staging.folder(), args.windowsTarget);
    CommandLineHost host(appFolder, staging.folder(), projectFolder);
    CProjectCommands commands(host);
    setUp(commands, args, staging.folder());
    const auto stage = [&](const std::string& path, const std::function<void(std::ostream&)>& write) {
        return staging.write(path, write);
    };
    // Nothing staged is put in place before every file was written.
    const bool generated =
        commands.generateFiles(stage, DocumentWrites::Together) && commands.generateMakefileFiles();
    std::cerr << host.diagnostics();
    for (const std::string& failure : staging.writeFailures())
        std::cerr << "kvgen: cannot write " << failure << "\n";
    if (!generated || host.failed())
        return Failed;
    const CProjectLayout layout = libraries.get();
    if (!layout.warning.empty())
        std::cerr << "kvgen: warning: " << layout.warning << "\n";
    if (!layout.copied) {
        std::cerr << "kvgen: " << layout.failure << "\n";
        return Failed;
    }
    // The user's edits are kept; the rest of the run is written all the same.
    if (!args.force) {
        for (const std::string& file : staging.keptFiles())
            std::cerr << "kvgen: " << file << "; not replaced (--force replaces it)\n";
    }
    if (!staging.commit(args.force ? CProjectStaging::ReplaceChanged : CProjectStaging::KeepChanged)) {
        std::cerr << "kvgen: " << staging.failure() << "\n";
        return Failed;
    }
    if (args.verbosity != KvgenArguments::Quiet) {
        std::cout << host.progress();
        reportFiles(staging.committedFiles(), args);
    }
    leaveToProcessEnd(commands.takeFinishedRun());
    return Done;
}

// The files are written by threads of their own. With a heap each, they
// would take fresh memory while the heap the reader freed stands idle: one
// heap for every thread keeps the peak of the largest services lower, and
// no slower that we could measure.
void shareOneHeap()
{
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 1);
#endif
}

// The catalogs of the run: the user's (--catalog), those of
// XML_CATALOG_FILES, then the one of the built-in schemas. A catalog the
// user named that cannot be read fails the run; one of the environment or
// the built-in one is a warning.
bool setUpCatalogs(const KvgenArguments& args, const std::string& appFolder)
{
    const std::string schemas = args.schemas.empty() ? appFolder + "soap-schemas/" : asFolder(args.schemas);
    std::vector<std::string> warnings;
    try {
        warnings = useStandardFetchCatalogs(args.catalogs, schemas);
    } catch (const XmlCatalog::LoadError& failure) {
        std::cerr << "kvgen: catalog " << failure.what() << "\n";
        return false;
    }
    for (const std::string& warning : warnings)
        std::cerr << "kvgen: warning: catalog " << warning << "\n";
    if (args.verbosity == KvgenArguments::Verbose)
        setCatalogAnnouncer([](const std::string& location, const std::string& mapped) {
            std::cerr << "catalog: " << location << " -> " << mapped << std::endl;
        });
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    shareOneHeap();
    KvgenArguments args;
    std::string error;
    if (!readKvgenArguments(argc, argv, args, error)) {
        std::cerr << "kvgen: " << error << "\n" << "Try kvgen --help.\n";
        return WrongArguments;
    }
    if (args.action == KvgenArguments::ShowHelp) {
        std::cout << KvgenUsage;
        return Done;
    }
    if (args.action == KvgenArguments::ShowVersion) {
        std::cout << "kvgen (Kelvane) " KELVANE_VERSION "\n";
        return Done;
    }
    setFetchTimeout(args.timeout);
    if (args.verbosity != KvgenArguments::Quiet)
        setFetchAnnouncer([](const std::string& location) { std::cerr << "fetching " << location << std::endl; });
    const std::string appFolder = runtimeFolder(argv[0]);
    if (!setUpCatalogs(args, appFolder))
        return Failed;
    return args.action == KvgenArguments::List ? list(args, appFolder) : generate(args, appFolder);
}
