// The classes of one scheme: first the definitions as the schema file gave them, then the
// tree of instances built from their relations ("parent", "parent:file", "parent:dyn",
// "children"), one instance per place where a class may occur.
#pragma once

#include "toolkit/syntaxedit/lexer/SyntaxEditLexClass.h"

#include <memory>

class CKLVSyntaxEditLexClassTree : public CCmdTarget {
public:
    // How often a class may nest on one path at most, whatever its "RecurrenceDepth" says,
    // and how many instances a tree may hold: a schema cannot make the build explode.
    static constexpr int kMaxRecurrenceDepth = 16;
    static constexpr int kMaxInstances = 100000;

    CKLVSyntaxEditLexClassTree();
    ~CKLVSyntaxEditLexClassTree() override;

    virtual void AddClass(CKLVSyntaxEditLexClass* pClass);
    // Builds the declared roots from the definitions, then the background roots, and
    // prepares every instance for matching.
    virtual BOOL Build();
    // A copy of this tree's definitions and instances in the target.
    virtual BOOL CopyTo(CKLVSyntaxEditLexClassTree& target);
    virtual void Clear() { RemoveAll(); }
    // Unlinks every instance (the links between classes hold references both ways) and
    // empties the lists.
    virtual void RemoveAll();
    virtual CKLVLexClassList& GetRoots(BOOL bBackground) { return bBackground ? m_arBackground : m_arRoots; }
    virtual CKLVLexClassList& GetAllClasses() { return m_arAll; }
    virtual CKLVLexClassPtr FindClass(LPCSTR lpszName);
    virtual CKLVLexClassPtr CreateClass(BOOL bFile);
    static CKLVSyntaxEditLexAttrArray* GetActiveTags(CKLVSyntaxEditLexClass* pClass);

    virtual BOOL BuildChildren(BOOL bDyn, CKLVSyntaxEditLexClass* pDefinition, CStringArray& arPath,
                               CKLVSyntaxEditLexClass* pInstance);
    // The definitions that may lie in pClass (none: the top-level ones); bSelf tells that
    // pClass names itself as its parent.
    virtual std::unique_ptr<CKLVLexClassList> FindChildClasses(CKLVSyntaxEditLexClass* pClass, BOOL& bSelf);
    virtual std::unique_ptr<CKLVLexClassList> FindDynChildClasses(CKLVSyntaxEditLexClass* pClass, BOOL& bSelf);
    virtual void CollectAncestorNames(CKLVSyntaxEditLexClass* pClass, CStringArray& arNames, CStringArray& arVisited);
    // 1: pClass is a dyn class attached to lpszName (directly or through its dyn parents);
    // 0: a dyn class that is not; -1: no dyn class.
    virtual int IsDynChildOf(LPCSTR lpszName, CKLVSyntaxEditLexClass* pClass);
    virtual BOOL BuildBackgroundRoots();
    virtual BOOL CompileClassTags(CKLVLexClassList& list);
    virtual BOOL CopyRootSubtree(BOOL bLeaveOut, CKLVSyntaxEditLexClass* pCopy, CKLVSyntaxEditLexClass* pSource);

    static BOOL HasName(const CStringArray& arNames, LPCSTR lpszName);

private:
    int IsDynChildOf(LPCSTR lpszName, CKLVSyntaxEditLexClass* pClass, std::vector<CKLVSyntaxEditLexClass*>& arVisited);
    CKLVLexClassPtr Instantiate(CKLVSyntaxEditLexClass* pDefinition, BOOL bFile);
    static void UnlinkList(CKLVLexClassList& list);

    std::shared_ptr<CKLVSyntaxEditLexPools> m_pPools;
    CKLVLexClassList m_arAll;
    CKLVLexClassList m_arBackground;
    CKLVLexClassList m_arRoots;
    int m_nClassCounter = 0;
};
