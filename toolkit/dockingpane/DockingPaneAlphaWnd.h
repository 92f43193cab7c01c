// The translucent preview of a drag: a topmost tool pop-up filled with the highlight colour,
// made see-through by the drag context.
#pragma once

#include "classlib/Wnd.h"

class CKLVDockingPaneAlphaWnd : public CWnd {
protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
