// The edit control's clipboard: the selection as text in three formats (and the column mark
// for a column selection) and pasting text or a column block at the caret.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <algorithm>
#include <cstring>

namespace {

const char kColumnFormatName[] = "MSDEVColumnSelect";

UINT ColumnFormat() {
    static const UINT s_nFormat = ::RegisterClipboardFormatA(kColumnFormatName);
    return s_nFormat;
}

// Opens the clipboard for the lifetime of the object.
class CClipboardScope {
public:
    explicit CClipboardScope(HWND hWnd) : m_bOpen(::OpenClipboard(hWnd)) {}
    ~CClipboardScope() {
        if (m_bOpen) ::CloseClipboard();
    }
    CClipboardScope(const CClipboardScope&) = delete;
    CClipboardScope& operator=(const CClipboardScope&) = delete;
    BOOL IsOpen() const { return m_bOpen; }

private:
    BOOL m_bOpen;
};

// A global block locked for the lifetime of the object.
class CGlobalLock {
public:
    explicit CGlobalLock(HGLOBAL hMem) : m_hMem(hMem), m_pData(hMem ? ::GlobalLock(hMem) : nullptr) {}
    ~CGlobalLock() {
        if (m_pData) ::GlobalUnlock(m_hMem);
    }
    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;
    void* Get() const { return m_pData; }
    SIZE_T GetSize() const { return m_pData ? ::GlobalSize(m_hMem) : 0; }

private:
    HGLOBAL m_hMem;
    void* m_pData;
};

HGLOBAL MakeBlock(const void* pData, SIZE_T nBytes) {
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, nBytes);
    if (!hMem) return nullptr;
    void* pDest = ::GlobalLock(hMem);
    if (!pDest) {
        ::GlobalFree(hMem);
        return nullptr;
    }
    memcpy(pDest, pData, nBytes);
    ::GlobalUnlock(hMem);
    return hMem;
}

HGLOBAL MakeTextBlock(const CString& strText, UINT nFormat, UINT nCodePage) {
    if (nFormat == CF_TEXT || nFormat == CF_OEMTEXT) return MakeBlock(strText.GetString(), strText.GetLength() + 1);
    if (nFormat != CF_UNICODETEXT) return nullptr;
    const int nChars = ::MultiByteToWideChar(nCodePage, 0, strText.GetString(), strText.GetLength(), nullptr, 0);
    std::vector<WCHAR> arWide(static_cast<size_t>(nChars) + 2, 0);
    ::MultiByteToWideChar(nCodePage, 0, strText.GetString(), strText.GetLength(), arWide.data(), nChars);
    return MakeBlock(arWide.data(), (static_cast<SIZE_T>(nChars) + 1) * sizeof(WCHAR));
}

}  // namespace

HGLOBAL CKLVSyntaxEditCtrl::GetSelectedTextHandle(UINT nFormat) {
    CString strText;
    if ((nFormat != CF_TEXT && nFormat != CF_UNICODETEXT) || !GetSelectedText(strText)) return nullptr;
    return MakeTextBlock(strText, nFormat, CP_ACP);
}

BOOL CKLVSyntaxEditCtrl::PutClipboardBlock(UINT nFormat, const void* pData, SIZE_T nBytes) {
    HGLOBAL hMem = MakeBlock(pData, nBytes);
    if (!hMem) return FALSE;
    if (::SetClipboardData(nFormat, hMem)) return TRUE;
    ::GlobalFree(hMem);
    return FALSE;
}

void CKLVSyntaxEditCtrl::Copy() {
    if (!m_bSelection || !m_pBuffer) return;
    CClipboardScope clipboard(m_hWnd);
    if (!clipboard.IsOpen()) return;
    ::EmptyClipboard();
    NormalizeSelection();
    CMemFile file(CalcGrowthStep(m_ptSelStart.y, m_ptSelEnd.y));
    // The clipboard's text uses the "\r\n" line end, whatever the buffer's own style.
    m_pBuffer->GetBuffer(m_ptSelStart.y, m_ptSelStart.x, m_ptSelEnd.y, m_ptSelEnd.x, file, m_bColumnSelection, 0);
    const int nLength = static_cast<int>(file.GetLength());
    CString strText;
    file.SeekToBegin();
    file.Read(strText.GetBufferSetLength(nLength), static_cast<UINT>(nLength));
    strText.ReleaseBuffer(nLength);
    for (UINT nFormat : {UINT(CF_TEXT), UINT(CF_OEMTEXT), UINT(CF_UNICODETEXT)}) {
        HGLOBAL hMem = MakeTextBlock(strText, nFormat, m_pBuffer->GetCodePage());
        if (hMem && !::SetClipboardData(nFormat, hMem)) ::GlobalFree(hMem);
    }
    if (m_bColumnSelection) {
        const BYTE bMark = 1;
        PutClipboardBlock(ColumnFormat(), &bMark, 1);
    }
}

void CKLVSyntaxEditCtrl::Cut() {
    if (!m_bSelection) return;
    Copy();
    DeleteSelection(TRUE);
}

void CKLVSyntaxEditCtrl::Paste() {
    if (!m_pBuffer) return;
    CString strText;
    BOOL bColumn = FALSE;
    {
        CClipboardScope clipboard(m_hWnd);
        if (!clipboard.IsOpen()) return;
        if (HGLOBAL hColumn = ::GetClipboardData(ColumnFormat())) {
            CGlobalLock lock(hColumn);
            bColumn = lock.Get() && lock.GetSize() > 0;
        }
        HGLOBAL hText = ::GetClipboardData(CF_TEXT);
        if (!hText) return;
        CGlobalLock lock(hText);
        if (!lock.Get()) return;
        // Read no further than the block: its text need not end in a NUL.
        const char* pszData = static_cast<const char*>(lock.Get());
        const size_t nLength = strnlen(pszData, lock.GetSize());
        strText = CString(pszData, static_cast<int>(nLength));
    }
    OnPasteText(strText, bColumn);
}

void CKLVSyntaxEditCtrl::OnPasteText(LPCSTR lpszText, BOOL bColumn) {
    const BOOL bTabWithSpace = m_bTabWithSpace, bOverwrite = m_pBuffer->GetOverwriteFlag();
    m_bTabWithSpace = FALSE;
    m_pBuffer->SetOverwriteFlag(FALSE);
    if (bColumn) {
        InsertColumnText(lpszText, m_nCurRow, m_nCurCharPos, FALSE, FALSE);
    } else {
        InsertText(lpszText, m_nCurRow, m_nCurCharPos, m_bSelection, TRUE);
    }
    m_bTabWithSpace = bTabWithSpace;
    m_pBuffer->SetOverwriteFlag(bOverwrite);
    m_pBuffer->GetUndoManager()->SetLastCommandText(9719);
    m_nDirtyRow = -1;
    EnsureVisible(m_nCurRow, m_nDispCol, TRUE, TRUE);
    NotifyValue(KLVSEN_MODIFIED, 1);
}
