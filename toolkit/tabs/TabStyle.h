// The appearance base of the tab rows: header band, margins, row height, item measuring and
// drawing rectangles, the client area and the client frame. A plain, frameless style; each
// appearance overrides a few operations. Colours come only from the paint manager's colour set.
#pragma once

#include "classlib/Dc.h"

#include <initializer_list>

class CKLVTabPainter;
class CKLVTabManager;
class CKLVTabManagerItem;
class CKLVTabColors;

class CKLVTabStyle {
public:
    CKLVTabStyle() = default;
    virtual ~CKLVTabStyle() = default;
    CKLVTabStyle(const CKLVTabStyle&) = delete;
    CKLVTabStyle& operator=(const CKLVTabStyle&) = delete;

    virtual void RefreshMetrics();
    virtual CRect GetHeaderRect(CRect rc, CKLVTabManager* pTabManager);
    virtual CRect GetClientRect(CRect rc, CKLVTabManager* pTabManager);
    // The one-pixel line of the header where the row meets the client area.
    virtual CRect GetClientEdge(CRect rcHeader);
    virtual CRect GetMargins() { return m_rcHeaderMargin; }
    virtual CRect GetClientMargin();
    virtual int GetItemLength(CDC* pDC, CKLVTabManagerItem* pItem);
    virtual int GetRowHeight(CKLVTabManager* pTabManager);
    virtual CRect GetItemDrawRect(CKLVTabManagerItem* pItem);
    virtual void DrawTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rc);
    virtual CRect FillHeader(CKLVTabManager* pTabManager, CDC* pDC, CRect rc);
    virtual void RepositionTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rc);
    virtual void AdjustClientRect(CKLVTabManager* pTabManager, CRect& rc);
    virtual void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem);
    virtual void DrawClientFrame(CDC* pDC, CRect rc, int nFrameMode);
    virtual int GetSupportedColors() { return 31; }
    virtual int GetDefaultColor() { return 1; }

    int GetHeaderSize(CKLVTabManager* pTabManager);
    CKLVTabColors* GetColorSet() const;
    int GetPosition() const;
    BOOL IsHorizontal() const { return GetPosition() == 0 || GetPosition() == 2; }
    int GetTextHeight() const { return m_nTextHeight; }

    CRect m_rcHeaderMargin;
    int m_nRowMargin = -2;   // between rows of a multi-row header: they overlap by 2 pixels
    int m_nTextHeight = 18;
    CKLVTabPainter* m_pPaintManager = nullptr;
    BOOL m_bSelectedCentred = FALSE;

protected:
    // The header band through the colour set, then the client area's frame in two colours (its
    // row-side edge only with client frame 1, after a fill when bFillClientOnBand).
    CRect FillHeaderWithFrame(CKLVTabManager* pTabManager, CDC* pDC, CRect rc, COLORREF clrTopLeft,
                              COLORREF clrBottomRight, BOOL bFillClientOnBand);
    void DrawContent(CDC* pDC, CKLVTabManagerItem* pItem, const CRect& rc);
};

// Maps a figure given for a row at the top onto the item's real position: on a left or right
// row the figure is transposed (x runs along the row), at the bottom and right mirrored so that
// the outer side stays outside.
class CKLVTabFigure {
public:
    CKLVTabFigure(const CRect& rcItem, int nPosition);
    const CRect& GetLocalRect() const { return m_rcLocal; }
    CPoint ToDevice(int x, int y) const;
    CRect ToDevice(const CRect& rcLocal) const;
    void Polyline(CDC* pDC, COLORREF clr, std::initializer_list<CPoint> pts) const;
    COLORREF FillPolygon(CDC* pDC, CKLVTabManagerItem* pItem, std::initializer_list<CPoint> pts) const;
    void HorzLine(CDC* pDC, int x, int y, int nLength, COLORREF clr) const;

private:
    CRect m_rcItem;
    CRect m_rcLocal;
    int m_nPosition;
};
