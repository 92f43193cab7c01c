// The rough edges a first user met: the title after Close, File New's name hint and folder
// picker start, drop-down lists of several rows, and Save leaving a scrolled tab where it is.
#include "AppTestHost.h"

#include "app/FolderPicker.h"

#include "app/NewProject.h"
#include "app/QuorlinView.h"
#include "support/TestFiles.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/themes/PaintManagerTheme4.h"
#include "support/FlatPaintManagerTheme.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/tabs/TabWorkspace.h"

#include <filesystem>
#include <set>
#include <vector>

using namespace apptest;

namespace {

using RoughEdgesTest = AppTest;

CString WindowText(HWND hWnd) {
    char szText[256] = "";
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

TEST_F(RoughEdgesTest, AfterCloseTheTitleNamesNoDocument) {
    UseProject(CProjectRecord::Windows);
    testsupport::writeBytes(Folder() + "calc_api.c", "int a;\r\n");
    ASSERT_TRUE(Frame().openDocument(Folder() + "calc_api.c"));
    Frame().OnUpdateFrameTitle(TRUE);
    EXPECT_NE(WindowText(Frame().GetSafeHwnd()).Find("calc_api.c"), -1);
    Command(ID_FILE_CLOSE_PROJECT);
    EXPECT_EQ(WindowText(Frame().GetSafeHwnd()), "Kelvane");
}

TEST_F(RoughEdgesTest, SavingLeavesAScrolledTabWhereTheUserScrolledIt) {
    std::string text;
    for (int i = 1; i <= 300; ++i) text += "int line" + std::to_string(i) + ";\r\n";
    testsupport::writeBytes(Folder() + "long.c", text);
    ASSERT_TRUE(Frame().openDocument(Folder() + "long.c"));
    CKLVSyntaxEditCtrl* pCtrl = Frame().GetTabView(0)->GetEditCtrl();
    pCtrl->SetCurPos(1, 1);
    // Scrolled down a page at a time, the caret left on the first line.
    for (int i = 0; i < 10; ++i) pCtrl->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    const int nTopRow = pCtrl->GetTopRow();
    ASSERT_GT(nTopRow, 20);
    ASSERT_TRUE(Frame().saveTab(0, Folder() + "long.c"));
    EXPECT_EQ(pCtrl->GetTopRow(), nTopRow);
    EXPECT_EQ(pCtrl->GetCurRow(), 1);
}

TEST_F(RoughEdgesTest, FileNewSaysWhichCharactersANameHoldsWhenItLeavesOneOut) {
    struct Typed {
        char ch;
        const char* lpszHint;   // a part of the hint shown after it, or null: the hint stays
    };
    const Typed typed[] = {{'1', "'1' was left out"}, {'m', nullptr}, {'-', "'-' was left out"}, {'y', nullptr},
                           {'_', nullptr},            {'x', nullptr},  {'.', "'.' was left out"}};
    CString strName, strLastHint;
    std::vector<std::string> hints;
    InNextDialog("New Project", [&](CWnd& dlg) {
        HWND hName = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME);
        HWND hHint = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME_HINT);
        ::SendMessageA(hName, WM_SETFOCUS, 0, 0);
        for (const Typed& t : typed) {
            ::SetWindowTextA(hHint, "");
            ::SendMessageA(hName, WM_CHAR, static_cast<WPARAM>(t.ch), 0);
            hints.push_back(static_cast<LPCSTR>(WindowText(hHint)));
        }
        strName = WindowText(hName);
        Click(dlg, IDCANCEL);
    });
    Command(ID_FILE_NEW_PROJECT);
    ASSERT_EQ(hints.size(), std::size(typed));
    for (size_t i = 0; i < hints.size(); ++i) {
        if (typed[i].lpszHint) {
            EXPECT_NE(hints[i].find(typed[i].lpszHint), std::string::npos) << hints[i];
            EXPECT_NE(hints[i].find("letters, digits and _"), std::string::npos) << hints[i];
        } else {
            EXPECT_EQ(hints[i], "") << typed[i].ch;
        }
    }
    // The underscore typed is kept; what was left out is not.
    EXPECT_EQ(strName.Left(4), "my_x");
}

