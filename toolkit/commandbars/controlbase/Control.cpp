// The control's texts, styles and visibility, its action binding, copying and comparing, and
// the selection it shares with its bar.
#include "toolkit/commandbars/controlbase/Control.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/ControlRoster.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControl, CCmdTarget)

namespace {

void CopyMap(CMap<int, int, BOOL, BOOL>& target, const CMap<int, int, BOOL, BOOL>& source) {
    target.RemoveAll();
    POSITION pos = source.GetStartPosition();
    while (pos) {
        int nKey = 0;
        BOOL bValue = FALSE;
        source.GetNextAssoc(pos, nKey, bValue);
        target[nKey] = bValue;
    }
}

}  // namespace

CKLVControl::CKLVControl() : m_mapDocTemplatesAssigned(10), m_mapDocTemplatesExcluded(10) {}

CKLVControl::~CKLVControl() {
    SetAction(nullptr);
    if (m_pRibbonRoster) m_pRibbonRoster->ForgetControl(this);
}

CString CKLVControl::GetCaption() const {
    if (!m_strCustomCaption.IsEmpty()) return m_strCustomCaption;
    if (!m_strCaption.IsEmpty()) return m_strCaption;
    return m_pAction ? m_pAction->GetCaption() : CString();
}

CString CKLVControl::GetDescription() const {
    if (!m_strDescriptionText.IsEmpty() || !m_pAction) return m_strDescriptionText;
    return m_pAction->GetDescription();
}

CString CKLVControl::GetTooltip() const {
    if (!m_strTooltipText.IsEmpty() || !m_pAction) return m_strTooltipText;
    return m_pAction->GetTooltip();
}

CKLVCommandBarFace* CKLVControl::GetBarFace() const {
    return ParentHost();
}

CString CKLVControl::GetShortcutText() const {
    if (!m_strShortcutText.IsEmpty()) return m_strShortcutText;
    if (m_pAction && !m_pAction->GetShortcutText().IsEmpty()) return m_pAction->GetShortcutText();
    return m_strShortcutTextAuto;
}

void CKLVControl::SetCaption(const CString& strCaption) {
    CString strNew = strCaption;
    const int nTab = strNew.Find('\t');
    if (nTab != -1) {
        const CString strShortcut = strNew.Mid(nTab + 1);
        strNew = strNew.Left(nTab);
        if (m_strShortcutTextAuto != strShortcut) {
            m_strShortcutTextAuto = strShortcut;
            DelayLayoutParent();
        }
    }
    if (m_strCaption != strNew) {
        m_strCaption = strNew;
        DelayLayoutParent();
    }
}

void CKLVControl::SetCaptionFromResource(UINT nID) {
    CString str;
    if (KLVResourceManager()->LoadString(&str, nID)) SetCaption(str);
}

void CKLVControl::SetPromptFromResource(UINT nID) {
    CString strPrompt;
    if (KLVResourceManager()->LoadString(&strPrompt, nID)) SetPrompt(strPrompt);
}

void CKLVControl::SetPrompt(const CString& strPrompt) {
    CString parts[3];
    int nStart = 0;
    for (int i = 0; i < 3 && nStart <= strPrompt.GetLength(); ++i) {
        const int nEnd = strPrompt.Find('\n', nStart);
        parts[i] = nEnd == -1 ? strPrompt.Mid(nStart) : strPrompt.Mid(nStart, nEnd - nStart);
        if (nEnd == -1) {
            if (i == 0) parts[1] = parts[0];
            break;
        }
        nStart = nEnd + 1;
    }
    m_strDescriptionText = parts[0];
    m_strTooltipText = parts[1];
    if (m_strCaption.IsEmpty()) SetCaption(parts[2].IsEmpty() ? parts[1] : parts[2]);
}

void CKLVControl::SetID(int nId) {
    if (nId == m_nId) return;
    CString strPrompt;
    if (nId > 0 && KLVResourceManager()->LoadString(&strPrompt, static_cast<UINT>(nId))) SetPrompt(strPrompt);
    m_nId = nId;
}

int CKLVControl::GetStyle() const {
    if (m_nCustomStyle != -1) return m_nCustomStyle;
    if (m_nStyle != styleAutomatic) return m_nStyle;
    if (m_nClassStyle != styleAutomatic) return m_nClassStyle;
    return m_pParent ? ParentHost()->GetDefaultButtonStyle() : styleAutomatic;
}

void CKLVControl::SetStyle(int nStyle) {
    if (m_nStyle == nStyle) return;
    m_nStyle = nStyle;
    DelayLayoutParent();
}

int CKLVControl::GetImageId() const {
    if (m_nCustomIconId > 0) return m_nCustomIconId;
    if (m_nIconId > 0) return m_nIconId;
    if (m_pAction) return m_pAction->GetIconId() > 0 ? m_pAction->GetIconId() : m_pAction->GetId();
    return m_nId;
}

