#pragma once

// A host for the project commands that keeps its tabs in a list and writes
// every call it gets into a log, one line each.

#include "project/ProjectHost.h"

#include <string>
#include <vector>

namespace gentest {

class FakeProjectHost : public CProjectHost {
public:
    struct Tab {
        std::string caption;
        bool visible = true;
        std::string text;
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
    std::string applicationFolder() const override { return appFolder; }

    std::vector<Tab> tabs;
    std::vector<std::string> log;
    std::string output;
    std::string answer;      // what the open dialog returns
    std::string failOpening; // a path containing it does not open
    bool starts = true;
    std::string appFolder = KELVANE_SOURCE_DIR "/runtime/";
};

} // namespace gentest
