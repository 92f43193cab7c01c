// CMDIFrameWnd and CMDIChildWnd: a main frame whose client area is an MDI client holding child
// frames, one per open document window. Commands go to the active child (its view and
// document) before the main frame.
#pragma once

#include "classlib/FrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd() noexcept = default;
    ~CMDIFrameWnd() override = default;

    // The MDI client (id AFX_IDW_PANE_FIRST); pWindowMenu gets the list of child windows.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
    void MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
    void MDITile(int nType = MDITILE_HORIZONTAL) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0); }
    void MDIMaximize(CWnd* pWnd) { ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0); }
    void MDIRestore(CWnd* pWnd) { ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0); }
    // The Window menu of the menu bar: the popup holding a Window command, else the one before last.
    HMENU GetWindowMenuPopup(HMENU hMenuBar);

    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    afx_msg void OnDestroy();
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd() noexcept = default;
    ~CMDIChildWnd() override = default;

    // Made by the MDI client of pParentWnd (the main window when null).
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL DestroyWindow() override;   // through the MDI client
    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CCreateContext* ContextOf(LPCREATESTRUCT lpcs) override;
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    DECLARE_MESSAGE_MAP()
};
