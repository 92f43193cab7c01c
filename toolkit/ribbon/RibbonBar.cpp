#include "toolkit/ribbon/RibbonBar.h"

#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/themes/PaintManagerTheme6.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonQuickAccessPopups.h"
#include "toolkit/ribbon/RibbonScrollButton.h"
#include "toolkit/ribbon/RibbonTab.h"

KLV_IMPLEMENT_SERIAL(CKLVRibbonBar, CKLVMenuBar)

namespace {

// Puts a part the ribbon makes for itself into its collection.
// Its parts are neither saved nor copied with the bar's controls.
template <class TControl>
TControl* AddPart(CKLVControls* pControls, TControl* pControl, int nId) {
    pControl->m_nId = nId;
    pControl->m_bTemporary = TRUE;
    pControls->Append(pControl);
    return pControl;
}

}  // namespace

CKLVRibbonBar::CKLVRibbonBar() {
    SetControls(new CKLVRibbonControls(this));
    m_barType = barTypeRibbon;
    m_nFlags = ribbonBarFlags;
    m_dwStyle = 0;
    m_bCustomizable = FALSE;
    m_pQuickAccessControls = new CKLVRibbonQuickAccessControls(this);
    m_pControlTab = AddPart(m_pControls, new CKLVRibbonControlTab, CKLVRibbonControlTab::idTabControl);
    m_pCustomizePopup = AddPart(m_pControls, new CKLVRibbonBarControlQuickAccessPopup, idCustomizeQuickAccess);
    m_pCustomizePopup->SetPromptFromResource(idCustomizeQuickAccess);
    m_pMorePopup = AddPart(m_pControls, new CKLVRibbonControlQuickAccessMore, idMoreControls);
    m_pMorePopup->SetPromptFromResource(idMoreControls);
    m_pMorePopup->SetHideFlag(CKLVControl::hideWrap, TRUE);
    auto* pLeft = AddPart(m_pControls, new CKLVRibbonScrollButton(FALSE), 0);
    auto* pRight = AddPart(m_pControls, new CKLVRibbonScrollButton(TRUE), 0);
    m_scroller.Attach(this, pLeft, pRight);
    m_scroller.ShowButtons(FALSE, FALSE);
    EnableDoubleBuffer();
    EnableAnimation();
}

CKLVRibbonBar::~CKLVRibbonBar() {
    m_pFrameIntegration.reset();
    m_pControlTab->ClosePopupBar();
    m_pControlTab->DeleteAllItems();
    m_pQuickAccessControls->RemoveAll();
    m_pQuickAccessControls->InternalRelease();
    m_contextHeaders.RemoveAll();
}

CRect CKLVRibbonBar::GetRibbonClientRect() const {
    CRect rc;
    GetClientRect(&rc);
    return rc;
}

CKLVControls* CKLVRibbonBar::GetQuickAccessControlList() const { return m_pQuickAccessControls; }

void CKLVRibbonBar::OnRemoved() {
    ReleaseFrame();
    m_pControlTab->ClosePopupBar();
    m_pQuickAccessControls->RemoveAll();
    m_pControlTab->DeleteAllItems();
    CKLVMenuBar::OnRemoved();
}

CKLVRibbonTab* CKLVRibbonBar::AddTab(LPCTSTR lpszCaption, int nId) {
    return m_pControlTab->InsertTab(-1, lpszCaption, nId);
}

CKLVRibbonTab* CKLVRibbonBar::GetSelectedTab() const { return m_pControlTab->GetSelectedTab(); }

int CKLVRibbonBar::GetRibbonTabHeight() const {
    auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager());
    return pTheme ? pTheme->m_nRibbonTabHeight : defaultTabHeight;
}

int CKLVRibbonBar::GetGroupCaptionHeight() const {
    auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager());
    return pTheme ? pTheme->m_nGroupCaptionHeight : defaultGroupCaptionHeight;
}

int CKLVRibbonBar::GetTabsHeight() const { return m_bTabRowShown ? GetRibbonTabHeight() : 2; }

int CKLVRibbonBar::GetGroupsAreaHeight() const {
    return m_bTabsVisible && GetSelectedTab() && !m_bMinimized ? GetGroupsHeight() : 0;
}

int CKLVRibbonBar::GetGroupsHeight() const {
    if (m_nGroupHeight > 0) return m_nGroupHeight;
    return 3 * GetPaintManager()->m_nControlHeight + 10 + GetGroupCaptionHeight();
}

