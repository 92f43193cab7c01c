// What the command bars ask of an MDI client window that shows the children as tabs. The tab
// client lives above the bars and implements it; the bars find it through the frame.
#pragma once

#include "classlib/MDIFrameWnd.h"

class CKLVTabClientLink {
public:
    // The tab-group commands in the order menus offer them: new stacked group, new side-by-side
    // group, move to the previous group, move to the next group.
    static constexpr UINT groupCommands[] = {9157, 9158, 9155, 9156};
    enum : UINT { firstGroupCommand = 9155, lastGroupCommand = 9158 };

    virtual ~CKLVTabClientLink() = default;

    // The tabs again from the children, the row redrawn, the frame re-laid when asked.
    virtual void Refresh(BOOL bRecalcLayout = TRUE) = 0;
    // The tab-group commands (move to the previous or next group, new stacked or side-by-side
    // group) the active tab allows.
    virtual BOOL IsGroupCommandEnabled(UINT nID) const = 0;

    // The MDI client of the site when it is such a tab client, else null.
    static CKLVTabClientLink* FromSite(CWnd* pSite) {
        auto* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pSite);
        if (!pFrame || !pFrame->m_hWndMDIClient) return nullptr;
        return dynamic_cast<CKLVTabClientLink*>(CWnd::FromHandlePermanent(pFrame->m_hWndMDIClient));
    }
};
