// The main frame as the project commands' host: editor tabs through the MDI tab client and the
// one document template, the output pane, message boxes, the open dialog and processes.
#include "app/MainFrame.h"

#include "app/ErrorBox.h"
#include "app/res/Resource.h"
#include "app/QuorlinApp.h"
#include "app/QuorlinDoc.h"
#include "app/QuorlinView.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/tabs/TabManagerItem.h"

#include <memory>

CquorlinView* CMainFrame::GetTabView(int index) const {
    CKLVTabManagerItem* pItem = m_MTIClientWnd.GetItem(index);
    auto* pChild = pItem ? dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(pItem->GetHandle())) : nullptr;
    return pChild ? dynamic_cast<CquorlinView*>(pChild->GetActiveView()) : nullptr;
}

CquorlinDoc* CMainFrame::GetTabDocument(int index) const {
    CquorlinView* pView = GetTabView(index);
    return pView ? dynamic_cast<CquorlinDoc*>(pView->GetDocument()) : nullptr;
}

int CMainFrame::tabCount() const {
    return m_MTIClientWnd.GetSafeHwnd() ? m_MTIClientWnd.GetItemCount() : 0;
}

std::string CMainFrame::tabCaption(int index) const {
    CKLVTabManagerItem* pItem = m_MTIClientWnd.GetItem(index);
    return pItem ? std::string(static_cast<LPCSTR>(pItem->GetCaption())) : std::string();
}

bool CMainFrame::tabVisible(int index) const {
    CKLVTabManagerItem* pItem = m_MTIClientWnd.GetItem(index);
    return pItem && pItem->IsVisible();
}

void CMainFrame::replaceTabText(int index, const std::string& text) {
    CquorlinView* pView = GetTabView(index);
    if (!pView) return;
    CKLVSyntaxEditCtrl* pCtrl = pView->GetEditCtrl();
    pCtrl->SelectAll();
    pCtrl->DeleteSelection();
    pCtrl->InsertText(text.c_str(), 1, 1);
    pCtrl->SetCurPos(1, 1);
}

// The editor writes its own text, in the line ends it read, and takes its modified mark away.
bool CMainFrame::saveTab(int index, const std::string& path) {
    CquorlinView* pView = GetTabView(index);
    CDocument* pDoc = pView ? pView->GetDocument() : nullptr;
    return pDoc && pDoc->OnSaveDocument(path.c_str());
}

bool CMainFrame::tabModified(int index) const {
    CquorlinDoc* pDoc = GetTabDocument(index);
    return pDoc && pDoc->IsModified();
}

std::string CMainFrame::tabFileText(int index) const {
    CquorlinDoc* pDoc = GetTabDocument(index);
    return pDoc ? pDoc->GetFileText() : std::string();
}

bool CMainFrame::tabFileChangedOnDisk(int index, const std::string& path) const {
    CquorlinDoc* pDoc = GetTabDocument(index);
    return pDoc && pDoc->IsChangedOnDisk(path.c_str());
}

void CMainFrame::markTabSaved(int index, const std::string& path) {
    if (CquorlinDoc* pDoc = GetTabDocument(index)) pDoc->MarkSaved(path.c_str());
}

bool CMainFrame::reloadTab(int index, const std::string& path) {
    CquorlinDoc* pDoc = GetTabDocument(index);
    return pDoc && pDoc->Reload(path.c_str());
}

