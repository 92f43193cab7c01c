// CWnd: a window of the library. A CWnd is attached to its HWND in the thread's permanent map
// when it creates the window (Create, CreateEx), subclasses an existing one (SubclassWindow) or
// attaches to one (Attach); FromHandle of any other window gives a temporary CWnd.
//
// Messages of a created or subclassed window go through AfxWndProc: WindowProc -> OnWndMsg, which
// routes WM_COMMAND to OnCommand, WM_NOTIFY to OnNotify and every other message through the
// message maps; unhandled messages reach DefWindowProc, the window's original procedure.
// Notifications of child controls are first offered back to the child itself (reflection:
// ON_CONTROL_REFLECT, ON_NOTIFY_REFLECT, ON_WM_CTLCOLOR_REFLECT, ON_WM_DRAWITEM_REFLECT, ...).
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/GdiObject.h"
#include "classlib/Geometry.h"
#include "classlib/HandleOwnership.h"
#include "classlib/String.h"

#include <commctrl.h>

// A two-argument macro of winuser.h (for GetWindow) would swallow CWnd::GetNextWindow.
#ifdef GetNextWindow
#undef GetNextWindow
#endif

class CMenu;
class COleDropTarget;
struct CCreateContext;   // document/view creation context, defined with the frames

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Calls pWnd's WindowProc with the thread's current message set to this one.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);

// Window creation outside CreateEx (an MDI child made by its client): the next window the
// thread creates is attached to pWnd. Unhook: TRUE when that happened.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();

class CFrameWnd;
class CDataExchange;
struct AFX_SIZEPARENTPARAMS;

