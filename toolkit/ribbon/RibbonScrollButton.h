// The buttons at the two ends of a group area that scroll the groups sideways. Pressing one
// scrolls a step at once, then keeps scrolling on a timer while the button is held, the first
// repeat after 4/5 of the double-click time and the next ones every tenth of it.
#pragma once

#include "toolkit/commandbars/controlbase/ControlButton.h"

class CKLVRibbonGroupScroller;

class CKLVRibbonScrollButton : public CKLVControlButton {
    DECLARE_DYNCREATE(CKLVRibbonScrollButton)
public:
    enum : DWORD { scrollFlags = 0x12 };
    enum : UINT { timerScroll = 17821 };

    explicit CKLVRibbonScrollButton(BOOL bRight = FALSE);

    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;

    BOOL IsRight() const { return m_bRight; }

private:
    CKLVRibbonGroupScroller* FindScroller() const;
    // Scrolls on the timer until the button is released, loses the capture or hides.
    void RunAutoRepeat(CKLVRibbonGroupScroller* pScroller);

    BOOL m_bRight;
};
