#include "toolkit/ribbon/RibbonGroupControlPopup.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"
#include "toolkit/ribbon/RibbonKeyTips.h"
#include "toolkit/ribbon/RibbonTab.h"

KLV_IMPLEMENT_SERIAL(CKLVRibbonGroupControlPopup, CKLVControlPopup)
IMPLEMENT_DYNCREATE(CKLVRibbonGroupPopupToolBar, CKLVPopupToolBar)

CKLVRibbonGroupControlPopup::CKLVRibbonGroupControlPopup() {
    m_nType = typeButtonPopup;
    m_dwFlags = groupPopupFlags;
}

CKLVRibbonGroupControlPopup::~CKLVRibbonGroupControlPopup() { CloseOpenBar(); }

void CKLVRibbonGroupControlPopup::CloseOpenBar() {
    CKLVCommandBar* pBar = m_pCommandBar;
    m_bPopuped = FALSE;
    if (pBar && pBar->GetTrackingMode()) pBar->SetTrackingMode(FALSE);
}

void CKLVRibbonGroupControlPopup::OnGroupFreed() {
    CloseOpenBar();
    m_pGroup = nullptr;
}

void CKLVRibbonGroupControlPopup::Copy(CKLVControl* pControl, BOOL bRecursive) {
    CKLVControlPopup::Copy(pControl, bRecursive);
    SetCommandBar(nullptr);
}

CSize CKLVRibbonGroupControlPopup::GetSize(CDC* pDC) {
    if (auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager()))
        return pTheme->DrawRibbonGroupPopupButton(pDC, this, FALSE);
    return CKLVControlPopup::GetSize(pDC);
}

void CKLVRibbonGroupControlPopup::Draw(CDC* pDC) {
    if (auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager()))
        pTheme->DrawRibbonGroupPopupButton(pDC, this, TRUE);
    else
        CKLVControlPopup::Draw(pDC);
}

CKLVRibbonBar* CKLVRibbonGroupControlPopup::FindRibbonBar() const {
    if (auto* pRibbon = DYNAMIC_DOWNCAST(CKLVRibbonBar, m_pParent)) return pRibbon;
    CKLVCommandBars* pCommandBars = m_pParent ? m_pParent->GetCommandBars() : nullptr;
    for (int i = 0; pCommandBars && i < pCommandBars->GetCount(); ++i)
        if (auto* pRibbon = DYNAMIC_DOWNCAST(CKLVRibbonBar, pCommandBars->GetAt(i))) return pRibbon;
    return nullptr;
}

CKLVRibbonGroup* CKLVRibbonGroupControlPopup::GetGroup() const {
    if (m_pGroup) return m_pGroup;
    CKLVRibbonBar* pRibbon = m_nId > 0 ? FindRibbonBar() : nullptr;
    if (!pRibbon) return nullptr;
    return pRibbon->FindGroup([this](CKLVRibbonGroup* pGroup) { return pGroup->m_nId == m_nId ? TRUE : FALSE; });
}

CKLVPopupToolBar* CKLVRibbonGroupControlPopup::CreateGroupPopupBar() const {
    CKLVRibbonGroup* pGroup = GetGroup();
    CKLVPopupToolBar* pBar = nullptr;
    if (pGroup) {
        auto* pGroupBar = new CKLVRibbonGroupPopupToolBar;
        pGroupBar->m_pCommandBars = m_pParent->GetCommandBars();
        pGroupBar->m_pLink = m_pParent->GetCommandBarsLink();
        pGroupBar->Attach(FindRibbonBar(), pGroup);
        pBar = pGroupBar;
    } else {
        pBar = new CKLVPopupToolBar;
        pBar->m_pCommandBars = m_pParent->GetCommandBars();
        pBar->m_pLink = m_pParent->GetCommandBarsLink();
    }
    return pBar;
}

BOOL CKLVRibbonGroupControlPopup::OnSetPopup(BOOL bPopup) {
    if (!bPopup) return CKLVControlPopup::OnSetPopup(FALSE);
    if (!m_pParent) return FALSE;
    CloseOpenBar();
    if (CKLVRibbonGroupScroller* pScroller = CKLVRibbonGroupScroller::Of(m_pParent)) pScroller->ScrollIntoView(this);
    CKLVPopupToolBar* pBar = CreateGroupPopupBar();
    SetCommandBar(pBar);
    pBar->InternalRelease();
    return CKLVControlPopup::OnSetPopup(TRUE);
}

void CKLVRibbonGroupControlPopup::OnKeyboardActivate() {
    if (m_pParent) m_pParent->SetPopuped(m_nIndex, TRUE);
}

CKLVRibbonGroupPopupToolBar::CKLVRibbonGroupPopupToolBar() = default;

CKLVRibbonGroupPopupToolBar::~CKLVRibbonGroupPopupToolBar() {
    // The copy goes before the bar's collection, whose clones it lists.
    m_groups.RemoveAll();
}

void CKLVRibbonGroupPopupToolBar::Attach(CKLVRibbonBar* pRibbon, CKLVRibbonGroup* pSource) {
    const int nCaption = pRibbon ? pRibbon->GetGroupCaptionHeight() : CKLVRibbonGroups::defaultCaptionHeight;
    m_rcToolBarBorders = CRect(borderLeft, borderTop, borderRight, nCaption + 1);
    if (pRibbon) {
        m_szButtons = pRibbon->m_szButtons;
        m_szIcons = pRibbon->m_szIcons;
        m_groups.SetMetrics(pRibbon->GetGroupsHeight(), nCaption);
    }
    m_groups.RemoveAll();
    auto* pGroup = static_cast<CKLVRibbonGroup*>(pSource->GetRuntimeClass()->CreateObject());
    pGroup->m_pParentBar = this;
    m_groups.Insert(pGroup);
    pGroup->Copy(pSource);
}

CSize CKLVRibbonGroupPopupToolBar::CalcDynamicLayout(int, DWORD) {
    CKLVRibbonGroup* pGroup = GetGroup();
    if (!pGroup) return CSize(0, 0);
    CClientDC dc(GetSafeHwnd() ? this : nullptr);
    pGroup->OnBeforeLayout(&dc);
    const int nWidth = pGroup->CalcWidth(&dc);
    pGroup->OnAfterLayout();
    const int nHeight = m_groups.GetGroupHeight();
    pGroup->SetRect(CRect(0, 0, nWidth, nHeight));
    return CSize(m_rcToolBarBorders.left + m_rcToolBarBorders.right + nWidth, nHeight);
}

void CKLVRibbonGroupPopupToolBar::DrawCommandBar(CDC* pDC, CRect rcClipBox) {
    CKLVRibbonGroup* pGroup = GetGroup();
    auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager());
    if (pTheme && pGroup)
        pTheme->FillRibbonGroupPopup(pDC, pGroup, this);
    else
        FillCommandBarEntry(pDC);
    if (!pGroup) return;
    pGroup->Draw(pDC, rcClipBox);
    pGroup->DrawControls(pDC, rcClipBox);
}

void CKLVRibbonGroupPopupToolBar::CreateKeyboardTips() {
    CKLVRibbonGroup* pGroup = GetGroup();
    if (!pGroup || !GetSafeHwnd()) return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CKLVRibbonKeyTips(GetCommandBars()).CreateForGroup(pGroup, rcClient);
}
