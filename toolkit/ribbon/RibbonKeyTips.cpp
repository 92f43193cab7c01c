#include "toolkit/ribbon/RibbonKeyTips.h"

#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"
#include "toolkit/ribbon/RibbonTab.h"

#include <memory>

namespace {

using Align = CKLVCommandBarKeyboardTip::Align;

CPoint BottomCentre(const CRect& rc, int nRise) { return CPoint(rc.left + rc.Width() / 2, rc.bottom - nRise); }

// Scrolled out of the area, a control shows no tip.
BOOL LiesWithin(const CRect& rc, const CRect& rcArea) {
    return rc.left >= rcArea.left && rc.right <= rcArea.right && rc.top >= rcArea.top && rc.bottom <= rcArea.bottom;
}

}  // namespace

CKLVRibbonKeyTips::CKLVRibbonKeyTips(CKLVCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

CString CKLVRibbonKeyTips::QuickAccessKey(int nPosition) {
    CString strKey;
    if (nPosition >= 1 && nPosition <= 9)
        strKey.Format("%i", nPosition);
    else if (nPosition > 9 && nPosition <= numberedQuickAccess)
        strKey.Format("0%i", nPosition - 9);
    return strKey;
}

int CKLVRibbonKeyTips::RowOf(int y, const CRect& rcArea) {
    const int nOffset = y - rcArea.top, nHeight = rcArea.Height();
    if (nOffset * groupRows < nHeight) return 0;
    return nOffset * groupRows <= 2 * nHeight ? 1 : 2;
}

CKLVRibbonKeyTips::Anchor CKLVRibbonKeyTips::PlaceInGroup(const CRect& rcControl, const CRect& rcArea, BOOL bLarge,
                                                          BOOL bGallery) {
    if (bLarge) return {BottomCentre(rcControl, 0), Align::alignCenterHorz | Align::alignCenterVert};
    const int nRow = RowOf(bGallery ? rcControl.top : rcControl.top + rcControl.Height() / 2, rcArea);
    // The rows' lines run through the middles of the area's thirds.
    const int y = rcArea.top + rcArea.Height() * (2 * nRow + 1) / (2 * groupRows);
    return {CPoint(rcControl.left, y), Align::alignCenterVert};
}

void CKLVRibbonKeyTips::CreateForRibbon(CKLVRibbonBar* pRibbon, int nLevel) {
    if (nLevel < levelGroups)
        CreateTopLevel(pRibbon);
    else if (CKLVRibbonTab* pTab = pRibbon->GetSelectedTab())
        CreateForGroups(pTab, pRibbon->m_rcGroupArea);
}

void CKLVRibbonKeyTips::Add(CObject* pLabelled, const CString& strLabel, const CString& strKey, Anchor anchor,
                            BOOL bEnabled) {
    if (!m_pCommandBars) return;
    auto pTip = std::make_unique<CKLVCommandBarKeyboardTip>(m_pCommandBars, pLabelled, strLabel, anchor.pt.x,
                                                            anchor.pt.y, anchor.dwAlign, bEnabled);
    pTip->m_strCaption = strKey;
    m_pCommandBars->AddKeyboardTip(std::move(pTip));
}

CString CKLVRibbonKeyTips::PresetKeyOf(CKLVControl* pControl) {
    CKLVControlAction* pAction = pControl->GetAction();
    return pAction ? pAction->GetKeyboardTip() : CString();
}

void CKLVRibbonKeyTips::CreateTopLevel(CKLVRibbonBar* pRibbon) {
    CKLVRibbonQuickAccessControls* pQuickAccess = pRibbon->GetQuickAccessControls();
    int nPosition = 0;
    for (int i = 0; i < pQuickAccess->GetCount(); ++i) {
        CKLVControl* pControl = pQuickAccess->GetAt(i);
        if (!pControl->IsVisible()) continue;
        const CString strKey = QuickAccessKey(++nPosition);
        if (strKey.IsEmpty()) break;
        Add(pControl, pControl->GetCaption(), strKey,
            {BottomCentre(pControl->GetRect(), quickAccessTipRise), Align::alignCenterHorz}, pControl->GetEnabled());
    }
    pRibbon->ForEachTab([this](CKLVRibbonTab* pTab) {
        BOOL bAmpersand = FALSE;
        const CString strCaption = pTab->GetCaption();
        if (!pTab->IsVisible() || !pTab->IsEnabled() || strCaption.IsEmpty()) return;
        CKLVCommandBar::MnemonicOf(strCaption, bAmpersand);
        if (!bAmpersand) return;
        Add(pTab, strCaption, CString(), {BottomCentre(pTab->GetRect(), tabTipRise), Align::alignCenterHorz}, TRUE);
    });
    CKLVControl* pSystem = pRibbon->GetSystemButton();
    if (pSystem && pSystem->IsVisible())
        Add(pSystem, pSystem->GetCaption(), PresetKeyOf(pSystem),
            {pSystem->GetRect().CenterPoint(), Align::alignCenterHorz | Align::alignCenterVert}, pSystem->GetEnabled());
}

void CKLVRibbonKeyTips::CreateForGroups(CKLVRibbonTab* pTab, const CRect& rcArea) {
    CKLVRibbonGroups* pGroups = pTab->GetGroups();
    for (int i = 0; i < pGroups->GetCount(); ++i)
        if (pGroups->GetAt(i)->IsVisible()) CreateForGroup(pGroups->GetAt(i), rcArea);
}

void CKLVRibbonKeyTips::CreateForGroup(CKLVRibbonGroup* pGroup, const CRect& rcArea) {
    const CRect rcGroup = pGroup->GetRect();
    const int nCaption = pGroup->GetGroups() ? pGroup->GetGroups()->GetCaptionHeight() : 0;
    const CRect rcControls(rcGroup.left, rcGroup.top, rcGroup.right, rcGroup.bottom - nCaption);
    const BOOL bLarge = pGroup->GetSize() == CKLVRibbonGroup::sizeLarge;
    for (int i = 0; i < pGroup->GetControlCount(); ++i)
        AddGroupControl(pGroup->GetControlAt(i), rcArea, rcControls, bLarge);
    // Shown only while the group is collapsed, when the controls are hidden.
    if (CKLVControl* pButton = pGroup->GetControlPopup()) AddGroupControl(pButton, rcArea, rcControls, TRUE);
}

void CKLVRibbonKeyTips::AddGroupControl(CKLVControl* pControl, const CRect& rcArea, const CRect& rcControls,
                                        BOOL bLarge) {
    const CString strKey = PresetKeyOf(pControl);
    if (pControl->GetCaption().IsEmpty() && strKey.IsEmpty()) return;
    if (!pControl->IsVisible() || (pControl->GetHideFlags() & CKLVControl::hideWrap)) return;
    const CRect rc = pControl->GetRect();
    if (!LiesWithin(rc, rcArea)) return;
    const BOOL bGallery = pControl->GetType() == CKLVControl::typeGallery;
    Add(pControl, pControl->GetCaption(), strKey, PlaceInGroup(rc, rcControls, bLarge && !bGallery, bGallery),
        pControl->GetEnabled());
}
