#include "classlib/DocTemplate.h"

#include "classlib/Document.h"
#include "classlib/FrameWnd.h"
#include "classlib/VectorPosition.h"
#include "classlib/View.h"
#include "classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {
    m_strDocStrings.LoadString(nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    rString.Empty();
    int nStart = 0;
    for (int i = 0; i < index; ++i) {
        nStart = m_strDocStrings.Find('\n', nStart);
        if (nStart < 0) return FALSE;
        ++nStart;
    }
    const int nEnd = m_strDocStrings.Find('\n', nStart);
    rString = nEnd < 0 ? m_strDocStrings.Mid(nStart) : m_strDocStrings.Mid(nStart, nEnd - nStart);
    return TRUE;
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

CDocument* CDocTemplate::CreateNewDocument() {
    CObject* pObject = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    CDocument* pDocument = DYNAMIC_DOWNCAST(CDocument, pObject);
    if (!pDocument) {
        delete pObject;
        return nullptr;
    }
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* pObject = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pObject);
    if (!pFrame) {
        delete pObject;
        return nullptr;
    }
    // A frame that fails to load has deleted itself (PostNcDestroy).
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        if (!GetNextDoc(pos)->SaveModified()) return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    while (POSITION pos = GetFirstDocPosition()) {
        CDocument* pDoc = GetNextDoc(pos);
        const BOOL bAutoDelete = pDoc->m_bAutoDelete;
        pDoc->OnCloseDocument();
        if (!bAutoDelete) RemoveDocument(pDoc);   // a document that lives on leaves the list
    }
}

// ---------------------------------------------------------------------------------------------

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    // Documents still open outlive no template: they are closed (their frames with them).
    while (!m_docList.empty()) {
        CDocument* pDoc = m_docList.front();
        pDoc->OnCloseDocument();
        if (!m_docList.empty() && m_docList.front() == pDoc) RemoveDocument(pDoc);
    }
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const { return AfxFirstPosition(m_docList); }

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const { return AfxNextAt(m_docList, rPos); }

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_docList.push_back(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    m_docList.erase(std::remove(m_docList.begin(), m_docList.end(), pDoc), m_docList.end());
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString strName;
    if (!GetDocString(strName, docName) || strName.IsEmpty()) strName = "Untitled";
    strName.AppendFormat("%u", ++m_nUntitledCount);
    pDocument->SetTitle(strName);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = CreateNewDocument();
    if (!pDocument) return nullptr;
    const BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;   // a frame that fails must not take the document along
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (!pFrame) {
        delete pDocument;
        return nullptr;
    }
    if (!lpszPathName) {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument()) {
            pFrame->DestroyWindow();   // the view goes, and with it the document
            return nullptr;
        }
    } else {
        CWaitCursor wait;
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            pFrame->DestroyWindow();
            return nullptr;
        }
        pDocument->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}
