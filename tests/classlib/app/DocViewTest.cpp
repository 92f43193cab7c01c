// Documents, views and frames on real windows: command routing through an MDI frame with two
// documents (one in split views), open/save/close round trips with the modified flag, control
// bar layout, and no windows or GDI objects left behind.
#include "classlib/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum : UINT { ID_VIEW_ONLY = 40001, ID_DOC_ONLY, ID_CHILD_ONLY, ID_MAIN_ONLY, ID_APP_ONLY, ID_SHARED, ID_NOBODY };

std::vector<std::string> g_log;

class CRouteApp : public CWinApp {
public:
    CRouteApp() : CWinApp("RouteApp") {}
    std::vector<std::string> m_boxes;
    int m_nAnswer = IDNO;
    std::vector<std::string> m_recent;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override {
        m_boxes.push_back(lpszPrompt);
        return m_nAnswer;
    }
    void AddToRecentFileList(LPCTSTR lpszPathName) override { m_recent.push_back(lpszPathName); }

protected:
    void OnAppOnly() { g_log.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteApp, CWinApp)
    ON_COMMAND(ID_APP_ONLY, OnAppOnly)
    ON_COMMAND(ID_SHARED, OnAppOnly)
END_MESSAGE_MAP()

}  // namespace

// Document, view and frame classes are created by name, so they live at namespace scope.
class CTextDoc : public CDocument {
    DECLARE_DYNCREATE(CTextDoc)
public:
    CString m_strText;
    BOOL m_bFailWhileSaving = FALSE;
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_strText;
            if (m_bFailWhileSaving) AfxThrowFileException(CFileException::diskFull);
        } else {
            ar >> m_strText;
        }
    }
    void DeleteContents() override { m_strText.Empty(); }

protected:
    void OnDocOnly() { g_log.push_back("doc " + std::string(m_strTitle)); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTextDoc, CDocument)
BEGIN_MESSAGE_MAP(CTextDoc, CDocument)
    ON_COMMAND(ID_DOC_ONLY, OnDocOnly)
    ON_COMMAND(ID_SHARED, OnDocOnly)
END_MESSAGE_MAP()

class CTextView : public CView {
    DECLARE_DYNCREATE(CTextView)
public:
    std::vector<LPARAM> m_hints;
    UINT m_nPagesToPrint = 0;   // pages the view has; 0: as the print info says
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM lHint, CObject*) override { m_hints.push_back(lHint); }
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override {
        CView::OnPrepareDC(pDC, pInfo);
        if (pInfo && m_nPagesToPrint) pInfo->m_bContinuePrinting = pInfo->m_nCurPage <= m_nPagesToPrint;
    }

protected:
    void OnViewOnly() { g_log.push_back("view " + std::to_string(GetDlgCtrlID() - AFX_IDW_PANE_FIRST)); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTextView, CView)
BEGIN_MESSAGE_MAP(CTextView, CView)
    ON_COMMAND(ID_VIEW_ONLY, OnViewOnly)
END_MESSAGE_MAP()

class CPlainChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CPlainChild)

protected:
    void OnChildOnly() { g_log.push_back("child"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CPlainChild, CMDIChildWnd)
BEGIN_MESSAGE_MAP(CPlainChild, CMDIChildWnd)
    ON_COMMAND(ID_CHILD_ONLY, OnChildOnly)
END_MESSAGE_MAP()

// Shows its document in two panes side by side.
class CSplitChild : public CPlainChild {
    DECLARE_DYNCREATE(CSplitChild)
public:
    CSplitterWnd m_wndSplitter;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
        return m_wndSplitter.CreateStatic(this, 1, 2) &&
               m_wndSplitter.CreateView(0, 0, pContext->m_pNewViewClass, CSize(100, 100), pContext) &&
               m_wndSplitter.CreateView(0, 1, pContext->m_pNewViewClass, CSize(100, 100), pContext);
    }
};
IMPLEMENT_DYNCREATE(CSplitChild, CPlainChild)

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

