#include "app/ProjectNameEdit.h"

BEGIN_MESSAGE_MAP(CProjectNameEdit, CKLMaskEdit)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CString CProjectNameEdit::HintFor(char c) {
    CString strHint;
    if (c == '\0')
        strHint = "A name holds at most 15 characters.";
    else if (c == ' ')
        strHint = "A blank becomes _: a name holds letters, digits and _ and starts with a letter.";
    else
        strHint.Format("'%c' was left out: a name holds letters, digits and _ and starts with a letter.", c);
    return strHint;
}

void CProjectNameEdit::ShowHint(char c) {
    CWnd* pParent = GetParent();
    if (pParent && m_nHintID) pParent->SetDlgItemText(m_nHintID, HintFor(c));
}

// Only a character typed past the mask's end is one too many: a BackSpace or Delete with nothing
// left to take, or an arrow at the field's end, only beeps.
void CProjectNameEdit::OnInvalidPosition() {
    CKLMaskEdit::OnInvalidPosition();
    if (m_bTyping) ShowHint('\0');
}

// A click behind the name puts the caret right after it: typed there, a character would stand
// behind blanks (a name must not start with one) or past the mask, where it is refused.
void CProjectNameEdit::OnLButtonUp(UINT nFlags, CPoint point) {
    CKLMaskEdit::OnLButtonUp(nFlags, point);
    MoveCaretBehindText();
}

void CProjectNameEdit::OnInvalidChar(char c, char chMask) {
    CKLMaskEdit::OnInvalidChar(c, chMask);
    ShowHint(c);
}

// The mask takes no underscore itself; the blank it stands for is the prompt character "_".
void CProjectNameEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (TypePromptAsBlank(nChar, nRepCnt, nFlags)) return;
    m_bTyping = nChar != VK_BACK;
    CKLMaskEdit::OnChar(nChar, nRepCnt, nFlags);
    m_bTyping = false;
}

void CProjectNameEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_SPACE) ShowHint(' ');
    CKLMaskEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}
