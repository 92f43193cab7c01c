// A plain-GDI command-bar theme for the tests: button face, shadow and highlight frames, button
// text and grey text, nothing else. Registered as theme 0 where the tests need a theme.
#pragma once

#include "classlib/Dc.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/ImageManagerIcon.h"

class CKLVFlatTestTheme : public CKLVPaintManager {
public:
    static CKLVPaintManager* Create() { return new CKLVFlatTestTheme; }
    static void Register() { CKLVPaintManager::RegisterTheme(0, &CKLVFlatTestTheme::Create); }

    void DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControl, CRect rc) override {
        DrawControlEntry(pDC, pControl);
        const CRect rcCommand = GetSplitButtonCommandRect(pControl);
        VerticalLine(pDC, rcCommand.right, rc.top + 2, rc.bottom - 2, GetThemeColor(COLOR_BTNSHADOW));
    }
    CSize DrawListBoxControl(CDC* pDC, CKLVControlFace*, CRect rc, BOOL bSelected, BOOL, CKLVControlFace*) override {
        Rectangle(pDC, rc, bSelected ? COLOR_BTNSHADOW : -1, COLOR_BTNFACE);
        return rc.Size();
    }
    void FillCommandBar(CDC* pDC, CKLVCommandBarFace* pBar) override {
        const CRect rc = pBar->GetFaceClientRect();
        Rectangle(pDC, rc, -1, COLOR_BTNFACE);
        if (!IsFlatToolBar(pBar)) Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    }
    COLORREF GetRectangleTextColor(BOOL, BOOL, int nEnabled, BOOL, BOOL, int, int) override {
        return GetThemeColor(nEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    }
    void DrawRectangle(CDC* pDC, CRect rc, BOOL bSelected, BOOL bPressed, int nEnabled, BOOL bChecked, BOOL bPopuped,
                       int, int) override {
        Rectangle(pDC, rc, -1, COLOR_BTNFACE);
        if (!nEnabled) return;
        if (bPressed || bChecked || bPopuped)
            Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        else if (bSelected)
            Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    }
    CSize DrawSeparator(CDC*, CKLVCommandBarFace*, CKLVControlFace*, BOOL) override { return CSize(6, 6); }
    void AdjustExcludeRect(CRect&, CKLVControlFace*, BOOL) override {}
    CSize DrawPopupTearOffStrip(CDC*, CRect, BOOL, BOOL) override { return CSize(0, 0); }
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CKLVImageManagerIcon* pImage, BOOL, BOOL, BOOL bEnabled, BOOL,
                   BOOL, BOOL) override {
        pImage->DrawHandle(pDC, pt, bEnabled ? pImage->GetIcon() : pImage->GetDisabledIcon(), sz);
    }
    CSize DrawDialogBarGripper(CDC*, CKLVCommandBarFace*, BOOL) override { return CSize(0, 0); }
    int GetThemeId() override { return 0; }
};
