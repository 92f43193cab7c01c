// Generate Code: the reader and the emitters run on the project's WSDL
// document, and the tabs showing the generated files get the new text.

#include "project/ProjectCommands.h"

#include "project/ProjectFiles.h"
#include "project/ProjectHost.h"
#include "project/SolutionFile.h"
#include "generator/emit/SourceFile.h"
#include "schema/SchemaParserException.h"
#include "wsdl/WsdlException.h"
#include "xml/XmlPullParserException.h"

#include <exception>
#include <sstream>

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

std::string failureLine(const std::string& description, int line, int column)
{
    return description + " at " + std::to_string(line) + "," + std::to_string(column) + "\r\n";
}

}  // namespace

std::string CProjectCommands::schemaFolder() const
{
    if (!schemaFolder_.empty())
        return schemaFolder_;
    return joinProjectPath(host_.applicationFolder(), "soap-schemas") + kPathSeparator;
}

bool CProjectCommands::onGenerateCode()
{
    if (!project_ || !onFileSave())
        return false;
    host_.setOutput("Start Generating...\r\n");
    MessageFeed messages(host_);
    try {
        const bool generated = generateSources(*project_, schemaFolder(), messages.stream(), files_);
        messages.flush();
        if (!generated)
            return false;
    } catch (const Wsdl::WsdlException& failure) {
        messages.flush();
        host_.appendOutput(failureLine(failure.description, failure.line, failure.column));
        return false;
    } catch (const Schema::SchemaParserException& failure) {
        messages.flush();
        host_.appendOutput(failureLine(failure.getDescription(), failure.getLine(), failure.getColumn()));
        return false;
    } catch (const XmlPullParserException& failure) {
        messages.flush();
        host_.appendOutput(failureLine(failure.description, failure.line, failure.column));
        return false;
    } catch (const std::exception& failure) {
        messages.flush();
        host_.appendOutput(std::string("Generating failed: ") + failure.what() + "\r\n");
        return false;
    } catch (...) {
        messages.flush();
        host_.appendOutput("Generating failed.\r\n");
        return false;
    }
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
    host_.appendOutput("Successfully Generated!\r\n");
    host_.refreshTabs();
    return true;
}
