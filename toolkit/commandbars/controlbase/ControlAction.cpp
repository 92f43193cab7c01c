#include "toolkit/commandbars/controlbase/ControlAction.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/common/ResourceManager.h"

IMPLEMENT_DYNAMIC(CKLVControlAction, CCmdTarget)

void CKLVControlAction::SetCaption(const CString& strCaption) {
    const int nTab = strCaption.Find('\t');
    const CString strNew = nTab == -1 ? strCaption : strCaption.Left(nTab);
    if (strNew == m_strCaption) return;
    for (int i = 0; i < GetCount(); ++i) GetControl(i)->OnActionChanging(CKLVControl::propertyCaption);
    m_strCaption = strNew;
    for (int i = 0; i < GetCount(); ++i) {
        GetControl(i)->OnActionChanged(CKLVControl::propertyCaption);
        GetControl(i)->DelayLayoutParent();
        GetControl(i)->RedrawParent();
    }
}

void CKLVControlAction::SetPrompt(const CString& strPrompt) {
    const int nNewLine = strPrompt.Find('\n');
    m_strDescription = nNewLine == -1 ? strPrompt : strPrompt.Left(nNewLine);
    if (nNewLine == -1) {
        m_strTooltip = strPrompt;
        return;
    }
    const CString strRest = strPrompt.Mid(nNewLine + 1);
    const int nNext = strRest.Find('\n');
    m_strTooltip = nNext == -1 ? strRest : strRest.Left(nNext);
}

void CKLVControlAction::AddControl(CKLVControl* pControl) {
    for (int i = 0; i < GetCount(); ++i)
        if (GetControl(i) == pControl) return;
    m_arrControls.Add(pControl);
}

void CKLVControlAction::RemoveControl(CKLVControl* pControl) {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetControl(i) != pControl) continue;
        m_arrControls.RemoveAt(i);
        return;
    }
}

void CKLVControlAction::RemoveAllControls() {
    while (GetCount() > 0) GetControl(GetCount() - 1)->SetAction(nullptr);
}

int CKLVControlActions::LowerBound(int nId) const {
    int nLow = 0, nHigh = GetCount();
    while (nLow < nHigh) {
        const int nMid = (nLow + nHigh) / 2;
        if (GetAt(nMid)->GetId() < nId)
            nLow = nMid + 1;
        else
            nHigh = nMid;
    }
    return nLow;
}

CKLVControlAction* CKLVControlActions::GetAction(int nId) const {
    if (nId < 1 || nId >= 0x0FFFFFFF) return nullptr;
    const int nIndex = LowerBound(nId);
    return nIndex < GetCount() && GetAt(nIndex)->GetId() == nId ? GetAt(nIndex) : nullptr;
}

CKLVControlAction* CKLVControlActions::Add(int nId) {
    if (CKLVControlAction* pAction = GetAction(nId)) return pAction;
    auto* pAction = new CKLVControlAction(nId);
    pAction->m_pActions = this;
    CString strPrompt;
    if (nId > 0 && KLVResourceManager()->LoadString(&strPrompt, static_cast<UINT>(nId))) pAction->SetPrompt(strPrompt);
    m_arrActions.InsertAt(LowerBound(nId), pAction);
    return pAction;
}

void CKLVControlActions::RemoveAll() {
    for (int i = 0; i < GetCount(); ++i) GetAt(i)->RemoveAllControls();
    for (int i = 0; i < GetCount(); ++i) GetAt(i)->InternalRelease();
    m_arrActions.RemoveAll();
}
