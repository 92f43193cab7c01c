// CToolTipCtrl: the common tool-tip control. Tools are named by their window and id; an id of 0
// names the window itself as the tool.
#pragma once

#include "classlib/Wnd.h"

// The TOOLINFO size every common-controls version accepts.
#define AFX_TOOLINFO_SIZE TTTOOLINFOA_V2_SIZE

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() noexcept = default;

    // A tool tip owned by pParentWnd; dwStyle adds TTS_* styles to WS_POPUP.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    // lpszText may be LPSTR_TEXTCALLBACK: the tool's window is asked with TTN_NEEDTEXT. Without a
    // rectangle (lpRectTool null) the tool is the whole window pWnd.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    BOOL GetToolInfo(TOOLINFO* pToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(TOOLINFO* pToolInfo) { SendMessage(TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(pToolInfo)); }
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    BOOL HitTest(CWnd* pWnd, CPoint pt, TOOLINFO* pToolInfo) const;

    void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
    void Pop() { SendMessage(TTM_POP); }
    void Update() { SendMessage(TTM_UPDATE); }
    void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay)); }
    void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
    int GetDelayTime(DWORD dwDuration) const { return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration)); }
    int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
    void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
    void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }

    // A TOOLINFO naming the tool, with its size set.
    void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};
