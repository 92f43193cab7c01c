// Dialogs from templates in memory: values go
// into the controls and back, refused input keeps the dialog open; property sheets apply their
// pages.
#include "classlib/WindowTestSupport.h"
#include "classlib/app/BoxCountingApp.h"
#include "classlib/app/DialogTemplate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace classlib_test;

class CBoxApp : public CBoxCountingApp {
public:
    CBoxApp() : CBoxCountingApp("DialogApp") {}
};

class CEntryDlg : public CDialog {
public:
    CString m_strName = "initial";
    int m_nCount = 3;
    int m_nFlag = BST_CHECKED;
    int m_nChoice = 1;
    CComboBox m_combo;

    std::function<void(HWND)> m_onInit;

    BOOL OnInitDialog() override {
        if (m_onInit) m_onInit(m_hWnd);
        for (const char* item : {"zero", "one", "two"}) ::SendDlgItemMessageA(m_hWnd, IDC_CHOICE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_CHOICE, m_combo);
        DDX_Text(pDX, IDC_NAME, m_strName);
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, 10);
        DDX_Check(pDX, IDC_FLAG, m_nFlag);
        DDX_CBIndex(pDX, IDC_CHOICE, m_nChoice);
    }
};

std::string ItemText(HWND hDlg, int nID) {
    char text[64] = {};
    ::GetDlgItemTextA(hDlg, nID, text, sizeof text);
    return text;
}

TEST(Dialogs, AModelessDialogFromMemoryExchangesDataBothWays) {
    CBoxApp app;
    const DialogTemplate tmpl = EntryTemplate(L"Modeless");
    CEntryDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    EXPECT_EQ(ItemText(dlg.m_hWnd, IDC_NAME), "initial");
    EXPECT_EQ(dlg.m_combo.GetCurSel(), 1) << "the combo box is attached to its member";

    struct Row {
        const char* count;
        BOOL bTaken;
        int nCount;
    };
    // A number out of range reaches the member before the range check refuses it; text that is
    // no number never does.
    const Row rows[] = {{"5", TRUE, 5}, {"0", FALSE, 0}, {"11", FALSE, 11}, {"x1", FALSE, 11},
                        {"", FALSE, 11}, {"99999999999", FALSE, 11}, {" 10 ", TRUE, 10}};
    for (const Row& row : rows) {
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_COUNT, row.count);
        EXPECT_EQ(dlg.UpdateData(TRUE), row.bTaken) << row.count;
        EXPECT_EQ(dlg.m_nCount, row.nCount) << row.count;
        if (!row.bTaken) {
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg.m_hWnd, IDC_COUNT)) << row.count;
        }
    }
    EXPECT_EQ(app.m_nBoxes, 5);

    dlg.m_strName = "from the member";
    dlg.m_nChoice = 0;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(ItemText(dlg.m_hWnd, IDC_NAME), "from the member");
    EXPECT_EQ(dlg.m_combo.GetCurSel(), 0);
    dlg.DestroyWindow();
}

// Shows the dialog modal while another thread types into it: the steps run in order, each sent to
// the dialog and so handled by its modal loop. A dialog still open when the steps are done is
// cancelled, so that the test ends either way.
INT_PTR RunModalWhileTyping(CEntryDlg& dlg, const std::vector<std::function<void(HWND)>>& steps) {
    std::atomic<HWND> hDlg{nullptr};
    dlg.m_onInit = [&](HWND h) { hDlg = h; };
    std::thread watcher([&] {
        for (int i = 0; i < 1000 && !hDlg; ++i) ::Sleep(10);
        if (!hDlg) return;
        for (const auto& step : steps) step(hDlg);
        if (::IsWindow(hDlg)) ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR nResult = dlg.DoModal();
    watcher.join();
    return nResult;
}

void Type(HWND hDlg, int nID, const char* text) { ::SendMessageA(::GetDlgItem(hDlg, nID), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
// The OK button's command as a click sends it (a real click needs the mouse, which other programs
// on the display may move).
void PressOK(HWND hDlg) { ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDOK))); }

TEST(Dialogs, AModalDialogClosedFromAnotherThreadKeepsWhatWasTyped) {
    CBoxApp app;
    const DialogTemplate tmpl = EntryTemplate(L"Modal");
    CEntryDlg dlg;
    ASSERT_TRUE(dlg.InitModalIndirect(tmpl.Get()));
    std::string shown;
    const INT_PTR nResult = RunModalWhileTyping(dlg, {
        [&](HWND h) { shown = ItemText(h, IDC_NAME); },
        [](HWND h) { Type(h, IDC_COUNT, "42"); },
        [](HWND h) { PressOK(h); },   // refused: the dialog stays and takes what follows
        [](HWND h) { Type(h, IDC_COUNT, "7"); },
        [](HWND h) { Type(h, IDC_NAME, "typed"); },
        [](HWND h) { ::SendDlgItemMessageA(h, IDC_FLAG, BM_SETCHECK, BST_UNCHECKED, 0); },
        [](HWND h) { PressOK(h); },
    });
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(shown, "initial");
    EXPECT_EQ(app.m_nBoxes, 1);
    EXPECT_EQ(dlg.m_nCount, 7);
    EXPECT_STREQ(dlg.m_strName, "typed");
    EXPECT_EQ(dlg.m_nFlag, BST_UNCHECKED);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

class CEditPage : public CPropertyPage {
public:
    CEditPage(LPCDLGTEMPLATE lpTemplate, LPCTSTR lpszCaption) : CPropertyPage(lpTemplate, lpszCaption) {}
    CString m_strValue = "start";
    std::vector<std::string> m_applied;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, m_strValue); }
    BOOL OnApply() override {
        m_applied.push_back(std::string(m_strValue));
        return CPropertyPage::OnApply();
    }
};