// A click anywhere behind the name types on right after it (not behind blanks, not past the mask);
// a click inside the name inserts there; a character past the fifteenth is refused with a reason.
TEST_F(RoughEdgesTest, AClickBehindTheNameTypesOnRightAfterIt) {
    struct Case {
        const char* lpszBefore;
        int nClickAt;   // the character the click lands on; -1: the field's right end
        const char* lpszAfter;
        const char* lpszName;
        const char* lpszHint;   // a part of the hint after typing, or null: no hint
    };
    const Case cases[] = {
        {"", -1, "ab", "ab", nullptr},
        {"", 11, "ab", "ab", nullptr},
        {"calc", -1, "x", "calcx", nullptr},
        {"calc", 9, "x", "calcx", nullptr},
        {"calc", 1, "x", "cxalc", nullptr},
        {"abcdefghijklmno", -1, "p", "abcdefghijklmno", "at most 15"},
    };
    for (const Case& c : cases) {
        CString strName, strHint;
        InNextDialog("New Project", [&](CWnd& dlg) {
            HWND hName = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME);
            HWND hHint = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME_HINT);
            ::SendMessageA(hName, WM_SETFOCUS, 0, 0);
            for (const char* p = c.lpszBefore; *p; ++p) ::SendMessageA(hName, WM_CHAR, static_cast<WPARAM>(*p), 0);
            CRect rcClient;
            ::GetClientRect(hName, &rcClient);
            const LRESULT nAt = c.nClickAt < 0 ? 0 : ::SendMessageA(hName, EM_POSFROMCHAR, c.nClickAt, 0);
            const int x = c.nClickAt < 0 ? rcClient.right - 3 : static_cast<short>(LOWORD(nAt)) + 1;
            const LPARAM lParam = MAKELPARAM(x, rcClient.Height() / 2);
            ::SendMessageA(hName, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
            ::SendMessageA(hName, WM_LBUTTONUP, 0, lParam);
            ::SetWindowTextA(hHint, "");
            for (const char* p = c.lpszAfter; *p; ++p) ::SendMessageA(hName, WM_CHAR, static_cast<WPARAM>(*p), 0);
            strName = WindowText(hName);
            strHint = WindowText(hHint);
            Click(dlg, IDCANCEL);
        });
        Command(ID_FILE_NEW_PROJECT);
        strName.TrimRight('_');
        EXPECT_EQ(strName, c.lpszName) << c.lpszBefore << " " << c.nClickAt;
        if (c.lpszHint) EXPECT_NE(std::string(strHint).find(c.lpszHint), std::string::npos) << strHint;
        else EXPECT_EQ(strHint, "") << c.lpszBefore << " " << c.nClickAt;
    }
}

// Keys that find nothing to take or nowhere to go only beep: the hint that a name holds at most 15
// characters is for a character typed past them, not for a BackSpace on a short name.
TEST_F(RoughEdgesTest, OnlyACharacterPastTheFifteenthSaysTheNameIsTooLong) {
    struct Case {
        const char* lpszBefore;
        std::vector<UINT> keys;   // key-downs, then WM_CHAR for VK_BACK
        bool bHint;
    };
    const Case cases[] = {
        {"ab", {VK_BACK, VK_BACK, VK_BACK, VK_BACK}, false},
        {"", {VK_BACK}, false},
        {"ab", {VK_HOME, VK_LEFT}, false},
        {"abc", {VK_END, VK_DELETE, VK_DELETE}, false},
        {"abcdefghijklmno", {'P'}, true},
    };
    for (const Case& c : cases) {
        CString strHint;
        InNextDialog("New Project", [&](CWnd& dlg) {
            HWND hName = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME);
            HWND hHint = ::GetDlgItem(dlg.GetSafeHwnd(), IDC_NAME_HINT);
            ::SendMessageA(hName, WM_SETFOCUS, 0, 0);
            for (const char* p = c.lpszBefore; *p; ++p) ::SendMessageA(hName, WM_CHAR, static_cast<WPARAM>(*p), 0);
            ::SetWindowTextA(hHint, "");
            for (UINT nKey : c.keys) {
                if (nKey == 'P') {
                    ::SendMessageA(hName, WM_CHAR, 'p', 0);
                    continue;
                }
                ::SendMessageA(hName, WM_KEYDOWN, nKey, 0);
                if (nKey == VK_BACK) ::SendMessageA(hName, WM_CHAR, VK_BACK, 0);
            }
            strHint = WindowText(hHint);
            Click(dlg, IDCANCEL);
        });
        Command(ID_FILE_NEW_PROJECT);
        EXPECT_EQ(std::string(strHint).find("at most 15") != std::string::npos, c.bHint)
            << c.lpszBefore << ": " << strHint;
    }
}

// The program's own boxes (the end of a search among them) are captioned with its name as it is
// written, not as its file is named.
TEST_F(RoughEdgesTest, BoxesAreCaptionedKelvane) {
    EXPECT_STREQ(m_app.m_pszAppName, "Kelvane");
}

