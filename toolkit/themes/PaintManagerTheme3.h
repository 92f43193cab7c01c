// Theme 3: command bars in the platform's visual styles (rebar bands and grippers, tool-bar
// buttons, split buttons, separators, combo and spin buttons, the small caption of floating
// bars) with the platform's menu conventions. Whenever the rebar or tool-bar style is not active
// every operation draws theme 0's classic look.
#pragma once

#include "toolkit/themes/PaintManagerTheme0.h"
#include "toolkit/common/WinThemeWrapper.h"

// The "TOOLBAR" button state (1 normal, 2 hot, 3 pressed, 4 disabled, 5 checked, 6 hot and
// checked) of a control's selected, pressed, enabled, checked and popped-up values.
int KLVToolBarButtonState(int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bPopuped);

class CKLVCommandBar;
class CKLVControl;

class CKLVPaintManagerTheme3 : public CKLVPaintManagerTheme0 {
public:
    static CKLVPaintManager* Create() { return new CKLVPaintManagerTheme3; }
    ~CKLVPaintManagerTheme3() override;

    void DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControl, CRect rc) override;
    void FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBar) override;
    void DrawControlEntry(CDC* pDC, CKLVControlFace* pControl) override;
    COLORREF GetControlTextColor(CKLVControlFace* pControl) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                       int nBarType, int nBarPosition) override;
    CSize DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) override;
    CSize DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControl, BOOL bDraw) override;
    void AdjustExcludeRect(CRect& rc, CKLVControlFace* pControl, BOOL bVertical) override;
    void FillDockBar(CDC* pDC, CWnd* pDockBar, int nPosition) override;
    void RefreshMetrics() override;
    CSize DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl, CKLVCommandBarFace* pBar, BOOL bDraw,
                             LPVOID lpParam) override;
    CSize DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) override;
    int GetThemeId() override { return 3; }
    void DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected) override;
    void DrawComboButton(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bDropped) override;
    void DrawSpinButtons(CDC* pDC, CKLVControl* pControl) override;

    // Both the rebar and the tool-bar styles are active.
    BOOL IsThemed() const { return m_themeRebar.GetThemeHandle() && m_themeToolBar.GetThemeHandle(); }

    CKLVWinThemeWrapper m_themeRebar;
    CKLVWinThemeWrapper m_themeToolBar;
    CKLVWinThemeWrapper m_themeComboBox;
    CKLVWinThemeWrapper m_themeWindow;
    CKLVWinThemeWrapper m_themeSpin;
    COLORREF m_clrRebarEdgeShadow = 0;
    COLORREF m_clrRebarEdgeHighlight = 0;
    BOOL m_bFlatMenus = TRUE;

protected:
    CKLVPaintManagerTheme3();

private:
    // A popup control on the menu bar while the platform draws menus flat.
    BOOL IsFlatMenuBarPopup(CKLVControl* pControl) const;
    void DrawPart(CKLVWinThemeWrapper& theme, CDC* pDC, int nPart, int nState, CRect rc, const CRect* pClip = nullptr);
    // The rebar band background over the window rectangle of pOwner, in pBar's client co-ordinates.
    void FillRebarBackground(CDC* pDC, CWnd* pBar, CWnd* pOwner);
    void FillFloatingBar(CDC* pDC, CKLVCommandBar* pBar, CRect rc);
};
