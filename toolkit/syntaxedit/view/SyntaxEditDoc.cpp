#include "toolkit/syntaxedit/view/SyntaxEditDoc.h"

#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

IMPLEMENT_DYNCREATE(CKLVSyntaxEditDoc, CDocument)

namespace {

const char kSection[] = "Settings";
const char kAutoReload[] = "AutoReload";

}  // namespace

CKLVSyntaxEditDoc::CKLVSyntaxEditDoc() {
    if (CWinApp* pApp = AfxGetApp()) m_bAutoReload = pApp->GetProfileInt(kSection, kAutoReload, m_bAutoReload);
}

CKLVSyntaxEditDoc::~CKLVSyntaxEditDoc() {
    SetBufferManager(nullptr);
}

void CKLVSyntaxEditDoc::SetBufferManager(CKLVSyntaxEditBufferManager* pBuffer) {
    if (pBuffer) pBuffer->InternalAddRef();
    CKLVSyntaxEditBufferManager* pOld = m_pBuffer;
    m_pBuffer = pBuffer;
    if (pOld) pOld->InternalRelease();
}

BOOL CKLVSyntaxEditDoc::SetAutoReload(BOOL bAutoReload, BOOL bSave) {
    m_bAutoReload = bAutoReload;
    if (!bSave) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->WriteProfileInt(kSection, kAutoReload, bAutoReload);
}

BOOL CKLVSyntaxEditDoc::ReadFileTime(LPCTSTR lpszPathName) {
    HANDLE hFind = ::FindFirstFileA(lpszPathName, &m_findData);
    if (hFind == INVALID_HANDLE_VALUE) return FALSE;
    ::FindClose(hFind);
    return TRUE;
}

CKLVSyntaxEditView* CKLVSyntaxEditDoc::GetFirstSyntaxView() const {
    POSITION pos = GetFirstViewPosition();
    CView* pView = pos ? GetNextView(pos) : nullptr;
    return pView && pView->IsKindOf(RUNTIME_CLASS(CKLVSyntaxEditView)) ? static_cast<CKLVSyntaxEditView*>(pView)
                                                                        : nullptr;
}

void CKLVSyntaxEditDoc::Serialize(CArchive& ar) {
    if (!m_pBuffer) return;
    CWaitCursor wait;
    m_pBuffer->Serialize(ar);
}

BOOL CKLVSyntaxEditDoc::OnNewDocument() {
    CWaitCursor wait;
    if (!CDocument::OnNewDocument()) return FALSE;
    m_bNewDocument = TRUE;
    m_bSyncViews = TRUE;
    m_findData = WIN32_FIND_DATAA{};
    if (m_pBuffer) m_pBuffer->SetEmptyText();
    UpdateAllViews(nullptr, KLV_SYNTAXEDIT_HINT_RELOAD);
    return TRUE;
}

BOOL CKLVSyntaxEditDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    CWaitCursor wait;
    m_bNewDocument = FALSE;
    BOOL bOpened = CDocument::OnOpenDocument(lpszPathName);
    if (bOpened) UpdateAllViews(nullptr, KLV_SYNTAXEDIT_HINT_RELOAD);
    // A file gone by now cannot be watched for changes: the open counts as failed.
    if (!ReadFileTime(lpszPathName)) bOpened = FALSE;
    return bOpened;
}

BOOL CKLVSyntaxEditDoc::OnSaveDocument(LPCTSTR lpszPathName) {
    CWaitCursor wait;
    if (!CDocument::OnSaveDocument(lpszPathName) || !ReadFileTime(lpszPathName)) return FALSE;
    // Saved under another name, the text takes that name's colouring.
    if (m_pBuffer) m_pBuffer->SetFileName(CKLVSyntaxEditBufferManager::GetFileExtension(lpszPathName));
    UpdateAllViews(nullptr, KLV_SYNTAXEDIT_HINT_RELOAD);
    // The save clears the buffer's modified state, which the control does not report.
    if (CKLVSyntaxEditView* pView = GetFirstSyntaxView()) pView->ShowBufferModifiedState();
    return TRUE;
}

void CKLVSyntaxEditDoc::OnCloseDocument() {
    CWaitCursor wait;
    if (m_pBuffer) m_pBuffer->Close();
    CDocument::OnCloseDocument();
}

void CKLVSyntaxEditDoc::OnChangedViewList() {
    if (m_bSyncViews) {
        int nTopRow = 0;
        POSITION pos = GetFirstViewPosition();
        while (pos) {
            CView* pView = GetNextView(pos);
            if (!pView->IsKindOf(RUNTIME_CLASS(CKLVSyntaxEditView))) continue;
            auto* pSyntaxView = static_cast<CKLVSyntaxEditView*>(pView);
            if (nTopRow == 0)
                nTopRow = pSyntaxView->GetEditCtrl()->GetTopRow();
            else
                pSyntaxView->SetStartTopRow(nTopRow);
        }
    }
    CDocument::OnChangedViewList();
}
