// The masked edit's typing, keys, clipboard, undo and commands.
#include "toolkit/common/MaskEdit.h"

#include "classlib/CommandIds.h"

#include <cstring>

namespace {

bool IsKeyDown(int nVirtKey) { return ::GetKeyState(nVirtKey) < 0; }

// The clipboard's text, read while it is open.
class COpenClipboard {
public:
    explicit COpenClipboard(HWND hWnd) : m_bOpen(::OpenClipboard(hWnd) != FALSE) {}
    ~COpenClipboard() {
        if (m_bOpen) ::CloseClipboard();
    }
    COpenClipboard(const COpenClipboard&) = delete;
    COpenClipboard& operator=(const COpenClipboard&) = delete;
    explicit operator bool() const { return m_bOpen; }

private:
    bool m_bOpen;
};

}  // namespace

void CKLMaskEditT::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // Backspace and space are handled on key-down; every other character reaches the mask, also
    // those that share their codes with virtual keys ('#', '$', '%', '&', '\'', '(' and '.').
    if (!CanUseMask() || nChar == VK_BACK || nChar == VK_SPACE) {
        if (!CanUseMask()) CEdit::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    SyncSelection(TRUE);
    if (!IsInputPosition(m_nStartChar)) {
        OnInvalidPosition();
        return;
    }
    char c = static_cast<char>(nChar);
    if (!CheckChar(c, m_nStartChar)) {
        OnInvalidChar(c, m_strMask[m_nStartChar]);
        return;
    }
    if (IsPrintableChar(c)) {
        InsertChar(c);
        UpdateWindowText(FALSE);
    } else if (nChar != 127) {
        CEdit::OnChar(nChar, nRepCnt, nFlags);
    }
}

BOOL CKLMaskEditT::OnBackspace() {
    SyncSelection(FALSE);
    if (m_nStartChar < 1 || m_nStartChar > m_strLiteral.GetLength()) {
        OnInvalidPosition();
        return FALSE;
    }
    if (m_nStartChar == m_nEndChar) {
        --m_nStartChar;
        CorrectPosition(m_nStartChar, FALSE);
        // Overwrite mode puts the default character back instead of closing the gap.
        if (m_bOverType && m_nStartChar < m_strLiteral.GetLength()) {
            m_strWindowText.SetAt(m_nStartChar, m_strDefault[m_nStartChar]);
            m_nEndChar = m_nStartChar;
        }
    }
    DeleteSelection();
    return TRUE;
}

void CKLMaskEditT::MoveForward(BOOL bShift) {
    SyncSelection(FALSE);
    int nPos = m_nEndChar;
    CorrectPosition(nPos, TRUE);
    if (m_nEndChar > nPos) {
        m_nEndChar = nPos;
        if (!bShift) m_nStartChar = m_nEndChar;
    }
}

void CKLMaskEditT::MoveBackward(BOOL bShift) {
    SyncSelection(FALSE);
    int nPos = m_nStartChar;
    CorrectPosition(nPos, FALSE);
    if (m_nStartChar < nPos) {
        m_nStartChar = nPos;
        if (!bShift) m_nEndChar = m_nStartChar;
    }
}

void CKLMaskEditT::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (!CanUseMask() || nChar < VK_BACK || nChar > VK_DELETE) {
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    const BOOL bShift = IsKeyDown(VK_SHIFT), bCtrl = IsKeyDown(VK_CONTROL);
    switch (nChar) {
    case VK_BACK:
        if (!OnBackspace()) return;
        break;
    case VK_SPACE: {
        SyncSelection(TRUE);
        if (!IsInputPosition(m_nStartChar)) {
            OnInvalidPosition();
            return;
        }
        char c = ' ';
        if (!ProcessMask(c, m_nStartChar)) c = m_chPrompt;
        InsertChar(c);
        break;
    }
    case VK_END: case VK_RIGHT: case VK_DOWN:
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        MoveForward(bShift);
        break;
    case VK_HOME: case VK_LEFT: case VK_UP:
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        MoveBackward(bShift);
        break;
    case VK_INSERT:
        if (bCtrl)
            Copy();
        else if (bShift)
            Paste();
        else
            m_bOverType = !m_bOverType;
        return;
    case VK_DELETE:
        SyncSelection(TRUE);
        if (m_nStartChar == m_nEndChar)
            m_nEndChar = m_nStartChar + 1;
        else if (bShift)
            Copy();
        DeleteSelection();
        break;
    default:
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    UpdateWindowText(TRUE);
}

void CKLMaskEditT::OnSetFocus(CWnd* pOldWnd) {
    CEdit::OnSetFocus(pOldWnd);
    if (!CanUseMask()) return;
    GetSel(m_nStartChar, m_nEndChar);
    CorrectPosition(m_nStartChar, TRUE);
    SendMessage(EM_SETSEL, static_cast<WPARAM>(m_nStartChar), m_nStartChar);
    SendMessage(EM_SCROLLCARET);
}

BOOL CKLMaskEditT::Copy() {
    if (!CanUseMask()) return static_cast<BOOL>(DefWindowProc(WM_COPY, 0, 0));
    SyncSelection(TRUE);
    const CString strText = GetMaskedText(m_nStartChar, m_nEndChar);
    COpenClipboard clipboard(GetSafeHwnd());
    if (!clipboard) return TRUE;
    ::EmptyClipboard();
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, strText.GetLength() + 1);
    if (!hData) return TRUE;
    std::memcpy(::GlobalLock(hData), static_cast<LPCSTR>(strText), strText.GetLength() + 1);
    ::GlobalUnlock(hData);
    if (!::SetClipboardData(CF_TEXT, hData)) ::GlobalFree(hData);
    return TRUE;
}

