// Message map entries of window messages (ON_WM_*): each decodes its message's parameters into
// the handler's arguments, as the handlers of the same name in CWnd declare them. Included by
// Wnd.h; see MessageMap.h for the machinery.
#pragma once

#include "classlib/Menu.h"
#include "classlib/MessageMap.h"

class CWnd;

namespace AfxSig {

// The signed 16-bit halves of a packed position or size.
inline int LowOf(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
inline int HighOf(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }
inline CPoint PointOf(LPARAM lParam) { return CPoint(LowOf(lParam), HighOf(lParam)); }

struct i_create {  // int (LPCREATESTRUCT)
    typedef int Function(LPCREATESTRUCT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)(reinterpret_cast<LPCREATESTRUCT>(m.lParam));
        return TRUE;
    }
};
struct b_create {  // BOOL (LPCREATESTRUCT)
    typedef BOOL Function(LPCREATESTRUCT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)(reinterpret_cast<LPCREATESTRUCT>(m.lParam));
        return TRUE;
    }
};
struct b_dc {  // BOOL (CDC*)
    typedef BOOL Function(CDC*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)(CDC::FromHandle(reinterpret_cast<HDC>(m.wParam)));
        return TRUE;
    }
};
struct v_u_ii {  // void (UINT, int, int): WM_SIZE
    typedef void Function(UINT, int, int);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<UINT>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
        return TRUE;
    }
};
struct v_ii {  // void (int, int): WM_MOVE
    typedef void Function(int, int);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(LowOf(m.lParam), HighOf(m.lParam));
        return TRUE;
    }
};
template <class T>
struct v_pointer {  // void (T*): the pointer in lParam
    typedef void Function(T*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(reinterpret_cast<T*>(m.lParam));
        return TRUE;
    }
};
struct v_b_nccalcsize {  // void (BOOL, NCCALCSIZE_PARAMS*): result 0 keeps the client area as given
    typedef void Function(BOOL, NCCALCSIZE_PARAMS*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<BOOL>(m.wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(m.lParam));
        return TRUE;
    }
};
struct l_pt {  // LRESULT (CPoint): WM_NCHITTEST
    typedef LRESULT Function(CPoint);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)(PointOf(m.lParam));
        return TRUE;
    }
};
struct v_b_u {  // void (BOOL, UINT): WM_SHOWWINDOW
    typedef void Function(BOOL, UINT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<BOOL>(m.wParam), static_cast<UINT>(m.lParam));
        return TRUE;
    }
};
struct v_b {  // void (BOOL): WM_ENABLE
    typedef void Function(BOOL);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<BOOL>(m.wParam));
        return TRUE;
    }
};
struct b_b {  // BOOL (BOOL): WM_NCACTIVATE
    typedef BOOL Function(BOOL);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)(static_cast<BOOL>(m.wParam));
        return TRUE;
    }
};
struct v_timer {  // void (UINT_PTR)
    typedef void Function(UINT_PTR);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<UINT_PTR>(m.wParam));
        return TRUE;
    }
};
struct v_u_pt {  // void (UINT, CPoint): mouse messages, client or screen point in lParam
    typedef void Function(UINT, CPoint);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<UINT>(m.wParam), PointOf(m.lParam));
        return TRUE;
    }
};
struct b_wheel {  // BOOL (UINT nFlags, short zDelta, CPoint screen point)
    typedef BOOL Function(UINT, short, CPoint);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)(GET_KEYSTATE_WPARAM(m.wParam), GET_WHEEL_DELTA_WPARAM(m.wParam), PointOf(m.lParam));
        return TRUE;
    }
};
struct i_mouseactivate {  // int (CWnd*, UINT nHitTest, UINT message)
    typedef int Function(CWnd*, UINT, UINT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(m.wParam)), LOWORD(m.lParam), HIWORD(m.lParam));
        return TRUE;
    }
};
struct b_setcursor {  // BOOL (CWnd*, UINT nHitTest, UINT message)
    typedef BOOL Function(CWnd*, UINT, UINT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        // The hit-test code is signed (HTERROR is -2): keep the sign in the UINT.
        m.result = (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(m.wParam)),
                           static_cast<UINT>(static_cast<short>(LOWORD(m.lParam))), HIWORD(m.lParam));
        return TRUE;
    }
};
struct v_wnd_w {  // void (CWnd*): the window in wParam (focus)
    typedef void Function(CWnd*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(m.wParam)));
        return TRUE;
    }
};
struct v_wnd_l {  // void (CWnd*): the window in lParam (capture)
    typedef void Function(CWnd*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(m.lParam)));
        return TRUE;
    }
};
struct v_key {  // void (UINT nChar, UINT nRepCnt, UINT nFlags)
    typedef void Function(UINT, UINT, UINT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<UINT>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
        return TRUE;
    }
};
struct u_v {  // UINT (): WM_GETDLGCODE
    typedef UINT Function();
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = (p->*f)();
        return TRUE;
    }
};
struct v_syscommand {  // void (UINT nID, LPARAM)
    typedef void Function(UINT, LPARAM);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<UINT>(m.wParam), m.lParam);
        return TRUE;
    }
};
struct v_contextmenu {  // void (CWnd*, CPoint screen point; -1, -1 from the keyboard)
    typedef void Function(CWnd*, CPoint);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(CWnd::FromHandle(reinterpret_cast<HWND>(m.wParam)), PointOf(m.lParam));
        return TRUE;
    }
};
struct v_activate {  // void (UINT nState, CWnd* pWndOther, BOOL bMinimized)
    typedef void Function(UINT, CWnd*, BOOL);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(LOWORD(m.wParam), CWnd::FromHandle(reinterpret_cast<HWND>(m.lParam)), HIWORD(m.wParam) != 0);
        return TRUE;
    }
};
struct v_activateapp {  // void (BOOL bActive, DWORD dwThreadID)
    typedef void Function(BOOL, DWORD);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<BOOL>(m.wParam), static_cast<DWORD>(m.lParam));
        return TRUE;
    }
};
struct v_settingchange {  // void (UINT uFlags, LPCTSTR lpszSection)
    typedef void Function(UINT, LPCTSTR);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<UINT>(m.wParam), reinterpret_cast<LPCTSTR>(m.lParam));
        return TRUE;
    }
};
// WM_CTLCOLORxxx: the handler learns which kind from nCtlColor (CTLCOLOR_EDIT, ...).
inline UINT CtlColorOf(UINT message) { return message - WM_CTLCOLORMSGBOX; }
struct h_ctlcolor {  // HBRUSH (CDC*, CWnd*, UINT nCtlColor)
    typedef HBRUSH Function(CDC*, CWnd*, UINT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        m.result = reinterpret_cast<LRESULT>((p->*f)(CDC::FromHandle(reinterpret_cast<HDC>(m.wParam)),
                                                     CWnd::FromHandle(reinterpret_cast<HWND>(m.lParam)),
                                                     CtlColorOf(m.message)));
        return TRUE;
    }
};
struct h_ctlcolor_reflect {  // HBRUSH (CDC*, UINT nCtlColor): a null brush leaves it to the parent
    typedef HBRUSH Function(CDC*, UINT);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        HBRUSH hBrush = (p->*f)(CDC::FromHandle(reinterpret_cast<HDC>(m.wParam)), CtlColorOf(m.message));
        m.result = reinterpret_cast<LRESULT>(hBrush);
        return hBrush != nullptr;
    }
};
template <class T>
struct v_id_struct {  // void (int nIDCtl, T*): owner-draw messages to the parent
    typedef void Function(int, T*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(static_cast<int>(m.wParam), reinterpret_cast<T*>(m.lParam));
        m.result = TRUE;
        return TRUE;
    }
};
template <class T>
struct v_struct_reflect {  // void (T*): owner-draw messages reflected to the control
    typedef void Function(T*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(reinterpret_cast<T*>(m.lParam));
        m.result = TRUE;
        return TRUE;
    }
};