protected:
    void OnMainOnly() { g_log.push_back("main"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)
BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_COMMAND(ID_MAIN_ONLY, OnMainOnly)
    ON_COMMAND(ID_SHARED, OnMainOnly)
END_MESSAGE_MAP()

// A bar of fixed thickness along one edge.
class CEdgeBar : public CControlBar {
public:
    int m_nThickness = 20;
    int m_nUpdates = 0;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
        return CSize(bHorz && bStretch ? 32767 : m_nThickness, !bHorz && bStretch ? 32767 : m_nThickness);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++m_nUpdates; }
};

namespace {

// An application with an MDI main frame and two templates: plain children and split ones.
struct MdiApp {
    CRouteApp app;
    CMainFrame* pMain = new CMainFrame;
    CMultiDocTemplate* pPlain = new CMultiDocTemplate(200, RUNTIME_CLASS(CTextDoc), RUNTIME_CLASS(CPlainChild),
                                                      RUNTIME_CLASS(CTextView));
    CMultiDocTemplate* pSplit = new CMultiDocTemplate(201, RUNTIME_CLASS(CTextDoc), RUNTIME_CLASS(CSplitChild),
                                                      RUNTIME_CLASS(CTextView));
    MdiApp() {
        EXPECT_TRUE(pMain->LoadFrame(100, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        app.m_pMainWnd = pMain;
        app.AddDocTemplate(pPlain);
        app.AddDocTemplate(pSplit);
        g_log.clear();
    }
    ~MdiApp() {
        if (app.m_pMainWnd) app.m_pMainWnd->DestroyWindow();
        classlib_test::PumpPending();
    }
    std::vector<std::string> Route(UINT nID) {
        g_log.clear();
        pMain->SendMessage(WM_COMMAND, nID);
        return g_log;
    }
    int ChildCount() const {
        int nCount = 0;
        for (HWND h = ::GetTopWindow(pMain->m_hWndMDIClient); h; h = ::GetWindow(h, GW_HWNDNEXT)) ++nCount;
        return nCount;
    }
};

CString TempFile(const char* name) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return CString(folder) + name;
}

std::string FileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(DocView, CommandsRouteThroughTheActiveChildViewAndDocument) {
    MdiApp mdi;
    CDocument* pFirst = mdi.pPlain->OpenDocumentFile(nullptr);
    CDocument* pSecond = mdi.pSplit->OpenDocumentFile(nullptr);
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(mdi.ChildCount(), 2);
    EXPECT_STREQ(pFirst->GetTitle(), "Untitled1");
    EXPECT_STREQ(pSecond->GetTitle(), "Untitled1") << "each template counts its own";
    ASSERT_EQ(mdi.pMain->GetActiveDocument(), pSecond);

    struct Case {
        UINT nID;
        std::vector<std::string> log;
    };
    const Case splitCases[] = {
        {ID_VIEW_ONLY, {"view 0"}},             // the active pane of the split child
        {ID_DOC_ONLY, {"doc Untitled1"}},
        {ID_CHILD_ONLY, {"child"}},
        {ID_APP_ONLY, {"app"}},
        {ID_MAIN_ONLY, {"main"}},
        {ID_SHARED, {"doc Untitled1"}},        // the document is asked before frames and the app
        {ID_NOBODY, {}},
    };
    for (const Case& c : splitCases) EXPECT_EQ(mdi.Route(c.nID), c.log) << c.nID;

    auto* pChild = static_cast<CSplitChild*>(mdi.pMain->MDIGetActive());
    pChild->m_wndSplitter.SetActivePane(0, 1);
    EXPECT_EQ(mdi.Route(ID_VIEW_ONLY), std::vector<std::string>{"view 1"});
    int nRow = -1, nCol = -1;
    EXPECT_NE(pChild->m_wndSplitter.GetActivePane(&nRow, &nCol), nullptr);
    EXPECT_EQ(nCol, 1);

    // The other document's window becomes active: commands follow it.
    POSITION pos = pFirst->GetFirstViewPosition();
    CView* pFirstView = pFirst->GetNextView(pos);
    mdi.pMain->MDIActivate(pFirstView->GetParentFrame());
    EXPECT_EQ(mdi.pMain->GetActiveDocument(), pFirst);
    EXPECT_EQ(mdi.Route(ID_VIEW_ONLY), std::vector<std::string>{"view 0"});

    // Updates reach every view but the sender.
    POSITION posSplit = pSecond->GetFirstViewPosition();
    auto* pLeft = static_cast<CTextView*>(pSecond->GetNextView(posSplit));
    auto* pRight = static_cast<CTextView*>(pSecond->GetNextView(posSplit));
    EXPECT_EQ(posSplit, nullptr);
    pLeft->m_hints.clear();
    pRight->m_hints.clear();
    pSecond->UpdateAllViews(pLeft, 7);
    EXPECT_TRUE(pLeft->m_hints.empty());
    EXPECT_EQ(pRight->m_hints, std::vector<LPARAM>{7});
}

TEST(DocView, DocumentsRoundTripThroughTheirFilesAndTrackChanges) {
    const CString strPath = TempFile("kelvane-docview.txt");
    ::DeleteFileA(strPath);
    MdiApp mdi;
    auto* pDoc = static_cast<CTextDoc*>(mdi.pPlain->OpenDocumentFile(nullptr));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_FALSE(pDoc->IsModified());
    pDoc->m_strText = "first contents";
    pDoc->SetModifiedFlag();
    ASSERT_TRUE(pDoc->DoSave(strPath));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_STREQ(pDoc->GetTitle(), "kelvane-docview.txt");
    EXPECT_EQ(mdi.app.m_recent, std::vector<std::string>{std::string(strPath)});

    // A save that fails half-way leaves the file as it was and the document modified.
    const std::string saved = FileBytes(strPath);
    pDoc->m_strText = "second contents, never complete";
    pDoc->SetModifiedFlag();
    pDoc->m_bFailWhileSaving = TRUE;
    EXPECT_FALSE(pDoc->DoSave(strPath));
    EXPECT_EQ(FileBytes(strPath), saved);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(mdi.app.m_boxes.size(), 1u) << "the failure is reported";
    pDoc->m_bFailWhileSaving = FALSE;

    // Closing a modified document asks first: Cancel keeps it, No drops the changes.
    mdi.app.m_nAnswer = IDCANCEL;
    mdi.pMain->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_EQ(mdi.ChildCount(), 1);
    mdi.app.m_nAnswer = IDNO;
    mdi.pMain->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_EQ(mdi.ChildCount(), 0);
    EXPECT_EQ(mdi.pPlain->GetFirstDocPosition(), nullptr) << "the document went with its window";

    auto* pReopened = static_cast<CTextDoc*>(mdi.app.OpenDocumentFile(strPath));
    ASSERT_NE(pReopened, nullptr);
    EXPECT_STREQ(pReopened->m_strText, "first contents");
    EXPECT_FALSE(pReopened->IsModified());
    EXPECT_EQ(mdi.app.OpenDocumentFile(strPath), pReopened) << "an open file is not opened twice";
    EXPECT_EQ(mdi.ChildCount(), 1);

    mdi.app.m_boxes.clear();
    EXPECT_EQ(mdi.app.OpenDocumentFile(TempFile("kelvane-no-such-file.txt")), nullptr);
    EXPECT_EQ(mdi.app.m_boxes.size(), 1u);
    EXPECT_EQ(mdi.ChildCount(), 1) << "a failed open leaves no window";
    ::DeleteFileA(strPath);
}

TEST(DocView, TheShellCommandOpensWhatTheCommandLineNames) {
    const CString strPath = TempFile("kelvane-shell.txt");
    {
        std::ofstream out(strPath, std::ios::binary);   // an archived empty string
        out.put('\0');
    }
    struct Row {
        int nCommand;
        CString strFile;
        BOOL bResult;
        int nChildren;
        size_t nBoxes;
    };
    const Row rows[] = {
        {CCommandLineInfo::FileNew, "", TRUE, 1, 0},
        {CCommandLineInfo::FileOpen, strPath, TRUE, 1, 0},
        {CCommandLineInfo::FileOpen, TempFile("kelvane-shell-missing.txt"), FALSE, 0, 1},   // the program ends
        {CCommandLineInfo::FileNothing, "", TRUE, 0, 0},
    };
    for (const Row& row : rows) {
        MdiApp mdi;
        CCommandLineInfo info;
        info.m_nShellCommand = row.nCommand;
        info.m_strFileName = row.strFile;
        EXPECT_EQ(mdi.app.ProcessShellCommand(info), row.bResult) << row.nCommand;
        EXPECT_EQ(mdi.ChildCount(), row.nChildren) << row.nCommand;
        EXPECT_EQ(mdi.app.m_boxes.size(), row.nBoxes) << row.nCommand;
    }
    ::DeleteFileA(strPath);
}

TEST(DocView, WaitCursorsNestAndGiveTheCursorBack) {
    CRouteApp app;
    const HCURSOR hArrow = ::LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR hWait = ::LoadCursorA(nullptr, IDC_WAIT);
    const HCURSOR hCross = ::LoadCursorA(nullptr, IDC_CROSS);
    ::SetCursor(hCross);
    struct Step {
        int nCode;   // 1 begin, -1 end, 0 restore
        HCURSOR hExpected;
    };
    const Step steps[] = {{1, hWait}, {1, hWait}, {-1, hWait}, {0, hWait}, {-1, hCross}, {-1, hCross}, {1, hWait}, {-1, hCross}};
    for (const Step& step : steps) {
        if (step.nCode == 0) ::SetCursor(hArrow);   // something else changed it meanwhile
        app.DoWaitCursor(step.nCode);
        EXPECT_EQ(::GetCursor(), step.hExpected) << &step - steps;
    }
}

TEST(DocView, ViewsPrintThePagesTheyHave) {
    MdiApp mdi;
    CDocument* pDoc = mdi.pPlain->OpenDocumentFile(nullptr);
    POSITION pos = pDoc->GetFirstViewPosition();
    auto* pView = static_cast<CTextView*>(pDoc->GetNextView(pos));
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    struct Row {
        UINT nMaxPage;
        UINT nViewPages;
        UINT nPrinted;
    };
    const Row rows[] = {{0xFFFF, 0, 1}, {3, 0, 3}, {5, 2, 2}};
    for (const Row& row : rows) {
        CPrintInfo info;
        info.SetMaxPage(row.nMaxPage);
        pView->m_nPagesToPrint = row.nViewPages;
        EXPECT_EQ(pView->PrintPages(&dc, &info), row.nPrinted) << row.nMaxPage << "/" << row.nViewPages;
    }
}

TEST(Frames, BarsTakeTheirEdgesAndTheViewTheRest) {
    CTextDoc* pDoc = new CTextDoc;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTextView);
    context.m_pCurrentDoc = pDoc;
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, nullptr, 0,
                               &context));
    CEdgeBar top, bottom;
    top.m_dwStyle = CBRS_TOP;
    bottom.m_dwStyle = CBRS_BOTTOM;
    bottom.m_nThickness = 15;
    ASSERT_TRUE(top.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, AFX_IDW_TOOLBAR));
    ASSERT_TRUE(bottom.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, AFX_IDW_STATUS_BAR));
    pFrame->DelayRecalcLayout();
    pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);   // the layout waits for idle time

    CRect rectClient, rectTop, rectBottom, rectView;
    pFrame->GetClientRect(&rectClient);
    auto placed = [&](CWnd& wnd, CRect& rect) {
        wnd.GetWindowRect(&rect);
        pFrame->ScreenToClient(&rect);
    };
    placed(top, rectTop);
    placed(bottom, rectBottom);
    CWnd* pView = pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST);
    ASSERT_NE(pView, nullptr);
    placed(*pView, rectView);
    EXPECT_EQ(rectTop, CRect(0, 0, rectClient.right, 20));
    EXPECT_EQ(rectBottom, CRect(0, rectClient.bottom - 15, rectClient.right, rectClient.bottom));
    EXPECT_EQ(rectView, CRect(0, 20, rectClient.right, rectClient.bottom - 15));

    top.ShowWindow(SW_HIDE);
    pFrame->RecalcLayout();
    placed(*pView, rectView);
    EXPECT_EQ(rectView.top, 0) << "a hidden bar takes no room";

    bottom.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    top.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(bottom.m_nUpdates, 1);
    EXPECT_EQ(top.m_nUpdates, 0) << "a hidden bar is not updated";
    top.DestroyWindow();
    bottom.DestroyWindow();
    pFrame->DestroyWindow();   // the view goes, and with it the document
}

