#include "app/QuorlinDoc.h"

#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include <memory>

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

std::string CquorlinDoc::GetFileText() const {
    return m_pBuffer ? EditorFileText(*m_pBuffer) : std::string();
}

std::string EditorFileText(CKLVSyntaxEditBufferManager& buffer) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        buffer.WriteText(ar);
        ar.Close();
    }
    const auto nLength = static_cast<std::size_t>(file.GetLength());
    std::unique_ptr<BYTE, decltype(&::free)> pBytes(file.Detach(), &::free);
    return nLength && pBytes ? std::string(reinterpret_cast<const char*>(pBytes.get()), nLength) : std::string();
}

BOOL CquorlinDoc::IsChangedOnDisk(LPCTSTR lpszPathName) const {
    WIN32_FIND_DATAA now{};
    HANDLE hFind = ::FindFirstFileA(lpszPathName, &now);
    if (hFind == INVALID_HANDLE_VALUE) return m_findData.cFileName[0] != '\0';
    ::FindClose(hFind);
    const WIN32_FIND_DATAA& seen = GetFileFindData();
    return ::CompareFileTime(&now.ftLastWriteTime, &seen.ftLastWriteTime) != 0 ||
           now.nFileSizeHigh != seen.nFileSizeHigh || now.nFileSizeLow != seen.nFileSizeLow;
}

void CquorlinDoc::MarkSaved(LPCTSTR lpszPathName) {
    if (m_pBuffer) m_pBuffer->GetUndoManager()->MarkSaved();
    ReadFileTime(lpszPathName);
    ShowSavedState();
}

BOOL CquorlinDoc::Reload(LPCTSTR lpszPathName) {
    const BOOL bLoaded = OnOpenDocument(lpszPathName);
    ShowSavedState();
    return bLoaded;
}

void CquorlinDoc::ShowSavedState() {
    if (CKLVSyntaxEditView* pView = GetFirstSyntaxView()) pView->ShowBufferModifiedState();
    else SetModifiedFlag(m_pBuffer && m_pBuffer->IsModified());
}
