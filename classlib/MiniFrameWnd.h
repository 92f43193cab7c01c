// CMiniFrameWnd: a frame with a small caption, for floating tool windows.
#pragma once

#include "classlib/FrameWnd.h"

// Mini-frame styles (taken off the window style).
#define MFS_SYNCACTIVE 0x00000100L   // the caption is active while the owner is
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L
#define MFS_BLOCKSYSMENU 0x00001000L // no system menu: its button is caption, its commands are ignored

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd() noexcept = default;
    ~CMiniFrameWnd() override = default;

    BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = nullptr, UINT nID = 0);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd = nullptr, UINT nID = 0);

    DWORD m_dwMiniFrameStyle = 0;   // the MFS_* bits it was made with

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    // FS_ACTIVATE and FS_DEACTIVATE from the owner turn a synchronised caption on and off.
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
