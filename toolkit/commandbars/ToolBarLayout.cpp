// The tool bar's shapes: docked along a dock bar with the options button at its end, floating
// with the close button in its caption, and stand-alone at the top of its parent.
#include "toolkit/commandbars/ToolBar.h"

#include "classlib/ControlBar.h"
#include "classlib/Dc.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/ToolBarControls.h"
#include "toolkit/common/DCScopes.h"

#include <algorithm>

namespace {

enum { kindToolBarExpand = 0 };
const int kUnlimited = 32767;

// A DC measuring in the bar's font.
class CMeasureDC : public CClientDC {
public:
    explicit CMeasureDC(CKLVCommandBar* pBar)
        : CClientDC(pBar->GetSafeHwnd() ? pBar : nullptr),
          m_font(this, pBar->GetPaintManager()->GetCommandBarFont(pBar)) {}

private:
    CKLVFontDC m_font;
};

}  // namespace

void CKLVToolBar::GetBorders(CRect& rcBorders) {
    if (IsFloating()) {
        rcBorders.SetRect(floatingBorder, floatingBorder, floatingBorder, floatingBorder);
        return;
    }
    CKLVPaintManager* pPaintManager = GetPaintManager();
    rcBorders = pPaintManager->GetCommandBarBorders(this);
    if (!IsGripperVisible()) return;
    CMeasureDC dc(this);
    const CSize szGripper = pPaintManager->DrawCommandBarCaption(&dc, this, FALSE);
    if (IsVerticalBar())
        rcBorders.top += szGripper.cy;
    else
        rcBorders.left += szGripper.cx;
}

CRect CKLVToolBar::GetGripperRect() {
    if (!GetSafeHwnd() || !IsGripperVisible()) return CRect(0, 0, 0, 0);
    CRect rcClient, rcBorders;
    GetClientRect(&rcClient);
    const CRect rcTheme = GetPaintManager()->GetCommandBarBorders(this);
    GetBorders(rcBorders);
    if (IsVerticalBar())
        return CRect(rcClient.left, rcClient.top + rcTheme.top, rcClient.right, rcClient.top + rcBorders.top);
    return CRect(rcClient.left + rcTheme.left, rcClient.top, rcClient.left + rcBorders.left, rcClient.bottom);
}

int CKLVToolBar::GetCaptionHeight() {
    CMeasureDC dc(this);
    return GetPaintManager()->DrawCommandBarCaption(&dc, this, FALSE).cy;
}

CKLVControl* CKLVToolBar::PrepareSpecialControl(UINT nId) {
    CKLVControl* pControl = m_pControls->FindControl(static_cast<int>(nId));
    if (!pControl) {
        CKLVControl* pNew = nId == idCloseButton ? static_cast<CKLVControl*>(new CKLVControlToolBarClose)
                                                 : new CKLVControlToolBarOptions;
        pControl = m_pControls->Add(pNew, static_cast<int>(nId), CString(), -1, TRUE);
    }
    pControl->SetHideFlag(CKLVControl::hideGeneric, TRUE);
    return pControl;
}

void CKLVToolBar::HideSpecialControl(UINT nId) {
    if (CKLVControl* pControl = m_pControls->FindControl(static_cast<int>(nId)))
        pControl->SetHideFlag(CKLVControl::hideGeneric, TRUE);
}

CSize CKLVToolBar::LayoutControls(CDC* pDC, int nLength, DWORD dwMode, int nWidth) {
    CRect rcBorders;
    GetBorders(rcBorders);
    return m_pControls->CalcDynamicSize(pDC, nLength, dwMode, rcBorders, nWidth);
}

BOOL CKLVToolBar::HasWrappedControls() const {
    for (int i = 0; i < GetControlCount(); ++i)
        if (GetControl(i)->GetHideFlags() & CKLVControl::hideWrap) return TRUE;
    return FALSE;
}

void CKLVToolBar::CommitLayout(DWORD dwMode) {
    if (!(dwMode & CKLVControls::modeCommit)) return;
    if (m_nIdleFlags & delayLayout) {
        m_nIdleFlags &= ~delayLayout;
        Redraw();
    }
}

CSize CKLVToolBar::LayoutWithOptionsButton(CDC* pDC, CKLVControl* pOptions, int nLength, DWORD dwMode, int nWidth) {
    CSize sz = LayoutControls(pDC, nLength - optionsButtonReserve, dwMode, nWidth);
    auto* pButton = static_cast<CKLVControlToolBarOptions*>(pOptions);
    pButton->m_bHiddenControls = HasWrappedControls();
    pButton->SetHideFlag(CKLVControl::hideGeneric, FALSE);
    // The room left at the end of the bar: the paint manager places the button in it.
    if (IsVerticalBar())
        sz.cy += optionsButtonReserve;
    else
        sz.cx += optionsButtonReserve;
    if (dwMode & CKLVControls::modeCommit)
        GetPaintManager()->DrawSpecialControl(pDC, kindToolBarExpand, pButton, this, FALSE, &sz);
    return sz;
}