TEST_F(RoughEdgesTest, TheFolderPickerStartsAtTheFolderPickedLast) {
    CString strFirst, strSecond;
    InNextDialog("New Project", [&](CWnd& dlg) {
        auto& newProject = *static_cast<CNewProject*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()));
        strFirst = newProject.GetPickerStartFolder();
        newProject.UsePickedFolder(Folder().c_str());
        EXPECT_EQ(WindowText(::GetDlgItem(dlg.GetSafeHwnd(), IDC_LOCATION)), Folder().c_str());
        Click(dlg, IDCANCEL);
    });
    Command(ID_FILE_NEW_PROJECT);
    InNextDialog("New Project", [&](CWnd& dlg) {
        strSecond = static_cast<CNewProject*>(CWnd::FromHandlePermanent(dlg.GetSafeHwnd()))->GetPickerStartFolder();
        Click(dlg, IDCANCEL);
    });
    Command(ID_FILE_NEW_PROJECT);
    EXPECT_EQ(strFirst, "");
    EXPECT_EQ(strSecond, Folder().c_str());
}

// Watches the folder picker: the first folder it shows is noted, and the picker is cancelled.
class FirstFolderShown : public IFileDialogEvents {
public:
    std::string m_strFolder;
    int m_nChanges = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IFileDialogEvents) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog* pDialog) override {
        if (m_nChanges++ > 0) return S_OK;
        IShellItem* pFolder = nullptr;
        if (SUCCEEDED(pDialog->GetFolder(&pFolder))) {
            m_strFolder = FileSystemPathOf(pFolder);
            pFolder->Release();
        }
        IOleWindow* pWindow = nullptr;
        HWND hWnd = nullptr;
        if (SUCCEEDED(pDialog->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&pWindow)))) {
            pWindow->GetWindow(&hWnd);
            pWindow->Release();
        }
        if (hWnd) ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
        else pDialog->Close(HRESULT_FROM_WIN32(ERROR_CANCELLED));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override { return S_OK; }
};

// The picker itself opens in the folder it is given, three levels below the drive and with or
// without its closing backslash; cancelled, it gives no folder and no failure.
TEST_F(RoughEdgesTest, TheFolderPickerOpensInTheFolderItIsGiven) {
    const std::string strDeep = Folder() + "one\\two\\three";
    std::filesystem::create_directories(strDeep);
    for (const std::string& strStart : {strDeep, strDeep + "\\"}) {
        FirstFolderShown events;
        std::string strFailure;
        EXPECT_EQ(PickFolder(Frame().GetSafeHwnd(), strStart, L"pick", &events, strFailure), "") << strStart;
        EXPECT_EQ(strFailure, "");
        EXPECT_EQ(_stricmp(events.m_strFolder.c_str(), strDeep.c_str()), 0) << events.m_strFolder;
    }
}

TEST_F(RoughEdgesTest, DropDownListsShowSeveralRows) {
    UseProject(CProjectRecord::Windows);
    int nChecked = 0;
    auto checkLists = [&](CWnd& dlg) {
        for (int nID : {IDC_TARGET_PLATFORM, IDC_LIBRARY_TYPE}) {
            HWND hCombo = ::GetDlgItem(dlg.GetSafeHwnd(), nID);
            CRect rcDropped;
            ::SendMessageA(hCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rcDropped));
            CRect rcCombo;
            ::GetWindowRect(hCombo, &rcCombo);
            const int nItemHeight = static_cast<int>(::SendMessageA(hCombo, CB_GETITEMHEIGHT, 0, 0));
            // The list below the box holds at least four rows.
            EXPECT_GE(rcDropped.Height() - rcCombo.Height(), 4 * nItemHeight) << nID;
            ++nChecked;
        }
        Click(dlg, IDCANCEL);
    };
    InNextDialog("New Project", checkLists);
    Command(ID_FILE_NEW_PROJECT);
    InNextDialog("Project Properties", checkLists);
    Command(ID_PROJECT_PROPERTIES);
    EXPECT_EQ(nChecked, 4);
}

// The window's pixels as the screen shows them, after it painted itself anew.
std::vector<COLORREF> ScreenPixels(CWnd& wnd) {
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CRect rc;
    wnd.GetClientRect(&rc);
    HDC hWindowDC = ::GetDC(wnd.GetSafeHwnd());
    HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hWindowDC, rc.Width(), rc.Height());
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    ::BitBlt(hMemDC, 0, 0, rc.Width(), rc.Height(), hWindowDC, 0, 0, SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < rc.Height(); ++y)
        for (int x = 0; x < rc.Width(); ++x) pixels.push_back(::GetPixel(hMemDC, x, y));
    ::SelectObject(hMemDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemDC);
    ::ReleaseDC(wnd.GetSafeHwnd(), hWindowDC);
    return pixels;
}

