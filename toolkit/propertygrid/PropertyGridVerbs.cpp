#include "toolkit/propertygrid/PropertyGridVerbs.h"

CKLVPropertyGridVerb* CKLVPropertyGridVerbs::Add(LPCTSTR lpszCaption, UINT nID) {
    auto* pVerb = new CKLVPropertyGridVerb;
    pVerb->m_strCaption = lpszCaption;
    pVerb->m_nID = nID;
    pVerb->m_nIndex = GetCount();
    m_arrVerbs.push_back(pVerb);
    return pVerb;
}

void CKLVPropertyGridVerbs::RemoveAll() {
    for (CKLVPropertyGridVerb* pVerb : m_arrVerbs) pVerb->InternalRelease();
    m_arrVerbs.clear();
}
