// The key tip window: where it stands by its alignment, and that it paints through the link of the
// command bars that made it.
#include "classlib/Dc.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(KeyboardTipPlacement, AlignmentBitsMoveTheTipOffItsPoint) {
    struct Case {
        DWORD dwAlign;
        BOOL bRightToLeft;
        CPoint ptTopLeft;
    };
    const CSize sz(20, 16);
    const Case cases[] = {
        {0, FALSE, {100, 100}}, {1, FALSE, {90, 100}}, {2, FALSE, {80, 100}}, {4, FALSE, {100, 92}},
        {8, FALSE, {100, 84}},  {0, TRUE, {80, 100}},  {1, TRUE, {90, 100}},  {4 | 8, FALSE, {100, 92}},
        {1 | 2 | 8, FALSE, {90, 84}},
    };
    for (const Case& c : cases) {
        CKLVCommandBarKeyboardTip tip(nullptr, nullptr, "x", 0, 0, c.dwAlign, TRUE);
        EXPECT_EQ(tip.PlaceAt(CPoint(100, 100), sz, c.bRightToLeft), CRect(c.ptTopLeft, sz))
            << "align " << c.dwAlign << " rtl " << c.bRightToLeft;
    }
}

// Records the tips it is asked to draw.
class CDrawingLink : public CKLVCommandBarsLink {
public:
    void DrawKeyboardTip(CDC* pDC, CKLVCommandBarKeyboardTip* pTip) override {
        if (pDC && pDC->GetSafeHdc()) m_drawn.push_back(pTip);
    }
    std::vector<CKLVCommandBarKeyboardTip*> m_drawn;
};

TEST(KeyboardTipWindow, PaintsThroughTheLinkOfItsCommandBarsAndWithoutOneStaysBlank) {
    for (const BOOL bLinked : {TRUE, FALSE}) {
        CDrawingLink link;
        CKLVCommandBarKeyboardTip tip(bLinked ? &link : nullptr, nullptr, "x", 0, 0, 0, TRUE);
        ASSERT_TRUE(tip.CreateTipWindow(nullptr, CRect(10, 10, 30, 26), FALSE));
        tip.ShowWindow(SW_SHOWNOACTIVATE);
        tip.UpdateWindow();
        EXPECT_EQ(link.m_drawn, bLinked ? std::vector<CKLVCommandBarKeyboardTip*>{&tip}
                                        : std::vector<CKLVCommandBarKeyboardTip*>{})
            << "linked " << bLinked;
        tip.DestroyWindow();
    }
}

}  // namespace
