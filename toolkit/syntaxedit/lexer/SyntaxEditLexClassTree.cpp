#include "toolkit/syntaxedit/lexer/SyntaxEditLexClassTree.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexFileClass.h"

#include <algorithm>

CKLVSyntaxEditLexClassTree::CKLVSyntaxEditLexClassTree() : m_pPools(CKLVSyntaxEditLexPools::Get()) {}

CKLVSyntaxEditLexClassTree::~CKLVSyntaxEditLexClassTree() { RemoveAll(); }

BOOL CKLVSyntaxEditLexClassTree::HasName(const CStringArray& arNames, LPCSTR lpszName) {
    for (INT_PTR i = 0; i < arNames.GetSize(); ++i)
        if (arNames[i].CompareNoCase(lpszName) == 0) return TRUE;
    return FALSE;
}

void CKLVSyntaxEditLexClassTree::AddClass(CKLVSyntaxEditLexClass* pClass) {
    CKLVLexClassPtr pHolder;
    pHolder.AssignRaw(pClass);
    if (pHolder) m_arAll.push_back(pHolder);
}

void CKLVSyntaxEditLexClassTree::UnlinkList(CKLVLexClassList& list) {
    for (const CKLVLexClassPtr& pClass : list) pClass->Clear();
    list.clear();
}

void CKLVSyntaxEditLexClassTree::RemoveAll() {
    m_arAll.clear();
    UnlinkList(m_arRoots);
    UnlinkList(m_arBackground);
}

CKLVLexClassPtr CKLVSyntaxEditLexClassTree::FindClass(LPCSTR lpszName) {
    for (const CKLVLexClassPtr& pClass : m_arAll)
        if (pClass->GetName().CompareNoCase(lpszName) == 0) return pClass;
    return CKLVLexClassPtr();
}

CKLVLexClassPtr CKLVSyntaxEditLexClassTree::CreateClass(BOOL bFile) {
    if (bFile) return KLVMakeCounted<CKLVSyntaxEditLexFileClass>();
    return KLVMakeCounted<CKLVSyntaxEditLexClass>();
}

