// Theme 6: theme 5 with tool bars, menus and controls drawn from the skin's images instead of
// gradients, "Segoe UI" metrics from the system menu font, key tips as gradient tool tips and the
// fields the ribbon reads.
#pragma once

#include "toolkit/themes/PaintManagerTheme5.h"
#include "toolkit/themes/ThemeResourceImage.h"

#include <memory>

class CKLVCommandBar;
class CKLVControl;
class CKLVFrameIntegration;
class CKLVRibbonBarFace;
class CKLVRibbonContextHeaderList;
class CKLVRibbonContextTab;
class CKLVRibbonGroupFace;
class CKLVTabManagerItem;
class CKLVTabPainter;

// The name a ribbon tab's context colour number gives the context images: 1 "BLUE" to
// 7 "ORANGE", "" for any other number.
LPCTSTR KLVContextColorName(int nColor);
// A context image's name: the colour's name put into the pattern's "%s".
CString KLVContextImageName(LPCTSTR lpszPattern, int nColor);
// A popup bar's window region, its four corner pixels cut.
HRGN KLVCreatePopupBarRegion(int cx, int cy);

class CKLVPaintManagerTheme6 : public CKLVPaintManagerTheme5 {
public:
    static CKLVPaintManager* Create() { return new CKLVPaintManagerTheme6; }
    ~CKLVPaintManagerTheme6() override;

    void DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControl, CRect rc) override;
    CSize DrawControlComboBox(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) override;
    COLORREF GetControlEditBackColor(CKLVControlFace* pControl) override;
    CSize DrawControlEdit(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) override;
    void FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBar) override;
    void DrawControlEntry(CDC* pDC, CKLVControlFace* pControl) override;
    COLORREF GetControlTextColor(CKLVControlFace* pControl) override;
    CSize DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl, CKLVCommandBarFace* pBar, BOOL bDraw,
                             LPVOID lpParam) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                                   int nBarType, int nBarPosition) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                       int nBarType, int nBarPosition) override;
    CSize DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControl, BOOL bDraw) override;
    void AdjustExcludeRect(CRect&, CKLVControlFace*, BOOL) override {}
    void DrawStatusBarPaneBorder(CDC*, CRect, BOOL) override {}
    void DrawStatusBarGripper(CDC* pDC, CRect rc) override;
    void FillStatusBar(CDC* pDC, CKLVStatusBarFace* pBar) override;
    void RefreshMetrics() override;
    CSize DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                           BOOL bEnabled) override;
    CSize DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                              BOOL bEnabled) override;
    void FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded) override;
    int GetThemeId() override { return 6; }
    void RefreshFonts() override;
    void DrawExpandArrow(CDC* pDC, CKLVControlFace* pControl, CPoint pt, BOOL bSelected, BOOL bPopuped, BOOL bEnabled,
                         BOOL bLeft) override;
    void DrawKeyboardTip(CDC* pDC, CKLVCommandBarKeyboardTip* pTip, BOOL bSetRegion) override;
    void DrawSplitPopupDivider(CDC* pDC, CKLVControl* pControl) override;
    void DrawSubmenuArrow(CDC* pDC, CKLVControl* pControl) override;
    void FillLabelBack(CDC* pDC, CRect rc) override;
    // Gives a popup bar the window region without its corner pixels; other bars keep theirs.
    void SetCommandBarRegion(CKLVCommandBarFace* pBar) override;

    // The ribbon's drawing. The ribbon bar, its tabs, groups and caption-band controls call these.
    // The group area of a tab (plain, or in its context's colour).
    virtual void FillRibbonGroupsArea(CDC* pDC, CKLVRibbonContextTab* pTab, CRect rc);
    // The bar below its caption band, the quick access frame below the ribbon, and the closing
    // lines of a ribbon that shows no group area.
    virtual void FillRibbonBar(CDC* pDC, CKLVRibbonBarFace* pRibbon);
    // A group's body and caption band; nothing for a hidden group.
    virtual void DrawRibbonGroup(CDC* pDC, CKLVRibbonGroupFace* pGroup);
    // The button a collapsed group shows (or a group's button on the quick access tool bar);
    // answers its size, drawn or not.
    virtual CSize DrawRibbonGroupPopupButton(CDC* pDC, CKLVControl* pControl, BOOL bDraw);
    // A group's option button; answers its size, 15 x 14.
    virtual CSize DrawRibbonOptionButton(CDC* pDC, CKLVControl* pControl, BOOL bDraw);
    // A ribbon tab's face and frame (its caption is the tab paint manager's).
    virtual void DrawRibbonTab(CDC* pDC, CKLVTabManagerItem* pItem);
    // The popup bar that shows a collapsed group's controls.
    virtual void FillRibbonGroupPopup(CDC* pDC, CKLVRibbonGroupFace* pGroup, CKLVCommandBar* pPopupBar);
    // The frame's caption the ribbon draws when it owns it: caption band, quick access area,
    // frame icon, context headers and the title (glowing over glass).
    virtual void DrawRibbonFrameCaption(CDC* pDC, CKLVRibbonBarFace* pRibbon);
    // The caption band of a ribbon that does not own the frame's caption.
    virtual void FillRibbonCaptionBand(CDC* pDC, CKLVRibbonBarFace* pRibbon);
    virtual void DrawRibbonSystemButton(CDC* pDC, CKLVControl* pControl, CRect rc);
    // Stops at the first header whose image the skin lacks.
    virtual void DrawRibbonContextHeaders(CDC* pDC, CKLVRibbonBarFace* pRibbon, CKLVRibbonContextHeaderList* pHeaders);
    virtual void DrawQuickAccessCustomizeButton(CDC* pDC, CKLVControl* pControl);
    virtual void DrawQuickAccessMoreButton(CDC* pDC, CKLVControl* pControl);
    virtual void DrawRibbonScrollButton(CDC* pDC, CKLVControl* pControl, BOOL bLeft);
    // The quick access tool bar's popup of the controls that did not fit.
    virtual void FillMorePopupToolBar(CDC* pDC, CKLVCommandBar* pBar);
    // A new tab paint manager for the ribbon's tab row; the caller owns it.
    virtual CKLVTabPainter* CreateRibbonTabPainter();

    // A control window that sits on the ribbon paints its client area in the ribbon's face colour.
    void FillRibbonWindowClient(CDC* pDC, CWnd* pWnd);

    // The rectangle meets the caption band of a ribbon whose frame integration is active.
    static BOOL IsInRibbonCaption(CKLVCommandBar* pBar, CRect rc);
    // The frame integration of a ribbon that draws its frame's caption; null when it does not.
    static CKLVFrameIntegration* GetRibbonFrame(CKLVRibbonBarFace* pRibbon);
    // How a skin image at rc on the bar is drawn: over glass in the caption band of a composited
    // frame, else with the magenta key.
    static KLVSkinDrawMode SkinModeAt(CKLVCommandBar* pBar, CRect rc);

    // The "RIBBONTAB" part of a plain tab's state; -1 draws no face.
    static int RibbonTabPart(BOOL bHot, BOOL bSelected, BOOL bPressed, BOOL bRowFocused);
    // The "CONTEXTTAB" part of a context tab's state; -1 draws no face.
    static int ContextTabPart(BOOL bHot, BOOL bSelected, BOOL bRowFocused);
    // The part of a popup button (system, group, quick access): 2 popped up, 1 selected, 0 else.
    static int PopupButtonPart(BOOL bPopuped, BOOL bSelected);
    // The width of a collapsed group's button for the theme's text height: never below 42.
    int CollapsedGroupWidth() const;
    // The system button's image for a button of that size.
    static LPCTSTR SystemButtonImage(CSize szButton);


    // The "TOOLBARBUTTONS" part of a button's state; -1 draws no face.
    static int ToolBarButtonPart(int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bPopuped);
    // The cell of a button joined into a strip by its state; every state has one.
    static int StripCell(int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bPopuped);
    // The image of a button in a strip: SINGLE, LEFT, RIGHT or CENTER by whether it begins and ends its run.
    static LPCTSTR StripImage(BOOL bBeginsRun, BOOL bEndsRun);
    // The spin buttons' cells: up 0 to 4, down 5 to 9.
    static int SpinUpCell(int nSelected, int nPressed, int nEnabled);
    static int SpinDownCell(int nSelected, int nPressed, int nEnabled);
    // The drop-down button of a combo box: 4 disabled, 3 dropped, 2 selected, 0 else.
    static int ComboButtonPart(int nSelected, int nEnabled, BOOL bDropped);

    BOOL m_bHighlightGroups = TRUE;
    int m_nRibbonTabHeight = 23;
    CKLVPaintManagerFont m_fontGroup;   // its standard flag is the recreate-on-refresh flag
    std::unique_ptr<CKLVTabPainter> m_pRibbonTabPainter;
    int m_nGroupCaptionHeight = 17;
    int m_nFontSize = 0;
    COLORREF m_clrRibbonFace = 0;
    COLORREF m_clrRibbonText = 0;
    COLORREF m_clrGroupCaptionText = 0;
    COLORREF m_clrEditFace = 0;
    COLORREF m_clrMinimizedEdgeHighlight = 0;
    COLORREF m_clrMinimizedEdgeShadow = 0;

