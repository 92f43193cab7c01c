// The base through which every command bar, control, status bar and key tip is measured and
// drawn: the command-bar fonts, the 63-entry colour table, the switches the themes set, and the
// one process-wide paint manager with its theme registry.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/GdiObject.h"
#include "classlib/String.h"
#include "toolkit/commandbars/interfaces/StatusBarPainter.h"
#include "toolkit/common/ColorValue.h"
#include "toolkit/common/WinThemeWrapper.h"

#include <memory>

class CDC;
class CKLVCommandBarFace;
class CKLVCommandBarKeyboardTip;
class CKLVControlFace;
class CKLVControlGalleryPaintManager;
class CKLVImageManagerIcon;

// A font the paint manager rebuilds from the system on every refresh unless the application set
// it (standard flag FALSE), in which case a font that has a handle is left alone.
class CKLVPaintManagerFont : public CFont {
public:
    void SetStandardFont(BOOL bStandardFont) { m_bStandardFont = bStandardFont; }
    BOOL IsStandardFont() const { return m_bStandardFont; }

    BOOL m_bStandardFont = TRUE;
};

struct KLVIconsInfo {
    BOOL bUseFadedIcons = FALSE;
    BOOL bUseDisabledIcons = FALSE;
    BOOL bIconsWithShadow = FALSE;
    // Not exchanged with the options; set by theme 1.
    BOOL bGenerateDisabledIcons = FALSE;
};

class CKLVPaintManager : public CCmdTarget, public CKLVStatusBarPainter {
public:
    enum { nColorCount = 63 };
    using ThemeCreator = CKLVPaintManager* (*)();

    // Makes the theme current (releasing the previous one) and refreshes it. When no theme at all
    // is registered the current paint manager stays.
    static void SetTheme(int nTheme);
    // The registered theme for the id, else theme 0's; null when neither is registered.
    static CKLVPaintManager* CreateThemeObject(int nTheme);
    // A null creator withdraws the id's registration.
    static void RegisterTheme(int nTheme, ThemeCreator pfnCreate);
    // The current process-wide paint manager; null until a theme was set.
    static CKLVPaintManager* GetGlobalPaintManager();

