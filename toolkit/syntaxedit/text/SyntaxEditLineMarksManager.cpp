#include "toolkit/syntaxedit/text/SyntaxEditLineMarksManager.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CKLVSyntaxEditLineMarksManager, CCmdTarget)

void CKLVSyntaxEditLineMarkValue::SetNone() {
    m_eType = typeNone;
    m_spObject.reset();
}

void CKLVSyntaxEditLineMarkValue::SetLong(LONG lValue) {
    SetNone();
    m_eType = typeLong;
    m_lValue = lValue;
}

void CKLVSyntaxEditLineMarkValue::SetDouble(double dValue) {
    SetNone();
    m_eType = typeDouble;
    m_dValue = dValue;
}

void CKLVSyntaxEditLineMarkValue::SetPtr(void* pObject, void (*pfnDeleter)(void*)) {
    SetNone();
    m_eType = typePtr;
    m_spObject = std::shared_ptr<void>(pObject, pfnDeleter);
}

const CKLVSyntaxEditLineMarksManager::CMarkList* CKLVSyntaxEditLineMarksManager::FindList(LPCSTR lpszKind) const {
    auto it = m_mapLists.find(lpszKind);
    return it == m_mapLists.end() ? nullptr : &it->second;
}

CKLVSyntaxEditLineMarksManager::CMarkList* CKLVSyntaxEditLineMarksManager::FindList(LPCSTR lpszKind) {
    auto it = m_mapLists.find(lpszKind);
    return it == m_mapLists.end() ? nullptr : &it->second;
}

CKLVSyntaxEditLineMarksManager::CMarkList::const_iterator
CKLVSyntaxEditLineMarksManager::LowerBound(const CMarkList& list, int nLine) {
    return std::lower_bound(list.begin(), list.end(), nLine,
                            [](const KLV_SYNTAXEDIT_LINE_MARK& mark, int n) { return mark.nLine < n; });
}

void CKLVSyntaxEditLineMarksManager::SetMark(int nLine, LPCSTR lpszKind, const CKLVSyntaxEditLineMarkValue* pValue) {
    CMarkList& list = m_mapLists[lpszKind];
    const CKLVSyntaxEditLineMarkValue value = pValue ? *pValue : CKLVSyntaxEditLineMarkValue();
    auto it = list.begin() + (LowerBound(list, nLine) - list.begin());
    if (it != list.end() && it->nLine == nLine)
        it->value = value;
    else
        list.insert(it, {nLine, value});
}

void CKLVSyntaxEditLineMarksManager::DeleteMark(int nLine, LPCSTR lpszKind) {
    CMarkList* pList = FindList(lpszKind);
    if (!pList) return;
    auto it = pList->begin() + (LowerBound(*pList, nLine) - pList->begin());
    if (it != pList->end() && it->nLine == nLine) pList->erase(it);
}

BOOL CKLVSyntaxEditLineMarksManager::HasMark(int nLine, LPCSTR lpszKind, CKLVSyntaxEditLineMarkValue* pValue) const {
    const CMarkList* pList = FindList(lpszKind);
    if (!pList) return FALSE;
    auto it = LowerBound(*pList, nLine);
    if (it == pList->end() || it->nLine != nLine) return FALSE;
    if (pValue) *pValue = it->value;
    return TRUE;
}

void CKLVSyntaxEditLineMarksManager::ToggleMark(int nLine, LPCSTR lpszKind, const CKLVSyntaxEditLineMarkValue* pValue) {
    if (HasMark(nLine, lpszKind))
        DeleteMark(nLine, lpszKind);
    else
        SetMark(nLine, lpszKind, pValue);
}

int CKLVSyntaxEditLineMarksManager::FindPrevMark(int& nLine, LPCSTR lpszKind) const {
    const CMarkList* pList = FindList(lpszKind);
    if (pList) {
        auto it = std::upper_bound(pList->begin(), pList->end(), nLine,
                                   [](int n, const KLV_SYNTAXEDIT_LINE_MARK& mark) { return n < mark.nLine; });
        if (it != pList->begin()) {
            nLine = std::prev(it)->nLine;
            return static_cast<int>(it - pList->begin());
        }
    }
    nLine = -1;
    return 0;
}

int CKLVSyntaxEditLineMarksManager::FindNextMark(int& nLine, LPCSTR lpszKind) const {
    const CMarkList* pList = FindList(lpszKind);
    if (pList) {
        auto it = LowerBound(*pList, nLine);
        if (it != pList->end()) {
            nLine = it->nLine == INT_MAX ? -1 : it->nLine;
            return static_cast<int>(it - pList->begin()) + 1;
        }
    }
    nLine = -1;
    return 0;
}

int CKLVSyntaxEditLineMarksManager::GetLastMark(LPCSTR lpszKind) const {
    int nLine = INT_MAX - 1;
    return FindPrevMark(nLine, lpszKind);
}

const KLV_SYNTAXEDIT_LINE_MARK* CKLVSyntaxEditLineMarksManager::GetMarkAt(int nIndex, LPCSTR lpszKind) const {
    const CMarkList* pList = FindList(lpszKind);
    if (!pList || nIndex < 1 || nIndex > static_cast<int>(pList->size())) return nullptr;
    return &(*pList)[nIndex - 1];
}

const KLV_SYNTAXEDIT_LINE_MARK* CKLVSyntaxEditLineMarksManager::GetNextMark(int& nPosition, LPCSTR lpszKind) const {
    if (nPosition == -1) nPosition = 1;
    const KLV_SYNTAXEDIT_LINE_MARK* pMark = GetMarkAt(nPosition, lpszKind);
    nPosition = pMark && nPosition < GetCount(lpszKind) ? nPosition + 1 : 0;
    return pMark;
}

int CKLVSyntaxEditLineMarksManager::GetCount(LPCSTR lpszKind) const {
    const CMarkList* pList = FindList(lpszKind);
    return pList ? static_cast<int>(pList->size()) : 0;
}

void CKLVSyntaxEditLineMarksManager::RemoveAll(LPCSTR lpszKind) {
    if (CMarkList* pList = FindList(lpszKind)) pList->clear();
}

void CKLVSyntaxEditLineMarksManager::RefreshLineMarks(int nLine1, int nLine2, int eAction) {
    const int nDelta = std::abs(nLine2 - nLine1);
    const int nLow = std::min(nLine1, nLine2), nHigh = std::max(nLine1, nLine2);
    for (auto& [strKind, list] : m_mapLists) {
        CMarkList moved;
        moved.reserve(list.size());
        for (KLV_SYNTAXEDIT_LINE_MARK& mark : list) {
            if (mark.nLine >= nLow) {
                if (eAction == actionDelete && mark.nLine < nHigh) continue;
                mark.nLine += eAction == actionDelete ? -nDelta : nDelta;
            }
            moved.push_back(std::move(mark));
        }
        list.swap(moved);
    }
}
