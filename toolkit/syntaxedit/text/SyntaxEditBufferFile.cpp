// The buffer's files: loading with the encoding and line-end style found, saving them back.
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"

#include "toolkit/syntaxedit/text/SyntaxEditFileReplacer.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextFormat.h"

#include <vector>

namespace {

const BYTE kByteOrderMark[2] = {0xFF, 0xFE};

std::vector<BYTE> ReadAll(CArchive& ar) {
    std::vector<BYTE> arBytes;
    BYTE buf[65536];
    while (UINT nRead = ar.Read(buf, sizeof buf)) arBytes.insert(arBytes.end(), buf, buf + nRead);
    return arBytes;
}

CString ArchivePath(CArchive& ar) { return ar.GetFile() ? ar.GetFile()->GetFilePath() : CString(); }

// "dir\name.ext" -> "dir\~kw-name.ext": beside the target, with its extension.
CString SavingPath(const CString& strPath) {
    int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    return strPath.Left(nSlash + 1) + "~kw-" + strPath.Mid(nSlash + 1);
}

}  // namespace

void CKLVSyntaxEditBufferManager::Serialize(CArchive& ar) {
    if (m_bSyntaxColoring && m_pParser) m_pParser->BreakParse();
    if (ar.IsLoading()) {
        LoadText(ar);
    } else {
        StoreText(ar);
        m_undoManager.MarkSaved();
    }
    // A store may go to a temporary file that is moved over the document afterwards: only the
    // file read names the text (and so picks its colouring).
    if (ar.IsLoading()) SetFileName(GetFileExtension(ArchivePath(ar)));
    if (ar.IsLoading() && m_bSyntaxColoring && m_pParser && m_pParser->GetTextSchema()) Reparse(TRUE);
}

void CKLVSyntaxEditBufferManager::SetEmptyText() {
    CMemFile file;
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
}

void CKLVSyntaxEditBufferManager::LoadText(CArchive& ar) {
    ClearText();
    CTextLock textLock(this);
    std::vector<BYTE> arBytes = ReadAll(ar);
    CKLVSyntaxEditTextFormat::CDecoded decoded = CKLVSyntaxEditTextFormat::Decode(arBytes.data(), arBytes.size());
    m_arRows.InsertRows(1, decoded.arRows);
    if (decoded.eStyle >= 0) m_eCRLFStyle = decoded.eStyle;
    m_bUnicode = decoded.bUnicode;
    m_bByteOrderMark = decoded.bByteOrderMark;
}

void CKLVSyntaxEditBufferManager::StoreText(CArchive& ar) {
    LPCSTR pszLineEnd = CKLVSyntaxEditTextFormat::GetLineEndText(m_eCRLFStyle);
    const int nLineEnd = lstrlenA(pszLineEnd);
    std::vector<WCHAR> arWideLineEnd = CKLVSyntaxEditTextFormat::ToUTF16(pszLineEnd, nLineEnd, CP_ACP);
    if (m_bUnicode && m_bByteOrderMark) ar.Write(kByteOrderMark, sizeof kByteOrderMark);
    const int nLastRow = m_arRows.GetRowCount();
    for (int nRow = 1; nRow <= nLastRow; ++nRow) {
        const CString& strRow = m_arRows.GetAt(nRow);
        const bool bLineEnd = nRow < nLastRow;
        if (m_bUnicode) {
            std::vector<WCHAR> arWide = CKLVSyntaxEditTextFormat::ToUTF16(strRow, strRow.GetLength(), m_nCodePage);
            if (bLineEnd) arWide.insert(arWide.end(), arWideLineEnd.begin(), arWideLineEnd.end());
            ar.Write(arWide.data(), static_cast<UINT>(arWide.size() * sizeof(WCHAR)));
        } else {
            ar.Write(strRow.GetString(), static_cast<UINT>(strRow.GetLength()));
            if (bLineEnd) ar.Write(pszLineEnd, static_cast<UINT>(nLineEnd));
        }
    }
}

BOOL CKLVSyntaxEditBufferManager::LoadFile(LPCSTR lpszPath) {
    CFile file;
    if (!file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return FALSE;
    try {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CKLVSyntaxEditBufferManager::SaveFile(LPCSTR lpszPath) {
    if (m_bSyntaxColoring && m_pParser) m_pParser->BreakParse();
    const CString strSaving = SavingPath(lpszPath);
    try {
        CFile file(strSaving, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive | CFile::typeBinary);
        CArchive ar(&file, CArchive::store);
        StoreText(ar);
        ar.Close();
        file.Flush();
        file.Close();
    } catch (CException* e) {
        e->Delete();
        ::DeleteFileA(strSaving);
        return FALSE;
    }
    if (!CKLVSyntaxEditFileReplacer().MoveOver(strSaving, lpszPath)) {
        ::DeleteFileA(strSaving);
        return FALSE;
    }
    m_undoManager.MarkSaved();
    SetFileName(GetFileExtension(lpszPath));
    return TRUE;
}
