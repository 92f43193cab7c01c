// Optional objects passed as null pointers: built with the release build's optimisation, where a
// member call through null would let the compiler drop the check and crash or read garbage.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Hides from the optimiser that the pointer is null, as a pointer from elsewhere would be.
template <class T>
T* Opaque(T* p) {
    T* volatile pHidden = p;
    return pHidden;
}

TEST(NullSafe, SafeHandlesOfNoObjectAreNull) {
    CWnd wnd;
    ASSERT_TRUE(classlib_test::CreateTopLevel(wnd));
    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(Opaque<CDC>(nullptr)));
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 0, 1));

    EXPECT_EQ(AfxGetSafeHwnd(Opaque<CWnd>(nullptr)), nullptr);
    EXPECT_EQ(AfxGetSafeHdc(Opaque<CDC>(nullptr)), nullptr);
    EXPECT_EQ(AfxGetSafeHandle(Opaque<CGdiObject>(nullptr)), nullptr);
    EXPECT_EQ(AfxGetSafeHmenu(Opaque<CMenu>(nullptr)), nullptr);
    EXPECT_EQ(AfxGetSafeHandle(Opaque<CImageList>(nullptr)), nullptr);
    EXPECT_EQ(AfxGetSafeHwnd(Opaque(&wnd)), wnd.m_hWnd);
    EXPECT_EQ(AfxGetSafeHdc(Opaque(&dc)), dc.m_hDC);
    EXPECT_EQ(AfxGetSafeHandle(Opaque<CGdiObject>(&pen)), pen.m_hObject);
    EXPECT_EQ(AfxGetSafeHmenu(Opaque(&menu)), menu.m_hMenu);
    EXPECT_EQ(AfxGetSafeHandle(Opaque(&images)), images.m_hImageList);
}

// Every member that takes an optional object, given none.
TEST(NullSafe, MembersTakeNoObjectWhereNoneIsAllowed) {
    CWnd* pNoWnd = Opaque<CWnd>(nullptr);
    CMenu* pNoMenu = Opaque<CMenu>(nullptr);
    CRgn* pNoRgn = Opaque<CRgn>(nullptr);
    CDC* pNoDC = Opaque<CDC>(nullptr);

    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), "top", WS_POPUP, classlib_test::TestRect(), pNoWnd, 0));
    EXPECT_EQ(top.GetParent(), nullptr);
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    CWnd framed;
    ASSERT_TRUE(classlib_test::CreateTopLevel(framed));
    ASSERT_TRUE(framed.SetMenu(&bar));
    EXPECT_TRUE(framed.SetMenu(pNoMenu));
    EXPECT_EQ(::GetMenu(framed.m_hWnd), nullptr);

    CRect rect(1, 2, 3, 4);
    CRect mapped(rect);
    top.MapWindowPoints(pNoWnd, &mapped);
    CRect screen(rect);
    top.ClientToScreen(&screen);
    EXPECT_EQ(mapped, screen) << "no window maps to the screen";
    EXPECT_FALSE(top.IsChild(pNoWnd));
    top.SetOwner(pNoWnd);
    EXPECT_EQ(top.GetOwner(), nullptr);
    EXPECT_TRUE(top.RedrawWindow(nullptr, pNoRgn, RDW_INVALIDATE));
    top.InvalidateRgn(pNoRgn);
    CEdit edit;
    EXPECT_FALSE(edit.SubclassDlgItem(1, pNoWnd));

    CClientDC screenDC(pNoWnd);
    EXPECT_NE(screenDC.m_hDC, nullptr) << "no window: the screen";
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(pNoDC));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screenDC, 4, 4));
    CBitmap* pOld = memory.SelectObject(&bitmap);
    EXPECT_TRUE(memory.BitBlt(0, 0, 4, 4, pNoDC, 0, 0, WHITENESS));
    EXPECT_EQ(memory.GetPixel(1, 1), RGB(255, 255, 255));
    memory.SelectObject(pOld);

    CToolTipCtrl tips;
    EXPECT_TRUE(tips.Create(pNoWnd));
    tips.DestroyWindow();

    CWinThread thread;
    MSG msg = {top.m_hWnd, WM_NULL, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(thread.PreTranslateMessage(&msg)) << "a thread without a main window";
    top.DestroyWindow();
}

}  // namespace
