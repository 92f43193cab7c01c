// The resource manager on the program's own resources and through a resource module, the
// language scan, and the auxiliary data's cursors, colours and fonts.
#include "ToolkitTestSupport.h"
#include "KLVToolkitRes.h"
#include "toolkit/common/AuxData.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ResourceManager.h"

#include <memory>
#include <vector>

namespace {

// The toolkit's resource script built alone, made the resource module for one scope.
class WithResourceModule {
public:
    WithResourceModule() : m_hModule(::LoadLibraryA(KLV_TOOLKIT_RESOURCES_DLL)) { KLVSetResourceModule(m_hModule); }
    ~WithResourceModule() {
        KLVSetResourceModule(nullptr);
        ::FreeLibrary(m_hModule);
    }
    HMODULE m_hModule;
};

TEST(ResourceManager, LoadsTheProgramsOwnResources) {
    CKLVResourceManager* pResources = KLVResourceManager();
    CString text;
    EXPECT_TRUE(pResources->LoadString(&text, 9500));
    EXPECT_STREQ(text, "Test string");
    EXPECT_FALSE(pResources->LoadString(&text, 9501));
    EXPECT_NE(pResources->LoadCursor(KLV_IDC_DRAGMOVE), nullptr);
    EXPECT_EQ(pResources->LoadCursor(KLV_IDC_DRAGCOPY), nullptr);
    CMenu menu;
    EXPECT_TRUE(pResources->LoadMenu(&menu, 9600));
    EXPECT_EQ(menu.GetMenuItemCount(), 1);
    const DLGTEMPLATE* pTemplate = pResources->LoadDialogTemplate(9700);
    ASSERT_NE(pTemplate, nullptr);
    EXPECT_EQ(pTemplate->cx, 100);
    EXPECT_EQ(pResources->LoadDialogTemplate(9701), nullptr);
    // An HTML resource of ten bytes with no terminating zero.
    CString html;
    EXPECT_TRUE(pResources->LoadHTML(&html, 9800));
    EXPECT_STREQ(html, "0123456789");
    EXPECT_FALSE(pResources->LoadHTML(&html, 9801));
    EXPECT_FALSE(pResources->LoadHTML(nullptr, 9800));
}

TEST(ResourceManager, TheResourceModuleComesFirstAndFallsBack) {
    WithResourceModule module;
    ASSERT_NE(module.m_hModule, nullptr);
    CKLVResourceManager* pResources = KLVResourceManager();
    const HINSTANCE hCurrent = AfxGetResourceHandle();
    {
        CKLVResourceSwitch resourceSwitch;
        EXPECT_EQ(AfxGetResourceHandle(), module.m_hModule);
    }
    EXPECT_EQ(AfxGetResourceHandle(), hCurrent);
    EXPECT_NE(pResources->LoadCursor(KLV_IDC_DRAGCOPY), nullptr);   // only the module has it
    CString text;
    EXPECT_TRUE(pResources->LoadString(&text, 9500));                // only the program has it
    EXPECT_EQ(AfxGetResourceHandle(), hCurrent);
}

TEST(ResourceManager, ToolBarsLoadWholeOrNotAtAllAndOnlyFromTheModuleWhenOneIsSet) {
    const struct {
        const char* what;
        UINT nID;
        BOOL bModule;
        BOOL bLoaded;
    } cases[] = {
        {"ids, separator and bitmap", 9610, FALSE, TRUE},
        {"version 2", 9611, FALSE, FALSE},
        {"fewer items than claimed", 9612, FALSE, FALSE},
        {"no bitmap", 9613, FALSE, FALSE},
        {"no such tool bar", 9614, FALSE, FALSE},
        {"the module lacks it: no fallback", 9610, TRUE, FALSE},
    };
    CKLVResourceManager* pResources = KLVResourceManager();
    EXPECT_FALSE(pResources->LoadToolBar(nullptr, 9610));
    for (const auto& c : cases) {
        CToolBar toolBar;
        toolBar.m_arrIDs = {7};
        std::unique_ptr<WithResourceModule> pModule(c.bModule ? new WithResourceModule : nullptr);
        EXPECT_EQ(pResources->LoadToolBar(&toolBar, c.nID), c.bLoaded) << c.what;
        if (!c.bLoaded) {
            EXPECT_EQ(toolBar.m_arrIDs, std::vector<UINT>{7}) << c.what;
            EXPECT_EQ(toolBar.m_bmpImageWell.GetSafeHandle(), nullptr) << c.what;
            continue;
        }
        EXPECT_EQ(toolBar.m_arrIDs, (std::vector<UINT>{101, 0, 102})) << c.what;
        EXPECT_EQ(toolBar.m_sizeImage, CSize(16, 15)) << c.what;
        EXPECT_EQ(toolBar.m_sizeButton, CSize(23, 22)) << c.what;
        EXPECT_NE(toolBar.m_bmpImageWell.GetSafeHandle(), nullptr) << c.what;
    }
}

TEST(ResourceManager, TheToolkitsCursorsAreInItsResourceScript) {
    WithResourceModule module;
    const struct {
        UINT nID;
        DWORD xHotspot, yHotspot;
    } cursors[] = {
        {KLV_IDC_DRAGMOVE, 1, 1},    {KLV_IDC_DRAGCOPY, 1, 1},    {KLV_IDC_DRAGNONE, 15, 15}, {KLV_IDC_HSPLITBAR, 15, 15},
        {KLV_IDC_VSPLITBAR, 15, 15}, {KLV_IDC_RESIZE, 15, 15},    {KLV_IDC_HAND, 13, 2},
    };
    for (const auto& c : cursors) {
        HCURSOR hCursor = ::LoadCursorA(module.m_hModule, MAKEINTRESOURCEA(c.nID));
        ASSERT_NE(hCursor, nullptr) << c.nID;
        ICONINFO info = {};
        ASSERT_TRUE(::GetIconInfo(hCursor, &info)) << c.nID;
        EXPECT_FALSE(info.fIcon) << c.nID;
        EXPECT_EQ(info.xHotspot, c.xHotspot) << c.nID;
        EXPECT_EQ(info.yHotspot, c.yHotspot) << c.nID;
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
    }
}

TEST(ResourceManager, TheLanguageIsTheFirstOtherThanUSEnglish) {
    CKLVResourceManager manager;
    EXPECT_EQ(manager.GetResourcesLangID(), 0x0409);
    // The program's resources: neutral cursors, a US English string, a German HTML page.
    EXPECT_EQ(manager.UpdateResourcesLangID(), 0x0407);
    EXPECT_EQ(manager.GetResourcesLangID(), 0x0407);
    WithResourceModule module;
    EXPECT_EQ(manager.UpdateResourcesLangID(), 0x0409);
}

TEST(AuxData, CursorLoadingStopsAtTheFirstMissingCursor) {
    // The program's resources lack 9309.
    CKLVAuxData partial;
    EXPECT_NE(partial.hcurDragNone, nullptr);
    EXPECT_NE(partial.hcurDragMove, nullptr);
    const HCURSOR afterMissing[] = {partial.hcurDragCopy, partial.hcurHand, partial.hcurHSplitBar,
                                    partial.hcurVSplitBar, partial.hcurMove};
    for (HCURSOR hCursor : afterMissing) EXPECT_EQ(hCursor, nullptr);

    WithResourceModule module;
    CKLVAuxData complete;
    EXPECT_NE(complete.hcurDragCopy, nullptr);
    EXPECT_EQ(complete.hcurHand, ::LoadCursorA(nullptr, IDC_HAND));
    EXPECT_NE(complete.hcurVSplitBar, nullptr);
    EXPECT_EQ(complete.hcurMove, ::LoadCursorA(nullptr, IDC_SIZEALL));
}

TEST(AuxData, ATabRecordStartsEmptyWithItsExtraValuesUnset) {
    const CKLTabCtrlItem item;
    EXPECT_EQ(item.nIndex, 0);
    EXPECT_EQ(item.pWnd, nullptr);
    EXPECT_TRUE(item.strLabel.IsEmpty() && item.strToolTip.IsEmpty() && item.strShownLabel.IsEmpty());
    EXPECT_EQ(item.dwSavedStyle | item.dwSavedExStyle, 0u);
    for (int nValue : item.nExtra) EXPECT_EQ(nValue, -1);
}

TEST(AuxData, ColoursMetricsAndFontsComeFromTheSystem) {
    CKLVAuxData* pData = KLVAuxData();
    EXPECT_EQ(KLVAuxData(), pData);
    CKLVColorManager* pColors = GetColorManager();
    EXPECT_EQ(pData->clr3DFace, pColors->GetColor(COLOR_BTNFACE));
    EXPECT_EQ(pData->clr3DLight, pColors->GetColor(22));
    EXPECT_EQ(pData->clrInactiveCaptionText, pColors->GetColor(COLOR_INACTIVECAPTIONTEXT));
    EXPECT_EQ(pData->clrToolkit[0], pColors->GetColor(30));
    EXPECT_EQ(pData->clrToolkit[19], pColors->GetColor(49));
    EXPECT_EQ(pData->cxSize, 18);
    EXPECT_EQ(pData->cyMenuItem, ::GetSystemMetrics(SM_CYMENU));

    ASSERT_TRUE(pData->UpdateFonts("Klv No Such Face", nullptr));
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = 340;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    LOGFONTA lf, lfBold, lfVert, lfMarlett;
    pData->font.GetLogFont(&lf);
    pData->fontBold.GetLogFont(&lfBold);
    pData->fontVertBold.GetLogFont(&lfVert);
    pData->fontMarlett.GetLogFont(&lfMarlett);
    EXPECT_STREQ(lf.lfFaceName, ncm.lfMenuFont.lfFaceName);   // a missing face is ignored
    EXPECT_EQ(lfBold.lfWeight, FW_BOLD);
    EXPECT_EQ(lfVert.lfWeight, FW_BOLD);
    EXPECT_EQ(lfVert.lfEscapement, 2700);
    EXPECT_EQ(lfVert.lfOrientation, 900);
    EXPECT_STREQ(lfMarlett.lfFaceName, "Marlett");
    EXPECT_EQ(lfMarlett.lfWeight, 0);
}

TEST(AuxData, VerticalFontsPreferArialUnlessTheMenuUsesTahoma) {
    const CString arialOr = CKLVDrawHelpers::FontExists("Arial") ? "Arial" : "Horz";
    EXPECT_STREQ(CKLVAuxData::GetVerticalFaceName("Klv No Such Face", "MS Sans Serif", "Horz"), arialOr);
    EXPECT_STREQ(CKLVAuxData::GetVerticalFaceName(nullptr, "tAHOMA", "Horz"), "Horz");
    if (CKLVDrawHelpers::FontExists("Liberation Sans")) {
        EXPECT_STREQ(CKLVAuxData::GetVerticalFaceName("Liberation Sans", "Tahoma", "Horz"), "Liberation Sans");
    }
}

}  // namespace
