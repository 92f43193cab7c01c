// The editor options sheet on a view of a small MDI program: its caption and pages, and the
// Edit page's validation, Apply (every setting saved, the open control changed) and Cancel.
// The sheet is made modeless and driven by messages.
#include "SyntaxEditMdiHost.h"
#include "toolkit/syntaxedit/options/SyntaxEditPropertiesDlg.h"

namespace {

class PropertiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pDoc = m_host.pPlain->OpenDocumentFile(nullptr);
        ASSERT_NE(m_pDoc, nullptr);
        m_pView = SyntaxMdiHost::Views(m_pDoc).front();
        m_pCtrl = m_pView->GetEditCtrl();
    }
    void OpenSheet() {
        m_pSheet = std::make_unique<CKLVSyntaxEditPropertiesDlg>(m_pView);
        ASSERT_TRUE(m_pSheet->Create(m_pView));
    }
    void TearDown() override {
        if (m_pSheet && m_pSheet->m_hWnd) m_pSheet->DestroyWindow();
    }
    HWND Page() { return m_pSheet->GetActivePage()->m_hWnd; }
    void Click(int nID, BOOL bCheck) {
        ::CheckDlgButton(Page(), nID, bCheck ? BST_CHECKED : BST_UNCHECKED);
        ::SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(Page(), nID)));
    }
    void Type(int nID, const char* text) { ::SetDlgItemTextA(Page(), nID, text); }
    void Press(int nButton) {
        m_pSheet->PressButton(nButton);
        classlib_test::PumpPending();
    }
    int Setting(const char* key) { return static_cast<int>(m_host.app.GetProfileInt("Settings", key, -1)); }
    std::string TabText(int nIndex) {
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        m_pSheet->GetTabControl()->SendMessage(TCM_GETITEMA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    SyntaxMdiHost m_host;
    CDocument* m_pDoc = nullptr;
    CRecordingSyntaxView* m_pView = nullptr;
    CKLVSyntaxEditCtrl* m_pCtrl = nullptr;
    std::unique_ptr<CKLVSyntaxEditPropertiesDlg> m_pSheet;
};

TEST_F(PropertiesTest, OpensOnTheEditPageUnderItsCaption) {
    OpenSheet();
    EXPECT_EQ(m_pSheet->GetActiveIndex(), 0);
    EXPECT_EQ(m_pSheet->GetActivePage(), &m_pSheet->m_pageEdit);
    CString strCaption;
    m_pSheet->GetWindowText(strCaption);
    EXPECT_EQ(std::string(strCaption), "Edit Options");
    const std::vector<std::string> tabs = {"Editor"};
    ASSERT_EQ(m_pSheet->GetPageCount(), static_cast<int>(tabs.size()));
    for (size_t i = 0; i < tabs.size(); ++i) EXPECT_EQ(TabText(static_cast<int>(i)), tabs[i]);
}

TEST_F(PropertiesTest, EditPageRefusesTabSizesOutOfRange) {
    OpenSheet();
    for (const char* text : {"0", "65"}) {
        m_host.app.m_boxes.clear();
        Type(108, text);
        Press(PSBTN_APPLYNOW);
        EXPECT_FALSE(m_host.app.m_boxes.empty()) << text;
        EXPECT_EQ(m_pCtrl->GetTabSize(), 4) << text;
        EXPECT_EQ(Setting("TabSize"), -1) << text;
    }
}

TEST_F(PropertiesTest, EditPageApplyWritesEverySettingAndChangesTheControl) {
    ASSERT_TRUE(m_pCtrl->GetLineNumbers());
    ASSERT_TRUE(m_pCtrl->GetWideCaret());   // the setting, though the caret is thin outside overwrite mode
    OpenSheet();
    Type(108, "8");
    Click(102, FALSE);   // line numbers off
    Click(107, TRUE);    // insert spaces
    Click(112, FALSE);   // no automatic reload
    EXPECT_EQ(m_pCtrl->GetTabSize(), 4) << "nothing before Apply";
    EXPECT_TRUE(m_pCtrl->GetLineNumbers());
    Press(PSBTN_APPLYNOW);
    EXPECT_TRUE(m_host.app.m_boxes.empty());
    EXPECT_EQ(m_pCtrl->GetTabSize(), 8);
    EXPECT_FALSE(m_pCtrl->GetLineNumbers());
    EXPECT_TRUE(m_pCtrl->GetTabWithSpace());
    EXPECT_TRUE(m_pCtrl->GetWideCaret()) << "a wide-caret setting is kept when the caret is thin now";
    const struct {
        const char* key;
        int nValue;
    } expected[] = {{"HScrollBar", 1}, {"VScrollBar", 1}, {"SyntaxColor", 1}, {"AutoIndent", 1},
                    {"SelMargin", 1},  {"LineNumbers", 0}, {"WideCaret", 1},  {"TabSize", 8},
                    {"TabWithSpace", 1}, {"AutoReload", 0}};
    for (const auto& e : expected) EXPECT_EQ(Setting(e.key), e.nValue) << e.key;
}

TEST_F(PropertiesTest, EditPageCancelChangesNothing) {
    OpenSheet();
    Type(108, "12");
    Click(102, FALSE);
    Click(111, TRUE);
    Press(PSBTN_CANCEL);
    EXPECT_EQ(m_pCtrl->GetTabSize(), 4);
    EXPECT_TRUE(m_pCtrl->GetLineNumbers());
    for (const char* key : {"TabSize", "LineNumbers", "WideCaret", "AutoReload"}) EXPECT_EQ(Setting(key), -1) << key;
}

}  // namespace
