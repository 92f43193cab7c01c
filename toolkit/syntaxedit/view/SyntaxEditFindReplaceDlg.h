// The syntax editor's modeless Find and Find & Replace dialog: its options and the find and
// replace histories live in the profile's "Settings" section; its buttons drive the search of
// the owning view's edit control.
#pragma once

#include "classlib/ClassLib.h"

class CKLVSyntaxEditView;

class CKLVSyntaxEditFindReplaceDlg : public CDialog {
public:
    CKLVSyntaxEditFindReplaceDlg() noexcept = default;

    // Shows the Find (bReplace FALSE) or Find & Replace form for the view; an open dialog is
    // brought forward. FALSE when it cannot be shown.
    BOOL ShowDialog(CKLVSyntaxEditView* pOwner, BOOL bReplace);
    // Saves the settings and the place, and destroys the window (the Close button).
    void CloseDialog();
    void LoadSettings();
    void SaveSettings();
    void UpdateButtons();

    void FindNext();
    // Find of the find text with the options (Find Next without the history); the message
    // when nothing more is found.
    void FindAgain();
    void Replace();
    void ReplaceAll();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The histories keep at most this many entries each.
    enum { kMaxHistory = 50 };

    int m_nSearchDirection = 1;   // 0 up, 1 down
    BOOL m_bMatchWholeWord = FALSE;
    BOOL m_bMatchCase = FALSE;
    CString m_strFindText;
    CString m_strReplaceText;
    CButton m_btnFindNext;
    CButton m_btnSearchUp;
    CButton m_btnSearchDown;
    CButton m_btnReplace;
    CButton m_btnReplaceAll;
    CComboBox m_cmbFind;
    CComboBox m_cmbReplace;
    BOOL m_bReplaceMode = FALSE;
    CPoint m_ptPosition{-1, -1};
    CKLVSyntaxEditView* m_pOwner = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;
    void PostNcDestroy() override;
    // Appends a text to a history unless it is listed (exactly) already.
    static void AddToHistory(CComboBox& combo, const CString& strText);
    static void LoadHistory(CWinApp* pApp, CComboBox& combo, LPCSTR lpszCountKey, LPCSTR lpszEntryKey);
    static void SaveHistory(CWinApp* pApp, CComboBox& combo, LPCSTR lpszCountKey, LPCSTR lpszEntryKey);
    // The edit control searched; null without an owner.
    class CKLVSyntaxEditCtrl* GetEditCtrl() const;

    afx_msg void OnFindTextChange();
    afx_msg void OnFindSelChange();
    afx_msg void OnReplaceSelChange();
    afx_msg void OnMatchWholeWord();
    afx_msg void OnMatchCase();
    afx_msg void OnDirectionUp();
    afx_msg void OnDirectionDown();
    DECLARE_MESSAGE_MAP()
};
