// The New Project dialog's name field: the name mask of the toolkit's masked edit, which says in
// the dialog's hint line why a typed character was left out instead of only beeping. An
// underscore is typed as the blank that stands for it; a click behind the name types on after it.
#pragma once

#include "toolkit/common/MaskEdit.h"

class CProjectNameEdit : public CKLMaskEdit {
public:
    // The dialog's static that shows the rule when a character is left out.
    void SetHintID(int nHintID) { m_nHintID = nHintID; }

    // What the hint says when c was typed; c is 0 for a character past the mask's end.
    static CString HintFor(char c);

protected:
    void OnInvalidChar(char c, char chMask) override;
    void OnInvalidPosition() override;
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    void ShowHint(char c);

    int m_nHintID = 0;
    bool m_bTyping = false;   // while a typed character reaches the mask

    DECLARE_MESSAGE_MAP()
};
