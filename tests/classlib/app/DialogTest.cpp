// Dialogs from templates in memory: values go
// into the controls and back, refused input keeps the dialog open; property sheets apply their
// pages.
#include "classlib/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : WORD { IDC_NAME = 101, IDC_COUNT, IDC_FLAG, IDC_CHOICE };

// A dialog template built in memory (DLGTEMPLATE and its items, each DWORD-aligned).
class DialogTemplate {
public:
    DialogTemplate(const wchar_t* title, DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME) {
        Add(style);
        Add(0);                               // extended style
        m_nCountAt = m_words.size();
        AddWord(0);                           // items, counted below
        for (int v : {10, 10, 200, 120}) AddWord(static_cast<WORD>(v));
        AddWord(0);                           // no menu
        AddWord(0);                           // the dialog class
        AddText(title);
    }
    // atom: 0x80 button, 0x81 edit, 0x85 combo box.
    DialogTemplate& Item(WORD atom, WORD id, DWORD style, const wchar_t* text, int x, int y, int cx, int cy) {
        while (m_words.size() % 2) AddWord(0);
        Add(WS_CHILD | WS_VISIBLE | style);
        Add(0);
        for (int v : {x, y, cx, cy}) AddWord(static_cast<WORD>(v));
        AddWord(id);
        AddWord(0xFFFF);
        AddWord(atom);
        AddText(text);
        AddWord(0);                           // no creation data
        ++m_words[m_nCountAt];
        return *this;
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

private:
    void AddWord(WORD w) { m_words.push_back(w); }
    void Add(DWORD dw) {
        AddWord(LOWORD(dw));
        AddWord(HIWORD(dw));
    }
    void AddText(const wchar_t* text) {
        for (; *text; ++text) AddWord(static_cast<WORD>(*text));
        AddWord(0);
    }
    std::vector<WORD> m_words;
    size_t m_nCountAt = 0;
};

DialogTemplate EntryTemplate(const wchar_t* title) {
    DialogTemplate dlg(title);
    dlg.Item(0x81, IDC_NAME, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, L"", 5, 5, 100, 12)
        .Item(0x81, IDC_COUNT, WS_BORDER | WS_TABSTOP, L"", 5, 20, 40, 12)
        .Item(0x80, IDC_FLAG, BS_AUTOCHECKBOX | WS_TABSTOP, L"Flag", 5, 35, 60, 12)
        .Item(0x85, IDC_CHOICE, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, L"", 5, 50, 80, 60)
        .Item(0x80, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, L"OK", 120, 90, 35, 14)
        .Item(0x80, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, L"Cancel", 160, 90, 35, 14);
    return dlg;
}

class CBoxApp : public CWinApp {
public:
    CBoxApp() : CWinApp("DialogApp") {}
    int m_nBoxes = 0;
    int DoMessageBox(LPCTSTR, UINT, UINT) override {
        ++m_nBoxes;
        return IDOK;
    }
};

class CEntryDlg : public CDialog {
public:
    CString m_strName = "initial";
    int m_nCount = 3;
    int m_nFlag = BST_CHECKED;
    int m_nChoice = 1;
    CComboBox m_combo;

    BOOL OnInitDialog() override {
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

}  // namespace
