// A combo box without a field window shows its chosen item under every theme: the text lies in
// the box between its left edge and the drop-down button, grey while the combo is disabled.
#include "ThemeTestSupport.h"

#include "toolkit/commandbars/controls/ControlComboBox.h"

namespace themes_test {
namespace {

class ComboFieldText : public ::testing::TestWithParam<int> {
protected:
    ComboFieldText() {
        m_bar.m_barPosition = CKLVCommandBar::barTop;
        m_pCombo = static_cast<CKLVControlComboBox*>(m_bar.GetControls()->Append(new CKLVControlComboBox));
        m_pCombo->AddString("WWWWWWW");
        m_pCombo->m_rcControl = CRect(0, 0, 120, 22);
    }

    // Pixels of the colour inside the columns [left, right) of the control's rows.
    static int Count(const Dib& dib, int left, int right, COLORREF clr) {
        int n = 0;
        for (int y = 3; y < 19; ++y)
            for (int x = left; x < right; ++x) n += dib.At(x, y) == clr;
        return n;
    }

    CKLVCommandBar m_bar;
    CKLVControlComboBox* m_pCombo = nullptr;
};

TEST_P(ComboFieldText, TheChosenItemIsDrawnBeforeTheButton) {
    ThemePtr pTheme = MakeTheme(GetParam());
    CKLVColorManager* pColors = GetColorManager();
    const struct Case {
        const char* pszName;
        int nChoice;
        BOOL bEnabled;
        COLORREF clrText;
        BOOL bText;
    } cases[] = {
        {"chosen", 0, TRUE, pColors->GetColor(COLOR_WINDOWTEXT), TRUE},
        {"chosen and disabled", 0, FALSE, pColors->GetColor(COLOR_GRAYTEXT), TRUE},
        {"nothing chosen", -1, TRUE, pColors->GetColor(COLOR_WINDOWTEXT), FALSE},
    };
    for (const Case& c : cases) {
        const std::string what = "theme " + std::to_string(GetParam()) + ", " + c.pszName;
        m_pCombo->SetCurSel(c.nChoice);
        m_pCombo->SetEnabled(c.bEnabled);
        Dib dib(130, 24);
        pTheme->DrawControlComboBox(&dib.m_dc, m_pCombo, TRUE);
        const int xButton = 120 - m_pCombo->m_nThumbWidth;
        ASSERT_GE(m_pCombo->m_nThumbWidth, 15) << what;
        EXPECT_EQ(Count(dib, 3, xButton, c.clrText) > 0, c.bText) << what;
        EXPECT_EQ(Count(dib, xButton, 120, c.clrText), 0) << what << ": nothing drawn over the button";
    }
}

INSTANTIATE_TEST_SUITE_P(Themes, ComboFieldText, ::testing::Values(0, 1, 2, 4));

}  // namespace
}  // namespace themes_test
