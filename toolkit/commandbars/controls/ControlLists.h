// Placeholders in menus and tool bars for lists that change at run time: the MDI windows, the
// tool bars, the recent files. At every layout each removes the items it inserted last time and,
// outside customise mode, hides itself behind fresh temporary items; in customise mode it shows
// as its own caption.
#pragma once

#include "toolkit/commandbars/controlbase/ControlButton.h"

#include <functional>

class COleClientItem;
class CRecentFileList;

class CKLVControlWindowList : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlWindowList)
public:
    enum { maxItems = 9, idWindowListPrompt = 0xEF1F };

    void PrepareDynamicLayout(int nMode) override;
    BOOL IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint pt, DWORD& dwEffect) override;

    // Process-wide: where the MDI client numbers its children (0xFF00, or 0x8000 or 1 when the
    // active child's id says the client was made so).
    static UINT m_nFirstMDIChild;

private:
    void InsertWindowItems(HWND hwndClient);
};

class CKLVControlToolbars : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlToolbars)
public:
    void PrepareDynamicLayout(int nMode) override;
    BOOL IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint pt, DWORD& dwEffect) override;

    // One checked item per closeable bar that offers itself in the context menu, at nBefore (-1:
    // the end); then, when asked and customising is possible, the customize command.
    static void FillToolbarList(CKLVCommandBar* pBar, int nBefore, int nId, BOOL bCustomizeItem, BOOL bBeginGroup);
};

class CKLVControlRecentFileList : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlRecentFileList)
public:
    enum { firstRecentFileId = 57616 };

    void PrepareDynamicLayout(int nMode) override;
    BOOL IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint pt, DWORD& dwEffect) override;

    // The menu text of a list entry: ampersands doubled (double-byte characters kept whole),
    // then "&1 " to "&9 ", "1&0 ", "11 "...; number 0 leaves it unnumbered.
    static CString FormatItemCaption(const CString& strText, int nNumber);

protected:
    // The application's list unless a subclass shows another.
    virtual CRecentFileList* GetRecentFileList();
    virtual int GetFirstMRUId() { return firstRecentFileId; }

private:
    void InsertFileItems(CRecentFileList* pList);
};

// The verbs of the OLE item selected in the active view, as a submenu after the placeholder.
class CKLVControlOleItems : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlOleItems)
public:
    enum { firstVerbId = 57872, lastVerbId = 57887 };

    void PrepareDynamicLayout(int nMode) override;
    BOOL IsCustomizeDragOverAvail(CKLVCommandBar* pBar, CPoint pt, DWORD& dwEffect) override;

protected:
    // The item selected in the active view of the site's active frame, when its document is an
    // OLE document.
    virtual COleClientItem* GetSelectedItem() const;
};

// The tab-group commands the frame's MDI tab client allows; without such a client the placeholder
// stays as it is.
class CKLVControlWorkspaceActions : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlWorkspaceActions)
public:
    void PrepareDynamicLayout(int nMode) override;
};

// Shared by the list placeholders.
namespace klv_control_lists {
// Removes the controls after the placeholder that match; bStopAtOther ends the walk at the first
// that does not.
void RemoveFollowing(CKLVControl* pPlaceholder, const std::function<BOOL(CKLVControl*)>& match, BOOL bStopAtOther);
// A temporary list item right after the placeholder's earlier items.
CKLVControl* InsertItem(CKLVControl* pPlaceholder, int nPosition, int nId, const CString& strCaption);
// Shows the placeholder in customise mode; TRUE when it did.
BOOL ShowInCustomizeMode(CKLVControl* pPlaceholder);
// List items go only into popup bars.
BOOL IsPopupBar(const CKLVCommandBar* pBar);
}  // namespace klv_control_lists
