// The tooltip host the command bars share (and any toolkit window that wants tips): it keeps the
// tooltip settings, makes the tooltip window of the chosen style, and filters the owner's mouse
// messages: it asks the owner which tool lies under the cursor, keeps that one tool registered
// with the tooltip window and relays the mouse to it.
#pragma once

#include "classlib/GdiObject.h"
#include "toolkit/commandbars/tooltips/ToolTipContext.h"

#include <cstddef>
#include <memory>

class CKLVImageManager;

// What an extended tool record's lParam points at: the tip's body text, its title and where its
// image comes from.
struct KLVTOOLTIPBLOCK {
    CString strBody;
    CString strTitle;
    CKLVImageManager* pImageManager = nullptr;
    // Where the tip shows, in the tool window's client co-ordinates; empty: at the cursor.
    CRect rcPlacement;
};

class CKLVTooltipHost : public CKLVToolTipContext {
public:
    // Tool records: the plain one, and the extended one whose lParam is a KLVTOOLTIPBLOCK.
    static constexpr UINT nToolInfoSize = offsetof(TOOLINFOA, lParam);
    static constexpr UINT nToolInfoExSize = offsetof(TOOLINFOA, lParam) + sizeof(LPARAM);
    // Window style bits: always show (also while inactive), show ampersands as written.
    enum : DWORD { tipAlwaysShow = 0x01, tipNoPrefix = 0x02 };
    // A tool flag that asks for its tip at once; cleared before the tool is added.
    enum : UINT { toolShowAtOnce = 0x40000000 };
    // Sets the tip image (lParam: the image, or null).
    enum : UINT { msgSetImage = 0x2A49 };
    // Asked of a child window: 1 means its parent stands for it in the tooltip's hit test.
    enum : UINT { msgUseParentForTips = 0x2A48 };

    CKLVTooltipHost();
    ~CKLVTooltipHost() override;

    // Client and non-client mouse messages.
    static BOOL IsMouseMessage(UINT message);
    static BOOL IsAnyMouseButtonDown();

    // 0 and 1 the system's tooltip control (1 with balloons), 2 to 5 drawn by the toolkit.
    void SetStyle(int nStyle);
    int GetStyle() const { return m_nStyle; }
    void ShowTitleAndDescription(BOOL bShow, int nTitleIcon = 1);
    void ShowImage(BOOL bShow, int nImageBase = 0);
    // -1 means the screen width.
    void SetMaxTipWidth(int nWidth);
    int GetMaxTipWidth() const { return m_nMaxTipWidth; }
    // Changing the bits makes the next tip create a new window.
    void SetTooltipWindowStyle(DWORD dwStyle);
    DWORD GetTooltipWindowStyle() const { return m_dwTipStyle; }
    void SetMargin(const CRect& rcMargin) { m_rcMargin = rcMargin; }
    const CRect& GetMargin() const { return m_rcMargin; }
    // TTDT_INITIAL, TTDT_RESHOW or TTDT_AUTOPOP; -1 keeps the window's own.
    void SetDelayTime(DWORD dwDuration, int nTime);
    void SetTipBkColor(COLORREF clr) { m_clrBack = clr; }
    void SetTipTextColor(COLORREF clr) { m_clrText = clr; }
    COLORREF GetTipBkColor() const { return m_clrBack; }
    COLORREF GetTipTextColor() const { return m_clrText; }
    CFont* GetNormalFont() { return &m_fontNormal; }
    CFont* GetBoldFont() { return &m_fontBold; }
    // The common controls' version, major << 16 | minor (read once for the process).
    DWORD GetComCtlVersion() const;

    // The tooltip window of the current style, owned by pOwner.
    CWnd* CreateToolTip(CWnd* pOwner);
    CWnd* GetToolTip() const { return m_pToolTip.get(); }
    void Activate(BOOL bActivate);
    void CancelToolTips() override;

    void FilterToolTipMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam) override;
    // The filter over a message record; bForce relays a message of any window to the owner.
    void FilterToolTipMessage(CWnd* pOwner, const MSG* pMsg, BOOL bForce);
    // Stores the window, id and rectangle and a copy of the text (from malloc; the filter frees it).
    void FillInToolInfo(TOOLINFO* pToolInfo, HWND hWnd, const CRect& rcTool, INT_PTR nHit, LPCTSTR lpszText);
    void FillInToolInfoEx(TOOLINFO* pToolInfo, HWND hWnd, const CRect& rcTool, INT_PTR nHit, const CString& strText,
                          const CString& strTitle, const CString& strDescription,
                          CKLVImageManager* pImageManager) override;

private:
    void DestroyToolTip();
    BOOL IsRelayedMessage(UINT message) const;
    BOOL IsCancelMessage(UINT message) const;
    // Step by step: the window made when missing, the owner's hit test, the tool replaced.
    CWnd* PrepareToolTip(CWnd* pOwner);
    void ReplaceTool(CWnd* pOwner, CWnd* pToolTip, TOOLINFO& ti, INT_PTR nHit);
    void RelayEvent(CWnd* pToolTip, const MSG* pMsg);

    BOOL m_bShowTitleAndDescription = FALSE;
    BOOL m_bShowImage = FALSE;
    int m_nImageBase = 0;
    int m_nStyle = 0;
    int m_nTitleIcon = 1;
    int m_nMaxTipWidth;
    DWORD m_dwTipStyle = tipNoPrefix;
    CRect m_rcMargin;
    int m_nInitialDelay = -1;
    int m_nReshowDelay = -1;
    int m_nAutoPopDelay = -1;
    std::unique_ptr<CWnd> m_pToolTip;
    TOOLINFOA m_lastInfo;
    COLORREF m_clrBack = COLORREF(-1);
    COLORREF m_clrText = COLORREF(-1);
    CFont m_fontNormal;
    CFont m_fontBold;
};
