// The mask: input positions, laying text into the literal, inserting and deleting, and
// writing the control with its undo step.
#include "toolkit/common/MaskEdit.h"

#include "toolkit/common/AuxData.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

char ChangeCase(char c, bool bUpper) {
    CString str(c, 1);
    bUpper ? str.MakeUpper() : str.MakeLower();
    return str[0];
}

}  // namespace

BOOL CKLMaskEditT::SetEditMask(LPCTSTR lpszMask, LPCTSTR lpszLiteral, LPCTSTR lpszDefault) {
    const CString strMask = lpszMask ? lpszMask : "", strLiteral = lpszLiteral ? lpszLiteral : "";
    // A mask of another length than the literal would be read past its end: refused whole.
    if (strMask.GetLength() != strLiteral.GetLength()) return FALSE;
    m_strMask = strMask;
    m_strLiteral = strLiteral;
    m_strWindowText = m_strLiteral;
    if (lpszDefault && CString(lpszDefault).GetLength() == m_strLiteral.GetLength())
        m_strWindowText = lpszDefault;
    else if (lpszDefault)
        SetMaskedText(lpszDefault, 0, FALSE);
    m_strDefault = m_strWindowText;
    m_bRedo = FALSE;
    m_bModified = FALSE;
    if (GetSafeHwnd()) SetWindowText(m_strWindowText);
    m_strUndo = m_strWindowText;
    return TRUE;
}

BOOL CKLMaskEditT::IsAlphaChar(char nChar) {
    return std::isalpha(static_cast<unsigned char>(nChar)) || ChangeCase(nChar, true) != nChar ||
           ChangeCase(nChar, false) != nChar;
}

BOOL CKLMaskEditT::IsPrintableChar(char nChar) {
    return std::isprint(static_cast<unsigned char>(nChar)) || IsAlphaChar(nChar);
}

BOOL CKLMaskEditT::ProcessMask(char& nChar, int nPos) {
    if (nPos < 0 || nPos >= m_strMask.GetLength()) return FALSE;
    const char c = nChar;
    switch (m_strMask[nPos]) {
    case '#': return IsDigit(c) || IsSpace(c) || c == '-' || c == '+';
    case '&': return IsPrintableChar(c);
    case '0': return IsDigit(c);
    case '9': return IsDigit(c) || IsSpace(c);
    case '<':
    case '>':
        if (!IsAlphaChar(c)) return FALSE;
        nChar = ChangeCase(c, m_strMask[nPos] == '>');
        return TRUE;
    case '?': return IsAlphaChar(c) || IsSpace(c);
    case 'A': return IsAlnum(c) || IsAlphaChar(c);
    case 'H': return IsHex(c);
    case 'L': return IsAlphaChar(c);
    case 'X': return IsHex(c) || IsSpace(c);
    case 'a': return IsAlnum(c) || IsAlphaChar(c) || IsSpace(c);
    case 'd': return IsDigit(c) || IsSpace(c) || c == '+' || c == ',' || c == '-' || c == '.';
    default: return FALSE;
    }
}

BOOL CKLMaskEditT::CheckChar(char& nChar, int nPos) {
    if (!CanUseMask()) return FALSE;
    if (!IsPrintableChar(nChar)) return TRUE;
    if (!IsInputPosition(nPos)) return FALSE;
    return ProcessMask(nChar, nPos);
}

BOOL CKLMaskEditT::CanUseMask() const {
    return m_bUseMask && !m_strMask.IsEmpty() && GetSafeHwnd() && !(GetStyle() & ES_READONLY);
}

bool CKLMaskEditT::IsInputPosition(int nPos) const {
    return nPos >= 0 && nPos < m_strLiteral.GetLength() && m_strLiteral[nPos] == m_chPrompt;
}

BOOL CKLMaskEditT::CorrectPosition(int& nPos, BOOL bForward) const {
    const int nLength = m_strLiteral.GetLength();
    if (IsInputPosition(nPos)) return TRUE;
    if (bForward) {
        for (int p = std::max(nPos, 0); p < nLength; ++p) {
            if (IsInputPosition(p)) return nPos = p, TRUE;
        }
        for (int p = nLength - 1; p >= 0; --p) {
            if (IsInputPosition(p)) return nPos = p + 1, FALSE;
        }
        nPos = -1;
        return FALSE;
    }
    for (int p = std::min(nPos, nLength) - 1; p >= 0; --p) {
        if (IsInputPosition(p)) return nPos = p, TRUE;
    }
    for (int p = 0; p < nLength; ++p) {
        if (IsInputPosition(p)) return nPos = p, FALSE;
    }
    nPos = nLength;
    return FALSE;
}

