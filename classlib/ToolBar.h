// CToolBar: a control bar of command buttons described by an RT_TOOLBAR resource (the command
// ids, 0 for a separator) and the bitmap of the same id holding one image per button. Only the
// loading is here: the bar keeps the ids, the sizes and the image well for whoever lays it out.
#pragma once

#include "classlib/ControlBar.h"
#include "classlib/GdiObject.h"

#include <vector>

#define RT_TOOLBAR MAKEINTRESOURCEA(241)

// The RT_TOOLBAR layout: version, image width and height, item count, then the item ids.
struct CToolBarData {
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
    const WORD* GetItems() const { return reinterpret_cast<const WORD*>(this + 1); }
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() noexcept = default;
    ~CToolBar() override = default;

    // Reads the tool-bar resource and its bitmap from the current resource handle: FALSE when
    // either is missing, the resource is not version 1 or is shorter than it claims (the bar
    // then keeps what it had).
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }

    void OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) override {}

    // The tool-bar resource of the current resource handle; null when it is missing or shorter
    // than its item count says.
    static const CToolBarData* FindToolBarData(LPCTSTR lpszResourceName);

    int GetCount() const { return static_cast<int>(m_arrIDs.size()); }
    UINT GetItemID(int nIndex) const { return m_arrIDs[static_cast<size_t>(nIndex)]; }

    std::vector<UINT> m_arrIDs;     // one entry a button, ID_SEPARATOR (0) for a separator
    CSize m_sizeImage;               // of one image in the bitmap
    CSize m_sizeButton;              // the image with its 7-pixel frame
    CBitmap m_bmpImageWell;
};