// Registers (once) a window class with the default window procedure and these attributes and
// returns its name ("KlvWnd:" and the instance, style, cursor, brush and icon in hex). The name
// stays valid for the life of the process.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// The window of pWnd; null for no object.
HWND AfxGetSafeHwnd(const CWnd* pWnd);

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() noexcept = default;
    ~CWnd() override;   // destroys a window it still owns

    HWND m_hWnd = nullptr;
    COleDropTarget* m_pDropTarget = nullptr;   // revoked when the window goes

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }   // a pointer that may be null: AfxGetSafeHwnd

    // Pseudo windows for the insert-after argument of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // ---- Handle maps.
    static CWnd* FromHandle(HWND hWnd);            // the permanent object, else a temporary one
    static CWnd* FromHandlePermanent(HWND hWnd);   // null for windows the library does not own
    static void DeleteTempMap();
    // FALSE for null, when this object has a window already, or when another object has hWndNew.
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // ---- Creation and destruction.
    // A child window (WS_CHILD is added) with the control id nID; pContext reaches WM_CREATE as
    // the creation parameter.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    // Called before the window is created; may change the creation parameters. FALSE cancels.
    // A null class name becomes the library's default window class.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Called when the window is attached to this object, before any of its messages arrive here
    // (for windows created here: before WM_NCCREATE).
    virtual void PreSubclassWindow();
    // Called after the window's last message (WM_NCDESTROY), when it is detached.
    virtual void PostNcDestroy();

    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();   // the original procedure back; the handle, or null

    // ---- Message handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The window's original procedure (the class procedure, or the one subclassed).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The original procedure with the message being handled now.
    LRESULT Default();
    // WM_COMMAND: reflects a control notification to the control, then routes the command or
    // notification through OnCmdMsg. Menu and accelerator commands whose update handler
    // disables them are not carried out.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: reflects to the control, then routes through OnCmdMsg.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification of this control offered back to it by its parent; TRUE when handled here
    // (the parent then does not handle it).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers a parent's message to the child window it is about; FALSE when the child is not a
    // window of the library or does not handle it.
    static BOOL ReflectMessage(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    // The message the window procedure is handling now (time and position: the last queued).
    static const MSG* GetCurrentMessage();

    // Called by the message loop for each queued message before it is dispatched; TRUE when
    // the message is handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Moves the values between the members and the child controls through DoDataExchange: into
    // the members with bSaveAndValidate (FALSE when a value was refused, the user told and the
    // focus on its control).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    // Runs an update request for every child control by its id through pTarget (controls with
    // no handler anywhere are disabled with bDisableIfNoHndler).
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
    // PreTranslateMessage of the target window and each parent up to hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // Sends to every child (every descendant with bDeep); with bOnlyPerm only to windows of the
    // library, straight to their window procedure.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    static void SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                         BOOL bOnlyPerm);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }

    // ---- Styles.
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }
    // TRUE when the style changed; with nFlags the frame is told through SetWindowPos (e.g.
    // SWP_FRAMECHANGED).
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
        return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
    }
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
        return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
    }
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
        return ModifyStyleOf(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
    }
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
        return ModifyStyleOf(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
    }

    // ---- Text, font, icon.
    void SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
        return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
    }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(AfxGetSafeHandle(pFont)), bRedraw);
    }
    CFont* GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon, reinterpret_cast<LPARAM>(hIcon)));
    }
    HICON GetIcon(BOOL bBigIcon) const { return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bBigIcon)); }

    // ---- Geometry.
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2); }
    // To the client coordinates of pwndTo (the screen for null).
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
        ::MapWindowPoints(m_hWnd, AfxGetSafeHwnd(pwndTo), lpPoint, nCount);
    }
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
        ::MapWindowPoints(m_hWnd, AfxGetSafeHwnd(pwndTo), reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
        return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
    int GetWindowRgn(HRGN hRgn) const { return ::GetWindowRgn(m_hWnd, hRgn); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

    // ---- State, painting.
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE) {
        ::InvalidateRgn(m_hWnd, static_cast<HRGN>(AfxGetSafeHandle(pRgn)), bErase);
    }
    void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, lpRectUpdate, static_cast<HRGN>(AfxGetSafeHandle(prgnUpdate)), flags);
    }
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
    // Temporary DCs: valid until released (ReleaseDC) and the message loop idles.
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, AfxGetSafeHdc(pDC)); }
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK) {
        return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
    }

    // ---- Relatives.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, AfxGetSafeHwnd(pWndNewParent))); }
    // The owner the library keeps for child windows (SetOwner), else the parent.
    CWnd* GetOwner() const { return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent(); }
    void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = AfxGetSafeHwnd(pOwnerWnd); }
    // The first ancestor that is not a child window (this window when it is none).
    CWnd* GetTopLevelParent() const;
    // The first owner or parent that is not a child window and has no owner.
    CWnd* GetTopLevelOwner() const;
    // The parent of a child window, else its owner.
    CWnd* GetParentOwner() const;
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, CString& rString) const;
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const {
        return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
    }
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) { ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) {
        return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID)));
    }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, AfxGetSafeHwnd(pWnd)); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    CWnd* ChildWindowFromPoint(POINT point, UINT nFlags = CWP_ALL) const {
        return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
    }
    // The first child with the id, searched depth first (only windows of the library with
    // bOnlyPerm); null when none.
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    // The nearest frame window above this one; null when none.
    CFrameWnd* GetParentFrame() const;
    // The frame of the top-level window (this one when it is a frame).
    CFrameWnd* GetTopLevelFrame() const;
    static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }

    // ---- Activation, focus, capture.
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    // Brings the top-level parent to the foreground unless the foreground window is this window
    // or one of its ancestors (a click into a floating tool window activates its frame).
    void ActivateTopParent();
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

    // The window rectangle for a client rectangle. The layout of control bars asks the window it
    // leaves room for (a library window) before moving it there; a window that shares its place
    // with others (a tabbed MDI client) takes its part here. The default keeps the rectangle.
    enum AdjustType { adjustBorder = 0, adjustOutside = 1 };
    virtual void CalcWindowRect(LPRECT /*lpClientRect*/, UINT /*nAdjustType*/ = adjustBorder) {}

    // ---- Layout of control bars: each child with an id from nIDFirst to nIDLast is sent
    // WM_SIZEPARENT and takes its strip of the client rectangle; the child nIDLeftOver gets what
    // is left. reposQuery only computes that rectangle into lpRectParam; reposExtra first leaves
    // the borders lpRectParam names.
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

    // ---- Timers.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // ---- Scrolling.
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr) {
        ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
    }
    int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                       LPRECT lpRectUpdate, UINT flags) {
        return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                                static_cast<HRGN>(AfxGetSafeHandle(prgnUpdate)), lpRectUpdate, flags);
    }
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
    int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
        ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
    }
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
        ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
    }
    // The largest position a scroll bar can reach: its maximum less its page plus one.
    int GetScrollLimit(int nBar) const;
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }

    // ---- Menus.
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    CMenu* GetSystemMenu(BOOL bRevert) const;
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

    // ---- Modal loops. RunModalLoop dispatches the thread's messages until EndModalLoop is called
    // (or ContinueModal answers FALSE) and returns EndModalLoop's result. When the queue runs
    // empty the parent gets WM_ENTERIDLE (not with MLF_NOIDLEMSG) and the window WM_KICKIDLE
    // until it answers 0 (not with MLF_NOKICKIDLE); with MLF_SHOWONIDLE a hidden window is shown
    // then. A WM_QUIT ends the loop with -1 and is posted again, with its exit code, for the loop
    // outside.
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // ---- Tool tips. With tool tips enabled, mouse messages of this window and its children are
    // shown to the thread's tool tip: OnToolHitTest names the tool under the mouse (-1 none) and
    // fills its TOOLINFO; text in lpszText other than LPSTR_TEXTCALLBACK must come from malloc
    // and is freed once the tool tip has taken it.
    BOOL EnableToolTips(BOOL bEnable = TRUE);   // the previous state
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    void FilterToolTipMessage(MSG* pMsg);
    static void CancelToolTips();   // hides the tip shown now

    // ---- Handlers of window messages (ON_WM_* entries). The defaults pass the message on to
    // Default(); a few do more, as noted.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnMouseLeave();
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnCancelMode();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    // These three first offer the message to the child control it is about (reflection).
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);

