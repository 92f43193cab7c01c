// The colour-set base of the tab rows: every colour role a row uses, as indexed colour values
// of the colour manager, and the fills the appearances call. The concrete sets derive from it;
// unregistered colour numbers get this base, which draws in the system's 3D colours.
#pragma once

#include "classlib/Dc.h"
#include "toolkit/common/ColorValue.h"

class CKLVTabPainter;
class CKLVTabManager;
class CKLVTabManagerItem;
class CKLVTabManagerNavigateButton;

class CKLVTabColors {
public:
    // A from colour that asks for the 50 % checkerboard of 3D face and 3D highlight.
    static constexpr COLORREF clrDither = 0xFFFFFFFE;

    CKLVTabColors() = default;
    virtual ~CKLVTabColors() = default;
    CKLVTabColors(const CKLVTabColors&) = delete;
    CKLVTabColors& operator=(const CKLVTabColors&) = delete;

    virtual void RefreshMetrics();
    virtual void SetItemTextColor(CDC* pDC, CKLVTabManagerItem* pItem);
    virtual void FillHeader(CDC* pDC, CRect rc, CKLVTabManager* pTabManager);
    virtual COLORREF FillClient(CDC* pDC, CRect rc, CKLVTabManager* pTabManager);
    virtual void FillButton(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem);
    virtual COLORREF FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem);
    virtual void ExcludeCorners(CDC* pDC, CRect rc, CKLVTabManager* pTabManager);
    // The base draws the standard sunken or raised frame; the sets replace it.
    virtual void FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc);
    virtual COLORREF GetItemColor(CKLVTabManagerItem* pItem);
    virtual BOOL IsThemed() { return FALSE; }

    // The colour a value stands for: an index of the colour manager, else a literal colour.
    static COLORREF GetColor(const CKLVColorValue& clr);
    // From the row's outer edge inward; the paint manager's invert flag turns it round.
    void GradientFillByPosition(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, int nPosition);
    int GetPosition() const;

    CKLVGradientColorValue clrHeaderFace;
    CKLVGradientColorValue clrAutoHideFace;
    CKLVColorValue clrFrameBorder;
    CKLVColorValue clrButtonFace;
    CKLVColorValue clrPaneFace;
    CKLVColorValue clrButtonHighlight;
    CKLVColorValue clrSelectedFace;
    CKLVColorValue clrHotFace;
    CKLVColorValue clrPressedFace;
    CKLVColorValue clrNormalFace;
    CKLVColorValue clrNormalText;
    CKLVColorValue clrInactiveText;
    CKLVColorValue clrSelectedText;
    CKLVColorValue clrHotText;
    CKLVColorValue clrDisabledText;
    CKLVGradientColorValue clrButtonSelected;
    CKLVGradientColorValue clrButtonBorder;
    CKLVColorValue clrEdgeHighlight;
    CKLVColorValue clrEdgeLightShadow;
    CKLVColorValue clrEdgeDarkShadow;
    CKLVColorValue clrFlatDarkShadow;
    CKLVColorValue clrFlatBorder;
    CKLVColorValue clrFlatLightShadow;
    CKLVColorValue clrFlatHighlight;
    CKLVColorValue clrGroupA[6];
    CKLVColorValue clrGroupB[6];
    CKLVTabPainter* m_pPaintManager = nullptr;
};
