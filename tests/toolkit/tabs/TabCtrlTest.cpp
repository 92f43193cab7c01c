// The dialogs' tab control on a hidden dialog's SysTabControl32: pages per tab, the selection
// after a deletion, page moves, shortened labels, keyboard switching, command routing, and the
// theme manager.
#include "classlib/ClassLib.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/tabs/TabCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const UINT kTabId = 1012;

// A dialog template with one SysTabControl32 (id 1012), built in memory.
class CTabDialogTemplate {
public:
    CTabDialogTemplate() {
        auto put = [this](const void* p, size_t n) {
            const auto* pBytes = static_cast<const BYTE*>(p);
            m_bytes.insert(m_bytes.end(), pBytes, pBytes + n);
        };
        auto putWord = [&put](WORD w) { put(&w, sizeof(w)); };
        DLGTEMPLATE dlg = {WS_POPUP, 0, 1, 0, 0, 200, 120};
        put(&dlg, sizeof(dlg));
        putWord(0);   // no menu
        putWord(0);   // the dialog class
        putWord(0);   // no title
        while (m_bytes.size() % 4) m_bytes.push_back(0);
        DLGITEMTEMPLATE item = {WS_CHILD | WS_VISIBLE, 0, 5, 5, 190, 110, static_cast<WORD>(kTabId)};
        put(&item, sizeof(item));
        for (char ch : std::string("SysTabControl32")) putWord(static_cast<WORD>(ch));
        putWord(0);
        putWord(0);   // no text
        putWord(0);   // no creation data
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.data()); }

private:
    std::vector<BYTE> m_bytes;
};

// A page that records how it is moved and which commands reach it.
class CPage : public CWnd {
public:
    std::vector<UINT> m_moves;   // the flags of each move
    std::vector<UINT> m_commands;
    UINT m_nHandled = 500;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (nCode == CN_COMMAND && nID == m_nHandled) {
            m_commands.push_back(nID);
            return TRUE;
        }
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_WINDOWPOSCHANGING) {
            const auto* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if ((pPos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) m_moves.push_back(pPos->flags);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The control with a command of its own.
class CCommandTabCtrl : public CKLTabCtrl {
public:
    std::vector<UINT> m_commands;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (CKLTabCtrlBase::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
        if (nCode == CN_COMMAND && (nID == 500 || nID == 501)) {
            m_commands.push_back(nID);
            return TRUE;
        }
        return CTabCtrl::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

class TabCtrl : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TAB_CLASSES};
        ::InitCommonControlsEx(&icc);
        ASSERT_TRUE(m_dialog.CreateIndirect(m_template.Get()));
        ASSERT_TRUE(m_tab.SubclassDlgItem(kTabId, &m_dialog));
        m_tab.MoveWindow(0, 0, 400, 200);
    }
    void TearDown() override {
        m_dialog.DestroyWindow();
        classlib_test::PumpPending();
    }
    CPage* AddPage(LPCTSTR lpszLabel) {
        auto* pPage = new CPage;
        m_pages.emplace_back(pPage);
        EXPECT_TRUE(pPage->CreateEx(0, AfxRegisterWndClass(0), "page", WS_CHILD, CRect(0, 0, 10, 10), &m_dialog, 100));
        EXPECT_TRUE(m_tab.AddControl(lpszLabel, pPage));
        return pPage;
    }
    std::vector<std::string> Labels() {
        std::vector<std::string> labels;
        for (int i = 0; i < m_tab.GetItemCount(); ++i) labels.emplace_back(m_tab.GetItemText(i));
        return labels;
    }
    int LabelWidth(const std::string& label) {
        CClientDC dc(&m_tab);
        HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(m_tab.SendMessage(WM_GETFONT)));
        const int nWidth = dc.GetTextExtent(label.c_str(), static_cast<int>(label.size())).cx + 12;
        ::SelectObject(dc.GetSafeHdc(), hOld);
        return nWidth;
    }
    void SetKeys(BOOL bCtrl, BOOL bShift) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = bCtrl ? 0x80 : 0;
        keys[VK_SHIFT] = bShift ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    BOOL Key(UINT nKey) {
        MSG msg = {m_tab.GetSafeHwnd(), WM_KEYDOWN, nKey, 0, 0, {0, 0}};
        return m_tab.PreTranslateMessage(&msg);
    }

    CTabDialogTemplate m_template;
    CDialog m_dialog;
    CCommandTabCtrl m_tab;
    std::vector<std::unique_ptr<CPage>> m_pages;
};

