// CControlBar: the base of the bars a frame lays out along its edges (tool bars, status bars,
// dock bars). A frame's RecalcLayout sends each bar WM_SIZEPARENT: a visible bar takes its strip
// (CalcFixedLayout) from the edge its CBRS_ALIGN_* style names. At idle time a visible bar updates
// its items through OnUpdateCmdUI with the frame as the command target.
#pragma once

#include "classlib/Wnd.h"

// Bar styles.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Modes of CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

// What WM_SIZEPARENT carries: the rectangle still free, and the deferred moves.
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

// Moves hWnd to lpRect (parent client co-ordinates) within the layout's deferred moves.
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() noexcept = default;
    ~CControlBar() override = default;

    // The size the bar wants: stretched along the whole edge with bStretch, else its own.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // Updates the bar's items; pTarget is the frame commands go to.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // The client rectangle less the bar's borders.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    void DrawBorders(CDC* pDC, CRect& rect);

    DWORD GetBarStyle() const { return m_dwStyle; }
    // Takes the new CBRS_* styles; a change is told to OnBarStyleChange.
    virtual void SetBarStyle(DWORD dwStyle);
    // The bar's styles changed from dwOldStyle to dwNewStyle (bars that draw by their alignment
    // re-frame themselves); nothing in the base.
    virtual void OnBarStyleChange(DWORD /*dwOldStyle*/, DWORD /*dwNewStyle*/) {}
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    BOOL IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
    BOOL IsHorzDocked() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    virtual BOOL IsVisible() const { return (GetStyle() & WS_VISIBLE) != 0; }
    CFrameWnd* GetDockingFrame() const;

    // State bits: a hide or a show waits for the next idle update.
    enum : UINT { stateDelayHide = 0x1, stateDelayShow = 0x2 };
    // Shows or hides the bar at the next idle update; a request the bar meets already is dropped.
    void DelayShow(BOOL bShow);
    UINT GetDelayedState() const { return m_nStateFlags & (stateDelayHide | stateDelayShow); }

    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 6;
    int m_cyTopBorder = 1;
    int m_cyBottomBorder = 1;
    int m_cxDefaultGap = 2;
    DWORD m_dwStyle = 0;       // CBRS_* of the bar
    DWORD m_dwDockStyle = 0;   // the edges it may dock to
    BOOL m_bAutoDelete = FALSE;
    CFrameWnd* m_pDockSite = nullptr;
    UINT m_nStateFlags = 0;

protected:
    // Carries out a waiting show or hide (the idle update does, before it updates the bar).
    void ApplyDelayedShow();
    // Takes the bar's strip from the rectangle a frame's layout offers.
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()
};
