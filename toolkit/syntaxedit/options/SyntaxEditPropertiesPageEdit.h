// The "Editor" page of the editor options: scroll bars, line numbers, selection margin, auto
// indentation, syntax colouring, tab size and tabs or spaces, the caret's width and the
// document's automatic reload. Nothing reaches the editor before Apply or OK.
#pragma once

#include "classlib/ClassLib.h"

class CKLVSyntaxEditView;

class CKLVSyntaxEditPropertiesPageEdit : public CPropertyPage {
public:
    explicit CKLVSyntaxEditPropertiesPageEdit(CKLVSyntaxEditView* pView);

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    int m_bAutoReload = 1;
    int m_bHorzScrollBar = 1;
    int m_bVertScrollBar = 1;
    int m_bSyntaxColor = 1;
    int m_bAutoIndent = 1;
    int m_bSelMargin = 1;
    int m_bLineNumbers = 1;
    int m_bWideCaret = 0;
    int m_bKeepTabs = 1;
    int m_nTabSize = 4;
    CKLVSyntaxEditView* m_pView;
    int m_bModified = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ApplyToView();
    void MarkModified();

    afx_msg void OnCheckChange();
    afx_msg void OnTabsChoice(UINT nID);    // keep tabs or insert spaces
    afx_msg void OnCaretChoice(UINT nID);   // thin or thick
    DECLARE_MESSAGE_MAP()
};
