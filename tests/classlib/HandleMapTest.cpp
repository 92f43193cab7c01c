// Permanent and temporary wrapper objects: which object FromHandle gives for a handle, and that
// temporaries never destroy what they wrap.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <new>

namespace {

size_t TemporaryCount() { return AfxGetThreadState()->m_temporaries.GetCount(); }

// A window the library did not make.
struct ForeignWindow {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ~ForeignWindow() {
        if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
    }
};

TEST(HandleMaps, ForeignWindowsGetOneTemporaryUntilIdleTime) {
    CWnd::DeleteTempMap();
    ForeignWindow foreign;
    ASSERT_NE(foreign.hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign.hWnd), nullptr);
    CWnd* pTemp = CWnd::FromHandle(foreign.hWnd);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hWnd, foreign.hWnd);
    EXPECT_EQ(CWnd::FromHandle(foreign.hWnd), pTemp);
    EXPECT_EQ(TemporaryCount(), 1u);

    CWnd::DeleteTempMap();
    EXPECT_EQ(TemporaryCount(), 0u);
    EXPECT_TRUE(::IsWindow(foreign.hWnd)) << "a temporary never destroys its window";
    EXPECT_EQ(CWnd::FromHandle(foreign.hWnd)->m_hWnd, foreign.hWnd);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    CWnd::DeleteTempMap();
}

TEST(HandleMaps, AttachAndDetachWithoutTouchingTheWindow) {
    ForeignWindow foreign;
    ForeignWindow other;
    CWnd wnd;
    EXPECT_FALSE(wnd.Attach(nullptr));
    ASSERT_TRUE(wnd.Attach(foreign.hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign.hWnd), &wnd);
    EXPECT_FALSE(wnd.Attach(other.hWnd)) << "one window per object";
    CWnd second;
    EXPECT_FALSE(second.Attach(foreign.hWnd)) << "one object per window";

    EXPECT_EQ(wnd.Detach(), foreign.hWnd);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign.hWnd), nullptr);
    EXPECT_TRUE(::IsWindow(foreign.hWnd));
    EXPECT_TRUE(second.Attach(foreign.hWnd));
    second.Detach();
}

TEST(HandleMaps, AnAttachedWindowDestroyedThroughItsObjectIsForgotten) {
    ForeignWindow foreign;
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(foreign.hWnd));
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(::IsWindow(foreign.hWnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign.hWnd), nullptr);
}

TEST(HandleMaps, EachClassGetsATemporaryOfItsOwnKind) {
    CWnd::DeleteTempMap();
    HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HMENU hMenu = ::CreatePopupMenu();
    HDC hDC = ::CreateCompatibleDC(nullptr);

    CGdiObject* pObject = CGdiObject::FromHandle(hPen);
    CPen* pPen = CPen::FromHandle(hPen);
    ASSERT_NE(pObject, nullptr);
    ASSERT_NE(pPen, nullptr);
    EXPECT_NE(static_cast<CGdiObject*>(pPen), pObject);
    EXPECT_TRUE(pPen->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_FALSE(pObject->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(pPen->m_hObject, hPen);
    LOGPEN logPen = {};
    EXPECT_EQ(pPen->GetLogPen(&logPen), static_cast<int>(sizeof logPen));
    EXPECT_EQ(logPen.lopnColor, RGB(1, 2, 3));

    CMenu* pMenu = CMenu::FromHandle(hMenu);
    CDC* pDC = CDC::FromHandle(hDC);
    EXPECT_EQ(pMenu->m_hMenu, hMenu);
    EXPECT_EQ(pDC->m_hDC, hDC);
    EXPECT_EQ(pDC->m_hAttribDC, hDC);
    EXPECT_EQ(CDC::FromHandle(hDC), pDC);
    EXPECT_EQ(TemporaryCount(), 4u);

    CDC::DeleteTempMap();
    EXPECT_EQ(TemporaryCount(), 0u);
    EXPECT_EQ(::GetObjectType(hPen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_TRUE(::IsMenu(hMenu));
    EXPECT_EQ(::GetObjectType(hDC), static_cast<DWORD>(OBJ_MEMDC));
    ::DeleteObject(hPen);
    ::DestroyMenu(hMenu);
    ::DeleteDC(hDC);
}

// A wrapper whose construction fails while s_bFail is set.
class CFragileWrapper : public CObject {
public:
    static bool s_bFail;
    HANDLE m_hHandle = nullptr;
    CFragileWrapper() {
        if (s_bFail) throw std::bad_alloc();
    }
};
bool CFragileWrapper::s_bFail = false;

TEST(HandleMaps, ATemporaryThatCannotBeMadeLeavesNoEntry) {
    CTempHandleMap map;
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(0x1234));
    CFragileWrapper::s_bFail = true;
    EXPECT_THROW((map.FromHandle<CFragileWrapper, &CFragileWrapper::m_hHandle>(h)), std::bad_alloc);
    CFragileWrapper::s_bFail = false;
    EXPECT_EQ(map.GetCount(), 0u);
    map.DeleteAll();   // an entry without an object would be cleared through a null function

    CFragileWrapper* pWrapper = map.FromHandle<CFragileWrapper, &CFragileWrapper::m_hHandle>(h);
    ASSERT_NE(pWrapper, nullptr);
    EXPECT_EQ(pWrapper->m_hHandle, h);
    EXPECT_EQ((map.FromHandle<CFragileWrapper, &CFragileWrapper::m_hHandle>(h)), pWrapper);
    EXPECT_EQ(map.GetCount(), 1u);
    map.DeleteAll();
    EXPECT_EQ(map.GetCount(), 0u);
}

TEST(HandleMaps, OwnersFreeTheirHandles) {
    HGDIOBJ hPen = nullptr;
    HMENU hMenu = nullptr;
    HDC hDC = nullptr;
    {
        CPen pen(PS_SOLID, 2, RGB(9, 9, 9));
        CMenu menu;
        CDC dc;
        CImageList images;
        ASSERT_TRUE(menu.CreateMenu());
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1));
        hPen = pen.m_hObject;
        hMenu = menu.m_hMenu;
        hDC = dc.m_hDC;
        EXPECT_EQ(images.GetIconSize(), CSize(16, 16));
    }
    EXPECT_EQ(::GetObjectType(hPen), 0u);
    EXPECT_FALSE(::IsMenu(hMenu));
    EXPECT_EQ(::GetObjectType(hDC), 0u);

    // Detach hands a handle over; Attach of another one frees the one held.
    CBrush brush(RGB(1, 1, 1));
    HGDIOBJ hFirst = brush.Detach();
    EXPECT_EQ(brush.m_hObject, nullptr);
    EXPECT_EQ(::GetObjectType(hFirst), static_cast<DWORD>(OBJ_BRUSH));
    ASSERT_TRUE(brush.Attach(hFirst));
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(2, 2, 2)));
    EXPECT_EQ(::GetObjectType(hFirst), 0u) << "replaced, not leaked";
}

}  // namespace