protected:
    CKLVPaintManagerTheme6();

private:
    BOOL DrawSplitParts(CDC* pDC, CKLVControl* pControl, CRect rcCommand, CRect rcDrop);
    // The edit or combo box less its label, filled and framed by state.
    CRect DrawEditBox(CDC* pDC, CKLVControl* pControl, BOOL bComboBox);
    void RebuildOtherFonts(const LOGFONTA& lf, BOOL bSegoe);
    void RefreshRibbonTabPainter(const LOGFONTA& lf);
    void ReadRibbonTabColors();
    void SetRibbonColorDefaults();
    void ReadRibbonColors();
    // The quick access area behind a quick access tool bar above the ribbon that shows controls.
    void DrawQuickAccessArea(CDC* pDC, CKLVRibbonBarFace* pRibbon, int nTop, BOOL bGlass);
    // The title of the frame, centred in the ribbon's title rectangle.
    void DrawRibbonTitle(CDC* pDC, CKLVRibbonBarFace* pRibbon, CKLVFrameIntegration* pFrame);
    // Caption text over glass: a glow behind it where the visual style offers one.
    void DrawGlowText(CDC* pDC, const CString& strText, CRect rc, UINT nFormat, BOOL bMaximized);
    CSize DrawCollapsedGroupButton(CDC* pDC, CKLVControl* pControl, const CKLVRibbonGroupFace* pGroup, BOOL bDraw);
};
