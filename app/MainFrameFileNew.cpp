// File New: the New Project dialog, then the new project's files, the run-time libraries copied
// beside them, and its sources and WSDL document in editor tabs.
#include "app/MainFrame.h"

#include "app/LibraryCopy.h"
#include "app/NewProject.h"
#include "app/QuorlinApp.h"
#include "project/ProjectFiles.h"
#include "project/WritableFile.h"

#include <array>

namespace {

// The files File New makes empty, in the order it makes them.
std::array<std::string, 4> EmptyProjectFiles(const CProjectRecord& project) {
    return {joinProjectPath(project.location, project.name + ".zbq"),
            joinProjectPath(project.location, project.name + "_api.h"),
            joinProjectPath(project.location, project.name + "_api.c"),
            joinProjectPath(project.location, project.name + "_api_demo.c")};
}

}  // namespace

void CMainFrame::OnFileNew() {
    CNewProject dlg(this);
    if (dlg.DoModal() != IDOK) return;
    if (GetProject()) {
        bool bClosed = true;
        ChangeProject([this, &bClosed] {
            bClosed = m_commands.onFileClose();
            if (bClosed) m_commands.setProject(nullptr);
        });
        if (!bClosed) return;
    }
    auto pProject = std::make_unique<CProjectRecord>();
    pProject->wsdlPath = static_cast<LPCSTR>(dlg.m_strWsdlPath);
    pProject->name = static_cast<LPCSTR>(dlg.m_strName);
    pProject->targetPlatform = dlg.m_nTargetPlatform;
    pProject->authType = dlg.m_nAuthType;
    pProject->libraryType = dlg.m_nLibraryType;
    pProject->location = static_cast<LPCSTR>(dlg.m_strLocation);
    const CProjectRecord& project = *pProject;
    m_commands.setProject(std::move(pProject));

    try {
        CreateProjectFiles(project);
    } catch (CFileException* e) {
        char szMessage[512] = "";
        e->GetErrorMessage(szMessage, sizeof(szMessage));
        AfxMessageBox(szMessage, MB_ICONEXCLAMATION);
        e->Delete();
        return;
    }
    CopyLibraries(project);
    for (const char* suffix : {"_api_demo.c", "_api.c", "_api.h"})
        OpenProjectDocument(joinProjectPath(project.location, project.name + suffix).c_str());
    makeFileWritable(project.wsdlPath);
    OpenProjectDocument(project.wsdlPath.c_str());
    refreshTabs();
    AfxGetApp()->AddToRecentFileList(joinProjectPath(project.location, project.name + ".zbq").c_str());
    if (auto* pApp = dynamic_cast<CquorlinApp*>(AfxGetApp())) pApp->UpdateAllDocuments(nullptr);
}

// Each file is made empty, an existing one truncated.
void CMainFrame::CreateProjectFiles(const CProjectRecord& project) {
    for (const std::string& path : EmptyProjectFiles(project)) {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        file.Close();
    }
}

// Made before the sources open, so that a build finds the libraries in place; what could not be
// copied is named in the Output pane.
void CMainFrame::CopyLibraries(const CProjectRecord& project) {
    for (const CLibraryCopy& copy : LibraryCopies(applicationFolder(), project.location)) {
        for (const std::string& strFailure : MakeLibraryCopy(copy)) appendOutput(strFailure + "\r\n");
    }
}