TEST(Frames, SplitterBarsMoveWithTheMouse) {
    MdiApp mdi;
    mdi.pSplit->OpenDocumentFile(nullptr);
    auto* pChild = static_cast<CSplitChild*>(mdi.pMain->MDIGetActive());
    ASSERT_NE(pChild, nullptr);
    CSplitterWnd& splitter = pChild->m_wndSplitter;
    splitter.MoveWindow(0, 0, 400, 200);
    int cxLeft = 0, cxMin = 0;
    splitter.GetColumnInfo(0, cxLeft, cxMin);
    EXPECT_EQ(cxLeft, 100);
    const int xBar = cxLeft + splitter.m_cxSplitter / 2;
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(xBar, 50));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(xBar + 30, 60));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(xBar + 30, 60));
    splitter.GetColumnInfo(0, cxLeft, cxMin);
    EXPECT_EQ(cxLeft, 130);
    CRect rectRight;
    splitter.GetPane(0, 1)->GetWindowRect(&rectRight);
    splitter.ScreenToClient(&rectRight);
    EXPECT_EQ(rectRight, CRect(130 + splitter.m_cxSplitter, 0, 400, 200));

    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130 + 2, 50));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5000, 60));
    splitter.SendMessage(WM_LBUTTONUP, 0, 0);
    int cxRight = 0;
    splitter.GetColumnInfo(1, cxRight, cxMin);
    EXPECT_EQ(cxRight, cxMin) << "the other pane keeps its minimum";
}