void CKLMaskEditT::PadWorkingText() {
    const int nLength = m_strLiteral.GetLength();
    if (m_strWindowText.GetLength() < nLength)
        m_strWindowText += m_strLiteral.Mid(m_strWindowText.GetLength());
    else if (m_strWindowText.GetLength() > nLength)
        m_strWindowText = m_strWindowText.Left(nLength);
}

void CKLMaskEditT::SyncSelection(BOOL bCorrect) {
    GetSel(m_nStartChar, m_nEndChar);
    GetWindowText(m_strWindowText);
    PadWorkingText();
    if (!bCorrect) return;
    CorrectPosition(m_nStartChar, TRUE);
    CorrectPosition(m_nEndChar, TRUE);
    if (m_nEndChar < m_nStartChar) m_nEndChar = m_nStartChar;
}

CString CKLMaskEditT::GetMaskedText(int nStart, int nEnd) const {
    const int nLength = m_strWindowText.GetLength();
    if (nEnd < 0 || nEnd > nLength) nEnd = nLength;
    CString strText;
    for (int i = std::max(nStart, 0); i < nEnd; ++i) {
        if (IsInputPosition(i)) strText += m_strWindowText[i];
    }
    return strText;
}

void CKLMaskEditT::SetMaskedText(const CString& strText, int nPos, BOOL bUpdate) {
    CString strResult = m_strWindowText.Left(nPos);
    for (int i = 0, p = nPos; i < strText.GetLength() && p < m_strLiteral.GetLength(); ++p) {
        char c = strText[i];
        if (IsInputPosition(p) && (c == m_chPrompt || ProcessMask(c, p))) {
            strResult += c;
            ++i;
        } else {
            // A literal, or a refused character: the literal is kept and the character tried at
            // the next position.
            strResult += m_strLiteral[p];
        }
    }
    m_strWindowText = strResult;
    PadWorkingText();
    if (bUpdate) UpdateWindowText(TRUE);
}

void CKLMaskEditT::InsertAt(int nPos, char nChar) {
    if (nPos < 0 || nPos >= m_strLiteral.GetLength()) return;
    SetMaskedText(CString(nChar, 1) + GetMaskedText(nPos, -1), nPos, FALSE);
}

void CKLMaskEditT::DeleteSelection() {
    if (m_nStartChar == m_nEndChar) return;
    SetMaskedText(GetMaskedText(m_nEndChar, -1), m_nStartChar, FALSE);
    m_nEndChar = m_nStartChar;
}

void CKLMaskEditT::InsertChar(char nChar) {
    if (m_nStartChar >= m_strLiteral.GetLength()) {
        OnInvalidPosition();
        return;
    }
    DeleteSelection();
    CorrectPosition(m_nStartChar, TRUE);
    if (m_bOverType)
        m_strWindowText.SetAt(m_nStartChar, nChar);
    else
        InsertAt(m_nStartChar, nChar);
    if (m_nStartChar < m_strLiteral.GetLength()) ++m_nStartChar;
    CorrectPosition(m_nStartChar, TRUE);
    m_nEndChar = m_nStartChar;
}

void CKLMaskEditT::UpdateWindowText(BOOL bNewStep) {
    CString strBefore;
    GetWindowText(strBefore);
    PadWorkingText();
    ::HideCaret(m_hWnd);
    if (strBefore != m_strWindowText) {
        SetWindowText(m_strWindowText);
        if (bNewStep || m_bNewUndoStep) m_strUndo = strBefore;
        m_bRedo = FALSE;
        m_bModified = TRUE;
    }
    m_bNewUndoStep = bNewStep;
    SendMessage(EM_SETSEL, static_cast<WPARAM>(m_nStartChar), m_nEndChar);
    SendMessage(EM_SCROLLCARET);
    ::ShowCaret(m_hWnd);
}

IMPLEMENT_DYNAMIC(CKLMaskEdit, CEdit)

BEGIN_MESSAGE_MAP(CKLMaskEdit, CKLMaskEditT)
    ON_MESSAGE(WM_CUT, OnCutMessage)
    ON_MESSAGE(WM_PASTE, OnPasteMessage)
    ON_MESSAGE(WM_CLEAR, OnClearMessage)
    ON_MESSAGE(WM_UNDO, OnUndoMessage)
    ON_MESSAGE(WM_COPY, OnCopyMessage)
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

BOOL CKLMaskEdit::ApplyDefaultFont(CWnd*) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(KLVAuxData()->font.GetSafeHandle()), TRUE);
    return TRUE;
}
