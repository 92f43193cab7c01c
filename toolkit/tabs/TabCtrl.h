// The dialogs' tab control: a common-controls tab control whose tabs each show a page window,
// through the embedded tab-control logic. A dialog subclasses its SysTabControl32 with it.
#pragma once

#include "classlib/GdiObject.h"
#include "classlib/TabCtrl.h"
#include "toolkit/tabs/TabCtrlBase.h"

class CKLTabCtrl : public CTabCtrl, public CKLTabCtrlBase {
    DECLARE_DYNAMIC(CKLTabCtrl)
public:
    CKLTabCtrl();
    ~CKLTabCtrl() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};

// A copy of the part of a parent window that lies behind a child, so that the child can paint
// its parent's background.
class CKLTabCtrlBackground {
public:
    BOOL Capture(CWnd* pWnd);
    BOOL Draw(CDC* pDC) const;
    BOOL IsEmpty() const { return m_bitmap.GetSafeHandle() == nullptr; }

private:
    CBitmap m_bitmap;
    CSize m_size;
};
