// Adding, removing, finding, comparing and duplicating the controls of a bar.
#include "toolkit/commandbars/controlbase/Controls.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlClassTable.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControls, CCmdTarget)

CKLVControls::~CKLVControls() {
    while (GetCount() > 0) {
        CKLVControl* pControl = GetAt(GetCount() - 1);
        m_arrControls.RemoveAt(GetCount() - 1);
        OnControlRemoved(pControl);
        pControl->InternalRelease();
    }
    if (m_pOriginalControls) m_pOriginalControls->InternalRelease();
}

void CKLVControls::SetParent(CKLVCommandBar* pParent) {
    m_pParent = pParent;
    if (GetCount() > 0) RefreshIndexes();
}

CKLVCommandBars* CKLVControls::GetCommandBars() const {
    return m_pParent ? ParentHost()->GetCommandBars() : m_pCommandBars;
}

void CKLVControls::RefreshIndexes() {
    for (int i = 0; i < GetCount(); ++i) {
        CKLVControl* pControl = GetAt(i);
        pControl->m_nIndex = i;
        pControl->m_pControls = this;
        pControl->SetParent(m_pParent);
    }
    if (m_pParent) ParentHost()->DelayLayout();
}

void CKLVControls::OnControlAdded(CKLVControl*) {
    RefreshIndexes();
}

void CKLVControls::OnControlRemoved(CKLVControl* pControl) {
    pControl->m_pControls = nullptr;
    pControl->SetParent(nullptr);
    pControl->OnRemoved();
    RefreshIndexes();
}

CKLVControl* CKLVControls::InsertAt(CKLVControl* pControl, int nBefore) {
    if (nBefore < 0 || nBefore >= GetCount())
        m_arrControls.Add(pControl);
    else
        m_arrControls.InsertAt(nBefore, pControl);
    OnControlAdded(pControl);
    return pControl;
}

CKLVControl* CKLVControls::Add(CKLVControl* pControl, int nId, const CString& strParameter, int nBefore,
                               BOOL bTemporary) {
    pControl->m_strParameter = strParameter;
    pControl->m_bTemporary = bTemporary;
    // These ids are the list controls' and the special menus', which keep no action.
    const BOOL bCreateAction = !(nId >= 9100 && nId < 9300) && !(nId >= 35000 && nId < 35004);
    BindAction(pControl, nId, CString(), bCreateAction);
    return InsertAt(pControl, nBefore);
}

CKLVControl* CKLVControls::Add(int nType, int nId, const CString& strParameter, int nBefore, BOOL bTemporary) {
    CRuntimeClass* pClass = CKLVControlClassTable::Find(nType, nId, CString());
    if (!pClass) return nullptr;
    auto* pControl = static_cast<CKLVControl*>(pClass->CreateObject());
    pControl->m_nType = nType;
    if (auto* pPopup = DYNAMIC_DOWNCAST(CKLVControlPopup, pControl)) AttachResourcePopupBar(pPopup, nId);
    return Add(pControl, nId, strParameter, nBefore, bTemporary);
}

CKLVControl* CKLVControls::AddClone(CKLVControl* pClone, int nBefore, BOOL bRecursive) {
    return InsertAt(pClone->Clone(bRecursive), nBefore);
}

void CKLVControls::RemoveAll() {
    for (int i = GetCount() - 1; i >= 0; --i) {
        CKLVControl* pControl = GetAt(i);
        if (IsKeepOnRemoveAll(pControl)) continue;
        m_arrControls.RemoveAt(i);
        OnControlRemoved(pControl);
        pControl->InternalRelease();
    }
}

void CKLVControls::Remove(CKLVControl* pControl) {
    if (!pControl || pControl->m_pControls != this || IsKeepOnRemoveAll(pControl)) return;
    if (m_pParent && ParentHost()->GetSelectedIndex() == pControl->m_nIndex) ParentHost()->SetSelected(-1);
    RemoveEntry(pControl);
}

void CKLVControls::RemoveEntry(CKLVControl* pControl) {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetAt(i) != pControl) continue;
        m_arrControls.RemoveAt(i);
        OnControlRemoved(pControl);
        pControl->InternalRelease();
        return;
    }
}

CKLVControl* CKLVControls::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount()) return nullptr;
    return static_cast<CKLVControl*>(m_arrControls[nIndex]);
}

