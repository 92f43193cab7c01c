// CToolBar: a control bar of command buttons described by an RT_TOOLBAR resource (version 1,
// image width and height, item count, the command ids, 0 for a separator) and the bitmap of the
// same id holding one image per button. Loading keeps the ids, the sizes and the image well in
// the object whether or not the bar has a window; a bar with a window (a common-controls tool
// bar) shows them as buttons: a click sends the button's command to the parent frame, and at idle
// time each button takes its state from the command's update handler.
#pragma once

#include "classlib/CommandIds.h"
#include "classlib/ControlBar.h"
#include "classlib/GdiObject.h"
#include "classlib/ImageList.h"

#include <commctrl.h>

#include <vector>

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCEA(241)
#endif

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

    // dwStyle holds the window styles and the bar's CBRS_* styles; dwCtrlStyle the TBSTYLE_*
    // styles of the tool bar control.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, UINT nID = AFX_IDW_TOOLBAR);

    // Reads the tool-bar resource and its bitmap from the current resource handle: FALSE when
    // either is missing, the resource is not version 1 or is shorter than it claims, or (for a
    // bar with a window) the bitmap is not as high as the images; the bar then keeps what it had.
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }
    // The button images of the bar's window from a bitmap resource as high as the images, cut
    // into images of their width; the colour of the bitmap's top-left pixel is transparent.
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
    // Replaces the buttons: each id a button with the next image, 0 a separator.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    // The tool-bar resource of the current resource handle; null when it is missing or shorter
    // than its item count says.
    static const CToolBarData* FindToolBarData(LPCTSTR lpszResourceName);

    int GetCount() const;   // the buttons and separators
    UINT GetItemID(int nIndex) const;   // 0 for a separator or no such item
    int CommandToIndex(UINT nIDFind) const;   // -1 for none
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    CImageList* GetImageList() { return &m_images; }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    std::vector<UINT> m_arrIDs;     // one entry a button, ID_SEPARATOR (0) for a separator
    CSize m_sizeImage{16, 15};       // of one image in the bitmap
    CSize m_sizeButton{23, 22};      // the image with its 7-pixel frame
    CBitmap m_bmpImageWell;

protected:
    BOOL GetButton(int nIndex, TBBUTTON* pButton) const {
        return static_cast<BOOL>(SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pButton)));
    }
    void ShowImages(CImageList& images);

    CImageList m_images;   // the images the window shows, owned here
};
