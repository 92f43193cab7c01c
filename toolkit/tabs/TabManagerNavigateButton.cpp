#include "toolkit/tabs/TabManagerNavigateButton.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/res/KLVToolkitRes.h"
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabMouseLoop.h"
#include "toolkit/tabs/TabPainter.h"
#include "toolkit/tabs/TabStyle.h"

namespace {

const DWORD kTickInterval = 20;   // about 50 ticks a second while a button is held

CString LoadToolTip(UINT nID, LPCTSTR lpszDefault) {
    CString str;
    if (!KLVResourceManager()->LoadString(&str, nID)) str = lpszDefault;
    return str;
}

}  // namespace

CKLVTabManagerNavigateButton::CKLVTabManagerNavigateButton(CKLVTabManager* pManager, UINT nID, int nShowMode)
    : m_nID(nID), m_nShowMode(nShowMode), m_pManager(pManager) {}

CKLVTabManagerNavigateButton::~CKLVTabManagerNavigateButton() {
    if (m_pManager && m_pManager->m_pHighlightedNavigateButton == this) m_pManager->m_pHighlightedNavigateButton = nullptr;
}

BOOL CKLVTabManagerNavigateButton::IsHorizontalRow() const { return m_pManager->IsHorizontalPosition(); }

BOOL CKLVTabManagerNavigateButton::IsHot() const { return m_pManager->m_pHighlightedNavigateButton == this; }

BOOL CKLVTabManagerNavigateButton::IsVisibleOnRow() {
    return m_nShowMode != showNever && (m_nShowMode != showAuto || m_pManager->IsNavigateButtonAllowed(this));
}

CSize CKLVTabManagerNavigateButton::GetSize() { return m_pManager->GetPaintManager()->m_szNavigateButton; }

void CKLVTabManagerNavigateButton::AdjustRowLength(int& nLength) {
    if (!IsVisibleOnRow()) return;
    const CSize sz = GetSize();
    nLength -= IsHorizontalRow() ? sz.cx : sz.cy;
}

void CKLVTabManagerNavigateButton::Reposition(CRect& rcRow) {
    if (!IsVisibleOnRow()) {
        m_rcButton.SetRectEmpty();
        return;
    }
    const CSize sz = GetSize();
    if (IsHorizontalRow()) {
        const int nCentre = rcRow.CenterPoint().y;
        m_rcButton.SetRect(rcRow.right - sz.cx, nCentre + sz.cy / 2 - sz.cy, rcRow.right, nCentre + sz.cy / 2);
        rcRow.right -= sz.cx;
    } else {
        const int nCentre = rcRow.CenterPoint().x;
        m_rcButton.SetRect(nCentre - sz.cx / 2, rcRow.bottom - sz.cy, nCentre - sz.cx / 2 + sz.cx, rcRow.bottom);
        rcRow.bottom -= sz.cy;
    }
}

void CKLVTabManagerNavigateButton::OnExecute(BOOL) {}

BOOL CKLVTabManagerNavigateButton::RunPressLoop(HWND hWnd, CPoint& pt) {
    CKLVTabMouseLoop loop(hWnd);
    DWORD dwLastTick = ::GetTickCount();
    BOOL bReleasedInside = FALSE;
    for (;;) {
        if (m_bEnabled && ::GetTickCount() - dwLastTick > kTickInterval) {
            dwLastTick = ::GetTickCount();
            OnExecute(TRUE);
        }
        const BOOL bPressed = m_rcButton.PtInRect(pt);
        if (bPressed != m_bPressed) {
            m_bPressed = bPressed;
            m_pManager->RedrawControl(&m_rcButton, TRUE);
        }
        // Sleep until input comes or the next tick is due, rather than spinning.
        if (!CKLVTabMouseLoop::WaitForMessage(kTickInterval)) continue;
        if (loop.Next() != CKLVTabMouseLoop::eventMessage) break;
        if (loop.GetMessageId() == WM_MOUSEMOVE) {
            pt = loop.GetPoint();
        } else if (loop.GetMessageId() == WM_LBUTTONUP) {
            bReleasedInside = m_bPressed;
            break;
        } else if (loop.IsCancel()) {
            break;
        } else {
            loop.Dispatch();
        }
    }
    return bReleasedInside;
}

void CKLVTabManagerNavigateButton::PerformClick(HWND hWnd, CPoint pt) {
    if (::GetCapture() != nullptr || !m_bEnabled) return;
    CKLVHeldReference ref(m_pItem);
    CKLVTabManager* pManager = m_pManager;
    const BOOL bExecute = RunPressLoop(hWnd, pt);
    m_bPressed = FALSE;
    pManager->PerformMouseMove(hWnd, pt);
    pManager->RedrawControl(nullptr, FALSE);
    if (bExecute) OnExecute(FALSE);
}