TEST_F(TabCtrl, SubclassingRunsInitAndEachAddedPageIsSelectedAndShownAlone) {
    EXPECT_TRUE(m_tab.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_EQ(m_tab.m_pParentWnd, &m_dialog);
    CPage* pFirst = AddPage("First");
    CPage* pSecond = AddPage("Second");
    EXPECT_EQ(m_tab.GetCurSel(), 1);
    EXPECT_EQ(m_tab.GetActiveView(), pSecond);
    EXPECT_EQ(pFirst->GetParent(), &m_tab);
    EXPECT_FALSE(pFirst->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(pSecond->GetStyle() & WS_VISIBLE);
    CRect rcChild, rcPage;
    m_tab.GetChildRect(rcChild);
    pSecond->GetWindowRect(&rcPage);
    m_tab.ScreenToClient(&rcPage);
    EXPECT_EQ(rcPage, rcChild);
    EXPECT_EQ(m_tab.GetView(2), nullptr);
    EXPECT_EQ(m_tab.GetViewLabel(0), CString("First"));
}

TEST_F(TabCtrl, DeletingATabSelectsTheNewFirstTheNewLastOrTheOneBefore) {
    struct Case {
        int nSelected, nDeleted, nExpected;
    } cases[] = {{0, 0, 0}, {2, 2, 1}, {1, 1, 0}, {2, 0, 0}};
    for (const Case& c : cases) {
        m_tab.DeleteAllViews(TRUE);
        std::vector<CPage*> pages = {AddPage("a"), AddPage("b"), AddPage("c")};
        m_tab.SetActiveView(c.nSelected);
        CPage* pExpected = pages[c.nExpected < c.nDeleted ? c.nExpected : c.nExpected + 1];
        m_tab.DeleteView(c.nDeleted);
        EXPECT_EQ(m_tab.GetItemCount(), 2);
        EXPECT_EQ(m_tab.GetCurSel(), c.nExpected) << c.nDeleted;
        EXPECT_EQ(m_tab.GetActiveView(), pExpected) << c.nDeleted;
        EXPECT_TRUE(pExpected->GetStyle() & WS_VISIBLE);
        EXPECT_EQ(m_tab.GetItemRecordCount(), 2);
        for (int i = 0; i < 2; ++i) EXPECT_EQ(m_tab.GetItemRecord(i)->nIndex, i);
    }
    m_tab.DeleteView(0);
    m_tab.DeleteView(0);
    EXPECT_EQ(m_tab.GetItemCount(), 0);
    EXPECT_EQ(m_tab.GetActiveView(), nullptr);
}

TEST_F(TabCtrl, APageInPlaceIsNotMovedAndOneThatOnlyChangesSizeKeepsItsPosition) {
    CPage* pFirst = AddPage("First");
    CPage* pSecond = AddPage("Second");
    pFirst->m_moves.clear();
    pSecond->m_moves.clear();
    m_tab.RepositionViews();
    EXPECT_TRUE(pFirst->m_moves.empty());
    EXPECT_TRUE(pSecond->m_moves.empty());

    // Wider: the page area keeps its corner and grows.
    m_tab.MoveWindow(0, 0, 460, 200);
    ASSERT_FALSE(pFirst->m_moves.empty());
    for (CPage* pPage : {pFirst, pSecond}) {
        const UINT nFlags = pPage->m_moves.back();
        EXPECT_TRUE(nFlags & SWP_NOMOVE);
        EXPECT_FALSE(nFlags & SWP_NOSIZE);
        EXPECT_TRUE(nFlags & SWP_NOCOPYBITS);
        EXPECT_TRUE(nFlags & SWP_NOZORDER);
    }
}

TEST_F(TabCtrl, CondensingShortensTheWidestLabelFirstNeverBelowTheMinimumAndOffRestores) {
    const std::vector<std::string> full = {"A rather long label for the first tab", "Medium label", "Wait..."};
    for (const auto& label : full) AddPage(label.c_str());
    const int nFullWidth = LabelWidth(full[0]) + LabelWidth(full[1]) + LabelWidth(full[2]) + 4;
    // Room for all but a part of the widest label.
    m_tab.MoveWindow(0, 0, nFullWidth - 40, 200);
    m_tab.SetAutoCondense(TRUE);
    std::vector<std::string> shown = Labels();
    EXPECT_NE(shown[0], full[0]);
    EXPECT_EQ(shown[0].substr(shown[0].size() - 3), "...");
    EXPECT_EQ(shown[0].substr(0, shown[0].size() - 3), full[0].substr(0, shown[0].size() - 3));
    EXPECT_EQ(shown[1], full[1]);
    EXPECT_EQ(shown[2], full[2]);
    EXPECT_LE(LabelWidth(shown[0]) + LabelWidth(shown[1]) + LabelWidth(shown[2]) + 4, nFullWidth - 40);

    // No room at all: every label shrinks to its minimum and the loop ends.
    m_tab.MoveWindow(0, 0, 30, 200);
    m_tab.Condense();
    shown = Labels();
    const int nMin = m_tab.GetMinTabWidth();
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_GE(LabelWidth(shown[i]), std::min(nMin, LabelWidth(full[i]))) << shown[i];
        EXPECT_EQ(shown[i].find("......"), std::string::npos) << shown[i];
        EXPECT_EQ(shown[i].substr(shown[i].size() - 3), "...") << shown[i];
    }
    m_tab.SetAutoCondense(FALSE);
    EXPECT_EQ(Labels(), full);
}

TEST_F(TabCtrl, PadLabelWidensALabelForTheBoldFontAndStopsWhenSpacesAddNothing) {
    const CString strPadded = m_tab.PadLabel("Selected");
    EXPECT_GE(strPadded.GetLength(), 8);
    EXPECT_NE(strPadded.Find("Selected"), -1);
    if (strPadded.GetLength() > 8) {
        EXPECT_EQ(strPadded[0], ' ');   // the first space goes in front
    }
    // A normal font so small that spaces cannot make up for the bold one.
    CKLVAuxData* pAuxData = KLVAuxData();
    LOGFONTA lf = {};
    pAuxData->font.GetLogFont(&lf);
    CFont saved;
    saved.Attach(pAuxData->font.Detach());
    lf.lfHeight = 1;
    pAuxData->font.CreateFontIndirect(&lf);
    const CString strTiny = m_tab.PadLabel("Selected");
    EXPECT_NE(strTiny.Find("Selected"), -1);
    pAuxData->font.DeleteObject();
    pAuxData->font.Attach(saved.Detach());
}

TEST_F(TabCtrl, CtrlTabAndF6WrapBothWays) {
    AddPage("a");
    AddPage("b");
    AddPage("c");
    struct Step {
        BOOL bCtrl, bShift;
        UINT nKey;
        int nExpected;
    } steps[] = {
        {FALSE, FALSE, VK_F6, 0},  {FALSE, TRUE, VK_F6, 2}, {TRUE, FALSE, VK_TAB, 0},
        {TRUE, TRUE, VK_TAB, 2},   {TRUE, FALSE, VK_TAB, 0}, {FALSE, FALSE, VK_F6, 1},
    };
    for (const Step& s : steps) {
        SetKeys(s.bCtrl, s.bShift);
        EXPECT_TRUE(Key(s.nKey));
        EXPECT_EQ(m_tab.GetCurSel(), s.nExpected) << s.nKey << s.bShift;
        EXPECT_TRUE(m_tab.GetActiveView()->GetStyle() & WS_VISIBLE);
    }
    SetKeys(FALSE, FALSE);
    EXPECT_FALSE(Key(VK_TAB));
    EXPECT_EQ(m_tab.GetCurSel(), 1);
}

TEST_F(TabCtrl, ACommandReachesTheActivePageFirst) {
    CPage* pFirst = AddPage("a");
    CPage* pSecond = AddPage("b");
    m_tab.SetActiveView(1);
    m_tab.SendMessage(WM_COMMAND, 500);
    EXPECT_EQ(pSecond->m_commands, std::vector<UINT>{500});
    EXPECT_TRUE(pFirst->m_commands.empty());
    EXPECT_TRUE(m_tab.m_commands.empty());
    // What the page does not handle goes on to the control.
    m_tab.SendMessage(WM_COMMAND, 501);
    EXPECT_EQ(m_tab.m_commands, std::vector<UINT>{501});
}

// ---------------------------------------------------------------------------------------------

class CCountingStyle : public CKLTabCtrlStyle {
public:
    explicit CCountingStyle(int nTheme) : m_nTheme(nTheme) {}
    int m_nTheme;
};

class CCountingFactory : public CKLThemeManagerStyleFactory {
    DECLARE_DYNCREATE(CCountingFactory)
public:
    static int s_nCreated;
    CKLThemeManagerStyle* CreateTheme(int nTheme) override {
        ++s_nCreated;
        return new CCountingStyle(nTheme);
    }
};
int CCountingFactory::s_nCreated = 0;
IMPLEMENT_DYNCREATE(CCountingFactory, CKLThemeManagerStyleFactory)

class CCountingHost : public CKLThemeManagerStyleHost {
public:
    int m_nChanges = 0;
    void OnThemeChanged() override { ++m_nChanges; }
};

TEST(ThemeManager, SetThemeMakesEveryFactorysStyleAnewOnceAndNotAgainForTheSameNumber) {
    CCountingHost host, other;
    host.SetFactory(RUNTIME_CLASS(CCountingFactory));
    other.SetFactory(RUNTIME_CLASS(CCountingFactory));
    EXPECT_EQ(host.GetFactory(), other.GetFactory());
    const int nBefore = CCountingFactory::s_nCreated;
    ASSERT_NE(host.GetTheme(), nullptr);
    EXPECT_EQ(host.GetTheme(), other.GetTheme());
    EXPECT_EQ(CCountingFactory::s_nCreated, nBefore + 1);

    KLThemeManager()->SetTheme(2);
    EXPECT_EQ(static_cast<CCountingStyle*>(host.GetTheme())->m_nTheme, 2);
    EXPECT_EQ(host.m_nChanges, 1);
    EXPECT_EQ(other.m_nChanges, 1);
    KLThemeManager()->SetTheme(2);
    EXPECT_EQ(host.m_nChanges, 1);
    EXPECT_EQ(CCountingFactory::s_nCreated, nBefore + 2);

    // A client's own style wins over the factory's.
    auto* pOwn = new CCountingStyle(9);
    host.SetTheme(pOwn);
    EXPECT_EQ(host.GetTheme(), pOwn);
    host.SetFactory(nullptr);
    KLThemeManager()->SetTheme(0);
    EXPECT_EQ(host.m_nChanges, 1);
    EXPECT_EQ(other.m_nChanges, 2);
}

}  // namespace
