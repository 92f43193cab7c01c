// The paint manager of the docking panes: metrics (caption height, splitter thickness, tab row
// height), the caption fonts, a private copy of the indexed colours, the visual-style handles
// and the two tab painters (tabbed containers, auto-hide panels). It draws captions, caption
// buttons and splitter bars; the themes derived from it change the caption bands and colours.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/GdiObject.h"
#include "toolkit/common/ColorValue.h"
#include "toolkit/common/WinThemeWrapper.h"
#include "toolkit/tabs/TabPainter.h"

class CKLVDockingNode;
class CKLVDockingPane;
class CKLVDockingPaneCaptionButton;
class CKLVDockingPaneSplitter;
class CKLVDockingPaneTabbedContainer;

class CKLVDockingPaneTheme : public CCmdTarget {
public:
    enum { nColorCount = 63 };
    // Caption button styles.
    enum ButtonStyle { buttonFrameControl = 0, buttonFlat = 1, buttonHighlighted = 2, buttonExplorerBar = 3,
                       buttonPushButton = 4, buttonToolBar = 5, buttonSmallClose = 6 };
    // Splitter style flags; the first of 1, 2, 4 and 8 that is set decides the fill.
    enum SplitterStyle { splitterSunken = 1, splitterRaised = 2, splitterGradientHorz = 4,
                         splitterGradientVert = 8, splitterGrip = 0x100, splitterDots = 0x200 };

    CKLVDockingPaneTheme();
    ~CKLVDockingPaneTheme() override;

    // The theme for an id: ids 1 to 10 their classes, any other the base look (theme 0).
    static CKLVDockingPaneTheme* CreateTheme(int nTheme);

    virtual void DrawTabbedContainer(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc);
    virtual void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) = 0;
    // Lays the owner's visible caption buttons from the far end of rcCaption and draws them.
    virtual void DrawCaptionButtons(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, COLORREF clr, int nButtonSize,
                                    int nGap, BOOL bVertical);
    virtual void DrawCaptionButton(CDC* pDC, CKLVDockingPaneCaptionButton* pButton, COLORREF clr);
    virtual void RefreshMetrics();
    // Removes the caption band and, when the container shows tabs, the tab row; bApply lays the
    // tab row out (in the container's client co-ordinates).
    virtual void AdjustClientRect(CKLVDockingPaneTabbedContainer* pPane, CRect& rc, BOOL bApply);
    virtual void AdjustCaptionRect(const CKLVDockingPaneTabbedContainer* pPane, CRect& rc);
    virtual CRect GetCaptionGripperRect(const CKLVDockingPaneTabbedContainer* pPane);
    virtual void DrawFloatingFrame(CDC* /*pDC*/, CWnd* /*pFrame*/, CRect /*rc*/) {}
    virtual void DrawSplitter(CDC* pDC, CKLVDockingPaneSplitter* pSplitter);
    virtual void DrawCaptionButtonGlyph(CDC* pDC, CKLVDockingPaneCaptionButton* pButton, CPoint ptCenter, COLORREF clr);
    // The caption band of a container or floating frame: background, buttons, icon, title.
    virtual void DrawCaptionBar(CDC* /*pDC*/, CKLVDockingNode* /*pOwner*/, CRect /*rcCaption*/,
                                const CString& /*strTitle*/, BOOL /*bActive*/, BOOL /*bVertical*/) {}
    // Fills the band and returns the colour of the button glyphs.
    virtual COLORREF DrawCaptionBackground(CDC* /*pDC*/, CKLVDockingNode* /*pOwner*/, CRect /*rcCaption*/,
                                           BOOL /*bActive*/, BOOL /*bVertical*/) {
        return 0;
    }

    // The caption font from lf, and its vertical twin; sets the caption height.
    void SetCaptionFont(LOGFONTA lf, BOOL bUseSystemFont);
    // The table's colour for 0 to 62, the value itself above.
    COLORREF GetColor(int nIndex) const;
    int GetCaptionHeight() const { return m_nCaptionHeight; }
    int GetTabRowHeight() const { return m_nTabRowHeight; }
    int GetSplitterSize() const { return m_nSplitterSize; }
    CKLVTabPainter* GetPanelPaintManager() { return &m_tabPanel; }
    CKLVTabPainter* GetAutoHidePaintManager() { return &m_tabAutoHide; }
    CFont* GetCaptionFont(BOOL bVertical = FALSE) { return bVertical ? &m_fntCaptionVertical : &m_fntCaption; }
    // Draws the pane's icon at the start of the caption when asked for; moves the start past it.
    void DrawCaptionIcon(CDC* pDC, CKLVDockingNode* pOwner, CRect& rcCaption, BOOL bVertical);
    // Icon and title in the band left before the caption buttons, 4 pixels in from its start
    // and 1 from its top; grey text for a disabled owner pane.
    void DrawCaptionTitle(CDC* pDC, CKLVDockingNode* pOwner, CRect rcBand, const CString& strTitle, COLORREF clrText,
                          BOOL bVertical);
    // Draws the title (or with bCalc only measures it); returns its length.
    int DrawCaptionText(CDC* pDC, const CString& strTitle, CRect rcText, BOOL bVertical, BOOL bCalc = FALSE);
    // The caption band of a container's rectangle: caption height deep, the caption margins'
    // top value inside its top (left for a vertical caption) edge.
    CRect GetCaptionBand(const CKLVDockingPaneTabbedContainer* pPane, CRect rc) const;
    // The owner's selected (or only) pane; none when it has several or none.
    static CKLVDockingPane* GetOwnerPane(CKLVDockingNode* pOwner);
    static BOOL IsOwnerPaneEnabled(CKLVDockingNode* pOwner);
    // The far end of the band moved in front of the visible caption buttons.
    static CRect ExcludeCaptionButtons(CKLVDockingNode* pOwner, CRect rcBand, BOOL bVertical);
    // Draws the owner's caption buttons from the far end of rcBand; the band in front of them,
    // less 4 pixels at the start, 1 across and 2 at the far end, is where title and ornaments go.
    CRect PlaceCaptionButtons(CDC* pDC, CKLVDockingNode* pOwner, CRect rcBand, COLORREF clr, int nButtonSize, int nGap,
                              BOOL bVertical);
    // The title in the button text colour (grey for a disabled owner pane), after the owner
    // pane's icon with bIcon; returns where it ends along the band.
    int DrawMeasuredTitle(CDC* pDC, CKLVDockingNode* pOwner, CRect rcText, const CString& strTitle, BOOL bVertical,
                          BOOL bIcon);
    // A floating frame's caption: its window text, whether it shows active (only when active
    // captions are highlighted), and the frame as the owner of the caption buttons.
    CKLVDockingNode* GetFrameCaption(CWnd* pFrame, CString& strTitle, BOOL& bActive) const;

    BOOL m_bBoldCaption = TRUE;
    BOOL m_bHighlightActiveCaption = TRUE;
    int m_nSplitterSize = 4;
    BOOL m_bShowCaption = TRUE;
    BOOL m_bDrawCaptionOption = FALSE;
    BOOL m_bDrawCaptionIcon = FALSE;
    CKLVColorValue m_clrSplitterGripper;
    CKLVColorValue m_clrSplitter;
    CKLVGradientColorValue m_clrSplitterGradient;
    int m_nCaptionButtonStyle = buttonFrameControl;
    int m_nSplitterStyle = 0;
    int m_nCaptionHeight = 0;
    int m_nCaptionTextMargin = 5;
    int m_nTabRowHeight = 0;
    CFont m_fntCaption;
    CFont m_fntCaptionVertical;
    BOOL m_bUseTahoma = FALSE;
    BOOL m_bUseSystemCaptionFont = TRUE;
    COLORREF m_arrColor[nColorCount] = {};
    int m_nTheme = 0;
    CString m_strFontFace = "Tahoma";
    CRect m_rcCaptionMargin = CRect(0, 2, 0, 1);
    int m_nColorScheme = 5;
    CKLVWinThemeWrapper m_themeToolbar;
    CKLVWinThemeWrapper m_themeExplorer;
    CKLVWinThemeWrapper m_themeButton;
    CKLVWinThemeWrapper m_themeWindow;
    BOOL m_bUseResourceColors = FALSE;
    // Tabs are shown for a container that holds one pane.
    BOOL m_bShowTabsForOnePane = FALSE;

protected:
    void DrawPinGlyph(CDC* pDC, CPoint pt, BOOL bPinned, COLORREF clr);
    void DrawMaximizeGlyph(CDC* pDC, CPoint pt, BOOL bRestore, COLORREF clr);
    BOOL DrawThemedCaptionButton(CDC* pDC, CKLVDockingPaneCaptionButton* pButton);

    CKLVTabPainter m_tabPanel;
    CKLVTabPainter m_tabAutoHide;
};

// Theme 0: system frame-control buttons, solid system caption colours.
class CKLVDockingPaneTheme0 : public CKLVDockingPaneTheme {
public:
    void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, const CString& strTitle, BOOL bActive,
                        BOOL bVertical) override;
    void DrawFloatingFrame(CDC* pDC, CWnd* pFrame, CRect rc) override;

protected:
    // The caption drawing of themes 1, 4, 6, 8 and 9: the band flush with the caption margins,
    // its strip in the splitter face colour.
    void DrawSharedCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc);
    void DrawCaptionStrip(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc, COLORREF clrStrip);
};
