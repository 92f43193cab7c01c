#ifndef KELVANE_TOOLS_KVGEN_COMMANDLINEHOST_H
#define KELVANE_TOOLS_KVGEN_COMMANDLINEHOST_H

#include "project/ProjectHost.h"

#include <string>

// kvgen has no editor tabs: the project commands write the generated files
// themselves, and the output pane becomes kvgen's transcript. The commands
// write into a temporary folder; the transcript names the folder the files
// end up in.
class CommandLineHost : public CProjectHost {
public:
    CommandLineHost(std::string appFolder, std::string writeFolder, std::string projectFolder);

    int tabCount() const override { return 0; }
    std::string tabCaption(int) const override { return std::string(); }
    bool tabVisible(int) const override { return false; }
    void replaceTabText(int, const std::string&) override {}
    bool saveTab(int, const std::string&) override { return true; }
    bool tabModified(int) const override { return false; }
    std::string tabFileText(int) const override { return std::string(); }
    bool tabFileChangedOnDisk(int, const std::string&) const override { return false; }
    void markTabSaved(int, const std::string&) override {}
    bool reloadTab(int, const std::string&) override { return false; }
    ChangedFileAnswer askChangedFile(const std::string&) override { return ChangedFileAnswer::Cancel; }
    void closeTab(int) override {}
    bool openDocument(const std::string&) override { return false; }
    void setOutput(const std::string& text) override;
    void appendOutput(const std::string& text) override;
    void showError(const std::string& text, const std::string& caption) override;
    std::string askSolutionPath(const std::string&) override { return std::string(); }
    // kvgen starts no command: it copies what it needs itself.
    bool startProcess(const std::string&) override { return false; }
    bool runBuild(CBuildJob) override { return false; }
    std::string applicationFolder() const override { return appFolder_; }

    bool failed() const { return failed_; }
    // The transcript in the order it was written, with plain line ends: the
    // commands' progress lines and, apart, everything else (the reader's
    // messages and the errors).
    std::string progress() const { return progress_; }
    std::string diagnostics() const { return pending_.empty() ? diagnostics_ : diagnostics_ + pending_ + "\n"; }

private:
    void add(const std::string& text);

    std::string appFolder_;
    std::string writeFolder_;
    std::string projectFolder_;
    std::string pane_;
    std::string pending_;
    std::string progress_;
    std::string diagnostics_;
    bool failed_ = false;
};

#endif
