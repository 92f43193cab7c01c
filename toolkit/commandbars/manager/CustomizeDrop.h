// Customisation drag and drop: moves or copies a control from one command bar to another (or
// from the customise window's command list onto a bar) with the mouse. Bars that take drops
// register while their window lives; a drag runs a modal capture loop, shows the move, copy or
// no-drop cursor and hands enter, over, leave and drop to the bar under the pointer.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Wnd.h"

#include <vector>

class CKLVCommandBar;
class CKLVCommandBars;
class CKLVControl;

class CKLVCustomizeDrop {
public:
    // The toolkit's cursors of a drag.
    enum : UINT { cursorCopy = 9105, cursorMove = 9106, cursorNoDrop = 9107 };

    explicit CKLVCustomizeDrop(CKLVCommandBars* pCommandBars);
    CKLVCustomizeDrop(const CKLVCustomizeDrop&) = delete;
    CKLVCustomizeDrop& operator=(const CKLVCustomizeDrop&) = delete;

    void Register(CKLVCommandBar* pBar);
    // Removes every registration of the bar; a drag over it forgets it.
    void Unregister(CKLVCommandBar* pBar);
    // Drags the control until the left button comes up (a drop) or the drag is cancelled (Escape,
    // the right button, a lost capture, a quit request, which is posted again). A copy-only drag
    // (from the command list) shows the copy cursor without Ctrl. Returns the effect: 0 none,
    // 1 copy (Ctrl held), 2 move.
    DWORD DoDragDrop(CKLVControl* pControl, BOOL bCopyOnly);
    // No target: no drop; a move that is not copy-only: move; otherwise copy.
    void UpdateCursor();
    HCURSOR GetCursor(UINT nCursor) const;

    // The customise window while it is open: drags capture the mouse in it, and the frame does
    // not close meanwhile.
    CWnd* m_pCustomizeWnd = nullptr;
    BOOL IsCustomizeWindowOpen() const;

    CKLVCommandBar* GetTarget() const { return m_pTarget; }
    BOOL IsMove() const { return m_bMove; }

private:
    enum class Step { Continue, Drop, Cancel };
    Step OnDragMessage(const MSG& msg);
    void OnMouseMove(WPARAM wParam, CPoint ptScreen);
    // The bar under the pointer becomes the target when it accepts the drag.
    void UpdateTarget(CPoint ptScreen);
    CKLVCommandBar* FindBarAt(CPoint ptScreen) const;
    void LeaveTarget();
    void DropOnTarget(CPoint ptScreen, DWORD& dwEffect);
    void SetMove(BOOL bMove);

    HWND m_hwndCapture = nullptr;
    CKLVControl* m_pControl = nullptr;
    BOOL m_bMove = FALSE;
    BOOL m_bCopyOnly = FALSE;
    CKLVCommandBar* m_pTarget = nullptr;
    CPoint m_ptStart;
    std::vector<CKLVCommandBar*> m_targets;
    CKLVCommandBars* m_pCommandBars;
    HCURSOR m_hcurNoDrop;
    HCURSOR m_hcurMove;
    HCURSOR m_hcurCopy;
};
