// The command bars a window carries, as the widgets above the bars find them.
#include "classlib/ClassLib.h"
#include "classlib/FrameWnd.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"
#include "toolkit/commandbars/interfaces/CommandBarsSite.h"
#include "toolkit/commandbars/manager/CommandBars.h"

#include <gtest/gtest.h>

namespace {

// Stands for command bars; never touched.
CKLVCommandBars* const kBars = reinterpret_cast<CKLVCommandBars*>(0x1000);

class CDerivedMDIFrame : public CKLVMDIFrameWnd {};

TEST(CommandBarsSite, OnlyAFrameThatCarriesCommandBarsGivesThem) {
    CFrameWnd plainFrame;
    CMDIFrameWnd plainMDIFrame;
    CKLVMDIFrameWnd frame;
    CDerivedMDIFrame derived;
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(nullptr), nullptr);
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(&plainFrame), nullptr);
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(&plainMDIFrame), nullptr);
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(&frame), nullptr);  // none made yet

    frame.m_pCommandBars = kBars;
    derived.m_pCommandBars = kBars;
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(&frame), kBars);
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(&derived), kBars);
    frame.m_pCommandBars = nullptr;  // the frames release what they carry
    derived.m_pCommandBars = nullptr;
}

// The widgets above the bars take the link from the command bars a frame gives.
TEST(CommandBarsSite, TheCommandBarsAFrameMakesAreTheLinkOfTheFrame) {
    CFrameWnd plainFrame;
    CKLVMDIFrameWnd frame;
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(nullptr), nullptr);
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(&plainFrame), nullptr);
    EXPECT_EQ(CKLVCommandBarsSite::CommandBarsOf(&frame), nullptr);  // none made yet

    ASSERT_TRUE(frame.InitCommandBars());
    CKLVCommandBarsLink* pLink = CKLVCommandBarsSite::CommandBarsOf(&frame);
    ASSERT_NE(pLink, nullptr);
    EXPECT_EQ(pLink, static_cast<CKLVCommandBarsLink*>(frame.GetCommandBars()));
    EXPECT_EQ(pLink->GetSite(), &frame);
}

}  // namespace