protected:
    WNDPROC m_pfnSuper = nullptr;   // the original window procedure; null: DefWindowProc
    int m_nModalResult = 0;         // what EndModalLoop was given
    BOOL m_bContinueModal = FALSE;  // a modal loop runs and has not been ended
    HWND m_hWndOwner = nullptr;     // see GetOwner

private:
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxCbtFilterHook(int, WPARAM, LPARAM);

    explicit CWnd(HWND hWndPseudo) noexcept : m_hWnd(hWndPseudo) {}
    // The style (GWL_STYLE) or extended style (GWL_EXSTYLE) with dwRemove cleared, dwAdd set.
    static BOOL ModifyStyleOf(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    // Puts AfxWndProc in place of the window's procedure, keeping the original.
    void HookWindowProc();
    // After WM_NCDESTROY: the original procedure back, detached, PostNcDestroy.
    void FinishNcDestroy();
    // Searches the message maps for lookupMessage and calls its handler with the message.
    BOOL DispatchMessageMap(UINT lookupMessage, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers message to the child it is about, when it is one of the reflected messages.
    static BOOL ReflectToChild(HWND hWndParent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // TRUE when the update handler of a menu or accelerator command disables it.
    BOOL IsCommandDisabled(UINT nID);
    // The current message offered to the child it is about, else to Default().
    LRESULT ReflectCurrentOrDefault();

    BOOL m_bSubclassed = FALSE;     // AfxWndProc is the window's procedure
    BOOL m_bToolTips = FALSE;       // EnableToolTips
};

inline HWND AfxGetSafeHwnd(const CWnd* pWnd) { return AfxSafeHandle(pWnd, &CWnd::m_hWnd); }

#include "classlib/WindowMessageMap.h"
