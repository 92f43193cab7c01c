// The scroll and close buttons at the right end of a themed dialog tab control's row: a window
// over the system's scroll control (subclassed) or of its own, painted by the control's theme,
// with hot tracking and a press loop that repeats scrolling while a scroll button is held.
#pragma once

#include "classlib/Wnd.h"

class CKLTabCtrlBase;
class CKLTabCtrlButtons;

class CKLTabCtrlButton {
public:
    enum State : DWORD {
        kindLeft = 0x02, kindRight = 0x04, kindClose = 0x08,
        stateDisabled = 0x100, statePressed = 0x1000, stateHot = 0x4000
    };
    explicit CKLTabCtrlButton(DWORD dwKind) : m_dwState(dwKind) {}

    BOOL Has(DWORD dwBits) const { return (m_dwState & dwBits) != 0; }
    void Set(DWORD dwBits, BOOL bOn) { m_dwState = bOn ? (m_dwState | dwBits) : (m_dwState & ~dwBits); }
    // Sets or clears the hot bit by whether the point lies on the button; TRUE when it changed.
    BOOL CheckHot(CPoint pt);

    CRect m_rcButton;
    DWORD m_dwState;
    CWnd* m_pTabCtrl = nullptr;
    CKLTabCtrlButtons* m_pOwner = nullptr;
};

class CKLTabCtrlButtons : public CWnd {
public:
    enum { showScroll = 0x01, showClose = 0x02 };
    enum { buttonWidth = 14, buttonHeight = 15, rightMargin = 5, timerRepeat = 1, repeatDelay = 150, commandClose = 106 };

    CKLTabCtrlButtons();
    ~CKLTabCtrlButtons() override;

    void Attach(CKLTabCtrlBase* pTabCtrlBase);
    // Takes over the system's scroll control, or makes a window of its own when there is none.
    void Create(HWND hScrollControl);
    // Gives back a subclassed window (never destroying it) and destroys an own one.
    void Release();
    void Show(BOOL bShow);
    void Reposition();
    CRect GetButtonsRect() const;
    BOOL IsShown() const { return m_bVisible; }

    // The press loop; TRUE when the button was released over itself.
    BOOL Track(CKLTabCtrlButton& button, CPoint pt, BOOL bRepeat);

    CKLTabCtrlButton m_btnClose{CKLTabCtrlButton::kindClose};
    CKLTabCtrlButton m_btnLeft{CKLTabCtrlButton::kindLeft};
    CKLTabCtrlButton m_btnRight{CKLTabCtrlButton::kindRight};
    DWORD m_dwShownButtons = showScroll;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int GetItemCount() const;
    // The tab row as the control reports it, never left unset.
    CRect GetRowRect() const;
    void LayoutButtons();
    void OnPaint();
    void UpdateHot(CPoint pt);
    void ScrollOneTab(const CKLTabCtrlButton& button);
    void SetPressed(CKLTabCtrlButton& button, BOOL bPressed);

    CWnd* m_pTabCtrl = nullptr;
    CKLTabCtrlBase* m_pTabCtrlBase = nullptr;
    BOOL m_bVisible = FALSE;
    HWND m_hSubclassed = nullptr;
    HWND m_hOwn = nullptr;
};
