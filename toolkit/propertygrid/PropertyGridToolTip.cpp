// The view's overflow tooltip: a caption or value that does not fit its column is shown whole
// over it while the mouse rests there.
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

void CKLVPropertyGridToolTip::Create(CWnd* pParentView) {
    m_pParentView = pParentView;
    if (GetSafeHwnd()) return;
    CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW)), "", WS_POPUP, CRect(0, 0, 0, 0),
             pParentView, 0);
}

void CKLVPropertyGridToolTip::Activate(BOOL bActive, const CString& strText, CRect rcText, CFont* pFont) {
    if (!bActive) {
        m_strText.Empty();
        if (GetSafeHwnd()) ShowWindow(SW_HIDE);
        return;
    }
    m_strText = strText;
    LOGFONTA lf = {};
    pFont->GetLogFont(&lf);
    m_fnt.DeleteObject();
    m_fnt.CreateFontIndirect(&lf);
    CClientDC dc(this);
    CKLVFontDC font(&dc, &m_fnt);
    const CSize szText = dc.GetTextExtent(strText);
    CRect rc(rcText.left, rcText.top, rcText.left + szText.cx + 8, rcText.bottom);
    const CRect rcWork = KLVMultiMonitor()->GetWorkRect(rc.TopLeft());
    if (rc.right > rcWork.right) rc.OffsetRect(rcWork.right - rc.right, 0);
    if (rc.left < rcWork.left) rc.OffsetRect(rcWork.left - rc.left, 0);
    SetWindowPos(&CWnd::wndTop, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate(FALSE);
}

LRESULT CKLVPropertyGridToolTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        CKLVColorManager* pColors = GetColorManager();
        dc.FillSolidRect(&rc, pColors->GetColor(COLOR_INFOBK));
        dc.Draw3dRect(&rc, pColors->GetColor(COLOR_INFOTEXT), pColors->GetColor(COLOR_INFOTEXT));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(pColors->GetColor(COLOR_INFOTEXT));
        CKLVFontDC font(&dc, &m_fnt);
        rc.left += 4;
        dc.DrawText(m_strText, &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return 0;
    }
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return CWnd::WindowProc(message, wParam, lParam);
}

void CKLVPropertyGridView::UpdateToolTip(CPoint point) {
    if (m_pHotButton) return;
    CKLVPropertyGridItem* pItem = ItemFromPoint(point);
    CKLVPropertyGridPaintManager* pPaintManager = GetPaintManager();
    if (!pItem || pItem->IsCategory() || !pPaintManager) return;
    const int nDivider = GetDividerPos();
    CRect rcText;
    CString strText;
    if (point.x < nDivider) {
        rcText = pItem->GetItemRect();
        rcText.left += pItem->GetIndent() * CKLVPropertyGridItem::nIndentWidth;
        rcText.right = nDivider;
        pPaintManager->ShiftForCaptionImage(pItem, rcText);
        strText = pItem->GetCaption();
    } else {
        CKLVPropertyGridInplaceEdit& edit = pItem->GetInplaceEdit();
        const BOOL bEditing = edit.GetItem() == pItem && edit.GetSafeHwnd() && ::GetFocus() == edit.GetSafeHwnd();
        if (pItem->m_nLinesCount > 1 || bEditing) return;
        rcText = pItem->GetValueRect();
        rcText.DeflateRect(1, 0);
        strText = pItem->GetViewValue();
    }
    if (strText == m_strTipText) return;
    CFont* pFont = &pPaintManager->GetMetrics()->m_fntNormal;
    CClientDC dc(this);
    CKLVFontDC font(&dc, pFont);
    if (dc.GetTextExtent(strText).cx + 3 <= rcText.Width()) return;
    m_wndTip.Create(this);
    m_strTipText = strText;
    m_rcToolTip = rcText;
    CRect rcScreen = rcText;
    ClientToScreen(&rcScreen);
    m_wndTip.Activate(TRUE, strText, rcScreen, pFont);
    TRACKMOUSEEVENT tme = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, GetSafeHwnd(), 0};
    ::TrackMouseEvent(&tme);
}

void CKLVPropertyGridView::HideToolTipIfLeft(UINT message) {
    if (m_bInToolTipCheck || !m_wndTip.GetSafeHwnd() || !m_wndTip.IsWindowVisible()) return;
    m_bInToolTipCheck = TRUE;
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    ScreenToClient(&ptCursor);
    BOOL bHide = !m_rcToolTip.PtInRect(ptCursor) || m_pHotButton != nullptr;
    switch (message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MOUSELEAVE: case WM_MOUSEWHEEL:
        bHide = TRUE;
        break;
    default: break;
    }
    if (bHide) {
        m_wndTip.Activate(FALSE, CString(), CRect(), nullptr);
        m_strTipText.Empty();
    }
    m_bInToolTipCheck = FALSE;
}