BOOL CKLVRibbonBar::IsAllowQuickAccessControl(CKLVControl* pControl) const {
    if (!pControl) return FALSE;
    if (!m_bAllowQuickAccessDuplicates && m_pQuickAccessControls->FindDuplicate(pControl)) return FALSE;
    // A group's button finds its group by id once it is on the tool bar.
    if (pControl->IsKindOf(RUNTIME_CLASS(CKLVRibbonGroupControlPopup))) return pControl->GetId() > 0;
    return (pControl->GetFlags() & CKLVControl::flagNoMovable) == 0;
}

CKLVControl* CKLVRibbonBar::AddToQuickAccess(CKLVControl* pControl) {
    if (!IsAllowQuickAccessControl(pControl)) return nullptr;
    CKLVControl* pClone = pControl->Clone(FALSE);
    pClone->SetHideFlag(CKLVControl::hideCustomize, FALSE);
    // On the tool bar a gallery shows as its icon, everything else as the bar's default.
    pClone->SetStyle(pControl->GetType() == CKLVControl::typeGallery ? CKLVControl::styleIcon : CKLVControl::styleAutomatic);
    return m_pQuickAccessControls->Append(pClone);
}

CKLVRibbonGroup* CKLVRibbonBar::FindGroupOf(const CKLVControl* pControl) const {
    return FindGroup([pControl](CKLVRibbonGroup* pGroup) { return pGroup->HasControl(pControl); });
}

CKLVRibbonTab* CKLVRibbonBar::FindTab(const std::function<BOOL(CKLVRibbonTab*)>& fn) const {
    for (int i = 0; i < m_pControlTab->GetItemCount(); ++i)
        if (fn(m_pControlTab->GetTab(i))) return m_pControlTab->GetTab(i);
    return nullptr;
}

void CKLVRibbonBar::ForEachTab(const std::function<void(CKLVRibbonTab*)>& fn) const {
    FindTab([&fn](CKLVRibbonTab* pTab) {
        fn(pTab);
        return FALSE;
    });
}

CKLVRibbonGroup* CKLVRibbonBar::FindGroup(const std::function<BOOL(CKLVRibbonGroup*)>& fn) const {
    CKLVRibbonGroup* pFound = nullptr;
    FindTab([&](CKLVRibbonTab* pTab) {
        CKLVRibbonGroups* pGroups = pTab->GetGroups();
        for (int i = 0; i < pGroups->GetCount() && !pFound; ++i)
            if (fn(pGroups->GetAt(i))) pFound = pGroups->GetAt(i);
        return pFound != nullptr;
    });
    return pFound;
}

void CKLVRibbonBar::ForEachGroup(const std::function<void(CKLVRibbonGroup*)>& fn) const {
    FindGroup([&fn](CKLVRibbonGroup* pGroup) {
        fn(pGroup);
        return FALSE;
    });
}

void CKLVRibbonBar::ShowGroupControlsOf(CKLVRibbonTab* pTab) {
    ForEachGroup([pTab](CKLVRibbonGroup* pGroup) { pGroup->SetControlsHideFlag(hideOtherTab, pGroup->GetTab() != pTab); });
}

void CKLVRibbonBar::SetMinimized(BOOL bMinimized) {
    if (m_bMinimized == bMinimized) return;
    m_bMinimized = bMinimized;
    if (CKLVCommandBarsLink* pLink = GetCommandBarsLink()) pLink->ClosePopups();
    if (!bMinimized) {
        if (!GetSelectedTab())
            m_pControlTab->SetSelectedItem(m_pControlTab->FindNextFocusable(-1, +1));
        else
            ShowGroupControlsOf(GetSelectedTab());
    } else {
        m_pControlTab->SetSelectedItem(nullptr);
    }
    OnRecalcLayout();
}

void CKLVRibbonBar::SetQuickAccessBelow(BOOL bBelow) {
    m_bQuickAccessBelow = bBelow;
    OnRecalcLayout();
    CWnd* pFrame = m_pFrameIntegration ? m_pFrameIntegration->GetFrame() : nullptr;
    if (!pFrame) return;
    // The caption band changed height: the frame's border beside it is drawn again.
    pFrame->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    if (!IsFrameThemed()) pFrame->SendMessage(WM_NCPAINT, 1);
}

void CKLVRibbonBar::SelectNextTab(BOOL bForward) {
    CKLVRibbonTab* pSelected = GetSelectedTab();
    const int nFrom = pSelected ? pSelected->GetIndex() : (bForward ? -1 : m_pControlTab->GetItemCount());
    if (CKLVTabManagerItem* pNext = m_pControlTab->FindNextFocusable(nFrom, bForward ? +1 : -1))
        m_pControlTab->SetSelectedItem(pNext);
}