size_t Colours(const std::vector<COLORREF>& pixels) {
    return std::set<COLORREF>(pixels.begin(), pixels.end()).size();
}

TEST_F(RoughEdgesTest, TheFramesBarsStayPaintedWhileTheAboutBoxIsOpen) {
    // The program's own theme, which the other tests replace with a flat one.
    struct ProgramTheme {
        ProgramTheme() { Use(&CKLVPaintManagerTheme4::Create); }
        ~ProgramTheme() { Use(&CKLVFlatTestTheme::Create); }
        static void Use(CKLVPaintManager::ThemeCreator pfnCreate) {
            CKLVPaintManager::RegisterTheme(4, pfnCreate);
            CKLVPaintManager::SetTheme(4);
        }
    } theme;
    CKLVCommandBars* pBars = Frame().GetCommandBars();
    pBars->RecalcFrameLayout();
    std::vector<CKLVCommandBar*> bars;
    for (int i = 0; i < pBars->GetCount(); ++i) bars.push_back(pBars->GetAt(i));
    ASSERT_EQ(bars.size(), 2u);
    Frame().SetForegroundWindow();
    classlib_test::PumpPending();
    std::vector<std::vector<COLORREF>> before, during;
    for (CKLVCommandBar* pBar : bars) before.push_back(ScreenPixels(*pBar));
    InNextDialog("About", [&](CWnd& dlg) {
        classlib_test::PumpPending();
        for (CKLVCommandBar* pBar : bars) during.push_back(ScreenPixels(*pBar));
        Click(dlg, IDOK);
    });
    Command(ID_ABOUT);
    ASSERT_EQ(during.size(), bars.size());
    for (size_t i = 0; i < bars.size(); ++i) {
        // Captions and images drawn: many colours, as before the box opened.
        EXPECT_GT(Colours(before[i]), 3u) << i;
        EXPECT_GT(Colours(during[i]), 3u) << i;
    }
}

// The About box opens in the middle of the frame, clear of its menu and tool bars, wherever the
// frame stands.
TEST_F(RoughEdgesTest, TheAboutBoxOpensInTheMiddleOfTheFrameClearOfItsBars) {
    CKLVCommandBars* pBars = Frame().GetCommandBars();
    for (const CPoint& ptFrame : {CPoint(0, 0), CPoint(200, 150)}) {
        Frame().SetWindowPos(nullptr, ptFrame.x, ptFrame.y, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
        Frame().RecalcLayout();
        classlib_test::PumpPending();
        CRect rcFrame, rcBox;
        Frame().GetWindowRect(&rcFrame);
        std::vector<CRect> bars;
        for (int i = 0; i < pBars->GetCount(); ++i) {
            CRect rcBar;
            pBars->GetAt(i)->GetWindowRect(&rcBar);
            bars.push_back(rcBar);
        }
        InNextDialog("About", [&](CWnd& dlg) {
            dlg.GetWindowRect(&rcBox);
            Click(dlg, IDOK);
        });
        Command(ID_ABOUT);
        EXPECT_LE(std::abs(rcBox.CenterPoint().x - rcFrame.CenterPoint().x), 1) << ptFrame.x;
        EXPECT_LE(std::abs(rcBox.CenterPoint().y - rcFrame.CenterPoint().y), 1) << ptFrame.y;
        for (const CRect& rcBar : bars) {
            CRect rcCommon;
            EXPECT_FALSE(rcCommon.IntersectRect(&rcBox, &rcBar)) << ptFrame.x;
        }
    }
}

// The mouse resting on the first tab of a file opened for it, until its tip shows; the cursor
// goes back where it was (resting on a later test's tabs, it would show their tips).
class TabTipTest : public AppTest {
protected:
    void SetUp() override {
        ::GetCursorPos(&m_ptCursor);
        testsupport::writeBytes(Folder() + "tip.c", "int tip;\r\n");
        ASSERT_TRUE(Frame().openDocument(Folder() + "tip.c"));
        ShowTip();
    }
    void ShowTip() {
        CKLVTabClientWnd& client = Frame().m_MTIClientWnd;
        client.UpdateContents();
        ASSERT_GT(client.GetWorkspaceCount(), 0);
        // The tabs are drawn in the client window itself; the mouse reaches the tips through it.
        CKLVTabWorkspace* pTabs = client.GetWorkspace(0);
        ASSERT_GT(pTabs->GetItemCount(), 0);
        Frame().SetForegroundWindow();
        classlib_test::PumpPending();
        const CPoint ptTab = pTabs->GetItem(0)->GetRect().CenterPoint();
        CPoint ptScreen = ptTab;
        client.ClientToScreen(&ptScreen);
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        client.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptTab.x, ptTab.y));
        // The tip shows once its delay has passed: the loop is run until it does, a bounded number
        // of turns.
        for (int nTurn = 0; nTurn < 300 && !TipShown(); ++nTurn) {
            ::Sleep(10);
            classlib_test::PumpPending();
        }
        ASSERT_TRUE(TipShown());
    }
    void TearDown() override {
        Frame().m_MTIClientWnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-10, -10));
        ::SetCursorPos(m_ptCursor.x, m_ptCursor.y);
    }
    CWnd* Tip() const { return Frame().m_MTIClientWnd.m_pToolTipContext->GetToolTip(); }
    bool TipShown() const { return Tip() && Tip()->IsWindowVisible(); }

    CPoint m_ptCursor;
};