TEST(Dialogs, APropertySheetAppliesItsChangedPages) {
    CBoxApp app;
    DialogTemplate pageTemplate(L"", WS_CHILD | DS_CONTROL);
    pageTemplate.Item(0x81, IDC_NAME, WS_BORDER | WS_TABSTOP, L"", 5, 5, 100, 12);
    CEditPage first(pageTemplate.Get(), "First");
    CEditPage second(pageTemplate.Get(), "Second");
    CPropertySheet sheet("Options");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(sheet.GetActivePage(), &first);
    EXPECT_EQ(ItemText(first.m_hWnd, IDC_NAME), "start");
    CWnd* pApply = CWnd::FromHandle(::GetDlgItem(sheet.m_hWnd, 0x3021));
    ASSERT_NE(pApply, nullptr);
    EXPECT_FALSE(pApply->IsWindowEnabled());

    ::SetDlgItemTextA(first.m_hWnd, IDC_NAME, "edited");
    first.SetModified();
    EXPECT_TRUE(pApply->IsWindowEnabled());
    sheet.PressButton(PSBTN_APPLYNOW);
    classlib_test::PumpPending();
    EXPECT_EQ(first.m_applied, std::vector<std::string>{"edited"});
    EXPECT_TRUE(second.m_applied.empty()) << "a page never shown has nothing to apply";
    EXPECT_FALSE(pApply->IsWindowEnabled());

    ASSERT_TRUE(sheet.SetActivePage(1));
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    ::SetDlgItemTextA(second.m_hWnd, IDC_NAME, "second edited");
    second.SetModified();
    sheet.PressButton(PSBTN_APPLYNOW);
    classlib_test::PumpPending();
    EXPECT_EQ(second.m_applied, std::vector<std::string>{"second edited"});
    EXPECT_EQ(first.m_applied.size(), 2u);
    sheet.DestroyWindow();
}

// A page whose number must lie between 1 and 10 before the sheet may leave it.
class CCountPage : public CPropertyPage {
public:
    explicit CCountPage(LPCDLGTEMPLATE lpTemplate) : CPropertyPage(lpTemplate, "Count") {}
    int m_nCount = 3;
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, 10);
    }
};

DialogTemplate PageTemplate(WORD nID) {
    DialogTemplate page(L"", WS_CHILD | DS_CONTROL);
    page.Item(0x81, nID, WS_BORDER | WS_TABSTOP, L"", 5, 5, 100, 12);
    return page;
}

TEST(Dialogs, ASheetStaysOnAPageWhoseValueIsRefusedAndShowsMembersOnReturn) {
    CBoxApp app;
    const DialogTemplate countTemplate = PageTemplate(IDC_COUNT);
    const DialogTemplate nameTemplate = PageTemplate(IDC_NAME);
    CCountPage count(countTemplate.Get());
    CEditPage name(nameTemplate.Get(), "Name");
    CPropertySheet sheet("Pages");
    sheet.AddPage(&count);
    sheet.AddPage(&name);
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(ItemText(count.m_hWnd, IDC_COUNT), "3");

    struct Step {
        const char* typed;
        int nPageAfter;
        int nBoxes;
    };
    const Step steps[] = {{"42", 0, 1}, {"seven", 0, 2}, {"7", 1, 2}};
    for (const Step& step : steps) {
        ::SetDlgItemTextA(count.m_hWnd, IDC_COUNT, step.typed);
        sheet.SetActivePage(1);
        EXPECT_EQ(sheet.GetActiveIndex(), step.nPageAfter) << step.typed;
        EXPECT_EQ(app.m_nBoxes, step.nBoxes) << step.typed;
    }
    EXPECT_EQ(count.m_nCount, 7);

    // Coming back, the page shows what its members hold now.
    count.m_nCount = 9;
    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(ItemText(count.m_hWnd, IDC_COUNT), "9");
    sheet.DestroyWindow();
}

TEST(Dialogs, DialogsAndSheetsLeaveNoHandles) {
    CBoxApp app;
    const DialogTemplate entry = EntryTemplate(L"Cycle");
    const DialogTemplate countTemplate = PageTemplate(IDC_COUNT);
    auto cycle = [&] {
        CEntryDlg dlg;
        dlg.CreateIndirect(entry.Get());
        dlg.UpdateData(TRUE);
        dlg.UpdateData(FALSE);
        dlg.DestroyWindow();
        CCountPage first(countTemplate.Get()), second(countTemplate.Get());
        CPropertySheet sheet("Cycle");
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        sheet.Create();
        sheet.SetActivePage(1);
        sheet.DestroyWindow();
    };
    cycle();
    const HandleCounts before = CountHandles();
    cycle();
    EXPECT_EQ(CountHandles(), before);
}

}  // namespace
