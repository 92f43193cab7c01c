// Theme 1, the flat look: solid fills and one-pixel frames in the toolkit's own colours, dotted
// grippers, flat separators, edit and combo boxes. The gradient themes build on it.
#pragma once

#include "toolkit/commandbars/paint/PaintManager.h"

class CKLVControl;

class CKLVPaintManagerTheme1 : public CKLVPaintManager {
public:
    static CKLVPaintManager* Create() { return new CKLVPaintManagerTheme1; }

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
    void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
    CSize DrawPopupTearOffStrip(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage, BOOL bSelected, BOOL bPressed,
                   BOOL bEnabled, BOOL bChecked, BOOL bPopuped, BOOL bToolBarImage) override;
    CSize DrawDialogBarGripper(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) override;
    CSize DrawCheckBoxMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                           BOOL bEnabled) override;
    CSize DrawRadioButtonMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked,
                              BOOL bEnabled) override;
    void FillPopupGutter(CDC* pDC, int x, int y, int cx, int cy, BOOL bExpanded) override;
    int GetThemeId() override { return 1; }

    // The divider (or, open, the frame) of a split popup item's drop-down part.
    virtual void DrawSplitPopupDivider(CDC* pDC, CKLVControl* pControl);
    virtual void DrawSubmenuArrow(CDC* pDC, CKLVControl* pControl);
    virtual void FillLabelBack(CDC* pDC, CRect rc);

    // The two tints of generated disabled icons; unset, they are grey.
    CKLVGradientColorValue m_grcDisabledIcon;

protected:
    CKLVPaintManagerTheme1();

    // Fill with the second colour number, then frame with the first unless it is -1 or the same.
    void FillFrame(CDC* pDC, CRect rc, int nFrame, int nFill) { Rectangle(pDC, rc, nFrame, nFill); }

private:
    // The frame and fill numbers of a state; FALSE when the state draws nothing.
    BOOL GetStateColors(int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bPopuped, int nBarPosition,
                        int& nFrame, int& nFill) const;
    // A check box's square or a radio button's circle, by state, and its mark.
    CSize DrawFlatMark(CDC* pDC, CRect rc, BOOL bDraw, BOOL bSelected, BOOL bPressed, int nChecked, BOOL bEnabled,
                       BOOL bRadio);
    void DrawCheckStrokes(CDC* pDC, CRect rc, COLORREF clr);
    void DrawPopupIconCell(CDC* pDC, CKLVControl* pControl, int nCell, BOOL bTwoColumns);
    void DrawListBoxBox(CDC* pDC, CKLVControl* pControl, CRect rc, BOOL bSelected);
};
