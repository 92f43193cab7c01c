// Generate Code: the reader and the emitters run on the project's WSDL
// document. The frame's command puts the new text into the tabs that show
// the generated files; the command line writes the files themselves.

#include "project/ProjectCommands.h"

#include "generator/emit/GeneratorRun.h"
#include "generator/emit/RunSteps.h"
#include "generator/model/OperationWalk.h"
#include "project/ProjectFiles.h"
#include "project/ProjectHost.h"
#include "project/SolutionFile.h"
#include "schema/SchemaParserException.h"
#include "wsdl/WsdlException.h"
#include "xml/SourceSpot.h"
#include "xml/XmlPullParserException.h"

#include <exception>
#include <sstream>
#include <vector>

namespace {

// The reader's messages reach the output pane once each, however far the
// command got before it ended.
class MessageFeed {
public:
    explicit MessageFeed(CProjectHost& host) : host_(host) {}
    std::ostream& stream() { return stream_; }
    void flush()
    {
        const std::string text = stream_.str();
        if (text.size() > shown_)
            host_.appendOutput(text.substr(shown_));
        shown_ = text.size();
    }

private:
    CProjectHost& host_;
    std::ostringstream stream_;
    std::size_t shown_ = 0;
};

// A failure the reader could not report itself (its document could not be
// read at all, say), in the form of its other messages.
std::string failureLine(const std::string& document, const std::string& description, int line, int column)
{
    return locatedMessage(SourceSpot{document, line, column}, Wsdl::reportText(description)) + "\r\n";
}

const char* const Generated = "Successfully Generated!\r\n";

}  // namespace

std::string CProjectCommands::schemaFolder() const
{
    if (!schemaFolder_.empty())
        return schemaFolder_;
    return joinProjectPath(host_.applicationFolder(), "soap-schemas") + kPathSeparator;
}

bool CProjectCommands::runGenerator(const std::function<bool(const CGeneratorRun&)>& write,
                                    std::unique_ptr<CGeneratorRun>* kept)
{
    host_.setOutput("Start Generating...\r\n");
    MessageFeed messages(host_);
    try {
        auto run = std::make_unique<CGeneratorRun>(*project_, schemaFolder(), messages.stream());
        const bool read = run->read();
        messages.flush();
        if (!read || !write(*run))
            return false;
        if (kept != nullptr)
            *kept = std::move(run);
        return true;
    } catch (const Wsdl::WsdlException& failure) {
        messages.flush();
        host_.appendOutput(failureLine(project_->wsdlPath, failure.description, failure.line, failure.column));
    } catch (const Schema::SchemaParserException& failure) {
        messages.flush();
        const std::string& document = failure.getDocument().empty() ? project_->wsdlPath : failure.getDocument();
        host_.appendOutput(failureLine(document, failure.getDescription(), failure.getLine(), failure.getColumn()));
    } catch (const XmlPullParserException& failure) {
        messages.flush();
        host_.appendOutput(failureLine(project_->wsdlPath, failure.description, failure.line, failure.column));
    } catch (const std::exception& failure) {
        messages.flush();
        host_.appendOutput(std::string("Generating failed: ") + failure.what() + "\r\n");
    } catch (...) {
        messages.flush();
        host_.appendOutput("Generating failed.\r\n");
    }
    return false;
}

bool CProjectCommands::hasBoundOperation(const CGeneratorRun& run)
{
    bool bound = false;
    forEachBoundOperation(run.view(), [&](const CViewPortType&, const CViewOperation&) { bound = true; });
    if (!bound)
        host_.appendOutput(project_->wsdlPath + ": no operation to generate: no operation of the document is bound by a "
                           "SOAP 1.1 or SOAP 1.2 binding\r\n");
    return bound;
}

bool CProjectCommands::onGenerateCode()
{
    if (!project_ || !onFileSave())
        return false;
    CGeneratedFiles next;
    const bool generated = runGenerator([&](const CGeneratorRun& run) {
        if (!hasBoundOperation(run))
            return false;
        run.writeHeader(next.header);
        run.writeSource(next.source);
        run.writeDemo(next.demo);
        return true;
    });
    if (!generated)
        return false;
    files_.header = std::move(next.header);
    files_.source = std::move(next.source);
    files_.demo = std::move(next.demo);
    const int count = host_.tabCount();
    if (!writeSolution())
        return false;
    const std::string& name = project_->name;
    for (int i = 0; i < count; ++i) {
        const std::string file = tabFileName(host_.tabCaption(i));
        if (file == name + "_api.h")
            host_.replaceTabText(i, files_.header.text());
        else if (file == name + "_api.c")
            host_.replaceTabText(i, files_.source.text());
        else if (file == name + "_api_demo.c")
            host_.replaceTabText(i, files_.demo.text());
    }
    host_.appendOutput(Generated);
    host_.refreshTabs();
    return true;
}

bool CProjectCommands::generateFiles()
{
    return generateFiles([](const std::string& path, const std::function<void(std::ostream&)>& write) {
        return writeDocumentFile(path, write);
    });
}

bool CProjectCommands::generateFiles(const DocumentWriter& writeFile, DocumentWrites writes)
{
    if (!project_ || !writeSolution())
        return false;
    using Emitter = void (CGeneratorRun::*)(CTextBuffer&) const;
    const std::pair<const char*, Emitter> files[] = {{"_api.h", &CGeneratorRun::writeHeader},
                                                     {"_api.c", &CGeneratorRun::writeSource},
                                                     {"_api_demo.c", &CGeneratorRun::writeDemo},
                                                     {"_server.c", &CGeneratorRun::writeServer}};
    const bool generated = runGenerator([&](const CGeneratorRun& run) {
        if (!hasBoundOperation(run))
            return false;
        std::vector<std::string> paths;
        std::vector<CRunStep> steps;
        for (const auto& file : files) {
            paths.push_back(joinProjectPath(project_->location, project_->name + file.first));
            // Each file goes to disk as it is written, never whole in memory.
            steps.push_back([&writeFile, &run, path = paths.back(), emitter = file.second] {
                return writeFile(path, [&](std::ostream& stream) {
                    CTextBuffer text(stream);
                    (run.*emitter)(text);
                });
            });
        }
        const std::size_t failed = writes == DocumentWrites::Together ? runTogether(steps) : runInOrder(steps);
        if (failed < paths.size()) {
            host_.showError("The file " + paths[failed] + " could not be written.", "ERROR!");
            return false;
        }
        return true;
    }, &finishedRun_);
    if (generated)
        host_.appendOutput(Generated);
    return generated;
}

std::unique_ptr<CGeneratorRun> CProjectCommands::takeFinishedRun()
{
    return std::move(finishedRun_);
}

bool CProjectCommands::readService(const std::function<void(const CServiceView&)>& use)
{
    if (!project_)
        return false;
    return runGenerator([&](const CGeneratorRun& run) {
        use(run.view());
        return true;
    });
}
