#include "toolkit/ribbon/RibbonControlTab.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonTab.h"
#include "toolkit/ribbon/RibbonTabPopupToolBar.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/tabs/TabPainter.h"

IMPLEMENT_DYNCREATE(CKLVRibbonControlTab, CKLVControl)

namespace {

void ReleasePainter(CKLVTabPainter* pPainter) { pPainter->InternalRelease(); }

}  // namespace

CKLVRibbonControlTab::CKLVRibbonControlTab() : m_pTabPainter(new CKLVTabPainter, &ReleasePainter) {
    m_nType = typeCustom;
    m_dwFlags = flagNoMovable;
    m_pTabPainter->AddObserver(this);
}

CKLVRibbonControlTab::~CKLVRibbonControlTab() {
    ClosePopupBar();
    DeleteAllItems();
    m_pTabPainter->RemoveObserver(this);
}

CKLVTabPainter* CKLVRibbonControlTab::GetPaintManager() const {
    auto* pTheme = m_pParent ? dynamic_cast<CKLVPaintManagerTheme6*>(m_pParent->GetPaintManager()) : nullptr;
    return pTheme && pTheme->m_pRibbonTabPainter ? pTheme->m_pRibbonTabPainter.get() : m_pTabPainter.get();
}

CKLVRibbonBar* CKLVRibbonControlTab::GetRibbonBar() const { return DYNAMIC_DOWNCAST(CKLVRibbonBar, m_pParent); }

CKLVRibbonTab* CKLVRibbonControlTab::GetTab(int nIndex) const { return static_cast<CKLVRibbonTab*>(GetItem(nIndex)); }

CKLVRibbonTab* CKLVRibbonControlTab::GetSelectedTab() const { return static_cast<CKLVRibbonTab*>(GetSelectedItem()); }

CKLVRibbonTab* CKLVRibbonControlTab::InsertTab(int nIndex, LPCTSTR lpszCaption, int nId) {
    auto* pTab = new CKLVRibbonTab;
    pTab->SetRibbonBar(GetRibbonBar());
    pTab->m_nId = nId;
    pTab->m_strCaption = lpszCaption;
    InsertItem(nIndex, pTab);
    return pTab;
}

void CKLVRibbonControlTab::Reposition() {
    if (m_pParent) m_pParent->DelayLayout();
}

CString CKLVRibbonControlTab::GetItemTooltip(const CKLVTabManagerItem* pItem) const {
    return pItem->m_strToolTip.IsEmpty() ? pItem->GetCaption() : pItem->m_strToolTip;
}

void CKLVRibbonControlTab::SetSelectedItem(CKLVTabManagerItem* pItem) {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    auto* pTab = static_cast<CKLVRibbonTab*>(pItem);
    CKLVCommandBarsLink* pLink = pRibbon ? pRibbon->GetCommandBarsLink() : nullptr;
    if (!m_bFocused && pTab && pRibbon && !pRibbon->IsMinimized() && pLink) pLink->ClosePopups();
    if (GetSelectedItem() == pItem) return;
    // The tips of the old tab's groups would label controls that go.
    if (pLink && pLink->IsKeyboardTipsShown(pRibbon) && pLink->GetKeyboardTipsLevel() > 1) pLink->HideKeyboardTips();
    NMKLVRIBBONTAB nm = {};
    nm.pTab = pTab;
    if (NotifySiteEx(static_cast<UINT>(codeTabChanging), &nm.hdr)) return;
    if (pRibbon) {
        pRibbon->LockRedraw();
        pRibbon->ShowGroupControlsOf(pTab);
    }
    CKLVTabManager::SetSelectedItem(pItem);
    if (pRibbon) {
        pRibbon->OnIdleUpdate();
        pRibbon->UnlockRedraw();
        if (pRibbon->m_nIdleFlags & CKLVCommandBar::delayRedraw) pRibbon->Redraw();
    }
    nm = {};
    nm.pTab = pTab;
    NotifySiteEx(static_cast<UINT>(codeTabChanged), &nm.hdr);
    if (pRibbon && pRibbon->IsMinimized() && pTab) OnSetPopup(TRUE);
    NotifySite(notifyExecute);
    if (pTab && m_pParent && m_pParent->GetSafeHwnd())
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_pParent->GetSafeHwnd(), OBJID_CLIENT, pTab->GetIndex() + 1);
}

