// The tab appearances by number: 0 three-dimensional tabs, 1 the same for the selected and hot
// tab only, 3 slanted tabs, 4 buttons, 5 flat items with separators, 6 flat framed boxes,
// 7 trapezoids, 8 stacked bars, 9 slanted tabs centred on the selection, 10 resource images.
#pragma once

#include "toolkit/tabs/TabStyle.h"

class CKLVTabStyleAppearance0 : public CKLVTabStyle {
public:
    CKLVTabStyleAppearance0() { m_rcHeaderMargin.SetRect(2, 3, 6, 0); }
    CRect GetClientMargin() override;
    CRect FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetSupportedColors() override { return 13; }

protected:
    void DrawTab(CDC* pDC, CKLVTabManagerItem* pItem);
};

class CKLVTabStyleAppearance1 : public CKLVTabStyleAppearance0 {
public:
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
};

class CKLVTabStyleAppearance3 : public CKLVTabStyle {
public:
    CKLVTabStyleAppearance3() { m_rcHeaderMargin.SetRect(2, 3, 6, 0); }
    CRect GetMargins() override;
    CRect GetItemDrawRect(CKLVTabManagerItem* pItem) override;
    CRect FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) override;
    // Longer by what the next tab's slant covers of its end, so that the slant of a selected
    // neighbour, drawn over it, never covers its caption.
    int GetItemLength(CDC* pDC, CKLVTabManagerItem* pItem) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetSupportedColors() override { return 21; }
    int GetDefaultColor() override { return 4; }

    BOOL m_bHotTracking = FALSE;

protected:
    struct FIGURECOLORS {
        COLORREF clrOuter;   // A
        COLORREF clrRight;   // B
        COLORREF clrTop;     // C
    };
    FIGURECOLORS GetFigureColors(CKLVTabManagerItem* pItem, BOOL bAllowHot);
    // How far an item's drawing reaches back over (and past) its neighbours along the row.
    virtual void GetReach(CKLVTabManagerItem* pItem, int& nBefore, int& nAfter);
    int GetSlantOverlap(CKLVTabManagerItem* pItem);
};

class CKLVTabStyleAppearance9 : public CKLVTabStyleAppearance3 {
public:
    CKLVTabStyleAppearance9() { m_bSelectedCentred = TRUE; }
    CRect GetMargins() override;
    // Its slants stand outside the item's ends.
    int GetItemLength(CDC* pDC, CKLVTabManagerItem* pItem) override { return CKLVTabStyle::GetItemLength(pDC, pItem); }
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;

protected:
    void GetReach(CKLVTabManagerItem* pItem, int& nBefore, int& nAfter) override;
};

class CKLVTabStyleAppearance4 : public CKLVTabStyle {
public:
    CKLVTabStyleAppearance4() {
        m_rcHeaderMargin.SetRect(2, 2, 4, 2);
        m_nRowMargin = 0;
    }
    CRect FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetDefaultColor() override { return 2; }
};

class CKLVTabStyleAppearance5 : public CKLVTabStyle {
public:
    CKLVTabStyleAppearance5() { m_rcHeaderMargin.SetRect(4, 2, 4, 0); }
    CRect FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetSupportedColors() override { return 7; }
    int GetDefaultColor() override { return 2; }
};

class CKLVTabStyleAppearance6 : public CKLVTabStyle {
public:
    CKLVTabStyleAppearance6() { m_rcHeaderMargin.SetRect(2, 2, 4, 0); }
    CRect FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetSupportedColors() override { return 7; }
    int GetDefaultColor() override { return 2; }
};

// Rounded tabs: the selected one filled and outlined with round corners, the others apart by
// separators.
class CKLVTabStyleAppearance2 : public CKLVTabStyleAppearance6 {
public:
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetDefaultColor() override { return 1; }

    BOOL m_bBlurCorners = TRUE;
    BOOL m_bReserved = FALSE;
};

class CKLVTabStyleAppearance7 : public CKLVTabStyleAppearance6 {
public:
    CKLVTabStyleAppearance7() { m_rcHeaderMargin.SetRect(2, 3, 2, 0); }
    CRect GetMargins() override;
    CRect GetItemDrawRect(CKLVTabManagerItem* pItem) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
};

class CKLVTabStyleAppearance8 : public CKLVTabStyle {
public:
    CRect GetHeaderRect(CRect rc, CKLVTabManager* pTabManager) override;
    CRect GetClientRect(CRect rc, CKLVTabManager* pTabManager) override;
    void DrawTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) override;
    void RepositionTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) override;
    void AdjustClientRect(CKLVTabManager* pTabManager, CRect& rc) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetSupportedColors() override { return 5; }
};

// Draws from the resource images of the current resource theme; without them it fills nothing
// and draws only the items' content.
class CKLVTabStyleAppearance10 : public CKLVTabStyle {
public:
    CKLVTabStyleAppearance10() { m_rcHeaderMargin.SetRect(4, 1, 0, 0); }
    CRect FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetSupportedColors() override { return 32; }
    int GetDefaultColor() override { return 32; }

private:
    // The part of the top-row image turned to a left, bottom or right row.
    void DrawTurnedPart(CDC* pDC, CKLVTabManagerItem* pItem, int nPart);
};
