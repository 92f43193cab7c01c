// Rows, verb links and the theme switch of a real (hidden) grid, drawn into a memory DC.
#include "PropertyGridTestHost.h"
#include "support/PaintCanvas.h"
#include "toolkit/common/ColorManager.h"

namespace {

using propertygrid_test::CNotifyParent;

COLORREF Sys(UINT nIndex) { return GetColorManager()->GetColor(nIndex); }

class GridPaint : public testsupport::PaintCanvas {
protected:
    GridPaint() : PaintCanvas(320, 64) {}
    void SetUp() override {
        PaintCanvas::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(WS_EX_CONTROLPARENT, AfxRegisterWndClass(0), "parent", WS_POPUP,
                                      CRect(0, 0, 400, 320), nullptr, 0));
        ASSERT_TRUE(m_grid.Create(CRect(0, 0, 300, 260), &m_parent, 77));
        m_pCategory = m_grid.AddCategory("Cat");
        m_pItem = m_pCategory->AddChildItem(new CKLVPropertyGridItem("Name", "value"));
        m_pCategory->Expand();
    }
    void TearDown() override {
        m_grid.DestroyWindow();
        m_parent.DestroyWindow();
        PaintCanvas::TearDown();
    }
    // Draws the item's row at the top of the canvas, height nHeight (the row's own when 0).
    CRect Draw(CKLVPropertyGridItem* pItem, UINT nState, int nHeight = 0) {
        CRect rc = pItem->GetItemRect();
        rc.OffsetRect(0, -rc.top);
        if (nHeight) rc.bottom = nHeight;
        m_dc.FillSolidRect(0, 0, m_cx, m_cy, kWhite);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_LISTBOX;
        dis.itemID = static_cast<UINT>(pItem->GetIndex());
        dis.itemState = nState;
        dis.hDC = m_dc.GetSafeHdc();
        dis.rcItem = rc;
        dis.itemData = reinterpret_cast<ULONG_PTR>(pItem);
        m_grid.GetPaintManager()->DrawItem(&dis);
        return rc;
    }
    int Divider() { return m_grid.GetGridView().GetDividerPos(); }
    void FocusView() {
        m_parent.ShowWindow(SW_SHOWNOACTIVATE);
        m_parent.SetForegroundWindow();
        m_grid.GetGridView().SetFocus();
    }
    CKLVPropertyGridItemMetrics* Defaults() { return m_grid.GetPaintManager()->GetMetrics(); }

    CNotifyParent m_parent;
    CKLVPropertyGrid m_grid;
    CKLVPropertyGridItem* m_pCategory = nullptr;
    CKLVPropertyGridItem* m_pItem = nullptr;
};

TEST_F(GridPaint, ThemesOutsideZeroToSevenOnlyStoreTheirNumber) {
    for (int nTheme : {8, -1}) {
        CKLVPropertyGridPaintManager* pBefore = m_grid.GetPaintManager();
        m_grid.SetTheme(nTheme);
        EXPECT_EQ(m_grid.GetTheme(), nTheme);
        EXPECT_EQ(m_grid.GetPaintManager(), pBefore);
    }
    Defaults()->m_clrLine.SetCustomValue(RGB(9, 8, 7));
    m_grid.SetTheme(3);   // refreshes write standard parts only
    EXPECT_EQ(COLORREF(Defaults()->m_clrLine), RGB(9, 8, 7));
    Defaults()->ResetColors();
    EXPECT_EQ(COLORREF(Defaults()->m_clrLine), Sys(COLOR_3DFACE));
}

