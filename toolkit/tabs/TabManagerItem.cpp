#include "toolkit/tabs/TabManagerItem.h"

#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"

IMPLEMENT_DYNAMIC(CKLVTabManagerItem, CCmdTarget)

CKLVTabManagerItem::~CKLVTabManagerItem() { RemoveButtons(); }

void CKLVTabManagerItem::RemoveButtons() {
    for (CKLVTabManagerNavigateButton* pButton : m_arrButtons) delete pButton;
    m_arrButtons.clear();
}

void CKLVTabManagerItem::SetRect(const CRect& rect) {
    m_rcItem = rect;
    for (CKLVTabManagerNavigateButton* pButton : m_arrButtons) pButton->SetRect(CRect());
}

CString CKLVTabManagerItem::GetCaption() const { return m_pTabManager ? m_pTabManager->GetItemCaption(this) : m_strCaption; }

void CKLVTabManagerItem::SetCaption(LPCTSTR lpszCaption) {
    if (m_strCaption == CString(lpszCaption)) return;
    m_strCaption = lpszCaption;
    if (m_pTabManager) m_pTabManager->Reposition();
}

COLORREF CKLVTabManagerItem::GetColor() const {
    return m_pTabManager ? m_pTabManager->GetItemColor(this) : CKLVTabPainter::GetPresetItemColor(m_clrItem);
}

void CKLVTabManagerItem::SetColor(COLORREF clr) {
    m_clrItem = clr;
    if (m_pTabManager) m_pTabManager->RedrawControl(&m_rcItem, FALSE);
}

void CKLVTabManagerItem::Select() {
    if (m_pTabManager) m_pTabManager->SelectItem(this);
}

void CKLVTabManagerItem::Remove() {
    if (m_pTabManager) m_pTabManager->DeleteItem(m_nIndex);
}

void CKLVTabManagerItem::SetVisible(BOOL bVisible) {
    if (m_bVisible == bVisible) return;
    m_bVisible = bVisible;
    if (m_pTabManager) m_pTabManager->Reposition();
}

void CKLVTabManagerItem::SetEnabled(BOOL bEnabled) {
    if (m_bEnabled == bEnabled) return;
    m_bEnabled = bEnabled;
    if (m_pTabManager) m_pTabManager->Reposition();
}

BOOL CKLVTabManagerItem::IsSelected() const { return m_pTabManager && m_pTabManager->GetSelectedItem() == this; }
BOOL CKLVTabManagerItem::IsHot() const { return m_pTabManager && m_pTabManager->GetHotItem() == this; }
BOOL CKLVTabManagerItem::IsPressed() const { return m_pTabManager && m_pTabManager->GetPressedItem() == this; }