// The tab's tip is one line high, its text inside.
TEST_F(TabTipTest, ATabsTipIsOneLineHigh) {
    CRect rcTip;
    Tip()->GetWindowRect(&rcTip);
    // A line of the tip's font, or of the system's when the tip names none.
    HFONT hFont = reinterpret_cast<HFONT>(Tip()->SendMessage(WM_GETFONT));
    if (!hFont) hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HDC hDC = ::GetDC(Tip()->GetSafeHwnd());
    HGDIOBJ hOldFont = ::SelectObject(hDC, hFont);
    TEXTMETRICA tm{};
    ::GetTextMetricsA(hDC, &tm);
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(Tip()->GetSafeHwnd(), hDC);
    EXPECT_LT(rcTip.Height(), 2 * tm.tmHeight + 8) << rcTip.Height() << " " << tm.tmHeight;
}

// A modal dialog opened by key while the tip shows (the mouse never left the tab) hides it.
TEST_F(TabTipTest, AModalDialogHidesTheTabsTip) {
    const struct {
        const char* lpszCaption;
        UINT nCommand;
        int nCloseButton;
    } dialogs[] = {{"About", ID_ABOUT, IDOK}, {"New Project", ID_FILE_NEW_PROJECT, IDCANCEL}};
    for (const auto& dialog : dialogs) {
        ASSERT_TRUE(TipShown()) << dialog.lpszCaption;
        bool bShownOverDialog = true;
        InNextDialog(dialog.lpszCaption, [&](CWnd& dlg) {
            bShownOverDialog = TipShown();
            Click(dlg, dialog.nCloseButton);
        });
        Command(dialog.nCommand);
        EXPECT_FALSE(bShownOverDialog) << dialog.lpszCaption;
        // Moved off and back onto the tab, the tip shows again.
        Frame().m_MTIClientWnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-10, -10));
        ShowTip();
    }
}

TEST_F(RoughEdgesTest, AFloatedPaneLiesInsideTheWorkAreaAndItsCaptionDocksIt) {
    CKLVDockingPane* pOutput = Frame().m_paneManager.FindPane(IDP_OUTPUT);
    ASSERT_NE(pOutput, nullptr);
    CRect rcWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    // The frame half off the screen's top-left, then its bottom-right corner: the docked pane lies
    // partly outside, and floats from where it is.
    const CPoint framePlaces[] = {CPoint(rcWork.left - 300, rcWork.top - 600),
                                  CPoint(rcWork.right - 400, rcWork.bottom - 60)};
    for (const CPoint& ptFrame : framePlaces) {
        Frame().SetWindowPos(nullptr, ptFrame.x, ptFrame.y, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
        Frame().RecalcLayout();
        classlib_test::PumpPending();
        ASSERT_FALSE(Frame().m_paneManager.IsFloatingSite(pOutput->GetDockingSite()));
        Frame().m_paneManager.ToggleDocking(pOutput);
        CWnd* pFrameWnd = pOutput->GetDockingSite();
        ASSERT_TRUE(Frame().m_paneManager.IsFloatingSite(pFrameWnd));
        CRect rcFloating;
        pFrameWnd->GetWindowRect(&rcFloating);
        EXPECT_GE(rcFloating.left, rcWork.left);
        EXPECT_GE(rcFloating.top, rcWork.top);
        EXPECT_LE(rcFloating.right, rcWork.right);
        EXPECT_LE(rcFloating.bottom, rcWork.bottom);
        // A double click on its caption docks it again.
        pFrameWnd->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(rcFloating.left + 20, rcFloating.top + 5));
        EXPECT_FALSE(Frame().m_paneManager.IsFloatingSite(pOutput->GetDockingSite()));
    }
}

}  // namespace
