// The program's application object: start-up, the recent solutions, and the one document
// template every editor tab is opened through.
#pragma once

#include "classlib/ClassLib.h"

class CMainFrame;

class CquorlinApp : public CWinApp {
public:
    CquorlinApp();
    ~CquorlinApp() override;

    BOOL InitInstance() override;
    // Solution files (".zbq") only; editor files never enter the list.
    void AddToRecentFileList(LPCTSTR lpszPathName) override;
    // Editor files open through the template, which the document manager does not know.
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override;

    // Every open code document's views hear hint 2 (the editor settings changed).
    void UpdateAllDocuments(CView* pSender);

    CMultiDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }
    CMainFrame* GetMainFrame() const;

    afx_msg BOOL OnOpenRecentFile(UINT nID);

protected:
    // A ".zbq" named on the command line opens as the solution; anything else is ignored.
    void OpenCommandLineFile(CCommandLineInfo& cmdInfo);

    std::unique_ptr<CMultiDocTemplate> m_pDocTemplate;

    DECLARE_MESSAGE_MAP()
};

// True when the path names a solution file, as the recent list takes them.
BOOL IsSolutionPath(LPCTSTR lpszPathName);
