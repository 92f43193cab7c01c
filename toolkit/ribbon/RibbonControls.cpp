#include "toolkit/ribbon/RibbonControls.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/common/FlagScope.h"
#include "toolkit/common/PropExchange.h"

#include <vector>
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonCaptionControls.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupControlPopup.h"

IMPLEMENT_DYNCREATE(CKLVRibbonControls, CKLVControls)
IMPLEMENT_DYNCREATE(CKLVRibbonQuickAccessControls, CKLVControls)

CKLVRibbonBar* CKLVRibbonControls::GetRibbonBar() const { return DYNAMIC_DOWNCAST(CKLVRibbonBar, m_pParent); }

BOOL CKLVRibbonControls::IsKeepOnRemoveAll(CKLVControl* pControl) const {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    if (!pRibbon) return FALSE;
    if (m_bKeepAllButLoose && !IsSavedWithBar(pControl)) return TRUE;
    const CKLVRibbonGroup* pGroup = CKLVRibbonGroup::Of(pControl);
    if (pGroup && pControl == pGroup->GetControlPopup()) return TRUE;
    return pControl == pRibbon->GetControlTab() || pControl == pRibbon->GetCustomizePopup() ||
           pControl == pRibbon->GetMorePopup() || pRibbon->GetScroller()->IsScrollButton(pControl) ||
           pControl->IsKindOf(RUNTIME_CLASS(CKLVRibbonControlCaptionButton));
}

void CKLVRibbonControls::RemovePart(CKLVControl* pControl) {
    if (!pControl || pControl->m_pControls != this) return;
    if (m_pParent && m_pParent->m_nSelected == pControl->GetIndex()) m_pParent->SetSelected(-1);
    RemoveEntry(pControl);
}

void CKLVRibbonControls::OnControlRemoved(CKLVControl* pControl) {
    if (CKLVRibbonBar* pRibbon = GetRibbonBar()) {
        // The control names its group: no walk over tabs that may be going themselves.
        if (CKLVRibbonGroup* pGroup = CKLVRibbonGroup::Of(pControl)) pGroup->DetachControl(pControl);
        if (pRibbon->GetSystemButton() == pControl) pRibbon->SetSystemButton(nullptr);
        CKLVRibbonQuickAccessControls* pQuickAccess = pRibbon->GetQuickAccessControls();
        if (pQuickAccess && pQuickAccess->Contains(pControl)) pQuickAccess->Remove(pControl);
    }
    CKLVControls::OnControlRemoved(pControl);
}

BOOL CKLVRibbonControls::IsSavedWithBar(CKLVControl* pControl) const {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    if (!pRibbon || pControl->IsTemporary()) return FALSE;
    return !pRibbon->FindGroupOf(pControl) && !pRibbon->GetQuickAccessControls()->Contains(pControl);
}

void CKLVRibbonControls::DoPropExchange(CKLVPropExchange* pPX) {
    if (pPX->IsLoading()) {
        CKLVFlagScope keep(m_bKeepAllButLoose);
        CKLVControls::DoPropExchange(pPX);
        return;
    }
    // Controls that are not the bar's to save are skipped as temporary ones for the store.
    std::vector<CKLVControl*> skipped;
    for (int i = 0; i < GetCount(); ++i) {
        CKLVControl* pControl = GetAt(i);
        if (pControl->IsTemporary() || IsSavedWithBar(pControl)) continue;
        pControl->m_bTemporary = TRUE;
        skipped.push_back(pControl);
    }
    struct CRestore {
        std::vector<CKLVControl*>& controls;
        ~CRestore() {
            for (CKLVControl* pControl : controls) pControl->m_bTemporary = FALSE;
        }
    } restore{skipped};
    CKLVControls::DoPropExchange(pPX);
}

CKLVRibbonBar* CKLVRibbonQuickAccessControls::GetRibbonBar() const {
    return DYNAMIC_DOWNCAST(CKLVRibbonBar, m_pParent);
}

BOOL CKLVRibbonQuickAccessControls::Contains(const CKLVControl* pControl) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetAt(i) == pControl) return TRUE;
    return FALSE;
}

void CKLVRibbonQuickAccessControls::Remove(CKLVControl* pControl) {
    // A control here belongs to the ribbon's collection, which the base's owner check refuses.
    RemoveEntry(pControl);
}

int CKLVRibbonQuickAccessControls::RibbonIndexOf(CKLVControl* pControl) const {
    int nIndex = 0;
    for (int i = 0; i < GetCount() && GetAt(i) != pControl; ++i) ++nIndex;
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    return pRibbon && pRibbon->GetSystemButton() ? nIndex + 1 : nIndex;
}

void CKLVRibbonQuickAccessControls::OnControlAdded(CKLVControl* pControl) {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    if (!pRibbon) return;
    pControl->InternalAddRef();
    pRibbon->GetControls()->InsertAt(pControl, RibbonIndexOf(pControl));
    pRibbon->m_bCommandStatePending = TRUE;
    pRibbon->DelayLayout();
}

void CKLVRibbonQuickAccessControls::OnControlRemoved(CKLVControl* pControl) {
    CKLVRibbonBar* pRibbon = GetRibbonBar();
    if (!pRibbon) {
        CKLVControls::OnControlRemoved(pControl);
        return;
    }
    // The ribbon's collection releases its own reference; this one is released by the caller.
    pRibbon->GetControls()->Remove(pControl);
    pRibbon->DelayLayout();
}

void CKLVRibbonQuickAccessControls::RefreshIndexes() {
    if (m_pParent) m_pParent->DelayLayout();
}

CKLVControl* CKLVRibbonQuickAccessControls::FindDuplicate(CKLVControl* pControl) const {
    for (int i = 0; i < GetCount(); ++i) {
        CKLVControl* pOther = GetAt(i);
        if (pOther != pControl && pOther->IsVisible(CKLVControl::hideWrap) && pOther->GetId() == pControl->GetId() &&
            pOther->GetType() == pControl->GetType())
            return pOther;
    }
    return nullptr;
}
