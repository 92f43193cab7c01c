// CReBar: a control bar holding a common-controls rebar, whose bands hold other bars (tool bars,
// command bars). The frame lays the rebar out along its edge at the rebar's height; when bands
// move to another row the frame lays itself out again.
#pragma once

#include "classlib/CommandIds.h"
#include "classlib/ControlBar.h"

#include <commctrl.h>

class CBitmap;

class CReBar : public CControlBar {
    DECLARE_DYNAMIC(CReBar)
public:
    CReBar() noexcept = default;
    ~CReBar() override = default;

    // dwStyle holds the window styles and the bar's CBRS_* styles; dwCtrlStyle the RBS_* styles.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                        UINT nID = AFX_IDW_REBAR);

    // Adds pBar (a window the rebar adopts) as the last band, as long as the bar's own size asks
    // (a control bar's fixed layout, else its window's size), with an optional label and
    // background bitmap; dwStyle: RBBS_* styles. FALSE when the band could not be added.
    BOOL AddBar(CWnd* pBar, LPCTSTR pszText = nullptr, CBitmap* pbmp = nullptr,
                DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    BOOL AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText = nullptr,
                DWORD dwStyle = RBBS_GRIPPERALWAYS);

    int GetBandCount() const { return static_cast<int>(SendMessage(RB_GETBANDCOUNT)); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // The bands' bars update themselves at idle time, each as a window of its own.
    void OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) override {}

protected:
    BOOL InsertBand(CWnd* pBar, REBARBANDINFOA& band);

    afx_msg BOOL OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};