    // Virtual operations keep the order every theme was built against.
    virtual CSize DrawControlPopupParent(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw);
    virtual CSize DrawControlToolBarParent(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw);
    virtual void DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControl, CRect rc) = 0;
    virtual CSize DrawControlComboBox(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw);
    // Colour 5 for an enabled control, 15 for a disabled one.
    virtual COLORREF GetControlEditBackColor(CKLVControlFace* pControl);
    virtual CSize DrawControlEdit(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw);
    virtual CSize DrawListBoxControl(CDC* pDC, CKLVControlFace* pControl, CRect rc, BOOL bSelected, BOOL bEnabled,
                                     CKLVControlFace* pList) = 0;
    // A bar's background and border.
    virtual void FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBar) = 0;
    // The control's background by its state, through DrawRectangle.
    virtual void DrawControlEntry(CDC* pDC, CKLVControlFace* pControl);
    virtual COLORREF GetControlTextColor(CKLVControlFace* pControl);
    virtual COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                                           int nBarType, int nBarPosition) = 0;
    virtual void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked,
                               BOOL bPopuped, int nBarType, int nBarPosition) = 0;
    // The caption strip of a floating bar; (0, 0) for any other.
    virtual CSize DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw);
    virtual CSize DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControl, BOOL bDraw) = 0;
    virtual void AdjustExcludeRect(CRect& rc, CKLVControlFace* pControl, BOOL bVertical) = 0;
    void DrawStatusBarPaneEntry(CDC* pDC, CRect rc, const KLVStatusPaneLook& pane) override;
    // A status pane's sunken frame (the visual style's when the paint manager uses it).
    void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
    // The size gripper's diagonal strokes in the rectangle's bottom-right corner.
    void DrawStatusBarGripper(CDC* pDC, CRect rc) override;
    // A dock bar's background: its window, and the side of the frame it lines (a bar position).
    virtual void FillDockBar(CDC* pDC, CWnd* pDockBar, int nPosition);
    void FillStatusBar(CDC* pDC, CKLVStatusBarFace* pBar) override;
    virtual void RefreshMetrics();
    // Kind 0 the tool bar's expand button (lpParam: the bar's CSize when measuring, a BOOL
    // "controls are hidden" when drawing), 1 a popup's expand button, 2 a floating caption's close
    // button, 3 its drop button.
    virtual CSize DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl, CKLVCommandBarFace* pBar,
                                     BOOL bDraw, LPVOID lpParam);
    virtual CRect GetCommandBarBorders(CKLVCommandBarFace* pBar);
    virtual CSize DrawPopupTearOffStrip(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) = 0;
    virtual void DrawImage(CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage, BOOL bSelected,
                           BOOL bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) = 0;
    virtual CSize DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) = 0;
    // The control's rectangle without its drop-down part.
    virtual CRect GetSplitButtonCommandRect(CKLVControlFace* pControl);
    // Shapes the bar's window after it was placed or sized; the base leaves it rectangular.
    virtual void SetCommandBarRegion(CKLVCommandBarFace* /*pBar*/) {}
    // Both marks are 13 pixels square; with bDraw FALSE they are only measured.
    virtual CSize DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                                   BOOL bEnabled);
    virtual CSize DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                                      BOOL bEnabled);
    virtual void FillPopupGutter(CDC* /*pDC*/, int /*x*/, int /*y*/, int /*cx*/, int /*cy*/, BOOL /*bExpanded*/) {}
    virtual int GetThemeId() = 0;
    virtual CFont* GetCommandBarFont(CKLVCommandBarFace* pBar, BOOL bBold = FALSE);
    virtual void RefreshFonts();
    // The check mark in the colour (once more a pixel lower with m_bThickCheckMark), mirrored on a
    // right-to-left DC.
    virtual void DrawCheckMark(CDC* pDC, CRect rc, COLORREF clr);
    // An anti-aliased dot six pixels across at the rectangle's centre.
    virtual void DrawRadioDot(CDC* pDC, CRect rc, COLORREF clr);
    // A down-pointing filled triangle sized to the rectangle.
    virtual void DrawComboExpandMark(CDC* pDC, CRect rc, COLORREF clr);
    // The small arrow of an expandable control: pointing down, or left with bLeft.
    virtual void DrawExpandArrow(CDC* pDC, CKLVControlFace* pControl, CPoint pt, BOOL bSelected, BOOL bPopuped,
                                 BOOL bEnabled, BOOL bLeft);
    // Shows the finished picture of a popup: 2 slides, 3 unfolds, 4 fades; others do nothing.
    virtual void AnimatePopup(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nType);
    // Grows the bands of a popup's previously hidden commands from nothing to their height.
    virtual void AnimateExpanding(CKLVCommandBarFace* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL bDownward);
    virtual void AdjustCaption(CKLVControlFace* /*pControl*/, CString& /*strCaption*/) {}
    virtual int GetPopupBarGripperWidth(CKLVCommandBarFace* pBar);
    virtual void FillWorkspace(CDC* pDC, CRect rc);
    virtual void DrawKeyboardTip(CDC* pDC, CKLVCommandBarKeyboardTip* pTip, BOOL bSetRegion);
    virtual CSize GetIconAreaSize(CKLVCommandBarFace* pBar);
    // Single-line text in the DC's colour; disabled text not pressed gets a highlight copy one
    // pixel down-right first. Not drawing measures the text into the rectangle.
    virtual CSize DrawControlText(CDC* pDC, const CString& str, RECT* pRect, UINT nFormat, BOOL bDraw, BOOL bPressed,
                                  BOOL bEnabled);

    // Measures (bDraw FALSE) or draws a control by its type and its bar.
    CSize DrawControl(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw = TRUE);
    void GetCustomControlSize(CSize& sz, CKLVControlFace* pControl, int cx, int cy, BOOL bVertical) const;
    CSize GetControlIconSize(CKLVControlFace* pControl) const;
    void DrawControlCaption(CDC* pDC, CKLVControlFace* pControl, const CString& strCaption,
                            const CString& strCaptionNoMnemonics, CRect rc, bool bVertical, bool bCenter);
    // Plain DrawText unless composited text is asked for and the visual style can give it.
    static void DrawComposedText(CDC* pDC, const CString& str, RECT* pRect, UINT nFormat, BOOL bComposed);
    // Text composited on glass with a glow of that size behind it, through the visual style's
    // window class; FALSE, with nothing drawn, on a system without visual styles.
    static BOOL DrawGlowingText(CDC* pDC, const CString& str, RECT* pRect, UINT nFormat, int nGlowSize);
    enum { glowMargin = 5 };

    // The helpers the themes draw with; colour arguments are indexes, -1 for none.
    void Rectangle(CDC* pDC, CRect rc, int nPen, int nBrush);
    void Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight);
    static void HorizontalLine(CDC* pDC, int x0, int y, int x1, COLORREF clr);
    static void VerticalLine(CDC* pDC, int x, int y0, int y1, COLORREF clr);
    static void Line(CDC* pDC, int x0, int y0, int x1, int y1);
    void LineByIndex(CDC* pDC, int x0, int y0, int x1, int y1, int nColor);
    static void GradientFill(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal, CRect rcClip);
    // Every pixel of the rectangle made opaque, for GDI text on a composited frame.
    static void SetOpaqueAlpha(CDC* pDC, CRect rc);
    // ((255 - alpha) * old + alpha * new) / 256 for each colour byte of nCount pixels.
    static void AlphaBlendBits(const BYTE* pOld, const BYTE* pNew, BYTE* pOut, int nCount, int nAlpha);

    COLORREF GetThemeColor(int nIndex) const;
    void SetStandardColors(int nCount, const int* pIndexes, const COLORREF* pColors);
    void SetCustomColor(int nIndex, COLORREF clr) { m_arrColors[nIndex].SetCustomValue(clr); }
    int GetColorManagerTheme() const;
    KLVIconsInfo* GetIconsInfo() { return &m_iconsInfo; }
    int GetTextHeight() const;
    int GetSplitDropDownWidth() const;
    CSize GetAutoIconSize(BOOL bLarge) const;
    BOOL IsFlatToolBar(const CKLVCommandBarFace* pBar) const;
    void SetCommandBarsFontIndirect(const LOGFONTA* pLogFont, BOOL bUseStandardFont = FALSE);

    // The command-bar LOGFONT the system menu font gives: heights between -1 and -10 grow to -11.
    static LOGFONTA StandardLogFont(const LOGFONTA& lfMenu);
    static BOOL IsVerticalPosition(int nPosition);
    static void DrawCheckMarkLines(CDC* pDC, CRect rc, COLORREF clr, BOOL bRTL);
    // Fills the circle inscribed in the box and mixes its rim into what lies beneath.
    static void DrawAntialiasedCircle(CDC* pDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF clrRim,
                                      COLORREF clrFill);
    static void DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
    // The caption buttons' and scroll arrows' figures, drawn in pixels centred in rc: no symbol
    // font is needed (where it is missing, its letters would show instead).
    enum CaptionGlyph { glyphClose, glyphMinimize, glyphMaximize, glyphRestore, glyphArrowUp, glyphArrowDown,
                        glyphArrowLeft, glyphArrowRight };
    static void DrawCaptionGlyph(CDC* pDC, const CRect& rc, CaptionGlyph nGlyph, COLORREF clr);
    // A caption over two lines, split at the space nearest its middle; no such space leaves it whole.
    static void SplitString(const CString& str, CString& strFirst, CString& strSecond);
    static BOOL IsVerticalDockPosition(int nPosition);

    COLORREF m_clrShadow = 0;
    COLORREF m_clrStatusText = 0;
    CKLVGradientColorValue m_clrFaceShadowGradient;
    CKLVColorValue m_clrFloatingCaption;
    CKLVColorValue m_clrFloatingCaptionText;
    BOOL m_bThickCheckMark = FALSE;
    BOOL m_bShowShadow = TRUE;
    BOOL m_bUseStatusVisualStyle = FALSE;
    BOOL m_bUseButtonVisualStyle = FALSE;
    BOOL m_bClearTypeFonts = FALSE;
    BOOL m_bFlatToolBar = FALSE;
    BOOL m_bFlatMenuBar = FALSE;
    int m_nPopupBarTextMargin = 4;
    int m_nEditHeight = 0;
    int m_nToolBarButtonMargin = 0;
    BOOL m_bWideIconTextGap = FALSE;
    BOOL m_bLabelIconColumn = TRUE;
    // Themes that set it highlight the whole row of a hot popup item; clear, theme 0 highlights
    // only its text part.
    BOOL m_bFullRowHighlight = FALSE;
    BOOL m_bTwoLineCaptions = TRUE;
    CKLVPaintManagerFont m_fontSmCaption;
    CKLVPaintManagerFont m_fontIcon;
    CKLVPaintManagerFont m_fontIconBold;
    CKLVPaintManagerFont m_fontToolTip;
    int m_nSplitButtonDropDownWidth = 11;
    int m_nSplitButtonPopupWidth = 20;
    BOOL m_bAutoResizeIcons = FALSE;
    // Set by frame themes that join the status bar to the frame border; the status bar answers
    // their question (message 10324) with it.
    BOOL m_bStatusBarFrame = FALSE;
    // The galleries' painter, made with the paint manager and refreshed with it.
    std::unique_ptr<CKLVControlGalleryPaintManager> m_pGalleryPaintManager;
    BOOL(WINAPI* m_pfnSetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;
    CFont m_fontRegular;
    CFont m_fontRegularBold;
    CFont m_fontVert;
    CFont m_fontVertBold;
    int m_nTextHeight = 0;
    int m_nControlHeight = 0;
    BOOL m_bUsePreferredFace = FALSE;
    CString m_strPreferredFace = "Tahoma";
    // A button with its caption below its icon is at least the icon width plus 8 pixels wide
    // instead of plus 10.
    BOOL m_bNarrowCaptionMargin = FALSE;
    BOOL m_bUseStandardFont = TRUE;
    BOOL m_bEmbossedDisabledText = TRUE;
    int m_nShadowOptions = 0;
    CKLVWinThemeWrapper m_themeStatusBar;
    CKLVWinThemeWrapper m_themeButton;
    int m_nTheme = 0;
    KLVIconsInfo m_iconsInfo;
    int m_nAnimationSteps = 10;
    int m_nAnimationTime = 100;
    int m_nShowKeyboardCues = -1;
    CKLVColorValue m_arrColors[nColorCount];
    int m_nColorTheme = 5;

protected:
    // A popup item's caption and shortcut right of its icon column; measures the item.
    CSize DrawPopupItemText(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw);

    // Only themes are made, through CreateThemeObject; the fonts and colours come with the first
    // RefreshMetrics.
    CKLVPaintManager();
    ~CKLVPaintManager() override;

private:
    void RefreshVisualStyles();
    BOOL IsStatusBarThemed();
    // The edit and combo-box metrics and labels; the controls draw their boxes themselves.
    CSize DrawEditLabel(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw, BOOL bComboBox);
    CSize DrawButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked, BOOL bEnabled,
                         BOOL bRadio);
};
