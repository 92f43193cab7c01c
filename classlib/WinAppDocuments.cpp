// CWinApp: the document templates and the shell commands that open documents through them.
#include "classlib/WinApp.h"

#include "classlib/DocTemplate.h"
#include "classlib/Document.h"
#include "classlib/VectorPosition.h"
#include "classlib/View.h"

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) { m_templates.emplace_back(pTemplate); }

POSITION CWinApp::GetFirstDocTemplatePosition() const { return AfxFirstPosition(m_templates); }

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& rPosition) const {
    const size_t nIndex = AfxNextIndex(m_templates.size(), rPosition);
    return nIndex < m_templates.size() ? m_templates[nIndex].get() : nullptr;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    if (m_templates.empty() || !lpszFileName || !*lpszFileName) return nullptr;
    char szFull[MAX_PATH];
    DWORD nLength = ::GetFullPathNameA(lpszFileName, sizeof szFull, szFull, nullptr);
    const CString strPath = nLength > 0 && nLength < sizeof szFull ? CString(szFull) : CString(lpszFileName);
    for (const auto& pTemplate : m_templates) {
        for (POSITION pos = pTemplate->GetFirstDocPosition(); pos;) {
            CDocument* pDoc = pTemplate->GetNextDoc(pos);
            if (pDoc->GetPathName().CompareNoCase(strPath) != 0) continue;
            POSITION posView = pDoc->GetFirstViewPosition();
            CView* pView = posView ? pDoc->GetNextView(posView) : nullptr;
            if (CFrameWnd* pFrame = pView ? pView->GetParentFrame() : nullptr) pFrame->ActivateFrame();
            return pDoc;
        }
    }
    return m_templates.front()->OpenDocumentFile(strPath);
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

BOOL CWinApp::SaveAllModified() {
    for (const auto& pTemplate : m_templates) {
        if (!pTemplate->SaveAllModified()) return FALSE;
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (const auto& pTemplate : m_templates) pTemplate->CloseAllDocuments(bEndSession);
}
