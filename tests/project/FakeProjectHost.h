#pragma once

// A host for the project commands that keeps its tabs in a list and writes
// every call it gets into a log, one line each.

#include "project/ProjectHost.h"

#include <functional>
#include <string>
#include <vector>

namespace gentest {

class FakeProjectHost : public CProjectHost {
public:
    struct Tab {
        std::string caption;
        bool visible = true;
        std::string text;
        bool changedOnDisk = false; // the file changed since the tab loaded it
        bool modified = true;
    };

    int tabCount() const override { return static_cast<int>(tabs.size()); }
    std::string tabCaption(int index) const override { return tabs.at(index).caption; }
    bool tabVisible(int index) const override { return tabs.at(index).visible; }
    void replaceTabText(int index, const std::string& text) override
    {
        tabs.at(index).text = text;
        log.push_back("replace " + tabs.at(index).caption);
    }
    bool saveTab(int index, const std::string& path) override
    {
        log.push_back("save " + tabs.at(index).caption + " to " + path);
        return true;
    }
    bool tabModified(int index) const override { return tabs.at(index).modified; }
    std::string tabFileText(int index) const override { return tabs.at(index).text; }
    bool tabFileChangedOnDisk(int index, const std::string&) const override { return tabs.at(index).changedOnDisk; }
    void markTabSaved(int index, const std::string& path) override
    {
        log.push_back("unchanged " + tabs.at(index).caption + " in " + path);
    }
    bool reloadTab(int index, const std::string& path) override
    {
        log.push_back("reload " + tabs.at(index).caption + " from " + path);
        tabs.at(index).changedOnDisk = false;
        tabs.at(index).modified = false;
        return true;
    }
    ChangedFileAnswer askChangedFile(const std::string& path) override
    {
        log.push_back("ask changed " + path);
        return changedFileAnswer;
    }
    void closeTab(int index) override
    {
        log.push_back("close " + tabs.at(index).caption);
        tabs.erase(tabs.begin() + index);
    }
    bool openDocument(const std::string& path) override
    {
        log.push_back("open " + path);
        if (path.find(failOpening) != std::string::npos && !failOpening.empty())
            return false;
        tabs.push_back({path.substr(path.find_last_of("/\\") + 1), true, std::string()});
        return true;
    }
    void refreshTabs() override { log.push_back("refresh"); }
    void addRecentFile(const std::string& path) override { log.push_back("recent " + path); }
    void setOutput(const std::string& text) override
    {
        output = text;
        log.push_back("output " + text);
    }
    void appendOutput(const std::string& text) override
    {
        output += text;
        log.push_back("append " + text);
    }
    void showError(const std::string& text, const std::string& caption) override
    {
        log.push_back("error " + caption + " " + text);
    }
    std::string askSolutionPath(const std::string& folder) override
    {
        log.push_back("ask " + folder);
        return answer;
    }
    bool startProcess(const std::string& commandLine) override
    {
        log.push_back("start " + commandLine);
        return starts;
    }
    // A job ends at once with buildOutcome (its program the job's last, unless set), after
    // building, when set, made what the programs would have made.
    bool runBuild(CBuildJob job) override
    {
        log.push_back("build in " + job.folder + (job.shellLine.empty() ? "" : ": " + job.shellLine));
        jobs.push_back(job);
        if (!buildsRun)
            return false;
        if (building)
            building(job);
        CBuildOutcome outcome = buildOutcome;
        if (outcome.program.empty() && !job.steps.empty())
            outcome.program = job.steps.back().arguments.front();
        job.finished(outcome);
        return true;
    }
    std::string applicationFolder() const override { return appFolder; }

    std::vector<Tab> tabs;
    std::vector<std::string> log;
    std::string output;
    std::string answer;      // what the open dialog returns
    std::string failOpening; // a path containing it does not open
    bool starts = true;
    ChangedFileAnswer changedFileAnswer = ChangedFileAnswer::Cancel;
    std::string appFolder = KELVANE_SOURCE_DIR "/runtime/";
    std::vector<CBuildJob> jobs;
    bool buildsRun = true;
    CBuildOutcome buildOutcome{true, "", "", 0};
    std::function<void(const CBuildJob&)> building;
};

} // namespace gentest
