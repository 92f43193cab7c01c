// The frame's status bar and its panes. For now the state the command-bar paint manager draws
// from; the bar window comes with its issue.
#pragma once

#include "classlib/GdiObject.h"
#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "classlib/Wnd.h"
#include "toolkit/common/ImageManager.h"

class CKLVStatusBar;

class CKLVStatusBarPane {
public:
    enum { styleNoBorders = 0x100, stylePopOut = 0x200, styleDisabled = 0x04000000, styleStretch = 0x08000000 };

    CFont* GetTextFont();
    CRect GetMargins() const { return m_rcMargins; }
    int GetTextAlignment() const { return m_nAlignment; }
    CKLVStatusBar* GetStatusBar() const { return m_pStatusBar; }
    // Null without an icon id.
    CKLVImageManagerIcon* GetImage() const;

    UINT m_nID = 0;
    int m_cxText = 0;
    UINT m_nStyle = 0;
    UINT m_nFlags = 0;
    CString m_strText;
    BOOL m_bVisible = TRUE;
    COLORREF m_clrText = COLORREF(-1);
    COLORREF m_clrBackground = COLORREF(-1);
    CString m_strToolTip;
    HWND m_hwndChild = nullptr;
    BOOL m_bAutoDeleteWnd = FALSE;
    int m_nAlignment = 0;
    CKLVStatusBar* m_pStatusBar = nullptr;
    int m_nIndex = -1;
    int m_nVisibleIndex = -1;
    CFont m_fntText;
    int m_nIconId = -1;
    CRect m_rcMargins = CRect(2, 1, 2, 1);
};

class CKLVStatusBar : public CWnd {
public:
    BOOL IsDrawDisabledText() const { return m_bDrawDisabledText; }

    CFont m_fontStatus;
    BOOL m_bDrawDisabledText = TRUE;
};

inline CFont* CKLVStatusBarPane::GetTextFont() {
    if (m_fntText.GetSafeHandle()) return &m_fntText;
    return m_pStatusBar ? &m_pStatusBar->m_fontStatus : nullptr;
}

inline CKLVImageManagerIcon* CKLVStatusBarPane::GetImage() const {
    return m_nIconId == -1 ? nullptr : KLVImageManager()->GetImage(static_cast<UINT>(m_nIconId), 16);
}
