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
        GetPaintManager()->GetTextFont()->GetLogFont(&m_lfEditor);
    }
    void OpenSheet() {
        m_pSheet = std::make_unique<CKLVSyntaxEditPropertiesDlg>(m_pView);
        ASSERT_TRUE(m_pSheet->Create(m_pView));
    }
    void TearDown() override {
        if (m_pSheet && m_pSheet->m_hWnd) m_pSheet->DestroyWindow();
        GetPaintManager()->SetFont(m_lfEditor, FALSE);   // the profile is emptied, the font stays
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
    LOGFONTA m_lfEditor{};
};

TEST_F(PropertiesTest, OpensOnTheEditPageUnderItsCaption) {
    OpenSheet();
    EXPECT_EQ(m_pSheet->GetActiveIndex(), 0);
    EXPECT_EQ(m_pSheet->GetActivePage(), &m_pSheet->m_pageEdit);
    CString strCaption;
    m_pSheet->GetWindowText(strCaption);
    EXPECT_EQ(std::string(strCaption), "Edit Options");
    const std::vector<std::string> tabs = {"Editor", "Editor Font", "Syntax Color"};
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

CKLVSyntaxEditPropertiesPageFont& FontPage(CKLVSyntaxEditPropertiesDlg& sheet) {
    EXPECT_TRUE(sheet.SetActivePage(1));
    return sheet.m_pageFont;
}

std::vector<std::string> Items(CComboBox& combo) { return ItemTexts(combo.m_hWnd, true); }

TEST_F(PropertiesTest, FontPageListsFixedPitchFacesOnly) {
    OpenSheet();
    CKLVSyntaxEditPropertiesPageFont& page = FontPage(*m_pSheet);
    const std::vector<std::string> faces = Items(page.m_cmbFace);
    ASSERT_FALSE(faces.empty());
    CClientDC dc(nullptr);
    std::string trueTypeFace;
    for (const std::string& face : faces) {
        LOGFONTA lf{};
        lf.lfHeight = -13;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        CFont* pOld = dc.SelectObject(&font);
        TEXTMETRICA tm{};
        dc.GetTextMetrics(&tm);
        dc.SelectObject(pOld);
        // The bit set means a variable pitch.
        EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << face;
        if ((tm.tmPitchAndFamily & TMPF_TRUETYPE) && trueTypeFace.empty()) trueTypeFace = face;
    }
    if (trueTypeFace.empty()) GTEST_SKIP() << "no fixed-pitch TrueType face on this system";
    page.m_cmbFace.SetCurSel(page.m_cmbFace.FindStringExact(-1, trueTypeFace.c_str()));
    page.SendMessage(WM_COMMAND, MAKEWPARAM(101, CBN_SELCHANGE), reinterpret_cast<LPARAM>(page.m_cmbFace.m_hWnd));
    const std::vector<std::string> standard = {"8", "9", "10", "11", "12", "14", "16", "18",
                                               "20", "22", "24", "26", "28", "36", "48", "72"};
    EXPECT_EQ(Items(page.m_cmbSize), standard) << trueTypeFace;
    LOGFONT lf;
    page.GetPageLogFont(lf);
    EXPECT_EQ(std::string(lf.lfFaceName), trueTypeFace);
}

TEST_F(PropertiesTest, FontPageApplySavesTheFontAndColoursThePaintManagerUses) {
    OpenSheet();
    CKLVSyntaxEditPropertiesPageFont& page = FontPage(*m_pSheet);
    auto choose = [&](CComboBox& combo, int nID, int nIndex) {
        combo.SetCurSel(nIndex);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.m_hWnd));
    };
    choose(page.m_cmbSize, 105, page.m_cmbSize.FindStringExact(-1, "14") >= 0 ? page.m_cmbSize.FindStringExact(-1, "14") : 0);
    choose(page.m_cmbStyle, 103, 1);   // "Bold"
    choose(page.m_cmbText, 106, page.m_cmbText.FindColor(RGB(255, 0, 0)));
    choose(page.m_cmbBack, 108, page.m_cmbBack.FindColor(RGB(255, 255, 0)));
    choose(page.m_cmbSelText, 110, page.m_cmbSelText.FindColor(RGB(0, 0, 128)));
    choose(page.m_cmbSelBack, 112, page.m_cmbSelBack.FindColor(RGB(0, 255, 255)));
    LOGFONT lfPage;
    page.GetPageLogFont(lfPage);
    EXPECT_EQ(lfPage.lfWeight, FW_BOLD);
    const CKLVSyntaxEditTextColors& colors = GetPaintManager()->GetColors();
    EXPECT_NE(static_cast<COLORREF>(colors.crText), RGB(255, 0, 0)) << "nothing before Apply";
    Press(PSBTN_APPLYNOW);

    const struct {
        const char* key;
        COLORREF clr;
        COLORREF inEffect;
    } expected[] = {{"ColorText", RGB(255, 0, 0), colors.crText},
                    {"ColorBack", RGB(255, 255, 0), colors.crBack},
                    {"ColorHiliteText", RGB(0, 0, 128), colors.crSelText},
                    {"ColorHiliteBack", RGB(0, 255, 255), colors.crSelBack}};
    for (const auto& e : expected) {
        EXPECT_EQ(static_cast<COLORREF>(Setting(e.key)), e.clr) << e.key;
        EXPECT_EQ(e.inEffect, e.clr) << e.key;
    }
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(m_host.app.GetProfileBinary("Settings", "LogFont", &pData, &nBytes));
    ASSERT_EQ(nBytes, sizeof(LOGFONTA));
    LOGFONTA lfSaved;
    memcpy(&lfSaved, pData, sizeof(lfSaved));
    delete[] pData;
    EXPECT_EQ(lfSaved.lfHeight, lfPage.lfHeight);
    EXPECT_EQ(lfSaved.lfWeight, FW_BOLD);
    LOGFONTA lfEditor;
    GetPaintManager()->GetTextFont()->GetLogFont(&lfEditor);
    EXPECT_EQ(lfEditor.lfHeight, lfPage.lfHeight);
    EXPECT_EQ(lfEditor.lfWeight, FW_BOLD);
    EXPECT_EQ(reinterpret_cast<HFONT>(m_pCtrl->SendMessage(WM_GETFONT)), GetPaintManager()->GetTextFont()->m_hObject);
}