BOOL CKLMaskEditT::Paste() {
    if (!CanUseMask()) return static_cast<BOOL>(DefWindowProc(WM_PASTE, 0, 0));
    SyncSelection(TRUE);
    COpenClipboard clipboard(GetSafeHwnd());
    if (!clipboard) return FALSE;
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    if (hData) {
        const CString strText(static_cast<LPCSTR>(::GlobalLock(hData)));
        ::GlobalUnlock(hData);
        PasteText(strText);
        UpdateWindowText(TRUE);
    }
    return TRUE;
}

void CKLMaskEditT::PasteText(const CString& strText) {
    DeleteSelection();
    int nPos = m_nStartChar;
    for (int i = 0; i < strText.GetLength() && nPos < m_strLiteral.GetLength(); ++i) {
        char c = strText[i];
        if (c != m_chPrompt && !CheckChar(c, nPos)) continue;
        InsertAt(nPos, c);
        ++nPos;
        CorrectPosition(nPos, TRUE);
    }
    m_nStartChar = nPos;
    CorrectPosition(m_nStartChar, TRUE);
    m_nEndChar = m_nStartChar;
}

BOOL CKLMaskEditT::Clear() {
    if (!CanUseMask()) return static_cast<BOOL>(DefWindowProc(WM_CLEAR, 0, 0));
    SyncSelection(TRUE);
    DeleteSelection();
    UpdateWindowText(TRUE);
    return TRUE;
}

BOOL CKLMaskEditT::Cut() {
    if (!CanUseMask()) return static_cast<BOOL>(DefWindowProc(WM_CUT, 0, 0));
    Copy();
    return Clear();
}

BOOL CKLMaskEditT::Undo() {
    if (!CanUseMask()) return static_cast<BOOL>(DefWindowProc(EM_UNDO, 0, 0));
    GetSel(m_nStartChar, m_nEndChar);
    if (!m_bRedo) {
        GetWindowText(m_strRedo);
        SetWindowText(m_strUndo);
    } else {
        SetWindowText(m_strRedo);
    }
    m_bModified = TRUE;
    m_bRedo = !m_bRedo;
    SendMessage(EM_SETSEL, static_cast<WPARAM>(m_nStartChar), m_nStartChar);
    SendMessage(EM_SCROLLCARET);
    return TRUE;
}

void CKLMaskEditT::SelectAll() {
    int nStart = 0;
    if (CanUseMask()) CorrectPosition(nStart, TRUE);
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStart), -1);
    SendMessage(EM_SCROLLCARET);
}

BOOL CKLMaskEditT::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case ID_EDIT_CLEAR: Clear(); return TRUE;
    case ID_EDIT_COPY: Copy(); return TRUE;
    case ID_EDIT_CUT: Cut(); return TRUE;
    case ID_EDIT_PASTE: Paste(); return TRUE;
    case ID_EDIT_SELECT_ALL: SelectAll(); return TRUE;
    case ID_EDIT_UNDO: Undo(); return TRUE;
    default: return CEdit::OnCommand(wParam, lParam);
    }
}

BOOL CKLMaskEditT::PreTranslateMessage(MSG* pMsg) {
    if (CanUseMask() && pMsg->message == WM_KEYDOWN) {
        if (pMsg->wParam == VK_SUBTRACT || pMsg->wParam == VK_ADD) {
            OnChar(pMsg->wParam == VK_SUBTRACT ? '-' : '+', 1, 1);
            return TRUE;
        }
        if (IsKeyDown(VK_CONTROL)) {
            switch (pMsg->wParam) {
            case 'C': case 'c': Copy(); return TRUE;
            case 'V': case 'v': Paste(); return TRUE;
            case 'X': case 'x': Cut(); return TRUE;
            case 'Z': case 'z': Undo(); return TRUE;
            default: break;
            }
        }
    }
    return CEdit::PreTranslateMessage(pMsg);
}

BOOL CKLMaskEditT::TypePromptAsBlank(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (!CanUseMask() || nChar != static_cast<UINT>(static_cast<unsigned char>(m_chPrompt))) return FALSE;
    OnKeyDown(VK_SPACE, nRepCnt, nFlags);
    return TRUE;
}

void CKLMaskEditT::MoveCaretBehindText() {
    if (!CanUseMask()) return;
    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    CString strText;
    GetWindowText(strText);
    strText.TrimRight(m_chPrompt);
    const int nTextEnd = strText.GetLength();
    if (nStart == nEnd && nStart > nTextEnd) SetSel(nTextEnd, nTextEnd);
}
