// A popup menu of plain items, as the widgets above the bars show one (the tab rows' group menu
// and tab list): they name the items, the bars build and track their popup bar.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"

#include <vector>

class CKLVCommandBars;
class CWnd;

class CKLVCommandMenu {
public:
    // bOwnImages: the items show only the icons given here, never the bars' images of the same
    // ids (for items whose ids are not commands).
    explicit CKLVCommandMenu(BOOL bOwnImages = FALSE) : m_bOwnImages(bOwnImages) {}

    // A command captioned with its prompt from the resources.
    void AddCommand(UINT nID, BOOL bBeginGroup = FALSE);
    // An item with its own caption and, with own images, its icon (not owned; null: none).
    void AddItem(UINT nID, const CString& strCaption, HICON hIcon = nullptr);
    int GetCount() const { return static_cast<int>(m_items.size()); }

    // Shows the menu at the screen point as a popup bar of the command bars, for the window it
    // opens from; the item chosen is returned (not sent), 0 when the menu was cancelled.
    UINT Track(CKLVCommandBars* pCommandBars, CPoint ptScreen, CWnd* pSite) const;

private:
    struct CItem {
        UINT nID = 0;
        BOOL bPromptFromResource = FALSE;
        CString strCaption;
        HICON hIcon = nullptr;
        BOOL bBeginGroup = FALSE;
    };
    std::vector<CItem> m_items;
    BOOL m_bOwnImages;
};