struct v_menu_u_b {  // void (CMenu*, UINT nIndex, BOOL bSysMenu): WM_INITMENUPOPUP
    typedef void Function(CMenu*, UINT, BOOL);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        (p->*f)(CMenu::FromHandle(reinterpret_cast<HMENU>(m.wParam)), LOWORD(m.lParam), HIWORD(m.lParam));
        m.result = 0;
        return TRUE;
    }
};

struct v_b_wnd_wnd {  // void (BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd): WM_MDIACTIVATE
    typedef void Function(BOOL, CWnd*, CWnd*);
    template <class C, class P> static BOOL Call(C* p, P f, AFX_MSGCALL& m) {
        HWND hWndActivate = reinterpret_cast<HWND>(m.lParam);
        (p->*f)(hWndActivate == p->m_hWnd, CWnd::FromHandle(hWndActivate),
                CWnd::FromHandle(reinterpret_cast<HWND>(m.wParam)));
        m.result = 0;
        return TRUE;
    }
};

}  // namespace AfxSig

#define AFX_WM_ENTRY(message, sig, handler) AFX_MSG_ENTRY(message, 0, 0, 0, sig, &ThisClass::handler)

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, AfxSig::i_create, OnCreate)
#define ON_WM_NCCREATE() AFX_WM_ENTRY(WM_NCCREATE, AfxSig::b_create, OnNcCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, AfxSig::v_v, OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, AfxSig::v_v, OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, AfxSig::v_v, OnClose)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, AfxSig::v_v, OnPaint)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, AfxSig::v_v, OnNcPaint)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, AfxSig::b_dc, OnEraseBkgnd)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, AfxSig::v_u_ii, OnSize)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, AfxSig::v_ii, OnMove)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, AfxSig::v_pointer<WINDOWPOS>, OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, AfxSig::v_pointer<WINDOWPOS>, OnWindowPosChanged)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY(WM_GETMINMAXINFO, AfxSig::v_pointer<MINMAXINFO>, OnGetMinMaxInfo)
#define ON_WM_NCCALCSIZE() AFX_WM_ENTRY(WM_NCCALCSIZE, AfxSig::v_b_nccalcsize, OnNcCalcSize)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, AfxSig::l_pt, OnNcHitTest)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, AfxSig::v_b_u, OnShowWindow)
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, AfxSig::v_b, OnEnable)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AfxSig::v_timer, OnTimer)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, AfxSig::v_u_pt, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, AfxSig::v_u_pt, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, AfxSig::v_u_pt, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(WM_LBUTTONDBLCLK, AfxSig::v_u_pt, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY(WM_RBUTTONDOWN, AfxSig::v_u_pt, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, AfxSig::v_u_pt, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_ENTRY(WM_RBUTTONDBLCLK, AfxSig::v_u_pt, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM_ENTRY(WM_MBUTTONDOWN, AfxSig::v_u_pt, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_ENTRY(WM_MBUTTONUP, AfxSig::v_u_pt, OnMButtonUp)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, AfxSig::b_wheel, OnMouseWheel)
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, AfxSig::v_v, OnMouseLeave)
#define ON_WM_NCMOUSEMOVE() AFX_WM_ENTRY(WM_NCMOUSEMOVE, AfxSig::v_u_pt, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_WM_ENTRY(WM_NCLBUTTONDOWN, AfxSig::v_u_pt, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM_ENTRY(WM_NCLBUTTONUP, AfxSig::v_u_pt, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCLBUTTONDBLCLK, AfxSig::v_u_pt, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_WM_ENTRY(WM_NCRBUTTONDOWN, AfxSig::v_u_pt, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_WM_ENTRY(WM_NCRBUTTONUP, AfxSig::v_u_pt, OnNcRButtonUp)
#define ON_WM_MOUSEACTIVATE() AFX_WM_ENTRY(WM_MOUSEACTIVATE, AfxSig::i_mouseactivate, OnMouseActivate)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, AfxSig::b_setcursor, OnSetCursor)
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY(WM_CAPTURECHANGED, AfxSig::v_wnd_l, OnCaptureChanged)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, AfxSig::v_v, OnCancelMode)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, AfxSig::v_wnd_w, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AfxSig::v_wnd_w, OnKillFocus)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, AfxSig::v_key, OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, AfxSig::v_key, OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, AfxSig::v_key, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_WM_ENTRY(WM_SYSKEYDOWN, AfxSig::v_key, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM_ENTRY(WM_SYSKEYUP, AfxSig::v_key, OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_WM_ENTRY(WM_SYSCHAR, AfxSig::v_key, OnSysChar)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, AfxSig::u_v, OnGetDlgCode)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, AfxSig::v_syscommand, OnSysCommand)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY(WM_CONTEXTMENU, AfxSig::v_contextmenu, OnContextMenu)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY(WM_NCACTIVATE, AfxSig::b_b, OnNcActivate)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, AfxSig::v_activate, OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY(WM_ACTIVATEAPP, AfxSig::v_activateapp, OnActivateApp)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, AfxSig::v_v, OnSysColorChange)
#define ON_WM_SETTINGCHANGE() AFX_WM_ENTRY(WM_SETTINGCHANGE, AfxSig::v_settingchange, OnSettingChange)
// One entry serves WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC.
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLOR, AfxSig::h_ctlcolor, OnCtlColor)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(WM_DRAWITEM, AfxSig::v_id_struct<DRAWITEMSTRUCT>, OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM_ENTRY(WM_MEASUREITEM, AfxSig::v_id_struct<MEASUREITEMSTRUCT>, OnMeasureItem)
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY(WM_INITMENUPOPUP, AfxSig::v_menu_u_b, OnInitMenuPopup)
#define ON_WM_MDIACTIVATE() AFX_WM_ENTRY(WM_MDIACTIVATE, AfxSig::v_b_wnd_wnd, OnMDIActivate)

// Reflected to the control: its colours, its owner drawing.
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_WM_ENTRY(WM_CTLCOLOR + WM_REFLECT_BASE, AfxSig::h_ctlcolor_reflect, CtlColor)
#define ON_WM_DRAWITEM_REFLECT() \
    AFX_WM_ENTRY(WM_DRAWITEM + WM_REFLECT_BASE, AfxSig::v_struct_reflect<DRAWITEMSTRUCT>, DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() \
    AFX_WM_ENTRY(WM_MEASUREITEM + WM_REFLECT_BASE, AfxSig::v_struct_reflect<MEASUREITEMSTRUCT>, MeasureItem)