int CKLVControl::GetEnabled() const {
    if (m_bEnabled != -1) return m_bEnabled;
    if (!m_pAction) return TRUE;
    return IsCustomizeMode() ? TRUE : m_pAction->GetEnabled();
}

int CKLVControl::GetChecked() const {
    if (m_bChecked != -1) return m_bChecked;
    return m_pAction ? m_pAction->GetChecked() : -1;
}

CKLVImageManager* CKLVControl::GetImageManager() const {
    return m_pParent ? ParentHost()->GetImageManager() : KLVImageManager();
}

CKLVImageManagerIcon* CKLVControl::GetImage(int nWidth) const {
    const int nImageId = GetImageId();
    return nImageId > 0 ? GetImageManager()->GetImage(static_cast<UINT>(nImageId), nWidth) : nullptr;
}

BOOL CKLVControl::IsVisible(DWORD dwSkipFlags) const {
    if (m_pAction && !m_pAction->IsVisible()) return FALSE;
    return (m_dwHideFlags & ~dwSkipFlags) == 0;
}

BOOL CKLVControl::IsCaptionVisible() const {
    if (m_pParent && ParentHost()->GetType() == CKLVControlHost::barTypePopup) return TRUE;
    if (GetCaption().IsEmpty()) return FALSE;
    switch (GetStyle()) {
    case styleCaption:
    case styleIconAndCaption:
    case styleCaptionBelow: return TRUE;
    case styleIcon: return FALSE;
    default: break;
    }
    switch (m_nType) {
    case typeButton:
    case typeButtonPopup:
    case typeSplitButtonPopup: return GetImage(m_pParent ? ParentHost()->GetIconSize().cx : 16) == nullptr;
    case typePopup:
    case typeLabel:
    case typeCheckBox:
    case typeRadioButton: return TRUE;
    default: return FALSE;
    }
}

void CKLVControl::SetBeginGroup(BOOL bBeginGroup) {
    if (m_bBeginGroup == bBeginGroup) return;
    m_bBeginGroup = bBeginGroup;
    DelayLayoutParent();
}

void CKLVControl::SetEnabled(int bEnabled) {
    if (m_bEnabled == bEnabled) return;
    m_bEnabled = bEnabled;
    RedrawParent(TRUE);
}

void CKLVControl::SetWidth(int nWidth) {
    if (m_nWidth == nWidth) return;
    m_nWidth = nWidth;
    DelayLayoutParent();
}

void CKLVControl::SetHeight(int nHeight) {
    if (m_nHeight == nHeight) return;
    m_nHeight = nHeight;
    DelayLayoutParent();
}

void CKLVControl::SetItemDefault(BOOL bDefault) {
    if (m_bDefaultItem == bDefault) return;
    m_bDefaultItem = bDefault;
    DelayLayoutParent();
}

BOOL CKLVControl::SetHideFlag(DWORD dwFlag, BOOL bSet) {
    const DWORD dwFlags = bSet ? (m_dwHideFlags | dwFlag) : (m_dwHideFlags & ~dwFlag);
    if (dwFlags == m_dwHideFlags) return FALSE;
    SetHideFlags(dwFlags);
    return TRUE;
}

void CKLVControl::SetVisible(BOOL bVisible) {
    if (SetHideFlag(hideGeneric, !bVisible)) DelayLayoutParent();
}

void CKLVControl::DelayLayoutParent() {
    if (m_pParent) ParentHost()->DelayLayout();
}

void CKLVControl::RedrawParent(BOOL bAnimate) {
    if (m_pParent && IsVisible()) ParentHost()->Redraw(m_rcControl, bAnimate);
}

HWND CKLVControl::GetParentHwnd() const {
    CKLVControlHost* pHost = ParentHost();
    return pHost ? pHost->AsWnd()->GetSafeHwnd() : nullptr;
}

CKLVPaintManager* CKLVControl::GetPaintManager() const {
    if (m_pParent) return ParentHost()->GetPaintManager();
    if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
    return CKLVPaintManager::GetGlobalPaintManager();
}

CKLVCommandBars* CKLVControl::GetCommandBars() const {
    return m_pParent ? ParentHost()->GetCommandBars() : nullptr;
}

CKLVCommandBarsLink* CKLVControl::GetOwnerLink() const {
    return m_pParent ? ParentHost()->GetOwnerLink() : nullptr;
}

BOOL CKLVControl::IsCustomizeMode() const {
    return m_pParent && ParentHost()->IsCustomizeMode();
}

BOOL CKLVControl::IsCustomizeMovable() const {
    if (m_pParent && ParentHost()->IsCustomizable()) return (m_dwFlags & flagNoMovable) == 0;
    return FALSE;
}

CSize CKLVControl::GetSize(CDC* pDC) {
    return GetPaintManager()->DrawControl(pDC, this, FALSE);
}

void CKLVControl::Draw(CDC* pDC) {
    GetPaintManager()->DrawControl(pDC, this, TRUE);
}

