// Theme 0, the default look: raised and sunken one-pixel frames in the system colours, popup
// items highlighted in the selection colours, checked buttons on a checkerboard and embossed
// disabled icons. Built for theme number 0 and any number no other theme claims.
#pragma once

#include "toolkit/commandbars/paint/PaintManager.h"

class CKLVControl;

class CKLVPaintManagerTheme0 : public CKLVPaintManager {
public:
    static CKLVPaintManager* Create() { return new CKLVPaintManagerTheme0; }

    CSize DrawControlPopupParent(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) override;
    void DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControl, CRect rc) override;
    CSize DrawControlComboBox(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) override;
    CSize DrawControlEdit(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) override;
    CSize DrawListBoxControl(CDC* pDC, CKLVControlFace* pControl, CRect rc, BOOL bSelected, BOOL bEnabled,
                             CKLVControlFace* pList) override;
    void FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBar) override;
    COLORREF GetRectangleTextColor(BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                                   int nBarType, int nBarPosition) override;
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                       int nBarType, int nBarPosition) override;
    CSize DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) override;
    CSize DrawSeparator(CDC* pDC, CKLVCommandBarFace* pBar, CKLVControlFace* pControl, BOOL bDraw) override;
    void AdjustExcludeRect(CRect& rc, CKLVControlFace* pControl, BOOL bVertical) override;
    void RefreshMetrics() override;
    CSize DrawSpecialControl(CDC* pDC, int nKind, CKLVControlFace* pControl, CKLVCommandBarFace* pBar, BOOL bDraw,
                             LPVOID lpParam) override;
    CRect GetCommandBarBorders(CKLVCommandBarFace* pBar) override;
    CSize DrawPopupTearOffStrip(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage, BOOL bSelected, BOOL bPressed,
                   BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) override;
    CSize DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) override;
    int GetThemeId() override { return 0; }
    CSize GetIconAreaSize(CKLVCommandBarFace* pBar) override;

    // The box of an edit or combo control.
    virtual void DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected);
    // A combo box's drop-down button and its arrow.
    virtual void DrawComboButton(CDC* pDC, CRect rc, BOOL bEnabled, BOOL bSelected, BOOL bDropped);
    virtual void DrawSpinButtons(CDC* pDC, CKLVControl* pControl);

    // Colour number of normal text on popups.
    int m_nPopupTextColor = COLOR_BTNTEXT;

protected:
    CKLVPaintManagerTheme0();

private:
    void Raised(CDC* pDC, CRect rc) { Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW); }
    void Sunken(CDC* pDC, CRect rc) { Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT); }
    // Fills with the 1-pixel checkerboard of face and highlight.
    void FillCheckerboard(CDC* pDC, CRect rc);
    // A two-pixel etched line from (x0, y0) to (x1, y1), its long side along the longer axis.
    void EtchedLine(CDC* pDC, int x0, int y0, int x1, int y1);
    // The icon cell, the check column and the highlight of a popup item; returns the highlight's left.
    int DrawPopupCells(CDC* pDC, CKLVControl* pControl, int nCell, BOOL bTwoColumns, BOOL bIconDrawn);
    void DrawPopupArrowAndSplit(CDC* pDC, CKLVControl* pControl, COLORREF clrText);
    // The filled and framed box of an edit or combo control, from its label to its right edge.
    CRect DrawBox(CDC* pDC, CKLVControl* pControl);
};
