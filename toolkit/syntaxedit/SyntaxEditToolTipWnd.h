// The popup beside the mouse pointer that shows the text hidden in a collapsed block. It hides
// itself after a while; its owner hides it on keys and the wheel.
#pragma once

#include "classlib/ClassLib.h"

class CKLVSyntaxEditToolTipWnd : public CWnd {
public:
    enum { kTimerHide = 1001 };

    CKLVSyntaxEditToolTipWnd();
    ~CKLVSyntaxEditToolTipWnd() override;

    BOOL RegisterWindowClass(HINSTANCE hInstance = nullptr);
    virtual BOOL Create(CWnd* pOwner);
    // Shows the text; a shown tip with another text is hidden, and the next call shows it.
    void Activate(LPCTSTR lpszText);
    void Hide();
    void RecalcLayout();
    // Where the window goes, in screen coordinates.
    void SetPosition(CPoint pt) { m_ptLeftTop = pt; }
    const CString& GetText() const { return m_strText; }
    UINT GetDisplayTime() const { return m_nDisplayTime; }

protected:
    DECLARE_MESSAGE_MAP()
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();

    UINT m_nDisplayTime = 5000;
    CWnd* m_pOwner = nullptr;
    CPoint m_ptLeftTop{0, 0};
    int m_nRight = 0;
    int m_nBottom = 0;
    CString m_strText;
};
