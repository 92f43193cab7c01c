// A single-line edit that accepts input only where and of the kind its mask allows: fixed
// literal characters stay in place, empty input positions show a prompt, and insertions and
// deletions shift the input characters, never the literals.
#pragma once

#include "classlib/Controls.h"

// The behaviour, on the class library's edit control. The mask and the literal have one
// character per position; a position is an input position where the literal holds the prompt.
class CKLMaskEditT : public CEdit {
public:
    CKLMaskEditT() = default;

    // FALSE, leaving everything as it was, when the mask and literal differ in length.
    virtual BOOL SetEditMask(LPCTSTR lpszMask, LPCTSTR lpszLiteral, LPCTSTR lpszDefault = nullptr);
    virtual BOOL CheckChar(char& nChar, int nPos);
    virtual BOOL ProcessMask(char& nChar, int nPos);
    virtual BOOL IsPrintableChar(char nChar);
    virtual BOOL IsAlphaChar(char nChar);
    virtual void OnInvalidPosition() { ::MessageBeep(static_cast<UINT>(-1)); }
    virtual void OnInvalidChar(char, char) { ::MessageBeep(static_cast<UINT>(-1)); }

    // Under the mask they act on input characters only; without it they are the edit's own.
    BOOL Cut();
    BOOL Copy();
    BOOL Paste();
    BOOL Clear();
    BOOL Undo();
    void SelectAll();

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void SetUseMask(BOOL bUseMask) { m_bUseMask = bUseMask; }
    BOOL IsModified() const { return m_bModified; }
    BOOL IsOverType() const { return m_bOverType; }
    // The input characters from nStart up to nEnd (-1: the end).
    CString GetMaskedText(int nStart = 0, int nEnd = -1) const;

    // For masks that name things, where a blank inside the text is kept as the prompt character:
    // typing that character types the blank (TRUE when nChar was it), and a caret left in the
    // blanks behind the text (by a click) moves to just after the text, where typing goes on
    // instead of leaving blanks before the typed characters.
    BOOL TypePromptAsBlank(UINT nChar, UINT nRepCnt, UINT nFlags);
    void MoveCaretBehindText();

protected:
    BOOL CanUseMask() const;
    bool IsInputPosition(int nPos) const;
    BOOL CorrectPosition(int& nPos, BOOL bForward = TRUE) const;
    void PadWorkingText();
    void SyncSelection(BOOL bCorrect);
    void SetMaskedText(const CString& strText, int nPos, BOOL bUpdate);
    void InsertAt(int nPos, char nChar);
    void DeleteSelection();
    void InsertChar(char nChar);
    void PasteText(const CString& strText);
    void UpdateWindowText(BOOL bNewStep);
    // Key handlers of OnKeyDown; each returns FALSE to leave the key to the edit control.
    BOOL OnBackspace();
    void MoveForward(BOOL bShift);
    void MoveBackward(BOOL bShift);

    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);

    int m_nStartChar = 0;
    int m_nEndChar = 0;
    BOOL m_bUseMask = TRUE;
    BOOL m_bOverType = FALSE;
    BOOL m_bRedo = FALSE;
    BOOL m_bModified = FALSE;
    char m_chPrompt = '_';
    CString m_strMask;
    CString m_strDefault;
    CString m_strUndo;
    CString m_strRedo;
    CString m_strWindowText;
    CString m_strLiteral;
    BOOL m_bNewUndoStep = TRUE;
};

// The control windows and dialogs embed.
class CKLMaskEdit : public CKLMaskEditT {
    DECLARE_DYNAMIC(CKLMaskEdit)
public:
    BOOL SetEditMask(LPCTSTR lpszMask, LPCTSTR lpszLiteral, LPCTSTR lpszDefault = nullptr) override {
        return CKLMaskEditT::SetEditMask(lpszMask, lpszLiteral, lpszDefault);
    }
    // The toolkit's horizontal font.
    virtual BOOL ApplyDefaultFont(CWnd* pParent = nullptr);

protected:
    afx_msg LRESULT OnCutMessage(WPARAM, LPARAM) { return Cut(); }
    afx_msg LRESULT OnCopyMessage(WPARAM, LPARAM) { return Copy(); }
    afx_msg LRESULT OnPasteMessage(WPARAM, LPARAM) { return Paste(); }
    afx_msg LRESULT OnClearMessage(WPARAM, LPARAM) { return Clear(); }
    afx_msg LRESULT OnUndoMessage(WPARAM, LPARAM) { return Undo(); }
    DECLARE_MESSAGE_MAP()
};
