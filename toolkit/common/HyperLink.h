// A static text control that acts as a web link: link colours, a hand cursor and a tooltip with
// the address over its text, and a click that opens the address through the shell.
#pragma once

#include "classlib/Controls.h"
#include "classlib/GdiObject.h"
#include "classlib/ToolTipCtrl.h"

class CKLHyperLink : public CStatic {
    DECLARE_DYNAMIC(CKLHyperLink)
public:
    using PFNSHELLEXECUTE = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

    CKLHyperLink();
    ~CKLHyperLink() override;

    virtual void SetURL(LPCTSTR lpszURL);
    virtual CString GetURL() const { return m_strURL; }
    virtual void SetColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover);
    virtual COLORREF GetLinkColor() const { return m_clrLink; }
    virtual COLORREF GetVisitedColor() const { return m_clrVisited; }
    virtual COLORREF GetHoverColor() const { return m_clrHover; }
    virtual void SetVisited(bool bVisited = true);
    virtual bool GetVisited() const { return m_bVisited; }
    virtual void SetLinkCursor(HCURSOR hCursor) { m_hcurHand = hCursor; }
    virtual HCURSOR GetLinkCursor() const { return m_hcurHand; }
    virtual void SetUnderline(bool bUnderline = true);
    virtual bool GetUnderline() const { return m_bUnderline; }
    // -1 unsets it: the system paints the background.
    virtual void SetBackColor(COLORREF clrBack);
    virtual COLORREF GetBackColor() const;
    // TRUE when the shell opened the address (the stored one for null).
    virtual bool OpenUrl(LPCTSTR lpszURL = nullptr, int nShowCmd = SW_SHOW, LPCTSTR lpszParameters = nullptr,
                         LPCTSTR lpszDirectory = nullptr);
    // A text static (not an icon or bitmap one).
    virtual bool IsTextControl() const;
    virtual bool IsCursorOverLink() const;
    virtual void ReportError(int nError);
    virtual bool InitControl();
    virtual bool UpdateUnderlineFont();
    virtual bool CreateUnderlineFont(CFont& font, bool bUnderline);

    // Whether a screen point lies over the link: over the text's extent for a text static, over
    // the whole window otherwise.
    bool IsPointOverLink(CPoint ptScreen) const;
    // The message for a shell result, from the toolkit's string resources.
    static CString GetErrorText(int nError);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The shell call that opens addresses.
    static PFNSHELLEXECUTE s_pfnShellExecute;

protected:
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void RedrawLink();

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpWndPos);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnClicked();
    DECLARE_MESSAGE_MAP()

protected:
    bool m_bOpenOnClick = true;
    bool m_bInitOnSubclass = true;
    bool m_bUnderline = true;
    bool m_bHover = false;
    bool m_bVisited = false;
    bool m_bToolTipOn = true;
    CFont m_fontUnderline;
    CString m_strURL;
    CString m_strToolTipText;
    HCURSOR m_hcurHand;
    COLORREF m_clrLink = RGB(0, 0, 255);
    COLORREF m_clrHover = RGB(255, 0, 0);
    COLORREF m_clrVisited = RGB(128, 0, 128);
    COLORREF m_clrBack = COLORREF(-1);
    CToolTipCtrl m_toolTip;
};
