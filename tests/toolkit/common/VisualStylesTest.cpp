// The visual-styles and desktop-window-manager wrappers on a system without their libraries,
// and the visual-styles table following the library actually loaded.
#include "classlib/ClassLib.h"
#include "toolkit/common/WinDwmWrapper.h"
#include "toolkit/common/WinThemeWrapper.h"

#include <gtest/gtest.h>
#include <vssym32.h>

namespace {

// The process-wide table replaced by one for a library that does not exist.
class WithoutVisualStyles : public ::testing::Test {
protected:
    void SetUp() override { m_pSaved = KLVReplaceWinThemeApiTable(&m_missing); }
    void TearDown() override { KLVReplaceWinThemeApiTable(m_pSaved); }

    CKLVWinThemeApiTable m_missing{"klv-no-visual-styles.dll"};
    CKLVWinThemeApiTable* m_pSaved = nullptr;
};

TEST_F(WithoutVisualStyles, EveryOperationAnswersItsFailureValue) {
    EXPECT_EQ(m_missing.m_hModule, nullptr);
    EXPECT_FALSE(CKLVWinThemeWrapper::IsThemeActive());
    EXPECT_FALSE(CKLVWinThemeWrapper::IsComCtlThemed());
    WCHAR szFile[MAX_PATH], szColor[MAX_PATH], szSize[MAX_PATH];
    EXPECT_EQ(CKLVWinThemeWrapper::GetCurrentThemeName(szFile, MAX_PATH, szColor, MAX_PATH, szSize, MAX_PATH), E_FAIL);
    HDC hBufferDC = nullptr;
    RECT rect = {0, 0, 10, 10};
    EXPECT_EQ(CKLVWinThemeWrapper::BeginBufferedPaint(nullptr, &rect, BPBF_COMPATIBLEBITMAP, nullptr, &hBufferDC),
              nullptr);
    CKLVWinThemeWrapper::EndBufferedPaint(nullptr, TRUE);

    CKLVWinThemeWrapper theme;
    EXPECT_EQ(theme.OpenThemeData(nullptr, L"BUTTON"), nullptr);
    EXPECT_EQ(theme.GetThemeHandle(), nullptr);
    EXPECT_FALSE(theme.IsAppThemed());
    EXPECT_EQ(theme.DrawThemeBackground(nullptr, 1, 1, &rect, nullptr), E_FAIL);
    EXPECT_EQ(theme.DrawThemeTextEx(nullptr, 1, 1, L"x", 1, 0, &rect, nullptr), E_FAIL);
    COLORREF clr = 0x123456;
    EXPECT_EQ(theme.GetThemeColor(0, 0, 3801, &clr), E_FAIL);
    EXPECT_EQ(clr, 0x123456u);
    EXPECT_FALSE(theme.GetThemeSysBool(TMT_FLATMENUS));
}

TEST(WinThemeApiTable, TheModuleCheckRebindsFromTheLibraryLoadedNow) {
    CKLVWinThemeApiTable table;
    ASSERT_NE(table.m_hModule, nullptr);
    EXPECT_EQ(table.m_dwComCtlVersion, GetComCtlVersion());
    FARPROC pfnActive = table.GetProc(CKLVWinThemeApiTable::slotIsThemeActive);
    ASSERT_NE(pfnActive, nullptr);
    EXPECT_EQ(pfnActive, ::GetProcAddress(table.m_hModule, "IsThemeActive"));

    // A table that lost track of the library forgets every binding and takes the loaded one.
    table.m_hModule = nullptr;
    table.m_rgpfn[CKLVWinThemeApiTable::nSlotCount - 1] = pfnActive;
    table.CheckModule();
    EXPECT_EQ(table.m_hModule, ::GetModuleHandleA("UXTHEME.DLL"));
    for (FARPROC pfn : table.m_rgpfn) EXPECT_EQ(pfn, nullptr);
}

TEST(WinDwmWrapper, WithoutTheManagerNothingIsCalled) {
    CKLVWinDwmApiTable* pTable = GetWinDwmApiTable();
    const CKLVWinDwmApiTable saved = *pTable;
    *pTable = CKLVWinDwmApiTable();
    LRESULT lResult = 42;
    EXPECT_FALSE(CKLVWinDwmWrapper::DwmDefWindowProc(nullptr, WM_NCHITTEST, 0, 0, &lResult));
    EXPECT_EQ(lResult, 42);
    EXPECT_EQ(CKLVWinDwmWrapper::DwmExtendFrameIntoClientArea(nullptr, 1, 2, 3, 4), E_FAIL);
    EXPECT_EQ(pTable->m_pfnDwmExtendFrameIntoClientArea, nullptr);
    *pTable = saved;
}

}  // namespace
