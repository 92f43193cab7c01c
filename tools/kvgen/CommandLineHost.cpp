#include "tools/kvgen/CommandLineHost.h"

namespace {

// The lines the commands write to say how far they got.
bool isProgressLine(const std::string& line)
{
    static const std::string done = " Successfully be Generated.";
    return line == "Start Generating..." || line == "Successfully Generated!" || line == "Start Generating Makefile..."
        || (line.size() > done.size() && line.compare(line.size() - done.size(), done.size(), done) == 0);
}

void replaceAll(std::string& text, const std::string& what, const std::string& with)
{
    if (what.empty())
        return;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

}  // namespace

CommandLineHost::CommandLineHost(std::string appFolder, std::string writeFolder, std::string projectFolder)
    : appFolder_(std::move(appFolder)), writeFolder_(std::move(writeFolder)), projectFolder_(std::move(projectFolder))
{
}

// A pane text that grows what it replaces adds only what is new.
void CommandLineHost::setOutput(const std::string& text)
{
    const bool grows = !pane_.empty() && text.compare(0, pane_.size(), pane_) == 0;
    add(grows ? text.substr(pane_.size()) : text);
    pane_ = text;
}

void CommandLineHost::appendOutput(const std::string& text)
{
    add(text);
    pane_ += text;
}

void CommandLineHost::showError(const std::string& text, const std::string&)
{
    add(text + "\n");
    failed_ = true;
}

// Whole lines are sorted as they complete; a line the pane has not ended
// yet waits for its end.
void CommandLineHost::add(const std::string& text)
{
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c != '\n') {
            pending_ += c;
            continue;
        }
        std::string line = pending_;
        pending_.clear();
        replaceAll(line, writeFolder_, projectFolder_);
        (isProgressLine(line) ? progress_ : diagnostics_) += line + "\n";
    }
    if (!pending_.empty() && isProgressLine(pending_)) {
        replaceAll(pending_, writeFolder_, projectFolder_);
        progress_ += pending_ + "\n";
        pending_.clear();
    }
}