CKLVTabManagerNavigateButtonScroll::CKLVTabManagerNavigateButtonScroll(CKLVTabManager* pManager, BOOL bForward)
    : CKLVTabManagerNavigateButton(pManager, bForward ? idScrollForward : idScrollBack, showAuto) {
    m_strToolTip = bForward ? LoadToolTip(KLV_IDS_TAB_SCROLLRIGHT, "Scroll Right")
                            : LoadToolTip(KLV_IDS_TAB_SCROLLLEFT, "Scroll Left");
}

void CKLVTabManagerNavigateButtonScroll::AdjustRowLength(int& nLength) {
    if (m_nShowMode == showAlways) CKLVTabManagerNavigateButton::AdjustRowLength(nLength);
}

BOOL CKLVTabManagerNavigateButtonScroll::IsNeeded() {
    if (m_pManager->GetLayout() == CKLVTabPainter::layoutSizeToFit) return FALSE;
    const CRect rcMargins = m_pManager->GetPaintManager()->GetAppearanceSet()->GetMargins();
    const CRect rcHeader = m_pManager->m_rcHeaderRect;
    const int nRowLength = IsHorizontalRow() ? rcHeader.Width() : rcHeader.Height();
    const int nOffset = m_pManager->GetScrollOffset();
    return nOffset < 0 ||
           nRowLength - rcMargins.left - rcMargins.right < m_pManager->GetItemsLength() - 1 + (nOffset - rcMargins.left);
}

void CKLVTabManagerNavigateButtonScroll::Reposition(CRect& rcRow) {
    const CRect rcMargins = m_pManager->GetPaintManager()->GetAppearanceSet()->GetMargins();
    const int nRowLength = IsHorizontalRow() ? rcRow.Width() : rcRow.Height();
    const int nOffset = m_pManager->GetScrollOffset();
    m_bEnabled = m_nID == idScrollBack
                     ? nOffset < 0
                     : nRowLength - rcMargins.left - rcMargins.right - 28 < m_pManager->GetItemsLength() + nOffset;
    if (m_pManager->GetLayout() == CKLVTabPainter::layoutMultiRow || (m_nShowMode == showAuto && !IsNeeded())) {
        m_rcButton.SetRectEmpty();
        return;
    }
    CKLVTabManagerNavigateButton::Reposition(rcRow);
}

void CKLVTabManagerNavigateButtonScroll::Draw(CDC* pDC, CRect rc) {
    const CPoint c = rc.CenterPoint();
    const BOOL bHorz = IsHorizontalRow();
    if (m_nID == idScrollBack) {
        if (bHorz) CKLVDrawHelpers::Triangle(pDC, c.x + 2, c.y - 5, c.x - 2, c.y - 1, c.x + 2, c.y + 3);
        else CKLVDrawHelpers::Triangle(pDC, c.x - 5, c.y + 2, c.x - 1, c.y - 2, c.x + 3, c.y + 2);
    } else {
        if (bHorz) CKLVDrawHelpers::Triangle(pDC, c.x - 2, c.y - 5, c.x + 2, c.y - 1, c.x - 2, c.y + 3);
        else CKLVDrawHelpers::Triangle(pDC, c.x - 5, c.y - 2, c.x - 1, c.y + 2, c.x + 3, c.y - 2);
    }
}

void CKLVTabManagerNavigateButtonScroll::OnExecute(BOOL bTick) {
    if (bTick) m_pManager->OnScroll(m_nID == idScrollForward);
}

CKLVTabManagerNavigateButtonClose::CKLVTabManagerNavigateButtonClose(CKLVTabManager* pManager, int nShowMode)
    : CKLVTabManagerNavigateButton(pManager, idClose, nShowMode) {
    m_strToolTip = LoadToolTip(KLV_IDS_TAB_CLOSE, "Close");
}

void CKLVTabManagerNavigateButtonClose::Draw(CDC* pDC, CRect rc) {
    const CPoint c = rc.CenterPoint();
    static const int kLines[4][4] = {{-4, -3, 3, 4}, {-3, -3, 4, 4}, {-4, 3, 3, -4}, {-3, 3, 4, -4}};
    for (const auto& line : kLines) {
        pDC->MoveTo(c.x + line[0], c.y + line[1]);
        pDC->LineTo(c.x + line[2], c.y + line[3]);
    }
}

void CKLVTabManagerNavigateButtonClose::OnExecute(BOOL bTick) {
    if (!bTick) m_pManager->OnNavigateButtonClick(this);
}