void CKLVRibbonControlTab::RedrawControl(const RECT*, BOOL) {
    if (m_pParent) m_pParent->Redraw();
}

BOOL CKLVRibbonControlTab::DrawIcon(CDC* pDC, CPoint pt, CKLVTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) {
    // The row height is measured with no tab.
    if (!pItem || pItem->m_nImage <= 0) return FALSE;
    CKLVImageManagerIcon* pIcon = GetImageManager()->GetImage(static_cast<UINT>(pItem->m_nImage), szIcon.cx);
    if (!pIcon) return FALSE;
    if (bDraw) pItem->DrawImage(pDC, CRect(pt, szIcon), pIcon);
    return TRUE;
}

BOOL CKLVRibbonControlTab::IsMouseLocked() const { return !KLVMouseHook()->GetTrackedPopups().empty(); }

BOOL CKLVRibbonControlTab::IsFocused() const { return m_bFocused && m_pParent && m_pParent->GetTrackingMode(); }

void CKLVRibbonControlTab::SetFocused(BOOL bFocused) {
    m_bFocused = bFocused;
    if (bFocused && !GetSelectedItem()) SetSelectedItem(FindNextFocusable(-1, +1));
    RedrawParent(FALSE);
}

void CKLVRibbonControlTab::OnClick(BOOL bKeyboard, CPoint pt) {
    if (bKeyboard || !m_pParent) return;
    if (PerformClick(m_pParent->GetSafeHwnd(), pt, TRUE)) return;
    OnItemClick(HitTest(pt));
}

BOOL CKLVRibbonControlTab::OnHookKeyDown(UINT nChar, LPARAM) {
    if (m_pParent && m_pParent->IsLayoutRTL()) {
        if (nChar == VK_LEFT) nChar = VK_RIGHT;
        else if (nChar == VK_RIGHT) nChar = VK_LEFT;
    }
    if (!m_bFocused) return FALSE;
    if (nChar == VK_LEFT || nChar == VK_RIGHT) {
        CKLVTabManagerItem* pBefore = GetSelectedItem();
        CKLVTabManager::PerformKeyDown(nullptr, nChar);
        return GetSelectedItem() != pBefore;
    }
    if (nChar != VK_UP && nChar != VK_DOWN) return FALSE;
    CKLVControls* pControls = m_pParent ? m_pParent->GetControls() : nullptr;
    if (pControls) {
        // Up starts over from the first control, down goes on from the tab row into the groups.
        const int nNext = pControls->GetNext(nChar == VK_UP ? -1 : m_nIndex, +1, TRUE);
        if (nNext >= 0 && nNext != m_nIndex) m_pParent->SetSelected(nNext, TRUE);
    }
    return TRUE;
}

BOOL CKLVRibbonControlTab::OnSetPopup(BOOL bPopup) {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    if (!bPopup) {
        ClosePopupBar();
        m_bPopuped = FALSE;
        if (pRibbon && pRibbon->IsMinimized()) CKLVTabManager::SetSelectedItem(nullptr);
        return TRUE;
    }
    if (!pRibbon || !pRibbon->IsMinimized() || !GetSelectedTab()) {
        m_bPopuped = FALSE;
        return FALSE;
    }
    ClosePopupBar();
    auto* pPopup = new CKLVRibbonTabPopupToolBar;
    pPopup->Attach(pRibbon, GetSelectedTab());
    m_pPopupBar = pPopup;
    m_bPopuped = TRUE;
    if (pRibbon->GetSafeHwnd()) {
        CRect rcTab = GetSelectedTab()->GetRect();
        pRibbon->ClientToScreen(&rcTab);
        pPopup->PopupBelow(rcTab);
    }
    return TRUE;
}

void CKLVRibbonControlTab::ClosePopupBar() {
    CKLVCommandBar* pPopup = m_pPopupBar;
    if (!pPopup) return;
    m_pPopupBar = nullptr;
    CKLVHeldReference hold(pPopup);
    pPopup->InternalRelease();
    pPopup->SetTrackingMode(0);
}

void CKLVRibbonControlTab::SetRect(CRect rc) {
    CKLVControl::SetRect(rc);
}

void CKLVRibbonControlTab::Draw(CDC* pDC) {
    const CRect rc = CKLVControl::m_rcControl;
    if (!rc.IsRectEmpty()) GetPaintManager()->DrawTabControl(this, pDC, rc);
}
