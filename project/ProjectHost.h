#ifndef KELVANE_PROJECT_PROJECTHOST_H
#define KELVANE_PROJECT_PROJECTHOST_H

#include "project/BuildJob.h"

#include <string>

// The user's answer when a file a tab shows was changed on disk by someone
// else since the tab loaded or saved it.
enum class ChangedFileAnswer { Reload, KeepMine, Cancel };

// What the project commands need from the window that runs them: its editor
// tabs, its output pane, message boxes, the open dialog, detached processes
// and the folder the program is installed in. The main frame supplies it;
// the command-line generator and the tests supply their own.
class CProjectHost {
public:
    virtual ~CProjectHost() = default;

    // Editor tabs, in the tab row's order.
    virtual int tabCount() const = 0;
    virtual std::string tabCaption(int index) const = 0;
    virtual bool tabVisible(int index) const = 0;
    // The whole text of the tab's editor becomes text; the document is
    // marked modified and nothing is saved.
    virtual void replaceTabText(int index, const std::string& text) = 0;
    // Writes the tab's document to path; false when it could not be written.
    // The frame has the editor write its text as it holds it; kvgen writes
    // its files through writeDocumentFile (ProjectFiles.h).
    virtual bool saveTab(int index, const std::string& path) = 0;
    // Whether the tab's text was edited since it was loaded or saved.
    virtual bool tabModified(int index) const = 0;
    // The bytes saveTab would write for the tab.
    virtual std::string tabFileText(int index) const = 0;
    // Whether the file at path was changed since the tab loaded or saved it.
    virtual bool tabFileChangedOnDisk(int index, const std::string& path) const = 0;
    // The tab's text already stands in the file at path: the tab counts as
    // saved without a write.
    virtual void markTabSaved(int index, const std::string& path) = 0;
    // The tab's document loads the file at path again; false when it could
    // not be read.
    virtual bool reloadTab(int index, const std::string& path) = 0;
    // Asks what to do about the file at path, changed on disk since its tab
    // loaded it.
    virtual ChangedFileAnswer askChangedFile(const std::string& path) = 0;
    // Saves nothing: closes the tab's document, which removes its tab.
    virtual void closeTab(int index) = 0;
    // Opens the file at path as a new visible document in a tab of its own;
    // false when it could not be opened.
    virtual bool openDocument(const std::string& path) = 0;
    // The tab row is redrawn after a command changed tabs.
    virtual void refreshTabs() {}
    virtual void addRecentFile(const std::string&) {}

    // The output pane.
    virtual void setOutput(const std::string& text) = 0;
    virtual void appendOutput(const std::string& text) = 0;

    virtual void showError(const std::string& text, const std::string& caption) = 0;
    // The file-open dialog for solution files; empty when cancelled. folder
    // is where it starts, empty for the dialog's own default.
    virtual std::string askSolutionPath(const std::string& folder) = 0;
    // Starts commandLine without waiting for it; false when it did not start.
    virtual bool startProcess(const std::string& commandLine) = 0;
    // Starts the job's programs and returns at once: their output goes to
    // appendOutput as it comes, and job.finished runs once they ended. False,
    // with nothing started, while another job runs.
    virtual bool runBuild(CBuildJob job) = 0;
    // The program's folder, ending in a path separator.
    virtual std::string applicationFolder() const = 0;
};

#endif
