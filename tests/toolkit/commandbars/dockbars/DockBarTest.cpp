// Dock bars: the rows of docked bars (entries ended by nulls), where a dropped bar goes, what
// leaving takes with it, stretched bars alone in their rows, printing with the children; the
// manager's four dock bars.
#include "ControlTestSupport.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/dockbars/DockBar.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace commandbars_test {
namespace {

// A visible child of the dock bar at a fixed place in its client area.
class CRowTestBar : public CKLVCommandBar {
public:
    CRowTestBar(CWnd* pParent, CRect rc) {
        CreateEx(0, AfxRegisterWndClass(0), "bar", WS_CHILD | WS_VISIBLE, rc, pParent, 0);
    }
    ~CRowTestBar() override { DestroyWindow(); }
    BOOL IsVisible() const override { return TRUE; }
};

class DockBars : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        m_dock.m_pCommandBars = &m_commandBars;
        ASSERT_TRUE(m_dock.Create(&m_site, WS_CHILD | WS_VISIBLE | CKLVDockBar::styleTop, 0xE81B));
        m_dock.MoveWindow(0, 0, 300, 100);
    }
    void TearDown() override {
        m_bars.clear();
        m_dock.DestroyWindow();
    }
    // A bar named by a letter, lying in the dock bar at the rectangle.
    CRowTestBar* Bar(char cName, CRect rc) {
        m_bars.push_back(std::make_unique<CRowTestBar>(&m_dock, rc));
        m_names[m_bars.back().get()] = cName;
        return m_bars.back().get();
    }
    // The entries as letters, '|' for the null that ends a row.
    std::string Rows() {
        std::string rows;
        for (int i = 0; i < m_dock.GetEntryCount(); ++i) rows += m_dock.GetEntry(i) ? m_names[m_dock.GetEntry(i)] : '|';
        return rows;
    }
    CRect ScreenRect(CRect rc) {
        m_dock.ClientToScreen(&rc);
        return rc;
    }

    CTestSite m_site;
    CKLVCommandBars m_commandBars;
    CKLVDockBar m_dock;
    std::vector<std::unique_ptr<CRowTestBar>> m_bars;
    std::map<CKLVCommandBar*, char> m_names;
};

}  // namespace

TEST_F(DockBars, ABarWithoutAPlaceGoesIntoANewLastRow) {
    EXPECT_EQ(Rows(), "|");
    EXPECT_EQ(m_dock.GetPosition(), CKLVCommandBar::barTop);
    CRowTestBar* pA = Bar('A', CRect(0, 0, 50, 20));
    m_dock.DockCommandBar(pA);
    EXPECT_EQ(Rows(), "|A|");
    EXPECT_EQ(pA->m_pDockBar, &m_dock);
    m_dock.DockCommandBar(pA);   // already here: nothing happens
    EXPECT_EQ(Rows(), "|A|");
}

TEST_F(DockBars, ADroppedBarGoesToTheRowOfItsCentreOrANewRow) {
    const struct {
        const char* what;
        int yCentre;
        const char* rows;
    } cases[] = {
        {"above the first row", -5, "|C|A|B|"},
        {"inside the first row", 10, "|CA|B|"},
        {"on the boundary between the rows", 20, "|A|C|B|"},
        {"inside the second row", 30, "|A|CB|"},
        {"below every row", 90, "|A|B|C|"},
    };
    for (const auto& c : cases) {
        m_bars.clear();
        m_names.clear();
        m_dock.m_arrBars.RemoveAll();
        m_dock.m_arrBars.Add(nullptr);
        CRowTestBar* pA = Bar('A', CRect(0, 0, 50, 20));
        CRowTestBar* pB = Bar('B', CRect(0, 20, 50, 40));
        m_dock.DockCommandBar(pA);
        m_dock.DockCommandBar(pB);
        CRowTestBar* pC = Bar('C', CRect(200, 60, 240, 80));
        m_dock.DockCommandBar(pC, ScreenRect(CRect(100, c.yCentre - 5, 140, c.yCentre + 5)));
        EXPECT_EQ(Rows(), c.rows) << c.what;
        EXPECT_EQ(pC->m_pDockBar, &m_dock) << c.what;
    }
}

TEST_F(DockBars, LeavingTakesAnEmptiedRowAlongAndABarNotHereChangesNothing) {
    CRowTestBar* pA = Bar('A', CRect(0, 0, 50, 20));
    CRowTestBar* pB = Bar('B', CRect(0, 20, 50, 40));
    CRowTestBar* pC = Bar('C', CRect(0, 40, 50, 60));
    for (CRowTestBar* pBar : {pA, pB, pC}) m_dock.DockCommandBar(pBar);
    EXPECT_EQ(Rows(), "|A|B|C|");
    m_dock.RemoveCommandBar(pB);
    EXPECT_EQ(Rows(), "|A|C|");
    EXPECT_EQ(pB->m_pDockBar, nullptr);
    m_dock.RemoveCommandBar(pB);
    EXPECT_EQ(Rows(), "|A|C|");
    m_dock.RemoveCommandBar(pA);
    m_dock.RemoveCommandBar(pC);
    EXPECT_EQ(Rows(), "|");
}

