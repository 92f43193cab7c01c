#include "project/ProjectCommands.h"

#include "generator/emit/GeneratorRun.h"
#include "project/ProjectFiles.h"
#include "project/ProjectHost.h"
#include "project/SolutionFile.h"

#include <algorithm>
#include <cctype>

namespace {

const char* const ErrorCaption = "ERROR!";

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string fileNameOf(const std::string& path)
{
    return path.substr(folderOfPath(path).size());
}

}  // namespace

std::string tabFileName(const std::string& caption)
{
    if (caption.find('*') == std::string::npos)
        return caption;
    return caption.substr(0, caption.size() < 2 ? 0 : caption.size() - 2);
}

CProjectCommands::CProjectCommands(CProjectHost& host) : host_(host) {}

CProjectCommands::~CProjectCommands() = default;

bool CProjectCommands::writeSolution()
{
    if (saveSolution(*project_) == 0)
        return true;
    host_.showError("The solution file " + solutionFilePath(*project_) + " could not be written.", ErrorCaption);
    return false;
}

// The WSDL document's tab shows the file name of the WSDL path; every other
// tab shows a file of the project folder.
std::string CProjectCommands::tabPath(const std::string& fileName) const
{
    if (equalsIgnoringCase(fileName, fileNameOf(project_->wsdlPath)))
        return project_->wsdlPath;
    return joinProjectPath(project_->location, fileName);
}

void CProjectCommands::saveTabAt(int index)
{
    // A document that cannot be written does not stop the others.
    const std::string fileName = tabFileName(host_.tabCaption(index));
    if (!fileName.empty())
        host_.saveTab(index, tabPath(fileName));
}

bool CProjectCommands::onFileSave()
{
    if (!project_ || !writeSolution())
        return false;
    const int count = host_.tabCount();
    for (int i = 0; i < count; ++i) {
        if (host_.tabVisible(i))
            saveTabAt(i);
    }
    return true;
}

void CProjectCommands::onFileClose()
{
    if (!project_)
        return;
    // Each round closes the first tab; a host that keeps a tab cannot hold
    // the command in a loop.
    const int count = host_.tabCount();
    for (int round = 0; round < count && host_.tabCount() > 0; ++round) {
        saveTabAt(0);
        host_.closeTab(0);
    }
    if (!writeSolution())
        return;
    host_.refreshTabs();
    project_.reset();
}

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
        onFileClose();
        project_.reset();
    }
    auto record = std::make_unique<CProjectRecord>();
    if (loadSolution(path, *record) != 0) {
        host_.showError("invalid project file!", ErrorCaption);
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