// The drop-down list of a combo box: the tip over the item under the pointer, drawn by the combo
// box's own item drawing for the colour lists; and a choice made with the mouse, whose press and
// release see the same selection, still taken.
struct DroppedList {
    explicit DroppedList(CKLVSyntaxEditTipComboBox& combo) : combo(combo) {
        combo.ShowDropDown(TRUE);
        // Painted now, whenever the system would have: painting asks for the list's colours.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (::GetComboBoxInfo(combo.m_hWnd, &info))
            ::RedrawWindow(info.hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        hList = combo.GetTip().GetList();
    }
    ~DroppedList() { combo.ShowDropDown(FALSE); }
    CPoint ItemPoint(int nItem) const {
        CRect rc;
        ::SendMessageA(hList, LB_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&rc));
        return CPoint(rc.left + 4, rc.CenterPoint().y);
    }
    void Send(UINT message, WPARAM wParam, CPoint pt) const { ::SendMessageA(hList, message, wParam, MAKELPARAM(pt.x, pt.y)); }
    CKLVSyntaxEditTipComboBox& combo;
    HWND hList = nullptr;
};

TEST_F(PropertiesTest, FontPageComboTakesAChoiceMadeWithTheMouse) {
    OpenSheet();
    CKLVSyntaxEditPropertiesPageFont& page = FontPage(*m_pSheet);
    DroppedList list(page.m_cmbStyle);
    ASSERT_TRUE(list.hList) << "the tip serves the list once it asks for its colours";
    const CPoint pt = list.ItemPoint(1);   // "Bold"
    list.Send(WM_MOUSEMOVE, 0, pt);
    EXPECT_EQ(page.m_cmbStyle.GetTip().GetShownItem(), 1);
    list.Send(WM_LBUTTONDOWN, MK_LBUTTON, pt);
    list.Send(WM_LBUTTONUP, 0, pt);
    classlib_test::PumpPending();
    EXPECT_FALSE(page.m_cmbStyle.GetTip().IsSelectionChanged()) << "the selection followed the pointer";
    page.SendMessage(WM_COMMAND, MAKEWPARAM(103, CBN_SELCHANGE), reinterpret_cast<LPARAM>(page.m_cmbStyle.m_hWnd));
    LOGFONT lf;
    page.GetPageLogFont(lf);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
}

TEST_F(PropertiesTest, ColourListTipDrawsTheItemWithItsSwatch) {
    OpenSheet();
    CKLVSyntaxEditPropertiesPageFont& page = FontPage(*m_pSheet);
    DroppedList list(page.m_cmbText);
    ASSERT_TRUE(list.hList);
    const int nRed = page.m_cmbText.FindColor(RGB(255, 0, 0));
    ::SendMessageA(list.hList, LB_SETTOPINDEX, static_cast<WPARAM>(nRed), 0);
    list.Send(WM_MOUSEMOVE, 0, list.ItemPoint(nRed));
    CKLVSyntaxEditListBoxTipWnd& tip = page.m_cmbText.GetTip();
    ASSERT_EQ(tip.GetShownItem(), nRed);
    EXPECT_TRUE(tip.IsWindowVisible());
    CRect rc;
    tip.GetClientRect(&rc);
    MemoryCanvas canvas(rc.Width(), rc.Height());
    canvas.dc.FillSolidRect(&rc, RGB(1, 2, 3));
    tip.Draw(&canvas.dc);
    const int nRedPixels = CountColor(canvas.dc, rc, RGB(255, 0, 0));
    EXPECT_GT(nRedPixels, 20) << "the red swatch";
    list.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), list.ItemPoint(nRed));
    EXPECT_FALSE(tip.IsWindowVisible()) << "a wheel turn hides it";
}

}  // namespace