void CKLVControl::SetAction(CKLVControlAction* pAction) {
    if (m_pAction == pAction) return;
    if (m_pAction) {
        m_pAction->RemoveControl(this);
        m_bEnabled = TRUE;
        m_bChecked = FALSE;
    }
    m_pAction = pAction;
    if (!pAction) return;
    pAction->AddControl(this);
    m_bEnabled = -1;
    m_bChecked = -1;
    m_nId = pAction->GetId();
    m_strCaption.Empty();
    m_strTooltipText.Empty();
    m_strDescriptionText.Empty();
    m_strCategory.Empty();
    m_strShortcutText.Empty();
}

BOOL CKLVControl::IsEqual(CKLVControl* pOther) {
    return GetStyle() == pOther->GetStyle() && m_nType == pOther->m_nType && m_nId == pOther->m_nId &&
           m_dwFlags == pOther->m_dwFlags && m_bBeginGroup == pOther->m_bBeginGroup &&
           GetImageId() == pOther->GetImageId() && m_strCaption == pOther->m_strCaption &&
           m_strTooltipText == pOther->m_strTooltipText && m_strDescriptionText == pOther->m_strDescriptionText &&
           m_strCustomCaption == pOther->m_strCustomCaption && m_nCustomStyle == pOther->m_nCustomStyle &&
           m_strParameter == pOther->m_strParameter &&
           (m_dwHideFlags & hideCustomize) == (pOther->m_dwHideFlags & hideCustomize) && m_nWidth == pOther->m_nWidth;
}

void CKLVControl::Copy(CKLVControl* pControl, BOOL) {
    m_nId = pControl->m_nId;
    SetAction(pControl->m_pAction);
    m_nTag = pControl->m_nTag;
    m_dwFlags = pControl->m_dwFlags;
    m_nType = pControl->m_nType;
    m_strCaption = pControl->m_strCaption;
    m_strCustomCaption = pControl->m_strCustomCaption;
    m_strShortcutText = pControl->m_strShortcutText;
    m_strShortcutTextAuto = pControl->m_strShortcutTextAuto;
    m_strTooltipText = pControl->m_strTooltipText;
    m_nIconId = pControl->m_nIconId;
    m_nHelpId = pControl->m_nHelpId;
    m_nCustomIconId = pControl->m_nCustomIconId;
    m_bTemporary = pControl->m_bTemporary;
    m_strDescriptionText = pControl->m_strDescriptionText;
    m_strParameter = pControl->m_strParameter;
    m_strCategory = pControl->m_strCategory;
    m_dwHideFlags = pControl->m_dwHideFlags;
    m_bDefaultItem = pControl->m_bDefaultItem;
    m_bEnabled = pControl->m_bEnabled;
    m_bChecked = pControl->m_bChecked;
    m_nCustomStyle = pControl->m_nCustomStyle;
    m_nStyle = pControl->m_nStyle;
    m_nWidth = std::max(pControl->m_nWidth, GetMinWidth());
    m_nHeight = pControl->m_nHeight;
    m_bBeginGroup = pControl->m_bBeginGroup;
    m_bCloseSubMenuOnClick = pControl->m_bCloseSubMenuOnClick;
    m_nExecuteOnPressInterval = pControl->m_nExecuteOnPressInterval;
    CopyMap(m_mapDocTemplatesAssigned, pControl->m_mapDocTemplatesAssigned);
    CopyMap(m_mapDocTemplatesExcluded, pControl->m_mapDocTemplatesExcluded);
}

CKLVControl* CKLVControl::Clone(BOOL bRecursive) {
    auto* pControl = static_cast<CKLVControl*>(GetRuntimeClass()->CreateObject());
    pControl->Copy(this, bRecursive);
    return pControl;
}

BOOL CKLVControl::OnDoubleClick(CPoint pt) {
    OnClick(FALSE, pt);
    return TRUE;
}

void CKLVControl::CloseBarPopup() {
    if (!m_pParent) return;
    ParentHost()->SetPopuped(-1);
    if (ParentHost()->GetTrackingMode() == 2 && ParentHost()->GetType() != CKLVControlHost::barTypePopup)
        ParentHost()->SetTrackingMode(FALSE);
}

BOOL CKLVControl::SetSelected(int bSelected) {
    if (bSelected == m_nSelected) return FALSE;
    if (m_pParent && (bSelected == 2 || bSelected == 3) && ParentHost()->GetPopupedIndex() != -1 &&
        ParentHost()->GetPopupedIndex() != m_nIndex)
        ParentHost()->SetPopuped(-1);
    m_nSelected = bSelected;
    if (!m_pParent) return TRUE;
    ParentHost()->OnControlSelected(bSelected, this);
    if (!(bSelected == TRUE && !GetEnabled())) RedrawParent(bSelected == 0);
    return TRUE;
}

BOOL CKLVControl::IsCursorOver() const {
    if (!m_pParent || !GetParentHwnd()) return FALSE;
    CPoint pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(GetParentHwnd(), &pt);
    return m_rcControl.PtInRect(pt);
}