// Counts what reaches an MDI client after its WM_DESTROY.
WNDPROC g_pfnClientProc = nullptr;
bool g_bClientDestroyed = false;
int g_nLateClientMessages = 0;

LRESULT CALLBACK CountingClientProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_bClientDestroyed && message != WM_NCDESTROY) ++g_nLateClientMessages;
    if (message == WM_DESTROY) g_bClientDestroyed = true;
    return ::CallWindowProcA(g_pfnClientProc, hWnd, message, wParam, lParam);
}

void WatchClientTeardown(HWND hWndClient) {
    g_bClientDestroyed = false;
    g_nLateClientMessages = 0;
    g_pfnClientProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWndClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingClientProc)));
}

TEST(DocView, OpeningAndClosingLeavesNoHandlesBehind) {
    // Documents closed one by one, or still open when the main frame goes (their views then
    // update titles while the frame and its MDI client are being destroyed).
    for (const BOOL bCloseFirst : {TRUE, FALSE}) {
        auto cycle = [bCloseFirst] {
            MdiApp mdi;
            for (int i = 0; i < 3; ++i) {
                mdi.pSplit->OpenDocumentFile(nullptr);
                mdi.pPlain->OpenDocumentFile(nullptr);
            }
            if (bCloseFirst) mdi.app.CloseAllDocuments(FALSE);
            else WatchClientTeardown(mdi.pMain->m_hWndMDIClient);
        };
        cycle();   // the system makes some objects once, on first use
        const classlib_test::HandleCounts before = classlib_test::CountHandles();
        cycle();
        EXPECT_EQ(classlib_test::CountHandles(), before) << bCloseFirst;
        EXPECT_EQ(g_nLateClientMessages, 0) << "the client keeps freed state after its WM_DESTROY";
    }
}

}  // namespace
