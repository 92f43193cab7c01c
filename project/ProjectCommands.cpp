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

// A tab is written only when it was edited and its text differs from the
// file, and a file changed on disk since the tab loaded it only when the
// user says so.
bool CProjectCommands::saveTabAt(int index)
{
    const std::string fileName = tabFileName(host_.tabCaption(index));
    if (fileName.empty())
        return true;
    const std::string path = tabPath(fileName);
    const bool changedOnDisk = host_.tabFileChangedOnDisk(index, path);
    if (!changedOnDisk && !host_.tabModified(index))
        return true;
    std::string onDisk;
    if (readDocumentFile(path, onDisk) && onDisk == host_.tabFileText(index)) {
        host_.markTabSaved(index, path);
        return true;
    }
    if (changedOnDisk) {
        switch (host_.askChangedFile(path)) {
        case ChangedFileAnswer::Reload:
            if (!host_.reloadTab(index, path))
                host_.showError("The file " + path + " could not be read.", ErrorCaption);
            return true;
        case ChangedFileAnswer::Cancel:
            return false;
        case ChangedFileAnswer::KeepMine:
            break;
        }
    }
    // A document that cannot be written does not stop the others.
    host_.saveTab(index, path);
    return true;
}

bool CProjectCommands::onFileSave()
{
    if (!project_ || !writeSolution())
        return false;
    const int count = host_.tabCount();
    for (int i = 0; i < count; ++i) {
        if (host_.tabVisible(i) && !saveTabAt(i))
            return false;
    }
    return true;
}

bool CProjectCommands::onFileClose()
{
    if (!project_)
        return false;
    // Each round closes the first tab; a host that keeps a tab cannot hold
    // the command in a loop.
    const int count = host_.tabCount();
    for (int round = 0; round < count && host_.tabCount() > 0; ++round) {
        if (!saveTabAt(0))
            return false;
        host_.closeTab(0);
    }
    if (!writeSolution())
        return true;
    host_.refreshTabs();
    project_.reset();
    return true;
}
