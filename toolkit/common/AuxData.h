// The process-wide store of system-derived resources the older toolkit controls share: fonts
// derived from the desktop's menu, icon-title, status and small-caption fonts, a snapshot of
// colours, cursors and metrics, and the system's version flags.
#pragma once

#include "classlib/GdiObject.h"
#include "classlib/String.h"

class CKLVAuxData {
public:
    CKLVAuxData();
    virtual ~CKLVAuxData() = default;
    CKLVAuxData(const CKLVAuxData&) = delete;
    CKLVAuxData& operator=(const CKLVAuxData&) = delete;

    // Rebuilds the ten fonts; a face that is given but not installed is ignored. FALSE at the
    // first font that cannot be made (the later ones stay unmade).
    BOOL UpdateFonts(LPCTSTR lpszFaceName = nullptr, LPCTSTR lpszVertFaceName = nullptr);
    // The face of the vertical fonts: the asked one when installed, else "Arial" unless the
    // menu font is "Tahoma", else the horizontal face.
    static CString GetVerticalFaceName(LPCTSTR lpszVertFaceName, LPCTSTR lpszMenuFaceName, LPCTSTR lpszHorzFaceName);

    // Colours: the system colours below, then the toolkit colours 30 to 49.
    COLORREF clr3DFace, clr3DShadow, clr3DDkShadow, clr3DHilight, clr3DLight, clrBtnText, clrGrayText, clrHighlight,
        clrHighlightText, clrMenu, clrMenuText, clrWindow, clrWindowFrame, clrWindowText, clrActiveCaption,
        clrInActiveCaption, clrGradientActiveCap, clrGradientInActiveCap, clrCaptionText, clrInactiveCaptionText;
    COLORREF clrToolkit[20];

    // Cursors, in their order; loading stops at the first one missing, leaving the rest null.
    HCURSOR hcurDragMove = nullptr;   // 9308
    HCURSOR hcurDragCopy = nullptr;   // 9309
    HCURSOR hcurDragNone = nullptr;   // 9311
    HCURSOR hcurHand = nullptr;
    HCURSOR hcurHSplitBar = nullptr;  // 9970, between side-by-side parts
    HCURSOR hcurVSplitBar = nullptr;  // 9971, between stacked parts
    HCURSOR hcurMove = nullptr;

    int cxSmIcon, cySmIcon, cxSize, cySize, cxHThumb, cyVThumb, cyMenuItem;

    CFont font, fontBold, fontULine, fontVert, fontVertBold, fontIconTitle, fontIconTitleBold, fontMarlett,
        fontStatus, fontSmCaption;

    BOOL bWin95, bWin98, bWinNT4, bWin2K, bWinXP;
    BOOL bPreferTahoma = FALSE;
    DWORD nComCtlVersion;

private:
    void LoadColors();
    void LoadCursors();
};

CKLVAuxData* KLVAuxData();

class CWnd;

// The record a tab control keeps for each of its pages.
struct CKLTabCtrlItem {
    CKLTabCtrlItem();

    int nIndex;              // the tab's index
    CWnd* pWnd;              // the page window
    CString strLabel;        // the full label
    CString strToolTip;
    CString strShownLabel;   // the label as shown, shortened when it does not fit
    DWORD dwSavedStyle;      // the page window's style and extended style when it was added
    DWORD dwSavedExStyle;
    int nExtra[4];           // kept for the tab control's own use; -1 until set
};
