#include "toolkit/commandbars/controlbase/ControlPopup.h"

#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

#include <set>
#include <utility>

KLV_IMPLEMENT_SERIAL(CKLVControlPopup, CKLVControlButton)

namespace {

const UINT_PTR kHoverTimer = 112223;

// Pairs of bars being compared; a pair met again inside its own comparison is a cycle and counts
// as equal there.
std::set<std::pair<CKLVCommandBar*, CKLVCommandBar*>>& BarsInComparison() {
    static std::set<std::pair<CKLVCommandBar*, CKLVCommandBar*>> s_pairs;
    return s_pairs;
}

BOOL IsRelated(CKLVControlPopup* pFrom, CKLVControlPopup* pTo, std::set<CKLVCommandBar*>& visited) {
    CKLVCommandBar* pBar = pFrom->GetCommandBar();
    if (!pBar) return FALSE;
    if (pTo->GetCommandBar() == pBar) return TRUE;
    if (!visited.insert(pBar).second) return FALSE;
    CKLVControls* pControls = CKLVControlHost::Of(pBar)->GetControls();
    for (int i = 0; i < pControls->GetCount(); ++i) {
        auto* pChild = DYNAMIC_DOWNCAST(CKLVControlPopup, pControls->GetAt(i));
        if (pChild && (IsRelated(pChild, pTo, visited) || IsRelated(pTo, pChild, visited))) return TRUE;
    }
    return FALSE;
}

}  // namespace

BOOL CKLVControlPopup::IsOnPopupBar() const {
    return m_pParent && ParentHost()->GetType() == CKLVControlHost::barTypePopup;
}

BOOL CKLVControlPopup::IsOnDropDownPart(CPoint pt) const {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (IsOnPopupBar()) return pt.x + pPaintManager->m_nSplitButtonPopupWidth >= m_rcControl.right;
    return !pPaintManager->GetSplitButtonCommandRect(const_cast<CKLVControlPopup*>(this)).PtInRect(pt);
}

void CKLVControlPopup::SetCommandBar(CKLVCommandBar* pBar) {
    if (pBar) CKLVControlHost::Of(pBar)->AsWnd()->InternalAddRef();
    if (m_pCommandBar) BarHost()->AsWnd()->InternalRelease();
    m_pCommandBar = pBar;
}

BOOL CKLVControlPopup::IsAncestorOf(CKLVControlPopup* pPopup) {
    std::set<CKLVCommandBar*> visited;
    return IsRelated(this, pPopup, visited);
}

BOOL CKLVControlPopup::IsEqual(CKLVControl* pOther) {
    auto* pPopup = DYNAMIC_DOWNCAST(CKLVControlPopup, pOther);
    if (!pPopup || !CKLVControl::IsEqual(pOther)) return FALSE;
    if (!m_pCommandBar || !pPopup->m_pCommandBar) return TRUE;
    const auto key = std::make_pair(m_pCommandBar, pPopup->m_pCommandBar);
    auto& pairs = BarsInComparison();
    if (!pairs.insert(key).second) return TRUE;
    const BOOL bEqual = BarHost()->GetControls()->IsEqualTo(pPopup->BarHost()->GetControls());
    pairs.erase(key);
    return bEqual;
}

void CKLVControlPopup::OnKeyboardActivate() {
    if (!m_pCommandBar || !m_pParent) {
        CKLVControlButton::OnKeyboardActivate();
        return;
    }
    ParentHost()->SetPopuped(m_nIndex, TRUE);
}

void CKLVControlPopup::Copy(CKLVControl* pControl, BOOL bRecursive) {
    CKLVControlButton::Copy(pControl, bRecursive);
    auto* pSource = DYNAMIC_DOWNCAST(CKLVControlPopup, pControl);
    CKLVCommandBar* pBar = pSource ? pSource->m_pCommandBar : nullptr;
    if (!pBar || !bRecursive) {
        SetCommandBar(pBar);
        return;
    }
    CKLVCommandBar* pClone = CKLVControlHost::Of(pBar)->Clone(TRUE);
    SetCommandBar(pClone);
    CKLVControlHost::Of(pClone)->AsWnd()->InternalRelease();
}

BOOL CKLVControlPopup::OnSetPopup(BOOL bPopup) {
    if (!m_pCommandBar || !m_pParent || !GetParentHwnd()) return FALSE;
    if (m_nType == typeSplitButtonPopup && GetEnabled() == enabledDropDownDisabled) return FALSE;
    m_bPopuped = bPopup;
    if (!bPopup) {
        BarHost()->SetTrackingMode(FALSE, TRUE);
        RedrawParent(TRUE);
        return TRUE;
    }
    RedrawParent(FALSE);
    ParentHost()->AsWnd()->UpdateWindow();
    if (!BarHost()->OpenFor(this, m_nSelected == 2 || m_nSelected == 3)) {
        m_bPopuped = FALSE;
        return FALSE;
    }
    return TRUE;
}

BOOL CKLVControlPopup::IsShadowedWithItsBar() const {
    const BOOL bPopupType = m_nType == typePopup || m_nType == typeButtonPopup || m_nType == typeSplitButtonPopup;
    return bPopupType && ParentHost()->GetPosition() != CKLVControlHost::barPopup && m_bShowShadow;
}

