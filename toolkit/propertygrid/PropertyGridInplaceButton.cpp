#include "toolkit/propertygrid/PropertyGridInplaceButton.h"

#include "toolkit/common/ImageManager.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <algorithm>

CKLVPropertyGridInplaceButton::CKLVPropertyGridInplaceButton(UINT nID)
    : m_nID(nID), m_nWidth(::GetSystemMetrics(SM_CXHTHUMB)) {}

BOOL CKLVPropertyGridInplaceButton::IsHot() const { return m_pView && m_pView->m_pHotButton == this; }
BOOL CKLVPropertyGridInplaceButton::IsFocused() const { return m_pView && m_pView->m_pFocusedButton == this; }

CKLVImageManagerIcon* CKLVPropertyGridInplaceButton::GetImage() const {
    if (!m_pItem || !m_pView || m_nImage < 0) return nullptr;
    return m_pView->GetImageManager()->GetImage(static_cast<UINT>(m_nImage), 0);
}

void CKLVPropertyGridInplaceButton::Draw(CDC* pDC, CRect rc) {
    m_rcButton = rc;
    if (CKLVPropertyGridPaintManager* pPaintManager = m_pView ? m_pView->GetPaintManager() : nullptr)
        pPaintManager->DrawInplaceButton(pDC, this);
}

void CKLVPropertyGridInplaceButton::OnLButtonDown(UINT, CPoint) {
    if (!AfxGetSafeHwnd(m_pView)) return;
    const HWND hView = m_pView->GetSafeHwnd();
    InternalAddRef();   // the item may drop its buttons while messages are dispatched
    m_bPressed = TRUE;
    m_pView->SetFocus();
    m_pView->Invalidate(FALSE);
    ::SetCapture(hView);
    BOOL bClick = FALSE;
    MSG msg;
    // A button its item dropped meanwhile (its view and item are cleared) stops at once.
    while (m_pView && ::GetCapture() == hView) {
        const BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot <= 0) {
            // The quit belongs to the loop outside: put it back for it.
            if (bGot == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!m_pView) break;
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == hView) {
            const CPoint pt(msg.lParam);
            CKLVPropertyGridInplaceButton* pHot = m_rcButton.PtInRect(pt) ? this : nullptr;
            if (m_pView->m_pHotButton != pHot) {
                m_pView->m_pHotButton = pHot;
                m_pView->Invalidate(FALSE);
            }
        } else if (msg.message == WM_LBUTTONUP) {
            bClick = m_pView->m_pHotButton == this;
            break;
        } else {
            ::DispatchMessageA(&msg);
        }
    }
    m_bPressed = FALSE;
    if (::GetCapture() == hView) ::ReleaseCapture();
    if (m_pView && ::IsWindow(hView)) {
        m_pView->Invalidate(FALSE);
        if (bClick && m_pItem) m_pItem->OnInplaceButtonDown(this);
    }
    InternalRelease();
}

void CKLVPropertyGridInplaceButton::OnKeyDown(UINT nChar) {
    if (!m_pItem) return;
    if (nChar == VK_SPACE || nChar == VK_DOWN || nChar == VK_RETURN || nChar == VK_F4) m_pItem->OnInplaceButtonDown(this);
}

CKLVPropertyGridInplaceButton* CKLVPropertyGridInplaceButtons::Find(UINT nID) const {
    for (CKLVPropertyGridInplaceButton* pButton : m_arrButtons)
        if (pButton->m_nID == nID) return pButton;
    return nullptr;
}

CKLVPropertyGridInplaceButton* CKLVPropertyGridInplaceButtons::HitTest(CPoint point) const {
    if (!m_pItem || !m_pItem->IsInplaceButtonsVisible()) return nullptr;
    for (CKLVPropertyGridInplaceButton* pButton : m_arrButtons)
        if (pButton->m_rcButton.PtInRect(point)) return pButton;
    return nullptr;
}

void CKLVPropertyGridInplaceButtons::Renumber() {
    for (size_t i = 0; i < m_arrButtons.size(); ++i) m_arrButtons[i]->m_nIndex = static_cast<int>(i);
}

void CKLVPropertyGridInplaceButtons::Add(CKLVPropertyGridInplaceButton* pButton) {
    pButton->m_pItem = m_pItem;
    pButton->m_pView = m_pItem ? m_pItem->GetGridView() : nullptr;
    m_arrButtons.push_back(pButton);
    Renumber();
}

void CKLVPropertyGridInplaceButtons::Remove(CKLVPropertyGridInplaceButton* pButton) {
    auto it = std::find(m_arrButtons.begin(), m_arrButtons.end(), pButton);
    if (!pButton || it == m_arrButtons.end()) return;
    m_arrButtons.erase(it);
    Release(pButton);
    Renumber();
}

CKLVPropertyGridInplaceButton* CKLVPropertyGridInplaceButtons::FindOrAdd(UINT nID) {
    if (CKLVPropertyGridInplaceButton* pButton = Find(nID)) return pButton;
    auto* pButton = new CKLVPropertyGridInplaceButton(nID);
    Add(pButton);
    return pButton;
}

CKLVPropertyGridInplaceButton* CKLVPropertyGridInplaceButtons::AddDropDownButton() { return FindOrAdd(KLV_IDC_PG_COMBOBUTTON); }
CKLVPropertyGridInplaceButton* CKLVPropertyGridInplaceButtons::AddEllipsisButton() { return FindOrAdd(KLV_IDC_PG_EXPANDBUTTON); }

void CKLVPropertyGridInplaceButtons::RemoveAll() {
    std::vector<CKLVPropertyGridInplaceButton*> arrButtons;
    arrButtons.swap(m_arrButtons);
    for (CKLVPropertyGridInplaceButton* pButton : arrButtons) Release(pButton);
}

// The view forgets the button, and a button still held (by its press loop) no longer reaches its
// item or view.
void CKLVPropertyGridInplaceButtons::Release(CKLVPropertyGridInplaceButton* pButton) {
    if (CKLVPropertyGridView* pView = pButton->m_pView) {
        if (pView->m_pHotButton == pButton) pView->m_pHotButton = nullptr;
        if (pView->m_pFocusedButton == pButton) pView->m_pFocusedButton = nullptr;
    }
    pButton->m_pItem = nullptr;
    pButton->m_pView = nullptr;
    pButton->InternalRelease();
}
