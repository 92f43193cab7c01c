// A transparent tab control's copy of its parent's background: taken where the control lies on
// the parent, drawn only for WS_EX_TRANSPARENT, nothing without a parent.
#include "TabTestHost.h"
#include "toolkit/tabs/TabCtrlStyle.h"

namespace {

using tabs_test::Canvas;

const COLORREF kBack = RGB(255, 0, 255), kLeftHalf = RGB(0, 0, 200), kRest = RGB(200, 0, 0);

// A parent whose background is blue left of x = 30 and red elsewhere.
class CTwoColourParent : public CWnd {
public:
    CTwoColourParent() {
        CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0);
    }
    ~CTwoColourParent() override { DestroyWindow(); }
    CTwoColourParent(const CTwoColourParent&) = delete;
    CTwoColourParent& operator=(const CTwoColourParent&) = delete;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_ERASEBKGND) return CWnd::WindowProc(message, wParam, lParam);
        CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        pDC->FillSolidRect(0, 0, 30, 100, kLeftHalf);
        pDC->FillSolidRect(30, 0, 170, 100, kRest);
        return TRUE;
    }
};

TEST(TabCtrlBackground, ATransparentControlGetsThePixelsOfItsParentUnderIt) {
    const struct {
        DWORD dwExStyle;
        BOOL bDrawn;
    } cases[] = {{WS_EX_TRANSPARENT, TRUE}, {0, FALSE}};
    for (const auto& c : cases) {
        CTwoColourParent parent;
        CWnd ctrl;
        ctrl.CreateEx(c.dwExStyle, AfxRegisterWndClass(0), "tabs", WS_CHILD, CRect(10, 20, 60, 50), &parent, 1);
        CKLTabCtrlStyle style;
        ASSERT_TRUE(style.CaptureParentBackground(&ctrl));
        Canvas canvas(kBack);
        style.DrawParentBackground(&canvas.m_dc, &ctrl);
        EXPECT_EQ(canvas.At(0, 0), c.bDrawn ? kLeftHalf : kBack) << c.dwExStyle;
        EXPECT_EQ(canvas.At(19, 29), c.bDrawn ? kLeftHalf : kBack) << c.dwExStyle;
        EXPECT_EQ(canvas.At(20, 0), c.bDrawn ? kRest : kBack) << c.dwExStyle << ": the parent's x = 30";
        EXPECT_EQ(canvas.At(49, 29), c.bDrawn ? kRest : kBack) << c.dwExStyle;
        EXPECT_EQ(canvas.At(50, 10), kBack) << c.dwExStyle << ": only the control's size";
        EXPECT_EQ(canvas.At(10, 30), kBack) << c.dwExStyle;
    }
}

TEST(TabCtrlBackground, NothingIsKeptOrDrawnWithoutAParent) {
    CWnd ctrl;
    ctrl.CreateEx(WS_EX_TRANSPARENT, AfxRegisterWndClass(0), "alone", WS_POPUP, CRect(0, 0, 50, 30), nullptr, 0);
    CKLTabCtrlStyle style;
    EXPECT_FALSE(style.CaptureParentBackground(&ctrl));
    EXPECT_FALSE(style.CaptureParentBackground(nullptr));
    Canvas canvas(kBack);
    style.DrawParentBackground(&canvas.m_dc, &ctrl);
    EXPECT_EQ(canvas.Count(CRect(0, 0, 60, 40), kBack), 60 * 40);
    ctrl.DestroyWindow();
}

}  // namespace