CKLVSyntaxEditLexAttrArray* CKLVSyntaxEditLexClassTree::GetActiveTags(CKLVSyntaxEditLexClass* pClass) {
    return pClass ? &pClass->GetActiveTags() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Relations

std::unique_ptr<CKLVLexClassList> CKLVSyntaxEditLexClassTree::FindChildClasses(CKLVSyntaxEditLexClass* pClass,
                                                                               BOOL& bSelf) {
    bSelf = FALSE;
    CStringArray arChildrenNames;
    const int nChildrenKind = pClass ? pClass->GetChildrenInfo(arChildrenNames) : klvLexChildrenAny;
    if (nChildrenKind == klvLexChildrenNone) return nullptr;
    auto pList = std::make_unique<CKLVLexClassList>();
    for (const CKLVLexClassPtr& pDef : m_arAll) {
        CStringArray arParents;
        const int nParentKind = pDef->GetParentInfo(arParents);
        if (!pClass) {
            if (nParentKind == klvLexParentFile) pList->push_back(pDef);
            continue;
        }
        if (nParentKind != klvLexParentClass) continue;
        if (nChildrenKind == klvLexChildrenNamed && !HasName(arChildrenNames, pDef->GetName())) continue;
        if (!HasName(arParents, pClass->GetName())) continue;
        if (pDef->GetName().CompareNoCase(pClass->GetName()) == 0)
            bSelf = TRUE;
        else
            pList->push_back(pDef);
    }
    return pList->empty() ? nullptr : std::move(pList);
}

void CKLVSyntaxEditLexClassTree::CollectAncestorNames(CKLVSyntaxEditLexClass* pClass, CStringArray& arNames,
                                                      CStringArray& arVisited) {
    if (!pClass || HasName(arVisited, pClass->GetName())) return;
    arVisited.Add(pClass->GetName());
    CStringArray arParents;
    if (pClass->GetParentInfo(arParents) == klvLexParentFile) return;
    for (INT_PTR i = 0; i < arParents.GetSize(); ++i)
        if (!HasName(arNames, arParents[i])) arNames.Add(arParents[i]);
    for (INT_PTR i = 0; i < arParents.GetSize(); ++i) {
        if (arParents[i].CompareNoCase(pClass->GetName()) == 0) continue;
        CKLVLexClassPtr pParent = FindClass(arParents[i]);
        if (pParent) CollectAncestorNames(pParent.Get(), arNames, arVisited);
    }
}

int CKLVSyntaxEditLexClassTree::IsDynChildOf(LPCSTR lpszName, CKLVSyntaxEditLexClass* pClass) {
    std::vector<CKLVSyntaxEditLexClass*> arVisited;
    return IsDynChildOf(lpszName, pClass, arVisited);
}

int CKLVSyntaxEditLexClassTree::IsDynChildOf(LPCSTR lpszName, CKLVSyntaxEditLexClass* pClass,
                                            std::vector<CKLVSyntaxEditLexClass*>& arVisited) {
    CStringArray arParents;
    if (!pClass || pClass->GetParentInfo(arParents) != klvLexParentDyn) return -1;
    if (HasName(arParents, lpszName)) return 1;
    // Through dyn parents that are themselves attached; each class is asked once, so that
    // dyn classes naming each other end.
    arVisited.push_back(pClass);
    for (const CKLVLexClassPtr& pOther : m_arAll) {
        if (!HasName(arParents, pOther->GetName())) continue;
        if (std::find(arVisited.begin(), arVisited.end(), pOther.Get()) != arVisited.end()) continue;
        if (IsDynChildOf(lpszName, pOther.Get(), arVisited) > 0) return 1;
    }
    return 0;
}

std::unique_ptr<CKLVLexClassList> CKLVSyntaxEditLexClassTree::FindDynChildClasses(CKLVSyntaxEditLexClass* pClass,
                                                                                  BOOL& bSelf) {
    bSelf = FALSE;
    if (!pClass) return nullptr;
    CStringArray arChildrenNames;
    const int nChildrenKind = pClass->GetChildrenInfo(arChildrenNames);
    if (nChildrenKind == klvLexChildrenNone) return nullptr;
    CStringArray arAncestors, arVisited;
    CollectAncestorNames(pClass, arAncestors, arVisited);
    auto pList = std::make_unique<CKLVLexClassList>();
    for (const CKLVLexClassPtr& pDef : m_arAll) {
        if (nChildrenKind == klvLexChildrenNamed && !HasName(arChildrenNames, pDef->GetName())) continue;
        const int nDyn = IsDynChildOf(pClass->GetName(), pDef.Get());
        if (nDyn > 0) {
            if (pDef->GetName().CompareNoCase(pClass->GetName()) == 0)
                bSelf = TRUE;
            else
                pList->push_back(pDef);
        } else if (nDyn == 0) {
            for (INT_PTR i = 0; i < arAncestors.GetSize(); ++i)
                if (IsDynChildOf(arAncestors[i], pDef.Get()) > 0) {
                    pList->push_back(pDef);
                    break;
                }
        }
    }
    return pList->empty() ? nullptr : std::move(pList);
}

// ---------------------------------------------------------------------------------------------
// Building

CKLVLexClassPtr CKLVSyntaxEditLexClassTree::Instantiate(CKLVSyntaxEditLexClass* pDefinition, BOOL bFile) {
    if (m_nClassCounter >= kMaxInstances) return CKLVLexClassPtr();
    CKLVLexClassPtr pInstance = CreateClass(bFile);
    pInstance->CopyFrom(*pDefinition);
    pInstance->SetAttribute("ClassID", CKLVSyntaxEditLexValueObj(++m_nClassCounter));
    return pInstance;
}

BOOL CKLVSyntaxEditLexClassTree::BuildChildren(BOOL bDyn, CKLVSyntaxEditLexClass* pDefinition, CStringArray& arPath,
                                               CKLVSyntaxEditLexClass* pInstance) {
    BOOL bSelf = FALSE;
    std::unique_ptr<CKLVLexClassList> pDefs =
        bDyn ? FindDynChildClasses(pDefinition, bSelf) : FindChildClasses(pDefinition, bSelf);
    for (const CKLVLexClassPtr& pDef : pDefs ? *pDefs : CKLVLexClassList()) {
        int nOnPath = 0;
        for (INT_PTR i = 0; i < arPath.GetSize(); ++i)
            if (arPath[i].CompareNoCase(pDef->GetName()) == 0) ++nOnPath;
        const int nDepth = std::min(pDef->GetAttributeInt("RecurrenceDepth", FALSE, 1), kMaxRecurrenceDepth);
        if (nOnPath >= nDepth) continue;
        CKLVLexClassPtr pChild = Instantiate(pDef.Get(), FALSE);
        if (!pChild) return FALSE;
        pInstance->AddChild(pChild.Get(), bDyn);
        arPath.Add(pDef->GetName());
        const BOOL bBuilt = BuildChildren(FALSE, pDef.Get(), arPath, pChild.Get()) &&
                            BuildChildren(TRUE, pDef.Get(), arPath, pChild.Get());
        arPath.RemoveAt(arPath.GetUpperBound());
        if (!bBuilt) return FALSE;
    }
    if (bSelf) pInstance->AddChild(pInstance, FALSE);
    return TRUE;
}

BOOL CKLVSyntaxEditLexClassTree::Build() {
    UnlinkList(m_arRoots);
    UnlinkList(m_arBackground);
    m_nClassCounter = 0;
    BOOL bSelf = FALSE;
    std::unique_ptr<CKLVLexClassList> pTop = FindChildClasses(nullptr, bSelf);
    for (const CKLVLexClassPtr& pDef : pTop ? *pTop : CKLVLexClassList()) {
        CKLVLexClassPtr pRoot = Instantiate(pDef.Get(), TRUE);
        if (!pRoot) return FALSE;
        m_arRoots.push_back(pRoot);
        CStringArray arPath;
        arPath.Add(pDef->GetName());
        if (!BuildChildren(FALSE, pDef.Get(), arPath, pRoot.Get()) || !BuildChildren(TRUE, pDef.Get(), arPath, pRoot.Get()))
            return FALSE;
        pRoot->BuildActiveTags();
    }
    if (!BuildBackgroundRoots()) return FALSE;
    return CompileClassTags(m_arBackground) && CompileClassTags(m_arRoots);
}

BOOL CKLVSyntaxEditLexClassTree::CopyRootSubtree(BOOL bLeaveOut, CKLVSyntaxEditLexClass* pCopy,
                                                 CKLVSyntaxEditLexClass* pSource) {
    for (BOOL bSecond : {FALSE, TRUE}) {
        for (const CKLVLexClassPtr& pChild : bSecond ? pSource->GetChildren2() : pSource->GetChildren()) {
            if (bLeaveOut && pChild->GetAttributeBool("ParseOnScreen", FALSE, FALSE)) continue;
            CKLVLexClassPtr pChildCopy = pChild->Clone();
            if (!pChildCopy) return FALSE;
            pCopy->AddChild(pChildCopy.Get(), bSecond);
            if (!CopyRootSubtree(bLeaveOut, pChildCopy.Get(), pChild.Get())) return FALSE;
        }
    }
    if (!pSource->GetSelfList().empty()) pCopy->AddChild(pCopy, FALSE);
    return TRUE;
}

BOOL CKLVSyntaxEditLexClassTree::BuildBackgroundRoots() {
    UnlinkList(m_arBackground);
    for (const CKLVLexClassPtr& pRoot : m_arRoots) {
        if (pRoot->GetAttributeBool("ParseOnScreen", FALSE, FALSE)) continue;
        CKLVLexClassPtr pCopy = pRoot->Clone();
        if (!pCopy || !CopyRootSubtree(TRUE, pCopy.Get(), pRoot.Get())) return FALSE;
        pCopy->BuildActiveTags();
        m_arBackground.push_back(pCopy);
    }
    return TRUE;
}

BOOL CKLVSyntaxEditLexClassTree::CompileClassTags(CKLVLexClassList& list) {
    for (const CKLVLexClassPtr& pClass : list) {
        pClass->CompileTags();
        CompileClassTags(pClass->GetChildren());
        CompileClassTags(pClass->GetChildren2());
    }
    return TRUE;
}

BOOL CKLVSyntaxEditLexClassTree::CopyTo(CKLVSyntaxEditLexClassTree& target) {
    target.RemoveAll();
    for (const CKLVLexClassPtr& pClass : m_arAll) {
        CKLVLexClassPtr pClone = pClass->Clone();
        if (!pClone) return FALSE;
        target.m_arAll.push_back(pClone);
    }
    for (const CKLVLexClassPtr& pRoot : m_arRoots) {
        CKLVLexClassPtr pClone = pRoot->Clone();
        if (!pClone || !CopyRootSubtree(FALSE, pClone.Get(), pRoot.Get())) return FALSE;
        pClone->BuildActiveTags();
        target.m_arRoots.push_back(pClone);
    }
    const BOOL bBuilt = target.BuildBackgroundRoots();
    target.CompileClassTags(target.m_arBackground);
    return target.CompileClassTags(target.m_arRoots) ? bBuilt : FALSE;
}
