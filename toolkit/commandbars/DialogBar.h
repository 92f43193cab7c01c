// A tool bar that hosts one child window (typically a dialog) below a caption line. The caption
// shows the bar's title in a popup control the application may fill, and a close button. The bar
// keeps a child-area size of its own for the docked and for the floating state, is resized from
// its free edge while docked and from every edge and corner while floating, and never below its
// minimum child size.
#pragma once

#include "toolkit/commandbars/ToolBar.h"

class CKLVPopupBar;
class CKLVDialogBarCaptionPopup;

class CKLVDialogBar : public CKLVToolBar {
    DECLARE_SERIAL(CKLVDialogBar)
public:
    enum : UINT { idCaptionPopup = 9147 };
    // The close button's side; the caption popup is at least as tall.
    enum { captionButtonSize = 16 };

    CKLVDialogBar();
    ~CKLVDialogBar() override;

    BOOL IsDialogBar() const override { return TRUE; }
    // 1 in the caption strip at the top of the window; elsewhere the mouse hook passes over the
    // bar (-2), so that clicks into the child close the caption's popup.
    BOOL IsPointInBar(CPoint ptScreen) const override;
    void OnIdleUpdate(BOOL bDisableIfNoHandler = TRUE, BOOL bIgnored = FALSE) override;
    void Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;

    // The tracker's free resizing: the window rectangle asked for (screen coordinates) and the
    // border being dragged. Ignored when the child area would fall below the minimum size.
    void OnResize(int nLeft, int nTop, int nRight, int nBottom, int nHitTest);
    // Places the child in the client area below the caption, inside the borders.
    void PositionChild();
    // The caption text, or the window text when it is empty.
    CString GetCaptionTitle() const;
    // Whether the focus lies in the bar, its child, or a window owned by (or a child of) a child
    // of the bar.
    BOOL IsFocusInBar() const;

    void SetChild(HWND hWnd) { m_hwndChild = hWnd; }
    HWND GetChild() const { return m_hwndChild; }
    CKLVPopupBar* GetCaptionPopupBar() const { return m_pCaptionPopupBar; }
    // The caption line's height as the last layout measured it; 0 without a caption.
    int GetCaptionLineHeight() const { return m_nCaptionHeight; }
    BOOL IsActive() const { return m_bActive; }

    CRect m_rcBorders{3, 3, 3, 3};
    BOOL m_bResizable = TRUE;
    CSize m_szMinimum{50, 50};
    BOOL m_bCaption = TRUE;
    BOOL m_bCaptionPopup = TRUE;
    CSize m_szDocked{200, 200};
    CSize m_szFloating{200, 200};
    CString m_strCaption;

protected:
    // The bar around a child area of the size: borders, caption, stretching and the length's cap;
    // places the caption controls.
    CSize CalcLayout(int nLength, DWORD dwMode, CSize szChild);
    void LayoutCaptionControls(int nWidth);
    CKLVControl* PrepareCloseButton();
    CKLVDialogBarCaptionPopup* PrepareCaptionPopup();
    // The border a docked bar may be resized by at the point, or 0.
    UINT HitTestDockedEdge(CPoint point, const CRect& rcInner) const;
    static UINT HitTestFloatingEdge(CPoint point, const CRect& rcInner);

    int m_nCaptionHeight = 0;
    HWND m_hwndChild = nullptr;
    CKLVPopupBar* m_pCaptionPopupBar;
    BOOL m_bActive = FALSE;

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
