// Theme 5: theme 2's drawing of bars, menus and controls in colours read from the skin's colour
// table, with the status bar, the MDI workspace and the galleries drawn from the skin's images.
#pragma once

#include "toolkit/themes/PaintManagerTheme2.h"

class CKLVFrameIntegration;
class CKLVResourceImages;

// The frame caption heights the system caption metric gives: the frame's, and the ribbon's
// caption band (one more), never below 17 and 18.
struct KLVCaptionHeights {
    int nCaption;
    int nRibbonCaption;
};
KLVCaptionHeights KLVCaptionHeightsFor(int nSystemCaption);

class CKLVPaintManagerTheme5 : public CKLVPaintManagerTheme2 {
public:
    static CKLVPaintManager* Create() { return new CKLVPaintManagerTheme5; }
    ~CKLVPaintManagerTheme5() override;

    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                                   int nBarType, int nBarPosition) override;
    void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
    void DrawStatusBarGripper(CDC* pDC, CRect rc) override;
    void FillStatusBar(CDC* pDC, CKLVStatusBarFace* pBar) override;
    void RefreshMetrics() override;
    int GetThemeId() override { return 5; }
    void FillWorkspace(CDC* pDC, CRect rc) override;

    // The themed frame, drawn for the frame integration while it paints the non-client area.
    virtual void DrawFrame(CDC* pDC, CKLVFrameIntegration* pFrame);
    // The frame's window region (the caller owns it); null for a maximised frame.
    virtual HRGN CalcFrameRegion(CKLVFrameIntegration* pFrame, int cx, int cy);
    virtual void DrawFrameCaptionButton(CDC* pDC, CRect rc, UINT nId, BOOL bSelected, BOOL bPressed, BOOL bActive);
    virtual void DrawFrameCaptionText(CDC* pDC, CRect rc, CWnd* pFrame, BOOL bActive, CKLVFrameIntegration* pIntegration);

    // The frame's icons: null for a window without a system menu or a tool window.
    static HICON GetFrameSmallIcon(CWnd* pFrame);
    static HICON GetFrameLargeIcon(CWnd* pFrame);
    // The image a caption button's glyph comes from, by command and button width.
    static CString FrameCaptionGlyphImage(UINT nId, int nWidth);

    CKLVPaintManagerFont m_fontCaption;   // its standard flag is the recreate-on-refresh flag
    int m_nRibbonCaptionHeight = 18;
    int m_nCaptionHeight = 17;
    CKLVResourceImages* m_pResourceImages;
    COLORREF m_clrBorderActive[4] = {};
    COLORREF m_clrBorderInactive[4] = {};
    COLORREF m_clrCaptionTextActive = 0;
    COLORREF m_clrCaptionTextInactive = 0;
    COLORREF m_clrCaptionTextActiveTitle = 0;
    COLORREF m_clrMenuBarText = 0;
    COLORREF m_clrStatusBarShadow = 0;
    CKLVGradientColorValue m_grcStatusBarTop;
    CKLVGradientColorValue m_grcStatusBarBottom;
    COLORREF m_clrWorkspaceTop = 0;
    COLORREF m_clrWorkspaceMiddle = 0;
    COLORREF m_clrWorkspaceBottom = 0;

protected:
    CKLVPaintManagerTheme5();

    // Sets the colour only when the skin has the key, so that a missing key keeps what the
    // refresh before it set; TRUE when found.
    BOOL ReadColor(LPCTSTR lpszSection, LPCTSTR lpszKey, COLORREF& clr) const;
    void ReadColor(LPCTSTR lpszSection, LPCTSTR lpszKey, CKLVColorValue& clr) const;
    void ReadColorNumber(LPCTSTR lpszSection, LPCTSTR lpszKey, int nIndex);
    void ReadGradient(LPCTSTR lpszSection, LPCTSTR lpszDark, LPCTSTR lpszLight, CKLVGradientColorValue& grc,
                      float fFactor) const;

private:
    void DrawCaptionBand(CDC* pDC, CKLVFrameIntegration* pFrame, CRect rcBand);
    void DrawStatusBarBorders(CDC* pDC, CKLVFrameIntegration* pFrame, CRect rcRow, int nFrameHeight);
    void RefreshCaptionFont();
    // The colours of this theme's own that no base sets, from the system colours, before the skin
    // is read.
    void SetOwnColorDefaults();
    void ReadColorTable();
    void ReadHighlightsAndFrame();
};
