// Printing from views: the pages a run prints follow the range chosen in the print dialog, a run
// without a dialog takes the default printer or tells the user there is none, and a frame puts
// its menu, accelerators and bars away for a print preview and gets them back.
#include "classlib/WindowTestSupport.h"
#include "classlib/app/BoxCountingApp.h"
#include "classlib/app/res/AppTestResources.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CPrintApp : public classlib_test::CBoxCountingApp {
public:
    CPrintApp() : CBoxCountingApp("PrintApp") {}
};

// Notes the pages it prints.
class CPageView : public CView {
public:
    std::vector<UINT> m_pages;
    void OnDraw(CDC*) override {}
    void OnPrint(CDC*, CPrintInfo* pInfo) override { m_pages.push_back(pInfo->m_nCurPage); }
};

TEST(Printing, TheRunPrintsThePagesChosenOrAll) {
    struct Row {
        UINT nMaxPage;
        BOOL bRangeChosen;
        WORD nFrom;
        WORD nTo;
        std::vector<UINT> printed;
    };
    const Row rows[] = {
        {4, FALSE, 2, 3, {1, 2, 3, 4}},   // "all pages": the range in the dialog does not count
        {4, TRUE, 2, 3, {2, 3}},
        {4, TRUE, 3, 3, {3}},
        {0x10005, FALSE, 0, 0, {1}},      // more pages than the dialog counts: at most 0xFFFF
    };
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    for (const Row& row : rows) {
        CPageView view;
        CPrintInfo info;
        info.SetMaxPage(row.nMaxPage);
        info.m_pPD->m_pd.nFromPage = row.nFrom;
        info.m_pPD->m_pd.nToPage = row.nTo;
        if (row.bRangeChosen) info.m_pPD->m_pd.Flags |= PD_PAGENUMS;
        EXPECT_LE(info.GetMaxPage(), 0xFFFFu);
        view.PrintPages(&dc, &info);
        EXPECT_EQ(view.m_pages, row.printed) << row.nMaxPage << " " << row.bRangeChosen;
    }
}

// Whether the system has a default printer, asked without the library.
bool HasDefaultPrinter() {
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgA(&pd)) return false;
    const bool bPrinter = pd.hDC != nullptr;
    if (pd.hDC) ::DeleteDC(pd.hDC);
    if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
    return bPrinter;
}

TEST(Printing, PreparingWithoutTheDialogTakesTheDefaultPrinterOrSaysThereIsNone) {
    CPrintApp app;
    const bool bPrinter = HasDefaultPrinter();
    for (const BOOL bPreview : {TRUE, FALSE}) {
        CPageView view;
        CPrintInfo info;
        info.m_bPreview = bPreview;
        info.m_bDirect = !bPreview;
        info.SetMinPage(2);
        info.SetMaxPage(9);
        app.m_nBoxes = 0;
        EXPECT_EQ(view.DoPreparePrinting(&info) != FALSE, bPrinter) << bPreview;
        EXPECT_EQ(info.m_pPD->m_pd.nFromPage, 2) << "the dialog offers the view's pages";
        EXPECT_EQ(info.m_pPD->m_pd.nToPage, 9);
        if (bPrinter) {
            ASSERT_NE(info.m_pPD->GetPrinterDC(), nullptr);
            EXPECT_EQ(::GetDeviceCaps(info.m_pPD->GetPrinterDC(), TECHNOLOGY), DT_RASPRINTER);
            EXPECT_EQ(app.m_nBoxes, 0);
        } else {
            EXPECT_EQ(info.m_pPD->GetPrinterDC(), nullptr);
            EXPECT_EQ(app.m_nBoxes, 1) << "the user hears why nothing prints";
        }
    }
}

class CPreviewFrame : public CFrameWnd {
protected:
    void PostNcDestroy() override {}   // lives on the stack
};

TEST(Printing, APreviewPutsTheFramesMenuAcceleratorsAndBarsAwayAndBack) {
    CPreviewFrame frame;
    HMENU hMenu = ::CreateMenu();
    ::AppendMenuA(hMenu, MF_STRING, 100, "&File");
    ASSERT_TRUE(frame.Create(nullptr, "preview", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    ::SetMenu(frame.m_hWnd, hMenu);
    ACCEL accel = {FVIRTKEY | FCONTROL, 'P', 100};
    frame.m_hAccelTable = ::CreateAcceleratorTable(&accel, 1);
    CToolBar shown, hidden;
    ASSERT_TRUE(shown.CreateEx(&frame) && shown.LoadToolBar(IDR_TOOLBAR));
    ASSERT_TRUE(hidden.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | CBRS_ALIGN_BOTTOM, 0xE830));

    CPrintPreviewState state;
    frame.OnSetPreviewMode(TRUE, &state);
    EXPECT_EQ(::GetMenu(frame.m_hWnd), nullptr);
    EXPECT_EQ(frame.m_hAccelTable, nullptr);
    EXPECT_FALSE(shown.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(state.hiddenBars, std::vector<HWND>{shown.m_hWnd});

    frame.OnSetPreviewMode(FALSE, &state);
    EXPECT_EQ(::GetMenu(frame.m_hWnd), hMenu);
    EXPECT_NE(frame.m_hAccelTable, nullptr);
    EXPECT_TRUE(shown.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(hidden.GetStyle() & WS_VISIBLE) << "a bar hidden before stays hidden";
    ::DestroyAcceleratorTable(frame.m_hAccelTable);
    frame.m_hAccelTable = nullptr;
    frame.DestroyWindow();
}

}  // namespace
