// Open: a solution file and the four documents of its project, each in a
// tab of its own, with the WSDL document made writable for the editor.

#include "project/ProjectCommands.h"

#include "project/ProjectFiles.h"
#include "project/ProjectHost.h"
#include "project/SolutionFile.h"
#include "project/WritableFile.h"

void CProjectCommands::onFileOpen(bool fromExampleFolder)
{
    const std::string folder = fromExampleFolder ? joinProjectPath(host_.applicationFolder(), "example") : std::string();
    const std::string path = host_.askSolutionPath(folder);
    if (!path.empty())
        openSolution(path);
}

void CProjectCommands::closeTabsFrom(int first)
{
    const int count = host_.tabCount();
    for (int round = first; round < count && host_.tabCount() > first; ++round)
        host_.closeTab(first);
}

bool CProjectCommands::openDocuments(const CProjectRecord& record)
{
    for (const char* suffix : {"_api_demo.c", "_api.c", "_api.h"}) {
        if (!host_.openDocument(joinProjectPath(record.location, record.name + suffix)))
            return false;
    }
    return makeFileWritable(record.wsdlPath) && host_.openDocument(record.wsdlPath);
}

void CProjectCommands::openSolution(const std::string& path)
{
    if (project_) {
        if (!onFileClose())
            return;
        project_.reset();
    }
    auto record = std::make_unique<CProjectRecord>();
    if (loadSolution(path, *record) != 0) {
        host_.showError("invalid project file!", "ERROR!");
        return;
    }
    const int before = host_.tabCount();
    if (!openDocuments(*record)) {
        // Nothing of a project that did not open stays on the screen.
        closeTabsFrom(before);
        host_.refreshTabs();
        return;
    }
    project_ = std::move(record);
    host_.refreshTabs();
    host_.addRecentFile(path);
}