TEST_F(GridPaint, ASelectedCaptionTakesSelectionColoursOnlyWhileTheGridHasTheFocus) {
    const COLORREF clrOwn = RGB(1, 2, 3);
    m_pItem->GetMetrics(FALSE)->m_clrFore.SetCustomValue(clrOwn);
    m_pItem->Select();
    const CRect rcCaption(0, 0, Divider(), 16);
    struct Case {
        const char* name;
        int nFocus;   // 0 elsewhere, 1 the view, 2 the in-place edit
        COLORREF clrFill, clrText;
    };
    const Case cases[] = {
        {"unfocused", 0, COLORREF(Defaults()->m_clrLine), clrOwn},
        {"view", 1, Sys(COLOR_HIGHLIGHT), Sys(COLOR_HIGHLIGHTTEXT)},
        {"edit", 2, Sys(COLOR_HIGHLIGHT), Sys(COLOR_HIGHLIGHTTEXT)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::SetFocus(nullptr);
        if (c.nFocus) FocusView();
        if (c.nFocus == 2) m_grid.GetInplaceEdit().SetFocus();
        Draw(m_pItem, ODS_SELECTED);
        EXPECT_EQ(m_dc.GetPixel(Divider() - 3, 1), c.clrFill);
        EXPECT_GT(CountPixels(rcCaption, c.clrText), 0);
        if (c.nFocus) {
            EXPECT_EQ(CountPixels(rcCaption, clrOwn), 0);
        }
    }
    m_parent.ShowWindow(SW_HIDE);
}

TEST_F(GridPaint, AValueOfTwoLinesWrapsFromTheTop) {
    m_pItem->SetValue("wrapping words across lines wrapping words across lines wrapping words");
    const COLORREF clrText = Defaults()->m_clrFore;
    for (int nLines : {1, 2}) {
        m_pItem->m_nLinesCount = nLines;
        Draw(m_pItem, 0, 40);
        const CRect rcTop(Divider() + 4, 0, 300, 10), rcLow(Divider() + 4, 26, 300, 39);
        EXPECT_EQ(CountPixels(rcTop, clrText) > 0, nLines == 2) << nLines;
        EXPECT_EQ(CountPixels(rcLow, clrText) > 0, nLines == 2) << nLines;
    }
}

TEST_F(GridPaint, ACategoryFocusBoxSurroundsItsCaptionOnly) {
    Defaults()->m_clrLine.SetCustomValue(RGB(200, 100, 50));
    const CRect rc = Draw(m_pCategory, ODS_SELECTED | ODS_FOCUS);
    CFont* pOld = m_dc.SelectObject(&Defaults()->m_fntBold);
    const int nBoxRight = 13 + m_dc.GetTextExtent("Cat").cx + 4;
    m_dc.SelectObject(pOld);
    const COLORREF clrLine = Defaults()->m_clrLine;
    const CRect rcRight(nBoxRight + 1, rc.top, rc.right, rc.bottom);
    EXPECT_EQ(CountPixels(rcRight, clrLine), rcRight.Width() * rcRight.Height());
    const int nBoxHeight = rc.Height() - 3;
    for (int x : {13, nBoxRight - 1})   // the box's dotted sides
        EXPECT_LT(CountPixels(CRect(x, rc.top + 1, x + 1, rc.bottom - 2), clrLine), nBoxHeight) << x;
    EXPECT_EQ(CountPixels(CRect(12, rc.top, 13, rc.bottom), clrLine), rc.Height());
}

TEST_F(GridPaint, ButtonsShowOnlyOnAWritableSelectedItem) {
    m_pItem->SetFlags(KLVPGItemHasEdit | KLVPGItemHasComboButton);
    m_pItem->Select();
    for (BOOL bReadOnly : {FALSE, TRUE}) {
        m_pItem->SetReadOnly(bReadOnly);
        const CRect rc = Draw(m_pItem, ODS_SELECTED);
        const int nWidth = ::GetSystemMetrics(SM_CXHTHUMB);
        const CRect rcButton(rc.right - nWidth + 2, rc.top + 2, rc.right - 2, rc.bottom - 3);
        EXPECT_EQ(CountPixels(rcButton, Sys(COLOR_3DFACE)) > 0, !bReadOnly) << bReadOnly;
    }
}

TEST_F(GridPaint, SheetThemeDrawsATwoColourDividerAndFramesTheSelection) {
    m_grid.SetTheme(5);
    for (UINT nState : {0u, UINT(ODS_SELECTED)}) {
        const CRect rc = Draw(m_pItem, nState);
        ExpectPixels({{Divider() - 1, 2, Sys(COLOR_3DSHADOW)}, {Divider(), 2, Sys(COLOR_3DHIGHLIGHT)}});
        if (!nState) {
            ExpectPixels({{0, rc.bottom - 1, Sys(COLOR_3DSHADOW)}, {1, rc.bottom - 1, Sys(COLOR_3DFACE)}});
            continue;
        }
        ExpectPixels({{0, 5, RGB(0, 0, 128)},
                      {5, 0, RGB(0, 0, 128)},
                      {rc.right - 1, 5, Sys(COLOR_3DHIGHLIGHT)},
                      {5, rc.bottom - 1, Sys(COLOR_3DHIGHLIGHT)}});
    }
}

TEST_F(GridPaint, ListThemeMarksTheSelectionFromFourteenToTheDividerWithoutFocus) {
    m_grid.SetTheme(4);
    ::SetFocus(nullptr);
    const CRect rc = Draw(m_pItem, ODS_SELECTED);
    const COLORREF clrLine = Defaults()->m_clrLine;
    EXPECT_EQ(CountPixels(CRect(14, 0, Divider(), 1), clrLine), Divider() - 14);
    EXPECT_EQ(m_dc.GetPixel(13, 0), clrLine);   // the column line
    EXPECT_EQ(m_dc.GetPixel(Divider() + 2, 0), Sys(COLOR_WINDOW));
    EXPECT_EQ(rc.left, 0);
}

TEST_F(GridPaint, EachLevelIndentsGlyphAndCaptionByFourteen) {
    CKLVPropertyGridItem* pChild = m_pItem->AddChildItem(new CKLVPropertyGridItem("Deep", "x"));
    pChild->AddChildItem(new CKLVPropertyGridItem("Deeper", "y"));
    m_pItem->Expand();
    ASSERT_EQ(pChild->GetIndent(), 2);
    const CRect rc = Draw(pChild, 0);
    const int cy = rc.Height() / 2;
    const COLORREF clrFore = Defaults()->m_clrFore;
    ExpectPixels({{16, cy, clrFore}, {24, cy, clrFore}, {15, cy, Defaults()->m_clrLine}});
    EXPECT_EQ(CountPixels(CRect(25, 0, 31, rc.bottom - 1), clrFore), 0);
    EXPECT_GT(CountPixels(CRect(31, 0, Divider(), rc.bottom - 1), clrFore), 0);
}

TEST_F(GridPaint, VerbLinksWrapAtSpacesCommasAndHyphens) {
    CKLVPropertyGridPaintManager* pPaint = m_grid.GetPaintManager();
    CFont* pOld = m_dc.SelectObject(&pPaint->m_fntVerbUnderline);
    const int nLine = m_dc.GetTextExtent("XXX").cy;
    struct Case {
        const char* caption;
        const char* tail;   // the part that goes to the second line
    };
    for (const Case& c : {Case{"Alpha beta", "beta"}, Case{"One,two", "two"}, Case{"Three-four", "four"},
                          Case{"Unbreakable", nullptr}}) {
        SCOPED_TRACE(c.caption);
        m_grid.GetVerbs()->RemoveAll();
        CKLVPropertyGridVerb* pVerb = m_grid.AddVerb(c.caption, 1);
        const CRect rcPane(0, 0, m_dc.GetTextExtent(c.caption).cx - 1 + 12, 60);
        EXPECT_EQ(pPaint->LayoutVerbs(&m_dc, rcPane, FALSE), -1);
        EXPECT_EQ(pVerb->m_rcPart.top, 4 + nLine);
        if (c.tail) {
            EXPECT_EQ(pVerb->m_rcPart.Width(), m_dc.GetTextExtent(c.tail).cx);
        }
    }
    // No room at all: every turn still takes a character, so the layout ends.
    m_grid.GetVerbs()->RemoveAll();
    m_grid.AddVerb("", 2);
    m_grid.AddVerb("abc", 3);
    pPaint->LayoutVerbs(&m_dc, CRect(0, 0, 0, 25), FALSE);
    m_dc.SelectObject(pOld);
}

TEST_F(GridPaint, AClickOnALaidOutVerbHitsIt) {
    m_grid.AddVerb("Open", 11);
    m_grid.AddVerb("Close all", 12);
    for (int i = 0; i < 2; ++i) {
        m_grid.HitTest(CPoint(-1, -1));
        CClientDC dc(&m_grid);
        m_grid.GetPaintManager()->LayoutVerbs(&dc, m_grid.GetVerbsRect(), FALSE);
        const CPoint pt = m_grid.GetVerbs()->GetAt(i)->m_rcPart.CenterPoint();
        EXPECT_EQ(m_grid.HitTest(pt), CKLVPropertyGrid::hitVerb + i);
        m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ASSERT_EQ(m_parent.Count(KLV_PGN_VERB_CLICK), i + 1);
        EXPECT_EQ(m_parent.m_arrNotes.back().second, reinterpret_cast<LPARAM>(m_grid.GetVerbs()->GetAt(i)));
    }
    EXPECT_EQ(m_grid.HitTest(m_grid.GetVerbsRect().TopLeft()), -1);
}

}  // namespace