void CKLVControlPopup::OnClick(BOOL bKeyboard, CPoint pt) {
    if (!GetEnabled() || !m_pParent) return;
    const BOOL bCustomize = IsCustomizeMode();
    CKLVCommandBarsLink* pLink = ParentHost()->GetCommandBarsLink();
    if (bCustomize && pLink) pLink->SetDragControl(this);
    if (m_bPopuped && !IsOnPopupBar()) {
        ParentHost()->SetTrackingMode(FALSE);
        if (bCustomize) OnCustomizeMouseDown(pt);
        return;
    }
    if (bCustomize && m_pCommandBar && !BarHost()->IsCustomizable()) {
        OnCustomizeMouseDown(pt);
        return;
    }
    if (m_nType == typeSplitButtonPopup && !bCustomize) {
        const int nEnabled = GetEnabled();
        if (bKeyboard) {
            if (nEnabled == enabledButtonDisabled)
                ParentHost()->SetPopuped(m_nIndex, TRUE);
            else
                OnExecute();
            return;
        }
        if (!IsOnDropDownPart(pt)) {
            if (IsOnPopupBar()) {
                if (GetParentHwnd()) ParentHost()->AsWnd()->KillTimer(kHoverTimer);
            } else if (nEnabled != enabledButtonDisabled) {
                const CRect rcCommand = GetPaintManager()->GetSplitButtonCommandRect(this);
                OnLButtonDownTracking(&rcCommand);
            }
            return;
        }
        if (nEnabled == enabledDropDownDisabled) return;
    }
    ParentHost()->SetPopuped(m_nIndex, bKeyboard);
    if (bCustomize) OnCustomizeMouseDown(pt);
}

void CKLVControlPopup::OnMouseRelease(CPoint pt) {
    if (!m_pCommandBar) {
        CKLVControlButton::OnMouseRelease(pt);
        return;
    }
    if (m_nType != typeSplitButtonPopup || !IsOnPopupBar() || !GetEnabled()) return;
    if (IsOnDropDownPart(pt) || GetEnabled() == enabledButtonDisabled) return;
    OnExecute();
}

BOOL CKLVControlPopup::OnDoubleClick(CPoint pt) {
    CKLVControlHost* pPopupBar = BarHost();
    if ((m_nType != typePopup && m_nType != typeButtonPopup) || !pPopupBar || !pPopupBar->IsPopupBar())
        return CKLVControlButton::OnDoubleClick(pt);
    if (!m_bPopuped) OnClick(FALSE, pt);
    if (!m_bPopuped) return TRUE;
    pPopupBar->RunDefaultItem();
    return TRUE;
}

void CKLVControlPopup::OnMouseMove(CPoint pt) {
    if (m_nType != typeSplitButtonPopup || !GetEnabled() || IsOnPopupBar() || !m_nSelected) return;
    const int nSelected = IsOnDropDownPart(pt) ? 4 : 3;
    if (nSelected == m_nSelected) return;
    m_nSelected = nSelected;
    RedrawParent(FALSE);
}

void CKLVControlPopup::CloseBarPopup() {
    if (GetEnabled() && m_pParent && (ParentHost()->GetTrackingMode() == 2 || IsOnPopupBar()))
        ParentHost()->SetPopuped(m_nIndex);
    else
        CKLVControlButton::CloseBarPopup();
}

BOOL CKLVControlPopup::SetSelected(int bSelected) {
    if (!CKLVControlButton::SetSelected(bSelected)) return FALSE;
    if (!m_pParent) return TRUE;
    const BOOL bTracking = ParentHost()->GetTrackingMode() == 2;
    if ((m_nType == typeButtonPopup || m_nType == typeSplitButtonPopup) && !IsOnPopupBar()) {
        if (GetEnabled() && (bSelected == 2 || bSelected == 3) && bTracking) ParentHost()->SetPopuped(m_nIndex, TRUE);
        return TRUE;
    }
    if (bSelected && GetEnabled() && bTracking && !IsOnPopupBar())
        ParentHost()->SetPopuped(m_nIndex);
    else if (!bSelected && m_bPopuped && !IsOnPopupBar())
        ParentHost()->SetPopuped(-1);
    return TRUE;
}

void CKLVControlPopup::OnCustomizeDragOver(CKLVControl* pDataObject, CPoint pt) {
    if (!m_pCommandBar || !BarHost()->IsCustomizable() || !m_pParent) {
        CKLVControlButton::OnCustomizeDragOver(pDataObject, pt);
        return;
    }
    auto* pDragged = DYNAMIC_DOWNCAST(CKLVControlPopup, pDataObject);
    if (pDragged && (pDragged == this || pDragged->IsAncestorOf(this))) {
        ParentHost()->SetPopuped(-1);
        ParentHost()->SetSelected(-1);
    } else {
        ParentHost()->SetPopuped(m_nIndex);
    }
}

void CKLVControlPopup::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVControl::DoPropExchange(pPX);
    long nBarId = m_pCommandBar ? static_cast<long>(BarHost()->GetBarID()) : 0;
    PX_Long(pPX, "CommandBarId", nBarId, 0);
    if (pPX->IsLoading()) m_nCommandBarId = static_cast<UINT>(nBarId);
    const UINT nSchema = pPX->GetSchema();
    if (nSchema > 4 && nSchema < 18) PX_Long(pPX, "Style", m_nStyle, styleAutomatic);
}
