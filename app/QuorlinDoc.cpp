#include "app/QuorlinDoc.h"

IMPLEMENT_DYNCREATE(CquorlinDoc, CKLVSyntaxEditDoc)

BOOL CquorlinDoc::OnNewDocument() {
    return CKLVSyntaxEditDoc::OnNewDocument() ? TRUE : FALSE;
}

BOOL CquorlinDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    return CKLVSyntaxEditDoc::OnOpenDocument(lpszPathName) ? TRUE : FALSE;
}

BOOL CquorlinDoc::OnSaveDocument(LPCTSTR lpszPathName) {
    return CKLVSyntaxEditDoc::OnSaveDocument(lpszPathName) ? TRUE : FALSE;
}

void CquorlinDoc::OnCloseDocument() {
    CKLVSyntaxEditDoc::OnCloseDocument();
}

void CquorlinDoc::Serialize(CArchive& ar) {
    CKLVSyntaxEditDoc::Serialize(ar);
}
