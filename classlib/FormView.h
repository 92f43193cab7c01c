// CFormView: a view whose window is a child dialog made from a dialog template: its controls are
// the view's content, their commands go to the view and its document, the tab and arrow keys move
// between them, and their values move through DoDataExchange (UpdateData(FALSE) at the initial
// update).
#pragma once

#include "classlib/View.h"

class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    ~CFormView() override = default;

    // The window comes from the template; dwRequestedStyle decides only its border and its
    // visibility. FALSE when there is no such template or it is not a child template.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwRequestedStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    void OnInitialUpdate() override;   // UpdateData(FALSE), then the view's
    BOOL PreTranslateMessage(MSG* pMsg) override;

    LPCTSTR m_lpszTemplateName = nullptr;

protected:
    explicit CFormView(LPCTSTR lpszTemplateName) : m_lpszTemplateName(lpszTemplateName) {}
    explicit CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)) {}

    void OnDraw(CDC* /*pDC*/) override {}   // the controls draw themselves
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

private:
    void NoteFocus();   // remembers the control that has the focus, if it is one of the form's

    CCreateContext* m_pCreateContext = nullptr;   // for WM_CREATE, while Create runs
    HWND m_hWndFocus = nullptr;                   // the control that had the focus last
};