CKLVControl* CKLVControls::FindControl(int nId) const {
    for (int i = 0; i < GetCount(); ++i)
        if (nId == -1 || GetAt(i)->GetId() == nId) return GetAt(i);
    return nullptr;
}

CKLVControl* CKLVControls::HitTest(CPoint pt) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetAt(i)->IsVisible() && GetAt(i)->GetRect().PtInRect(pt)) return GetAt(i);
    return nullptr;
}

int CKLVControls::GetVisibleCount(DWORD dwSkipFlags) const {
    int nCount = 0;
    for (int i = 0; i < GetCount(); ++i) nCount += GetAt(i)->IsVisible(dwSkipFlags) ? 1 : 0;
    return nCount;
}

BOOL CKLVControls::IsEqualTo(CKLVControls* pOther) const {
    int i = 0, j = 0;
    for (;;) {
        while (i < GetCount() && GetAt(i)->IsTemporary()) ++i;
        while (j < pOther->GetCount() && pOther->GetAt(j)->IsTemporary()) ++j;
        if (i == GetCount() || j == pOther->GetCount()) return i == GetCount() && j == pOther->GetCount();
        if (!GetAt(i)->IsEqual(pOther->GetAt(j))) return FALSE;
        ++i, ++j;
    }
}

BOOL CKLVControls::IsChanged() const {
    return !m_pOriginalControls || !IsEqualTo(m_pOriginalControls);
}

CKLVControls* CKLVControls::Duplicate(BOOL bRecursive) {
    auto* pControls = static_cast<CKLVControls*>(GetRuntimeClass()->CreateObject());
    pControls->m_pCommandBars = GetCommandBars();
    for (int i = 0; i < GetCount(); ++i)
        if (!GetAt(i)->IsTemporary()) pControls->Append(GetAt(i)->Clone(bRecursive));
    if (m_pOriginalControls) pControls->m_pOriginalControls = m_pOriginalControls->Duplicate(bRecursive);
    return pControls;
}

void CKLVControls::CreateOriginalControls() {
    CKLVControls* pOriginal = Duplicate(TRUE);
    if (m_pOriginalControls) m_pOriginalControls->InternalRelease();
    m_pOriginalControls = pOriginal;
}

int CKLVControls::GetNext(int nIndex, int nDirection, BOOL bSkipFlagged, BOOL bSkipTemporary,
                          BOOL bNarrowMask) const {
    const int nCount = GetCount();
    if (nCount == 0) return -1;
    const DWORD dwMask = bNarrowMask ? 0x08 : 0x28;
    auto qualifies = [&](int i) {
        const CKLVControl* pControl = GetAt(i);
        if (!pControl->IsVisible(dwMask)) return false;
        if (bSkipFlagged && (pControl->GetFlags() & CKLVControl::flagSkipFocus)) return false;
        return !(bSkipTemporary && pControl->IsTemporary());
    };
    const BOOL bWrap = !(nIndex == -1 && nDirection > 0);
    int i = nIndex == -1 ? (nDirection > 0 ? -1 : nCount) : nIndex;
    for (int nSteps = 0; nSteps <= nCount; ++nSteps) {
        i += nDirection;
        if (i < 0 || i >= nCount) {
            if (!bWrap) return -1;
            i = i < 0 ? nCount - 1 : 0;
        }
        if (i == nIndex) return nIndex;
        if (qualifies(i)) return i;
    }
    return -1;
}

void CKLVControls::SetControlType(int nIndex, int nType) {
    CKLVControl* pOld = GetAt(nIndex);
    if (!pOld || pOld->GetType() == nType) return;
    const auto isPopupType = [](int n) { return n >= CKLVControl::typePopup && n <= CKLVControl::typeSplitButtonPopup; };
    if (isPopupType(pOld->GetType()) && isPopupType(nType)) {
        pOld->m_nType = nType;
        return;
    }
    CRuntimeClass* pClass = CKLVControlClassTable::Find(nType, pOld->GetId(), pOld->GetCaption());
    if (!pClass) return;
    auto* pNew = static_cast<CKLVControl*>(pClass->CreateObject());
    pNew->Copy(pOld, FALSE);
    pNew->m_nType = nType;
    m_arrControls[nIndex] = pNew;
    OnControlRemoved(pOld);
    pOld->InternalRelease();
    OnControlAdded(pNew);
}