CSize CKLVToolBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth) {
    CMeasureDC dc(this);
    HideSpecialControl(idCloseButton);
    CSize sz;
    if (!m_bShowOptionsButton) {
        HideSpecialControl(idToolBarOptions);
        sz = LayoutControls(&dc, nLength, dwMode, nWidth);
    } else {
        CKLVControl* pOptions = PrepareSpecialControl(idToolBarOptions);
        CKLVCommandBarsOptions* pOptionsSet = GetOptions();
        const BOOL bAlways = pOptionsSet ? pOptionsSet->bShowExpandButtonAlways : TRUE;
        if (bAlways) {
            sz = LayoutWithOptionsButton(&dc, pOptions, nLength, dwMode, nWidth);
        } else if (dwMode & CKLVControls::modeCommit) {
            sz = LayoutControls(&dc, nLength, dwMode, nWidth);
            if (HasWrappedControls()) sz = LayoutWithOptionsButton(&dc, pOptions, nLength, dwMode, nWidth);
        } else {
            sz = LayoutControls(&dc, nLength, dwMode, nWidth);
            // More than one row: leave the button its room across the rows.
            const CSize szOneRow = LayoutControls(&dc, kUnlimited, dwMode, nWidth);
            const BOOL bVertical = (dwMode & CKLVControls::modeVertDock) != 0;
            if (bVertical ? sz.cx > szOneRow.cx : sz.cy > szOneRow.cy) {
                if (bVertical)
                    sz.cx += optionsButtonReserve;
                else
                    sz.cy += optionsButtonReserve;
            }
        }
    }
    CommitLayout(dwMode);
    return sz;
}

CSize CKLVToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
    CMeasureDC dc(this);
    CKLVControl* pClose = m_bCloseable ? PrepareSpecialControl(idCloseButton) : nullptr;
    if (!m_bCloseable) HideSpecialControl(idCloseButton);
    CKLVControl* pOptions = GetCommandBars() ? PrepareSpecialControl(idToolBarOptions) : nullptr;
    CRect rcBorders;
    GetBorders(rcBorders);
    const int nCaption = GetCaptionHeight();
    rcBorders.top += nCaption;
    if (dwMode & CKLVControls::modeMRULength) nLength = m_nMRUWidth;
    CSize sz = m_barType == barTypePopup ? m_pControls->CalcPopupSize(&dc, 0, rcBorders)
                                         : m_pControls->CalcDynamicSize(&dc, nLength, dwMode, rcBorders);
    const int nRight = sz.cx - floatingBorder;
    int nLeftmost = nRight;
    if (pClose) {
        pClose->SetHideFlag(CKLVControl::hideGeneric, FALSE);
        pClose->SetRect(CRect(nRight - nCaption, floatingBorder, nRight, floatingBorder + nCaption));
        nLeftmost -= nCaption;
    }
    CKLVCommandBarsOptions* pOptionsSet = GetOptions();
    if (pOptions && pOptionsSet && pOptionsSet->bShowExpandButtonAlways && nLeftmost - nCaption >= floatingBorder) {
        static_cast<CKLVControlToolBarOptions*>(pOptions)->m_bHiddenControls = HasWrappedControls();
        pOptions->SetHideFlag(CKLVControl::hideGeneric, FALSE);
        pOptions->SetRect(CRect(nLeftmost - nCaption, floatingBorder, nLeftmost, floatingBorder + nCaption));
    }
    CommitLayout(dwMode);
    return sz;
}

void CKLVToolBar::OnRecalcLayout() {
    if (m_bInRecalcLayout || !GetSafeHwnd() || !IsVisible()) return;
    m_bInRecalcLayout = TRUE;
    if (IsFloating()) {
        const CSize sz = CalcDynamicLayout(-1, CKLVControls::modeMRULength | CKLVControls::modeHorz |
                                                   CKLVControls::modeCommit);
        SetWindowPos(nullptr, 0, 0, sz.cx, sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RelayoutFrame();
    }
    Redraw();
    m_bInRecalcLayout = FALSE;
}

LRESULT CKLVToolBar::OnSizeParent(WPARAM, LPARAM lParam) {
    if (!(GetStyle() & WS_VISIBLE)) return 0;
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    CRect rc(pLayout->rect);
    DWORD dwMode = CKLVControls::modeHorz | CKLVControls::modeHorzDock | CKLVControls::modeCommit;
    if (m_nFlags & flagStretched) dwMode |= CKLVControls::modeStretch;
    if (m_nFlags & flagHideWrap) dwMode |= CKLVControls::modeHideWrap;
    if (!pLayout->hDWP) dwMode &= ~static_cast<DWORD>(CKLVControls::modeCommit);
    CSize sz = CalcDockingLayout(rc.Width(), dwMode);
    sz.cx = std::min<int>(sz.cx, rc.Width());
    sz.cy = std::min<int>(sz.cy, rc.Height());
    const CRect rcBar(rc.left, rc.top, rc.left + sz.cx, rc.top + sz.cy);
    pLayout->rect.top += sz.cy;
    pLayout->sizeTotal.cx = std::max<int>(pLayout->sizeTotal.cx, sz.cx);
    pLayout->sizeTotal.cy += sz.cy;
    AfxRepositionWindow(pLayout, m_hWnd, &rcBar);
    Redraw();
    return 0;
}
