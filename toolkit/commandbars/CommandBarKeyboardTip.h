// A small top-most window showing the key that activates a control. For now the state the paint
// manager draws from.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "classlib/Wnd.h"

class CKLVCommandBars;

class CKLVCommandBarKeyboardTip : public CWnd {
public:
    CString m_strCaption;
    CString m_strLabel;
    void* m_pLabelled = nullptr;
    CPoint m_pt;
    BOOL m_bEnabled = TRUE;
    CKLVCommandBars* m_pCommandBars = nullptr;
    DWORD m_dwAlign = 0;
};