BOOL CKLVRibbonBar::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    if (!bMode) {
        m_pControlTab->m_pHighlighted = nullptr;
        m_pControlTab->m_bFocused = FALSE;
        m_pHighlightedGroup = nullptr;
    }
    return CKLVMenuBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard);
}

void CKLVRibbonBar::OnControlSelected(int bSelected, CKLVControl* pControl) {
    CKLVRibbonGroup* pGroup = bSelected && pControl ? CKLVRibbonGroup::Of(pControl) : nullptr;
    CKLVRibbonTab* pTab = pGroup ? pGroup->GetTab() : nullptr;
    if (pTab && pTab->GetRibbonBar() == this && pTab != GetSelectedTab() && !m_bMinimized) {
        m_pControlTab->SetSelectedItem(pTab);
        // The new tab's groups are placed before the control is brought into view.
        if (m_rcGroupArea.Width() > 0)
            CalcDynamicLayout(m_rcGroupArea.Width(), CKLVControls::modeHorz | CKLVControls::modeCommit);
    }
    if (pTab) m_scroller.ScrollIntoView(pControl);
    CKLVMenuBar::OnControlSelected(bSelected, pControl);
}

void CKLVRibbonBar::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVMenuBar::DoPropExchange(pPX);
    PX_Bool(pPX, "ShowQuickAccessBelow", m_bQuickAccessBelow, FALSE);
    // Older state does not know the minimised ribbon: the current state stays.
    if (pPX->GetSchema() > 18) PX_Bool(pPX, "Minimized", m_bMinimized, FALSE);
    CKLVPropExchangeSection pSection(pPX->OpenSection("QuickAccessControls"));
    m_pQuickAccessControls->DoPropExchange(pSection.get());
}

void CKLVRibbonBar::Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive) {
    // The ribbon keeps its own collection: its parts are its own, only the quick access tool
    // bar is taken over.
    m_pControls->InternalAddRef();
    CKLVControls* pOwn = m_pControls;
    CKLVMenuBar::Copy(pCommandBar, bRecursive);
    SetControls(pOwn);
    m_barType = barTypeRibbon;
    auto* pRibbon = DYNAMIC_DOWNCAST(CKLVRibbonBar, pCommandBar);
    if (!pRibbon) return;
    m_bQuickAccessBelow = pRibbon->m_bQuickAccessBelow;
    m_bMinimized = pRibbon->m_bMinimized;
    m_pQuickAccessControls->RemoveAll();
    for (int i = 0; i < pRibbon->m_pQuickAccessControls->GetCount(); ++i)
        m_pQuickAccessControls->AddClone(pRibbon->m_pQuickAccessControls->GetAt(i), -1, bRecursive);
}

void CKLVRibbonBar::RestoreCommandBarList(CKLVCommandBarList* pList) {
    CKLVMenuBar::RestoreCommandBarList(pList);
    m_pQuickAccessControls->RestoreCommandBarList(pList);
}

void CKLVRibbonBar::OnAfterLoadCommandBarsHook() {
    CKLVMenuBar::OnAfterLoadCommandBarsHook();
    m_bCommandStatePending = TRUE;
    DelayLayout();
}

CKLVCommandBar* CKLVRibbonBar::CreateQuickAccessMorePopup() {
    auto* pPopup = static_cast<CKLVPopupToolBar*>(RUNTIME_CLASS(CKLVRibbonQuickAccessMorePopupBar)->CreateObject());
    pPopup->m_pCommandBars = GetCommandBars();
    pPopup->m_pLink = GetCommandBarsLink();
    pPopup->m_rcToolBarBorders = CRect(CKLVRibbonControlQuickAccessMore::popupBorder,
                                       CKLVRibbonControlQuickAccessMore::popupBorder,
                                       CKLVRibbonControlQuickAccessMore::popupBorder,
                                       CKLVRibbonControlQuickAccessMore::popupBorder);
    pPopup->m_nMRUWidth = CKLVRibbonControlQuickAccessMore::popupWidth;
    pPopup->m_szButtons = m_szButtons;
    pPopup->m_szIcons = m_szIcons;
    for (int i = 0; i < m_pQuickAccessControls->GetCount(); ++i) {
        CKLVControl* pControl = m_pQuickAccessControls->GetAt(i);
        if (!(pControl->GetHideFlags() & CKLVControl::hideWrap)) continue;
        pPopup->GetControls()->AddClone(pControl)->SetHideFlag(CKLVControl::hideWrap, FALSE);
    }
    pPopup->GetControls()->AddClone(m_pCustomizePopup)->SetHideFlag(CKLVControl::hideWrap, FALSE);
    return pPopup;
}
