// Dock bar layout with bars of fixed sizes: bars keep their places in a row and are pushed apart
// where they overlap, a long row first shrinks the bars that may hide controls and then moves
// its last bar to a line of its own, a single bar stays, and the dock bar takes its strip of the
// frame (none while it is hidden).
#include "ControlTestSupport.h"
#include "classlib/ControlBar.h"
#include "classlib/WindowMessages.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/dockbars/DockBar.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/ToolBarTracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace commandbars_test {
namespace {

// A bar 20 thick and nFull long; with hide-wrap it shrinks down to nMin.
class CFixedDockedBar : public CKLVToolBar {
public:
    CFixedDockedBar(CWnd* pDock, int nFull, int nMin) : m_nFull(nFull), m_nMin(nMin) {
        m_nFlags = flagDockMask | flagFloat | (nMin < nFull ? flagHideWrap : 0);
        CreateEx(0, AfxRegisterWndClass(0), "bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, nFull, 20), pDock, 0);
    }
    ~CFixedDockedBar() override { DestroyWindow(); }
    CSize CalcDockingLayout(int nLength, DWORD dwMode, int) override {
        const int nAlong = (dwMode & CKLVControls::modeHideWrap) ? std::max(m_nMin, std::min(nLength, m_nFull)) : m_nFull;
        return (dwMode & CKLVControls::modeVertDock) ? CSize(20, nAlong) : CSize(nAlong, 20);
    }
    int m_nFull, m_nMin;
};

struct BarSpec {
    char cName;
    int nFull, nMin, nAt;   // length, shortest length, last docked place along the row
};

class DockBarLayout : public ::testing::Test {
protected:
    void SetUp() override {
        CKLVFlatTestTheme::Register();
        m_site.MoveWindow(0, 0, 400, 400);
    }
    void TearDown() override {
        m_bars.clear();
        if (m_pDock) m_pDock->DestroyWindow();
    }
    void MakeDock(DWORD dwStyle) {
        m_pDock = std::make_unique<CKLVDockBar>();
        m_pDock->m_pCommandBars = &m_commandBars;
        ASSERT_TRUE(m_pDock->Create(&m_site, WS_CHILD | WS_VISIBLE | dwStyle, 0xE81B));
    }
    // One row of bars in list order.
    void Row(std::initializer_list<BarSpec> specs) {
        for (const BarSpec& s : specs) {
            m_bars.push_back(std::make_unique<CFixedDockedBar>(m_pDock.get(), s.nFull, s.nMin));
            CFixedDockedBar* pBar = m_bars.back().get();
            m_names[pBar] = s.cName;
            pBar->m_pDockBar = m_pDock.get();
            pBar->m_barPosition = m_pDock->GetPosition();
            CRect& rc = pBar->GetTracker()->m_rcLastDocked;
            rc = m_pDock->IsHorizontal() ? CRect(s.nAt, 0, s.nAt + s.nFull, 20) : CRect(0, s.nAt, 20, s.nAt + s.nFull);
            m_pDock->m_arrBars.Add(pBar);
        }
        m_pDock->m_arrBars.Add(nullptr);
    }
    // Lays the dock bar out in the rectangle; the rectangle left over.
    CRect Layout(CRect rc) {
        AFX_SIZEPARENTPARAMS layout = {};
        layout.rect = rc;
        layout.bStretch = TRUE;
        layout.hDWP = ::BeginDeferWindowPos(4);
        m_pDock->SendMessage(WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
        ::EndDeferWindowPos(layout.hDWP);
        return layout.rect;
    }
    // Each bar as "name(left,top,right,bottom)" in dock-bar client coordinates.
    std::string Places() {
        std::string places;
        for (const auto& pBar : m_bars) {
            CRect rc;
            pBar->GetWindowRect(&rc);
            m_pDock->ScreenToClient(&rc);
            places += m_names[pBar.get()] + std::string("(") + std::to_string(rc.left) + "," + std::to_string(rc.top) +
                      "," + std::to_string(rc.right) + "," + std::to_string(rc.bottom) + ")";
        }
        return places;
    }

    CTestSite m_site;
    CKLVCommandBars m_commandBars;
    std::unique_ptr<CKLVDockBar> m_pDock;
    std::vector<std::unique_ptr<CFixedDockedBar>> m_bars;
    std::map<CKLVCommandBar*, char> m_names;
};

}  // namespace

TEST_F(DockBarLayout, RowsKeepTheirBarsInPlacePushApartShrinkAndWrap) {
    const struct {
        const char* what;
        std::vector<BarSpec> row;
        const char* places;
        int nHeight;
    } cases[] = {
        {"fits", {{'A', 50, 50, 0}, {'B', 50, 50, 100}}, "A(0,0,50,20)B(100,0,150,20)", 20},
        {"a bar dropped onto another stays, the other yields", {{'B', 50, 50, 120}, {'A', 50, 50, 100}},
         "B(120,0,170,20)A(70,0,120,20)", 20},
        {"pushed off the far end", {{'A', 50, 50, 280}}, "A(250,0,300,20)", 20},
        {"too long: the bar that may hide controls shrinks", {{'A', 200, 50, 0}, {'B', 200, 200, 100}},
         "A(0,0,100,20)B(100,0,300,20)", 20},
        {"too long and nothing shrinks: the last bar takes a new line", {{'A', 200, 200, 0}, {'B', 200, 200, 100}},
         "A(0,0,200,20)B(100,20,300,40)", 40},
        {"three that wrap twice", {{'A', 200, 200, 0}, {'B', 200, 200, 50}, {'C', 200, 200, 100}},
         "A(0,0,200,20)B(50,20,250,40)C(100,40,300,60)", 60},
        {"a single bar that cannot reach its length stays", {{'A', 400, 400, 0}}, "A(0,0,400,20)", 20},
    };
    for (const auto& c : cases) {
        MakeDock(CKLVDockBar::styleTop);
        for (const BarSpec& s : c.row) Row({s});
        // One row: take the separators between the specs out again.
        for (int i = m_pDock->GetEntryCount() - 2; i > 0; --i)
            if (!m_pDock->GetEntry(i)) m_pDock->m_arrBars.RemoveAt(i);
        const CRect rcLeft = Layout(CRect(0, 0, 300, 300));
        EXPECT_EQ(Places(), c.places) << c.what;
        EXPECT_EQ(rcLeft, CRect(0, c.nHeight, 300, 300)) << c.what;
        CRect rcDock;
        m_pDock->GetWindowRect(&rcDock);
        m_site.ScreenToClient(&rcDock);
        EXPECT_EQ(rcDock, CRect(0, 0, 300, c.nHeight)) << c.what;
        for (const auto& pBar : m_bars) EXPECT_EQ(pBar->GetTracker()->m_nLastDockPosition, 0) << c.what;
        // The rows are as they were: wrapping is a matter of the layout alone.
        EXPECT_EQ(m_pDock->GetEntryCount(), static_cast<int>(c.row.size()) + 2) << c.what;
        TearDown();
    }
}

TEST_F(DockBarLayout, VerticalDockBarsWrapToTheRightAndBottomOnesTakeTheBottom) {
    MakeDock(CKLVDockBar::styleLeft);
    Row({{'A', 200, 200, 0}, {'B', 200, 200, 100}});
    EXPECT_EQ(Layout(CRect(0, 0, 300, 300)), CRect(40, 0, 300, 300));
    EXPECT_EQ(Places(), "A(0,0,20,200)B(20,100,40,300)");
    TearDown();

    MakeDock(CKLVDockBar::styleBottom);
    Row({{'A', 50, 50, 10}});
    Row({{'B', 50, 50, 10}});
    EXPECT_EQ(Layout(CRect(0, 0, 300, 300)), CRect(0, 0, 300, 260));
    CRect rcDock;
    m_pDock->GetWindowRect(&rcDock);
    m_site.ScreenToClient(&rcDock);
    EXPECT_EQ(rcDock, CRect(0, 260, 300, 300));
    EXPECT_EQ(Places(), "A(10,0,60,20)B(10,20,60,40)");
}

TEST_F(DockBarLayout, AHiddenDockBarOrHiddenBarsTakeNoRoom) {
    MakeDock(CKLVDockBar::styleTop);
    Row({{'A', 50, 50, 0}});
    Row({{'B', 50, 50, 0}});
    m_bars[0]->m_bVisible = FALSE;
    EXPECT_EQ(Layout(CRect(0, 0, 300, 300)), CRect(0, 20, 300, 300));
    m_pDock->ShowWindow(SW_HIDE);
    EXPECT_EQ(Layout(CRect(0, 0, 300, 300)), CRect(0, 0, 300, 300));
}

}  // namespace commandbars_test
