// A window-less tab row for the tests: it lays itself out in a fixed rectangle through a
// memory DC, counts redraws and draws square icons of one colour.
#pragma once

#include "ToolkitTestSupport.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyle.h"

#include <memory>
#include <vector>

namespace tabs_test {

const COLORREF kIconColor = RGB(0, 200, 0);

// The classic system colours for every colour set built while it lives.
class ClassicColors {
public:
    ClassicColors() {
        GetColorManager()->m_pfnGetSysColor = toolkit_test::ClassicSysColor;
        RefreshColors();
    }
    ~ClassicColors() {
        GetColorManager()->m_pfnGetSysColor = nullptr;
        RefreshColors();
    }
};

class TestTabRow : public CKLVTabManager {
public:
    explicit TestTabRow(CKLVTabPainter* pShared = nullptr, CRect rcRow = CRect(0, 0, 300, 200))
        : m_pPainter(pShared ? pShared : new CKLVTabPainter), m_bOwnPainter(pShared == nullptr), m_rcRow(rcRow) {
        CClientDC screen(nullptr);
        m_dc.CreateCompatibleDC(&screen);
        m_pPainter->AddObserver(this);
    }
    ~TestTabRow() override {
        DeleteAllItems();
        m_pPainter->RemoveObserver(this);
        if (m_bOwnPainter) m_pPainter->InternalRelease();
    }

    CKLVTabPainter* GetPaintManager() const override { return m_pPainter; }
    void Reposition() override { m_pPainter->RepositionTabControl(this, &m_dc, m_rcRow); }
    void RedrawControl(const RECT*, BOOL) override { ++m_nRedraws; }
    BOOL DrawIcon(CDC* pDC, CPoint pt, CKLVTabManagerItem*, BOOL bDraw, CSize& szIcon) override {
        if (!m_bIcons) return FALSE;
        szIcon = m_szIcon;
        if (bDraw && pDC) {
            pDC->FillSolidRect(pt.x, pt.y, szIcon.cx, szIcon.cy, kIconColor);
            ++m_nIconsDrawn;
        }
        return TRUE;
    }
    void OnNavigateButtonClick(UINT nID) override { m_arrClicks.push_back(nID); }

    // Tabs whose length the paint manager fixes: every one exactly nLength long.
    void AddFixedTabs(int nCount, int nLength) {
        m_pPainter->m_nMinTabWidth = m_pPainter->m_nMaxTabWidth = nLength;
        for (int i = 0; i < nCount; ++i) InsertItem(i)->m_strCaption.Format("Tab %d", i);
        Reposition();
    }
    CKLVTabManagerItem* Item(int nIndex) const { return GetItem(nIndex); }

    CKLVTabPainter* m_pPainter;
    BOOL m_bOwnPainter;
    CRect m_rcRow;
    CDC m_dc;
    int m_nRedraws = 0;
    BOOL m_bIcons = FALSE;
    CSize m_szIcon = CSize(16, 16);
    int m_nIconsDrawn = 0;
    std::vector<UINT> m_arrClicks;
};

// A 320 by 240 screen-compatible canvas, filled with one colour to start with.
class Canvas {
public:
    explicit Canvas(COLORREF clrBack = RGB(255, 0, 255)) {
        CClientDC screen(nullptr);
        m_dc.CreateCompatibleDC(&screen);
        m_bitmap.CreateCompatibleBitmap(&screen, 320, 240);
        m_hOld = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap));
        m_dc.FillSolidRect(0, 0, 320, 240, clrBack);
    }
    ~Canvas() { m_dc.SelectObject(m_hOld); }
    COLORREF At(int x, int y) const { return m_dc.GetPixel(x, y); }
    COLORREF At(CPoint pt) const { return m_dc.GetPixel(pt.x, pt.y); }
    int Count(const CRect& rc, COLORREF clr) const {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) n += m_dc.GetPixel(x, y) == clr;
        return n;
    }

    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOld;
};

}  // namespace tabs_test
