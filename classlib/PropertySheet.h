// CPropertySheet and CPropertyPage: a tabbed dialog of pages (the common controls' property
// sheet). Each page is a dialog of its own, made when first shown; it hears of activation
// (OnSetActive, OnKillActive, which saves its values) and of Apply and OK (OnApply), and tells
// the sheet of changes with SetModified, which enables Apply.
#pragma once

#include "classlib/Dialog.h"

#include <prsht.h>
#include <vector>

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
    // A template in memory; it must outlive the page's window.
    explicit CPropertyPage(LPCDLGTEMPLATE lpDialogTemplate, LPCTSTR lpszCaption = nullptr);
    ~CPropertyPage() override = default;

    virtual BOOL OnSetActive();    // values into the controls, except the first time (OnInitDialog did)
    virtual BOOL OnKillActive();   // UpdateData(TRUE): FALSE keeps the page
    virtual BOOL OnApply();        // OnOK; TRUE when the values were taken
    virtual void OnReset();        // OnCancel
    virtual BOOL OnQueryCancel() { return TRUE; }
    void OnOK() override {}
    void OnCancel() override {}
    void SetModified(BOOL bChanged = TRUE);

    PROPSHEETPAGEA m_psp;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void CommonConstruct(LPCTSTR lpszTemplateName, UINT nIDCaption);
    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;
    friend class CPropertySheet;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override = default;

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const { return m_pages.at(static_cast<size_t>(nPage)); }
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    CWnd* GetTabControl() const;
    void PressButton(int nButton) { SendMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(nButton)); }

    // IDOK when the sheet was closed with OK, IDCANCEL otherwise, -1 when it could not be made.
    virtual INT_PTR DoModal();
    // A modeless sheet.
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    BOOL PreTranslateMessage(MSG* pMsg) override;   // dialog keys of a modeless sheet

    PROPSHEETHEADERA m_psh;

protected:
    void PostNcDestroy() override;

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    // The header with the pages, ready for PropertySheet; pages hold their objects in lParam.
    void BuildHeader(std::vector<HPROPSHEETPAGE>& handles);
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    BOOL m_bModeless = FALSE;
};
