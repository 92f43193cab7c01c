#include "app/QuorlinApp.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QuorlinDoc.h"
#include "app/QuorlinView.h"
#include "app/res/Resource.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexerFactory.h"

#include <cstdio>
#include <cstring>

BEGIN_MESSAGE_MAP(CquorlinApp, CWinApp)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnOpenRecentFile)
END_MESSAGE_MAP()

BOOL IsSolutionPath(LPCTSTR lpszPathName) {
    return lpszPathName && std::strstr(lpszPathName, ".zbq") != nullptr;
}

CquorlinApp::CquorlinApp() = default;

CquorlinApp::~CquorlinApp() = default;

CMainFrame* CquorlinApp::GetMainFrame() const {
    return dynamic_cast<CMainFrame*>(m_pMainWnd);
}

BOOL CquorlinApp::InitInstance() {
    ::InitCommonControls();
    CWinApp::InitInstance();
    if (!AfxOleInit()) {
        AfxMessageBox(IDS_OLE_INIT_FAILED);
        return FALSE;
    }
    AfxEnableControlContainer();
    // Editors colour and fold their text through the lexer.
    KLVRegisterSyntaxEditLexer();
    SetRegistryKey("Bramholt-Tessaro Applications");
    LoadStdProfileSettings(4);
    m_pDocTemplate = std::make_unique<CMultiDocTemplate>(IDR_MAINFRAME, RUNTIME_CLASS(CquorlinDoc),
                                                         RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CquorlinView));
    auto* pFrame = new CMainFrame;
    // A frame whose creation failed has deleted itself as its window went (a second delete
    // crashed the failed start).
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr)) return FALSE;
    m_pMainWnd = pFrame;
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    OpenCommandLineFile(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) return FALSE;
    pFrame->ShowWindow(m_nCmdShow);
    pFrame->UpdateWindow();
    return TRUE;
}

// The document manager has no template, so the shell's own open would fail start-up.
void CquorlinApp::OpenCommandLineFile(CCommandLineInfo& cmdInfo) {
    if (cmdInfo.m_nShellCommand != CCommandLineInfo::FileOpen) return;
    if (IsSolutionPath(cmdInfo.m_strFileName)) GetMainFrame()->OpenSolution(cmdInfo.m_strFileName);
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
}

void CquorlinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
    if (IsSolutionPath(lpszPathName)) CWinApp::AddToRecentFileList(lpszPathName);
}

CDocument* CquorlinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    return m_pDocTemplate ? m_pDocTemplate->OpenDocumentFile(lpszFileName, TRUE) : nullptr;
}

BOOL CquorlinApp::OnOpenRecentFile(UINT nID) {
    const int nIndex = static_cast<int>(nID - ID_FILE_MRU_FIRST);
    if (!m_pRecentFileList || nIndex < 0 || nIndex >= m_pRecentFileList->GetSize()) return TRUE;
    const CString strPath = (*m_pRecentFileList)[nIndex];
    if (FILE* pFile = std::fopen(strPath, "r")) {
        std::fclose(pFile);
        if (CMainFrame* pFrame = GetMainFrame()) pFrame->OpenSolution(strPath);
    } else {
        m_pRecentFileList->Remove(nIndex);
    }
    return TRUE;
}

void CquorlinApp::UpdateAllDocuments(CView* pSender) {
    if (!m_pDocTemplate) return;
    POSITION pos = m_pDocTemplate->GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = m_pDocTemplate->GetNextDoc(pos);
        if (pDoc && pDoc->IsKindOf(RUNTIME_CLASS(CKLVSyntaxEditDoc))) pDoc->UpdateAllViews(pSender, 2, nullptr);
    }
}
