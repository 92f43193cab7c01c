// Theme 2: gradient dock bars, tool-bar bodies and button states in one of three colour schemes
// (1 blue, 2 olive, 3 silver), dotted grippers with a highlight and etched separators.
#pragma once

#include "toolkit/themes/PaintManagerTheme1.h"

#include <commctrl.h>

class CKLVCommandBar;

class CKLVPaintManagerTheme2 : public CKLVPaintManagerTheme1 {
public:
    static CKLVPaintManager* Create() { return new CKLVPaintManagerTheme2; }
    ~CKLVPaintManagerTheme2() override;

    void FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBar) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                       int nBarType, int nBarPosition) override;
    CSize DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) override;
    CSize DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControl, BOOL bDraw) override;
    void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
    void DrawStatusBarGripper(CDC* pDC, CRect rc) override;
    void FillDockBar(CDC* pDC, CWnd* pDockBar, int nPosition) override;
    void RefreshMetrics() override;
    CSize DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl, CKLVCommandBarFace* pBar, BOOL bDraw,
                             LPVOID lpParam) override;
    CRect GetCommandBarBorders(CKLVCommandBarFace* pBar) override;
    CSize DrawPopupTearOffStrip(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
    CSize DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) override;
    void FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded) override;
    int GetThemeId() override { return 2; }
    // Floating bars with any of the four dock bits get the banded body; flat bars never.
    virtual BOOL HasDockFlags(CKLVCommandBar* pBar);

    HIMAGELIST GetGlyphImageList() const { return m_hGlyphImages; }

    CKLVGradientColorValue m_grcDockBar;
    CKLVGradientColorValue m_grcBarBody;
    CKLVGradientColorValue m_grcExpandButton;
    CKLVGradientColorValue m_grcExtra;   // shades the glyph of the popup's expand button
    CKLVGradientColorValue m_grcExpandedGutter;
    CKLVGradientColorValue m_grcPopuped;
    CKLVColorValue m_clrBarBorder;
    CKLVColorValue m_clrStatusPane;
    CKLVColorValue m_clrTearOff;
    BOOL m_bSchemeColors = FALSE;
    BOOL m_bFlatSeparators = FALSE;
    CKLVGradientColorValue m_grcChecked;
    CKLVGradientColorValue m_grcPressed;
    CKLVGradientColorValue m_grcHot;

protected:
    CKLVPaintManagerTheme2();

    // The 16 by 16 shaded ball in the two colours of m_grcExtra, with its mask.
    void RebuildGlyph();
    void FillGradient(CDC* pDC, CRect rc, const CKLVGradientColorValue& grc, BOOL bHorizontal,
                      const CRect* pClip = nullptr);
    BOOL IsLowResolution() const;
    void DrawExpandGlyph(CDC* pDC, CRect rc, BOOL bVertical, BOOL bHidden, COLORREF clr);

private:
    void ApplyScheme(int nScheme);
    // The gradient and frame numbers of a state under a scheme; FALSE when it draws nothing.
    BOOL DrawSchemeState(CDC* pDC, CRect rc, int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bHorizontal);
    void FillDockedBody(CDC* pDC, CKLVCommandBar* pBar, CRect rc, BOOL bVertical);
    void FillFlatBar(CDC* pDC, CKLVCommandBar* pBar, CRect rc);
    void FillFloatingBands(CDC* pDC, CKLVCommandBar* pBar, CRect rc);
    // The dock-bar gradient spread over the parent's window rectangle, so neighbours line up.
    void FillParentGradient(CDC* pDC, CKLVCommandBar* pBar, CRect rcClient);
    void DrawDots(CDC* pDC, CPoint ptLight, CPoint ptDark);

    HIMAGELIST m_hGlyphImages = nullptr;
};