ChangedFileAnswer CMainFrame::askChangedFile(const std::string& path) {
    const std::string text = path +
                             "\r\n\r\nThis file was changed on disk after its tab loaded it.\r\n\r\n"
                             "Yes: load the file from disk (the tab's text is given up).\r\n"
                             "No: keep the tab's text and write it over the file.\r\n"
                             "Cancel: write nothing and stop.";
    switch (AppMessageBox(this, text.c_str(), "File changed on disk", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES: return ChangedFileAnswer::Reload;
    case IDNO: return ChangedFileAnswer::KeepMine;
    default: return ChangedFileAnswer::Cancel;
    }
}

void CMainFrame::closeTab(int index) {
    CquorlinView* pView = GetTabView(index);
    if (CDocument* pDoc = pView ? pView->GetDocument() : nullptr) {
        pDoc->OnCloseDocument();
    } else if (CKLVTabManagerItem* pItem = m_MTIClientWnd.GetItem(index)) {
        ::SendMessageA(pItem->GetHandle(), WM_CLOSE, 0, 0);
    }
}

bool CMainFrame::openDocument(const std::string& path) {
    auto* pApp = dynamic_cast<CquorlinApp*>(AfxGetApp());
    CMultiDocTemplate* pTemplate = pApp ? pApp->GetDocTemplate() : nullptr;
    if (!pTemplate || !pTemplate->OpenDocumentFile(path.c_str(), TRUE)) return false;
    pApp->UpdateAllDocuments(nullptr);
    return true;
}

void CMainFrame::OpenProjectDocument(const CString& strPath) {
    auto* pApp = dynamic_cast<CquorlinApp*>(AfxGetApp());
    CMultiDocTemplate* pTemplate = pApp ? pApp->GetDocTemplate() : nullptr;
    CDocument* pDoc = pTemplate ? pTemplate->OpenDocumentFile(strPath, TRUE) : nullptr;
    if (pDoc) pDoc->OnSaveDocument(strPath);
}

void CMainFrame::refreshTabs() {
    if (m_MTIClientWnd.GetSafeHwnd()) m_MTIClientWnd.Refresh();
    // A closed tab's document no longer names the frame.
    OnUpdateFrameTitle(TRUE);
}

void CMainFrame::addRecentFile(const std::string& path) {
    AfxGetApp()->AddToRecentFileList(path.c_str());
}

void CMainFrame::setOutput(const std::string& text) {
    m_nErrorLine = -1;
    if (GetPaneWindow(IDP_OUTPUT)) m_wndOutput.SetWindowText(text.c_str());
}

void CMainFrame::appendOutput(const std::string& text) {
    if (GetPaneWindow(IDP_OUTPUT)) m_wndOutput.AppendText(text.c_str());
}

void CMainFrame::showError(const std::string& text, const std::string& caption) {
    AppMessageBox(this, text.c_str(), caption.c_str(), MB_ICONERROR);
}

std::string CMainFrame::askSolutionPath(const std::string& folder) {
    CFileDialog dlg(TRUE, "zbq", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "Solution File(*.zbq)|*.zbq||", this);
    if (!folder.empty()) dlg.m_ofn.lpstrInitialDir = folder.c_str();
    if (dlg.DoModal() != IDOK) return std::string();
    return static_cast<LPCSTR>(dlg.GetPathName());
}

bool CMainFrame::startProcess(const std::string& commandLine) {
    return s_pfnStartProcess(commandLine.c_str(), SW_SHOW) != FALSE;
}

bool CMainFrame::runBuild(CBuildJob job) {
    if (IsBuildRunning() || !GetSafeHwnd()) return false;
    m_buildFinished = std::move(job.finished);
    job.finished = nullptr;
    return m_buildRunner.Start(std::move(job), m_hWnd);
}

LRESULT CMainFrame::OnBuildOutput(WPARAM, LPARAM lParam) {
    std::unique_ptr<std::string> pText(reinterpret_cast<std::string*>(lParam));
    appendOutput(*pText);
    return 0;
}

LRESULT CMainFrame::OnBuildFinished(WPARAM, LPARAM lParam) {
    std::unique_ptr<CBuildOutcome> pOutcome(reinterpret_cast<CBuildOutcome*>(lParam));
    m_buildRunner.Finish();
    const auto finished = std::move(m_buildFinished);
    m_buildFinished = nullptr;
    if (finished) finished(*pOutcome);
    return 0;
}

std::string CMainFrame::applicationFolder() const {
    return static_cast<LPCSTR>(GetModuleDirectory());
}

namespace {

// What a file on disk looks like now: its time of writing and size; empty when it is gone.
std::string DiskStamp(const std::string& strPath) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data)) return std::string();
    return std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" + std::to_string(data.ftLastWriteTime.dwLowDateTime) +
           ":" + std::to_string(data.nFileSizeHigh) + ":" + std::to_string(data.nFileSizeLow);
}

}  // namespace

LRESULT CMainFrame::OnTabActivated(WPARAM, LPARAM lParam) {
    const HWND hChild = reinterpret_cast<HWND>(lParam);
    for (int i = 0; i < tabCount(); ++i) {
        CquorlinView* pView = GetTabView(i);
        CquorlinDoc* pDoc = GetTabDocument(i);
        if (!pView || !pDoc || pView->GetParentFrame()->GetSafeHwnd() != hChild) continue;
        const std::string strPath = static_cast<LPCSTR>(pDoc->GetPathName());
        const std::string strStamp = DiskStamp(strPath);
        if (strPath.empty() || strStamp.empty() || !pDoc->IsChangedOnDisk(strPath.c_str())) return 0;
        std::string& strAsked = m_changesAskedAbout[strPath];
        if (strAsked == strStamp) return 0;
        strAsked = strStamp;
        const std::string strText = strPath +
                                    "\r\n\r\nThis file was changed on disk after its tab loaded it.\r\n\r\n"
                                    "Yes: load the file from disk (the tab's text is given up).\r\n"
                                    "No: keep the tab's text; saving asks again before writing over the file.";
        if (AppMessageBox(this, strText.c_str(), "File changed on disk", MB_YESNO | MB_ICONWARNING) == IDYES &&
            !reloadTab(i, strPath))
            showError("The file " + strPath + " could not be read.", "ERROR!");
        return 0;
    }
    return 0;
}
