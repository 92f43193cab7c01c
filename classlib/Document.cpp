#include "classlib/Document.h"

#include "classlib/Archive.h"
#include "classlib/DocTemplate.h"
#include "classlib/Exceptions.h"
#include "classlib/File.h"
#include "classlib/FileDialog.h"
#include "classlib/VectorPosition.h"
#include "classlib/View.h"
#include "classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::~CDocument() {
    for (CView* pView : m_viewList) pView->m_pDocument = nullptr;
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
    char szFull[MAX_PATH];
    DWORD nLength = ::GetFullPathNameA(lpszPathName, sizeof szFull, szFull, nullptr);
    m_strPathName = nLength > 0 && nLength < sizeof szFull ? szFull : lpszPathName;
    const int nSlash = std::max(m_strPathName.ReverseFind('\\'), m_strPathName.ReverseFind('/'));
    SetTitle(m_strPathName.Mid(nSlash + 1));
    if (bAddToMRU) {
        if (CWinApp* pApp = AfxGetApp()) pApp->AddToRecentFileList(m_strPathName);
    }
}

// ---------------------------------------------------------------------------------------------
// Views.

void CDocument::AddView(CView* pView) {
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end()) return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const { return AfxFirstPosition(m_viewList); }

CView* CDocument::GetNextView(POSITION& rPosition) const { return AfxNextAt(m_viewList, rPosition); }

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    const std::vector<CView*> views = m_viewList;   // a view may go while it updates
    for (CView* pView : views) {
        if (pView != pSender && std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::OnChangedViewList() {
    if (m_viewList.empty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts() {
    std::vector<CFrameWnd*> frames;
    for (CView* pView : m_viewList) {
        CFrameWnd* pFrame = pView->m_hWnd ? pView->GetParentFrame() : nullptr;
        if (pFrame && std::find(frames.begin(), frames.end(), pFrame) == frames.end()) frames.push_back(pFrame);
    }
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i]->m_nWindow = frames.size() > 1 ? static_cast<int>(i + 1) : -1;
        frames[i]->OnUpdateFrameTitle(TRUE);
    }
}

// ---------------------------------------------------------------------------------------------
// New, open, save, close.

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    CFileException fe;
    CFile file;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe)) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);   // half loaded is not the file
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        Serialize(ar);
        ar.Close();
    } catch (CException* e) {
        file.Abort();
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
    // The new contents go to a file in the same folder first.
    CString strFolder = lpszPathName;
    const int nSlash = std::max(strFolder.ReverseFind('\\'), strFolder.ReverseFind('/'));
    strFolder = nSlash >= 0 ? strFolder.Left(nSlash + 1) : CString(".");
    char szTemp[MAX_PATH];
    if (!::GetTempFileNameA(strFolder, "klv", 0, szTemp)) {
        CFileException fe(CFileException::OsErrorToException(static_cast<LONG>(::GetLastError())),
                          static_cast<LONG>(::GetLastError()), lpszPathName);
        ReportSaveLoadException(lpszPathName, &fe, TRUE);
        return FALSE;
    }
    CFileException fe;
    CFile file;
    if (!file.Open(szTemp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &fe)) {
        ::DeleteFileA(szTemp);
        ReportSaveLoadException(lpszPathName, &fe, TRUE);
        return FALSE;
    }
    try {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException* e) {
        file.Abort();
        ::DeleteFileA(szTemp);
        ReportSaveLoadException(lpszPathName, e, TRUE);
        e->Delete();
        return FALSE;
    }
    if (!::MoveFileExA(szTemp, lpszPathName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const LONG lError = static_cast<LONG>(::GetLastError());
        ::DeleteFileA(szTemp);
        CFileException moveError(CFileException::OsErrorToException(lError), lError, lpszPathName);
        ReportSaveLoadException(lpszPathName, &moveError, TRUE);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving) {
    char szCause[512] = {};
    if (!e || !e->GetErrorMessage(szCause, sizeof szCause)) szCause[0] = '\0';
    CString strText;
    strText.Format(bSaving ? "Failed to save document %s." : "Failed to open document %s.", lpszPathName);
    if (szCause[0]) strText += CString("\n") + szCause;
    AfxMessageBox(strText, MB_ICONEXCLAMATION);
}

void CDocument::OnCloseDocument() {
    // Destroying the frames takes the views with them; the document must not close itself again
    // meanwhile.
    const BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty()) {
        CView* pView = m_viewList.front();
        CFrameWnd* pFrame = pView->m_hWnd ? pView->GetParentFrame() : nullptr;
        if (pFrame) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else if (pView->m_hWnd) {
            pView->DestroyWindow();
        }
        if (!m_viewList.empty() && m_viewList.front() == pView) RemoveView(pView);   // still there: let it go
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

void CDocument::Serialize(CArchive&) {}

BOOL CDocument::SaveModified() {
    if (!IsModified()) return TRUE;
    CString strName = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    CString strPrompt;
    strPrompt.Format("Save changes to %s?", static_cast<LPCTSTR>(strName));
    switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg) {
    for (CView* pView : m_viewList) {
        if (pView->m_hWnd && pView->GetParentFrame() != pFrameArg) return TRUE;   // another frame shows it
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::DoFileSave() {
    const DWORD dwAttrib = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(m_strPathName);
    if (m_strPathName.IsEmpty() || (dwAttrib != INVALID_FILE_ATTRIBUTES && (dwAttrib & FILE_ATTRIBUTE_READONLY)))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
    CString strNewName = lpszPathName;
    if (strNewName.IsEmpty()) {
        // Save As: the dialog proposes the current name with the template's extension.
        CString strExt, strFilterName;
        if (m_pDocTemplate) {
            m_pDocTemplate->GetDocString(strExt, CDocTemplate::filterExt);
            m_pDocTemplate->GetDocString(strFilterName, CDocTemplate::filterName);
        }
        if (strExt.Left(1) == ".") strExt = strExt.Mid(1);
        CString strFilter = strFilterName.IsEmpty() ? CString() : strFilterName + "|*." + strExt + "|";
        strFilter += "All Files (*.*)|*.*||";
        CString strProposed = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
        CFileDialog dlg(FALSE, strExt.IsEmpty() ? nullptr : static_cast<LPCTSTR>(strExt), strProposed,
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, strFilter);
        if (dlg.DoModal() != IDOK) return FALSE;
        strNewName = dlg.GetPathName();
    }
    CWaitCursor wait;
    if (!OnSaveDocument(strNewName)) return FALSE;
    if (bReplace) SetPathName(strNewName);
    return TRUE;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose() {
    if (SaveModified()) OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }
