// The paint manager of the docking panes: metrics (caption height, splitter thickness, tab row
// height), the caption fonts, a private copy of the indexed colours, the visual-style handles
// and the two tab painters (tabbed containers, auto-hide panels).
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/GdiObject.h"
#include "toolkit/common/ColorValue.h"
#include "toolkit/common/WinThemeWrapper.h"
#include "toolkit/tabs/TabPainter.h"

class CKLVDockingPaneTheme : public CCmdTarget {
public:
    enum { nColorCount = 63 };

    CKLVDockingPaneTheme();
    ~CKLVDockingPaneTheme() override;

    virtual void RefreshMetrics();

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

    BOOL m_bBoldCaption = TRUE;
    BOOL m_bHighlightActiveCaption = TRUE;
    int m_nSplitterSize = 4;
    BOOL m_bShowCaption = TRUE;
    BOOL m_bDrawCaptionOption = FALSE;
    BOOL m_bDrawCaptionIcon = FALSE;
    CKLVColorValue m_clrSplitterGripper;
    CKLVColorValue m_clrSplitter;
    CKLVGradientColorValue m_clrSplitterGradient;
    int m_nCaptionButtonStyle = 0;
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
    CKLVWinThemeWrapper m_themeToolbar;
    CKLVWinThemeWrapper m_themeExplorer;
    CKLVWinThemeWrapper m_themeButton;
    CKLVWinThemeWrapper m_themeWindow;
    BOOL m_bUseResourceColors = FALSE;
    // Tabs are shown for a container that holds one pane.
    BOOL m_bShowTabsForOnePane = FALSE;

protected:
    CKLVTabPainter m_tabPanel;
    CKLVTabPainter m_tabAutoHide;
};