TEST_F(DockBars, AStretchedBarEndsAloneInItsRow) {
    CRowTestBar* pA = Bar('A', CRect(0, 0, 50, 20));
    CRowTestBar* pB = Bar('B', CRect(60, 0, 110, 20));
    m_dock.DockCommandBar(pA);
    m_dock.DockCommandBar(pB, ScreenRect(CRect(60, 0, 110, 20)));
    EXPECT_EQ(Rows(), "|BA|");
    CRowTestBar* pMenu = Bar('M', CRect(120, 0, 200, 20));
    pMenu->m_nFlags = CKLVDockBar::flagStretched;
    m_dock.DockCommandBar(pMenu, ScreenRect(CRect(120, 0, 200, 20)));
    EXPECT_EQ(Rows(), "|M|BA|");
}

TEST_F(DockBars, TheManagerMakesOneDockBarForEachEdge) {
    m_commandBars.SetSite(&m_site);
    m_commandBars.EnableDocking();
    const struct {
        int nPosition;
        UINT nID;
        const char* pszName;
    } docks[] = {{0, 0xE81B, "klvBarTop"}, {1, 0xE81E, "klvBarBottom"}, {2, 0xE81C, "klvBarLeft"},
                 {3, 0xE81D, "klvBarRight"}};
    for (const auto& d : docks) {
        CKLVDockBar* pDock = m_commandBars.GetDockBar(d.nPosition);
        ASSERT_NE(pDock, nullptr) << d.nPosition;
        EXPECT_EQ(pDock->GetPosition(), d.nPosition);
        EXPECT_EQ(static_cast<UINT>(pDock->GetDlgCtrlID()), d.nID);
        EXPECT_EQ(pDock->GetParent(), &m_site);
        char szName[32] = {};
        ::GetWindowTextA(pDock->GetSafeHwnd(), szName, sizeof(szName));
        EXPECT_STREQ(szName, d.pszName);
        EXPECT_EQ(pDock->IsHorizontal(), d.nPosition < 2);
    }
    EXPECT_EQ(m_commandBars.GetDockBar(4), nullptr);
}

}  // namespace commandbars_test

namespace commandbars_test {

TEST_F(DockBars, PrintingFillsTheBackgroundAndDrawsTheChildrenWhereTheyLie) {
    CKLVPaintManager* pOwn = CKLVPaintManager::CreateThemeObject(0);
    pOwn->RefreshMetrics();
    pOwn->SetCustomColor(COLOR_BTNFACE, RGB(200, 0, 0));
    m_commandBars.SetPaintManager(pOwn);
    Bar('A', CRect(40, 10, 90, 30));
    const struct {
        LPARAM lFlags;
        CPoint ptInChild;
        COLORREF clrInChild;
    } cases[] = {
        {PRF_CLIENT, CPoint(60, 20), RGB(200, 0, 0)},
        {PRF_CLIENT | PRF_CHILDREN, CPoint(60, 20), ::GetSysColor(COLOR_BTNFACE)},
    };
    for (const auto& c : cases) {
        Dib dib(300, 100);
        m_dock.SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(dib.m_dc.GetSafeHdc()), c.lFlags);
        EXPECT_EQ(dib.At(5, 50), RGB(200, 0, 0)) << c.lFlags;
        EXPECT_EQ(dib.At(c.ptInChild.x, c.ptInChild.y), c.clrInChild) << c.lFlags;
        // The child's frame lies on its own edge, not at the dock bar's corner.
        EXPECT_EQ(dib.At(0, 0), RGB(200, 0, 0)) << c.lFlags;
    }
    Dib untouched(10, 10);
    EXPECT_EQ(m_dock.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(untouched.m_dc.GetSafeHdc()), 0), TRUE);
    EXPECT_TRUE(untouched.Painted().empty());
}

}  // namespace commandbars_test

namespace commandbars_test {

TEST_F(DockBars, ABarDocksWhereADockBarGrownByTwentyPixelsHoldsThePoint) {
    m_site.MoveWindow(100, 100, 400, 300);
    m_commandBars.SetSite(&m_site);
    m_commandBars.EnableDocking();
    // Give the four dock bars their strips: top and bottom 30 high, left and right 30 wide.
    const CRect strips[] = {CRect(0, 0, 400, 30), CRect(0, 270, 400, 300), CRect(0, 30, 30, 270),
                            CRect(370, 30, 400, 270)};
    for (int i = 0; i < 4; ++i) m_commandBars.GetDockBar(i)->MoveWindow(strips[i]);
    CKLVDockBar* pTop = m_commandBars.GetDockBar(0);
    CKLVDockBar* pLeft = m_commandBars.GetDockBar(2);
    const struct {
        const char* what;
        CPoint pt;             // in the site's client area
        CKLVDockBar* pTried;
        int nDock;             // -1: none
    } cases[] = {
        {"on the top bar", CPoint(200, 10), nullptr, 0},
        {"20 pixels below the top bar", CPoint(200, 49), nullptr, 0},
        {"21 pixels below it", CPoint(200, 50), nullptr, -1},
        {"above the frame", CPoint(200, -15), nullptr, 0},
        {"in the corner: top first", CPoint(10, 40), nullptr, 0},
        {"in the corner: the tried one first", CPoint(10, 40), pLeft, 2},
        {"on the right bar", CPoint(390, 150), pTop, 3},
        {"in the middle", CPoint(200, 150), nullptr, -1},
    };
    for (const auto& c : cases) {
        CPoint pt = c.pt;
        m_site.ClientToScreen(&pt);
        EXPECT_EQ(m_commandBars.CanDock(pt, c.pTried), m_commandBars.GetDockBar(c.nDock)) << c.what;
    }
}

}  // namespace commandbars_test
