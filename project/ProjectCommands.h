#ifndef KELVANE_PROJECT_PROJECTCOMMANDS_H
#define KELVANE_PROJECT_PROJECTCOMMANDS_H

#include "generator/emit/TextBuffer.h"
#include "generator/model/ProjectRecord.h"
#include "project/BuildJob.h"
#include "project/ProjectFiles.h"

#include <functional>
#include <memory>
#include <string>

class CGeneratorRun;
class CServiceView;
class CProjectHost;

// The project's commands as the main frame runs them: Save, Close, Open,
// Generate Code, Compile, Compile Demo and Generate Makefile. They hold the
// one open project and the generated text, and reach the window only
// through the host. Every command does nothing while no project is open.
class CProjectCommands {
public:
    explicit CProjectCommands(CProjectHost& host);
    CProjectCommands(const CProjectCommands&) = delete;
    CProjectCommands& operator=(const CProjectCommands&) = delete;
    ~CProjectCommands();

    const CProjectRecord* project() const { return project_.get(); }
    // A project made by New Project becomes the open one.
    void setProject(std::unique_ptr<CProjectRecord> project) { project_ = std::move(project); }
    // Which compiler Compile and Compile Demo run.
    enum class Compiler { VisualCpp, MingwGcc };
    void setCompiler(Compiler compiler) { compiler_ = compiler; }
    // The full path of vcvars32.bat; empty while the compiler is not located.
    void setCompilerPath(const std::string& path) { compilerPath_ = path; }
    // The full path of the mingw-w64 gcc.
    void setGccPath(const std::string& path) { gccPath_ = path; }
    // The built-in schemas' folder; empty: soap-schemas in the program's folder.
    void setSchemaFolder(const std::string& folder) { schemaFolder_ = folder; }
    // The built-in schemas' folder in use, ending in a separator.
    std::string schemaFolder() const;
    const CGeneratedFiles& generated() const { return files_; }

    // The solution file and every visible tab whose text differs from its
    // file to disk. False when the solution file could not be written (the
    // user has been told) or the user cancelled over a file changed on disk.
    bool onFileSave();
    // Saves and closes every tab, writes the solution file, drops the
    // project (kept when the solution file could not be written). False,
    // with the project and the tabs not yet closed still open, only when the
    // user cancelled over a file changed on disk.
    bool onFileClose();
    // Asks for a solution file (starting in the example folder when asked)
    // and opens it.
    void onFileOpen(bool fromExampleFolder);
    // Closes the open project, then opens the one at path with its four
    // documents. On failure no project is open and no tab of it stays.
    void openSolution(const std::string& path);

    // Parses the WSDL document and puts the three generated sources into the
    // tabs that show them. True after "Successfully Generated!".
    bool onGenerateCode();
    // Generate Code without tabs, for the command line: writes the solution
    // file, then the three generated sources into the project folder, each
    // file once and straight to disk (through writeFile when given, as
    // writes says). When a file could not be written, the first in order
    // is named. True after "Successfully Generated!".
    bool generateFiles();
    bool generateFiles(const DocumentWriter& writeFile, DocumentWrites writes = DocumentWrites::OneByOne);
    // The run of the last generateFiles that succeeded (the service view and
    // all the emitters worked out from it), kept until taken or until the
    // commands go; null when there is none.
    std::unique_ptr<CGeneratorRun> takeFinishedRun();

    // Compile and Compile Demo save, then start the compiler and return at
    // once; the output pane shows the command, the compiler's output and
    // last "Successfully Compiled" or why the build failed. False when
    // nothing was started.
    bool onCompile();
    bool onCompileDemo();
    // Runs the demo with its output in the output pane and its exit code
    // last. False when there is no demo or it could not be started.
    bool onRunDemo();
    // Writes the Makefile into the project folder and copies Make.rules
    // beside it. True when both happened.
    bool onGenerateMakefile();
    // Generate Makefile for the command line: the Makefile is written and
    // Make.rules copied beside it by this process, with no command started.
    bool generateMakefileFiles();
    // Reads the WSDL document and hands the view of the parsed service to
    // use; the reader's messages and failures go to the output pane. False
    // when the document was rejected.
    bool readService(const std::function<void(const CServiceView&)>& use);

    // Writes the solution file; false when it could not be (the user has
    // been told).
    bool writeSolution();

private:
    bool writeMakefileFile(std::string& path);
    // Reads the document and hands the run to write, with the reader's
    // messages and failures in the output pane. False when the document was
    // rejected, anything failed or write returned false. The run ends with
    // the call unless kept is given, which takes it after a true write.
    // True when the run's service has an operation to generate; otherwise
    // the output pane says why nothing is generated.
    bool hasBoundOperation(const CGeneratorRun& run);
    bool runGenerator(const std::function<bool(const CGeneratorRun&)>& write,
                      std::unique_ptr<CGeneratorRun>* kept = nullptr);
    std::string tabPath(const std::string& fileName) const;
    // False when the user cancelled.
    bool saveTabAt(int index);
    void closeTabsFrom(int first);
    bool openDocuments(const CProjectRecord& record);
    bool compilerLocated();
    bool start(const std::string& commandLine, const char* success, const char* failure);
    // Starts a compile whose product is the file at product.
    bool startCompile(CBuildJob job, const std::string& product);

    CProjectHost& host_;
    std::unique_ptr<CProjectRecord> project_;
    Compiler compiler_ = Compiler::VisualCpp;
    std::string compilerPath_;
    std::string gccPath_;
    std::string schemaFolder_;
    CGeneratedFiles files_;
    std::unique_ptr<CGeneratorRun> finishedRun_;
};

// A tab's file name: its caption without the two-character ending that
// holds "*" while the document is modified.
std::string tabFileName(const std::string& caption);

#endif
