// The resource manager on the program's own resources and through a resource module, the
// language scan, and the auxiliary data's cursors, colours and fonts.
#include "ToolkitTestSupport.h"
#include "KLVToolkitRes.h"
#include "toolkit/common/AuxData.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ResourceManager.h"

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
    if (CKLVDrawHelpers::FontExists("Liberation Sans"))
        EXPECT_STREQ(CKLVAuxData::GetVerticalFaceName("Liberation Sans", "Tahoma", "Horz"), "Liberation Sans");
}

}  // namespace
