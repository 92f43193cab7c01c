// A control that hosts a child window of the application on a command bar: the bar lays it out
// like a control and the control moves, shows, hides and enables the window. Where the window
// cannot show (a vertical bar) the control is hidden, or drawn and clicked as a plain button.
#pragma once

#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/common/HookSink.h"

class CKLVControlCustom : public CKLVControlButton, public CKLVHookSink {
    DECLARE_SERIAL(CKLVControlCustom)
public:
    enum VerticalOption { verticalHide = 0, verticalKeepWindow = 1, verticalButton = 2 };

    CKLVControlCustom();
    ~CKLVControlCustom() override;

    void SetEnabled(int bEnabled) override;
    void SetRect(CRect rc) override;
    void SetHideFlags(DWORD dwFlags) override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void PrepareDynamicLayout(int nMode) override;
    // "Borders", "ControlSize", "VerticalOptions" and, from schema 6, "ControlId"; a loaded id
    // finds its window again among the site frame's children, then among the bars'.
    void DoPropExchange(CKLVPropExchange* pPX) override;
    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint pt, DWORD& dwEffect) override;
    void OnRemoved() override;
    void OnActionChanged(int nProperty) override;

    // The hosted window's mouse moves reach the bar where they lie on it.
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // Hosts the window (null for none), watching its messages, and takes its id.
    void SetControl(HWND hWnd);
    HWND GetControl() const { return m_hwndControl; }
    // Shows the window where the control, its bar and the bar's window are all visible.
    void UpdateVisibility();
    BOOL IsWindowShown() const;

    HWND m_hwndControl = nullptr;
    CRect m_rcBorders;
    BOOL m_bShowWindow = TRUE;
    CSize m_szControl;
    int m_nVerticalOptions = verticalHide;
    int m_nControlId = 0;

private:
    HWND FindControlById(int nId) const;
};
