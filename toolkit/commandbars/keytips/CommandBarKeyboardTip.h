// A small top-most window showing the key that activates a control (or a bar) while the user
// works a bar from the keyboard. The command bars fill its caption, size, place and show it, and
// their paint manager draws it (through their link, which the tip keeps).
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "classlib/Wnd.h"

class CKLVCommandBarsLink;

class CKLVCommandBarKeyboardTip : public CWnd {
public:
    // How the tip stands on its point.
    enum Align : DWORD { alignCenterHorz = 1, alignRight = 2, alignCenterVert = 4, alignBottom = 8 };
    // The alpha of a disabled tip where the system has layered windows.
    enum { disabledAlpha = 150 };

    CKLVCommandBarKeyboardTip() = default;
    // The point is in the bar's client coordinates, in screen coordinates when the labelled
    // object is a window.
    CKLVCommandBarKeyboardTip(CKLVCommandBarsLink* pCommandBars, CObject* pLabelled, LPCTSTR lpszLabel, int x, int y,
                              DWORD dwAlign, BOOL bEnabled);

    // The rectangle of the tip of this size around the screen anchor, as its alignment asks.
    CRect PlaceAt(CPoint ptScreen, CSize sz, BOOL bRightToLeft) const;
    // A hidden tool window owned by the parent; layered when asked.
    BOOL CreateTipWindow(CWnd* pParent, const CRect& rc, BOOL bLayered);

    CString m_strCaption;
    CString m_strLabel;
    CObject* m_pLabelled = nullptr;
    CPoint m_pt;
    BOOL m_bEnabled = TRUE;
    CKLVCommandBarsLink* m_pCommandBars = nullptr;
    DWORD m_dwAlign = 0;

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()
};
