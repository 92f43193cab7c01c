// Text blocks: one stretch of text that a lex class matched, linked into the document's chain
// (previous, next) and nested through parent links. A chain is freed by closing every block.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditLexLink.h"
#include "toolkit/syntaxedit/lexer/KLVSmartPtr.h"

class CKLVSyntaxEditLexClass;
class CKLVSyntaxEditLexTextBlock;
class IKLVSyntaxEditTextIterator;
typedef CKLVSmartPtr<CKLVSyntaxEditLexTextBlock> CKLVLexBlockPtr;

// The context of a screen parse: its lines and the block it links after.
class CKLVSyntaxEditLexParseContext {
public:
    virtual ~CKLVSyntaxEditLexParseContext();
    int m_nFirstLine = 0;
    int m_nLastLine = 0;
    CKLVLexBlockPtr m_pLastLinked;
};

// What matching and the chain operations ask of the text schema that owns the chain.
class IKLVSyntaxEditLexBlockSchema {
public:
    virtual ~IKLVSyntaxEditLexBlockSchema() = default;
    // A new block without class, links or positions; none when it cannot be made.
    virtual CKLVLexBlockPtr CreateBlock() = 0;
    // The block linked last by the running parse.
    virtual CKLVLexBlockPtr GetLastLinkedBlock() = 0;
    // Runs the child classes of pClass at the iterator, inside pParent; result flags.
    virtual int ParseChildren(IKLVSyntaxEditTextIterator* pIter, CKLVSyntaxEditLexTextBlock* pParent,
                              CKLVSyntaxEditLexClass* pClass, CKLVSyntaxEditLexParseContext* pContext) = 0;
    // Keeps a finished block.
    virtual void StoreChain(CKLVSyntaxEditLexTextBlock* pBlock) = 0;
    // The lock of the chain (recursive), or null.
    virtual CSyncObject* GetBlockLock() = 0;
};

class CKLVSyntaxEditLexTextBlock : public CCmdTarget {
public:
    CKLVSyntaxEditLexTextBlock();
    ~CKLVSyntaxEditLexTextBlock() override;

    virtual void Close();
    virtual BOOL IsSameClass(const CKLVSyntaxEditLexTextBlock& other) const;
    virtual BOOL Contains(const CKLVSyntaxEditLexTextBlock& other) const;
    virtual BOOL IsClosed() const;
    // Gives every child that is still open this block's end; the number closed, nested ones
    // included.
    virtual int CloseOpenChildren(IKLVSyntaxEditLexBlockSchema* pSchema);
    // The nearest block before pChild whose parent is this block.
    virtual CKLVLexBlockPtr GetPrevChild(CKLVSyntaxEditLexTextBlock* pChild);

    // Positions as packed keys: the body lies from GetBodyStart to GetBodyEnd, the end tag
    // reaches to GetEndTagEnd.
    LONGLONG GetBodyStart() const;
    LONGLONG GetBodyEnd() const;
    LONGLONG GetEndTagEnd() const;
    BOOL IsOpen() const { return !m_posEnd.IsValid(); }
    // An edit broke or deleted its start tag (its end was put before its start): a deleted one
    // lies at rows the text may no longer have, out of order.
    BOOL IsStartBroken() const { return m_posEnd.IsValid() && m_posEnd < m_posStart; }

    CKLVSmartPtr<CKLVSyntaxEditLexClass> m_pClass;
    CKLVLexBlockPtr m_pParent;
    CKLVLexBlockPtr m_pPrev;
    CKLVLexBlockPtr m_pNext;
    CKLVSyntaxEditPosition m_posStart;
    CKLVSyntaxEditPosition m_posEnd;
    int m_nStartExtent = 0;
    int m_nEndExtent = 0;
    CKLVLexBlockPtr m_pLastChild;
};

// A block handed out through the text schema's interface: the head of a screen chain, which
// is closed with the handle, or a place in a chain, which is only referenced.
class CKLVSyntaxEditLexBlockHandle : public IKLVSyntaxEditSchemaHandle {
public:
    enum Kind { klvScreenChain, klvChainPlace };
    CKLVSyntaxEditLexBlockHandle(CKLVSyntaxEditLexTextBlock* pBlock, Kind eKind);
    ~CKLVSyntaxEditLexBlockHandle() override;
    CKLVSyntaxEditLexBlockHandle(const CKLVSyntaxEditLexBlockHandle&) = delete;
    CKLVSyntaxEditLexBlockHandle& operator=(const CKLVSyntaxEditLexBlockHandle&) = delete;

    // The block of a handle that a text schema made (null for none).
    static CKLVSyntaxEditLexTextBlock* BlockOf(IKLVSyntaxEditSchemaHandle* pHandle);

private:
    CKLVLexBlockPtr m_pBlock;
    Kind m_eKind;
};

// Holds a schema's block lock (which may be none) for a scope.
class CKLVSyntaxEditLexBlockLock {
public:
    explicit CKLVSyntaxEditLexBlockLock(CSyncObject* pLock, DWORD dwTimeout = INFINITE);
    explicit CKLVSyntaxEditLexBlockLock(IKLVSyntaxEditLexBlockSchema* pSchema)
        : CKLVSyntaxEditLexBlockLock(pSchema ? pSchema->GetBlockLock() : nullptr) {}
    ~CKLVSyntaxEditLexBlockLock();
    CKLVSyntaxEditLexBlockLock(const CKLVSyntaxEditLexBlockLock&) = delete;
    CKLVSyntaxEditLexBlockLock& operator=(const CKLVSyntaxEditLexBlockLock&) = delete;
    BOOL IsLocked() const { return m_bLocked; }

private:
    CSyncObject* m_pLock;
    BOOL m_bLocked;
};

// The schema's operations on a chain, under its block lock (null: no lock).
class CKLVSyntaxEditLexBlockChain {
public:
    enum { klvEditInsert = 1, klvEditDelete = 2 };

    // Closes every block from pFirst along the next links.
    static void CloseChain(CKLVSyntaxEditLexTextBlock* pFirst);
    // Open blocks from pFrom up to the block after pTo take their parent's valid end.
    static void CloseOpenEnds(CKLVSyntaxEditLexTextBlock* pFrom, CKLVSyntaxEditLexTextBlock* pTo, CSyncObject* pLock);
    // Blocks after pFirst whose parent was closed get the nearest earlier block that
    // contains them as parent.
    static void ReparentOrphans(CKLVSyntaxEditLexTextBlock* pFirst, CSyncObject* pLock);
    // The block at a position: the last one starting at or before it, and then the blocks
    // that start with it.
    static CKLVLexBlockPtr FindBlock(CKLVSyntaxEditLexTextBlock* pFirst, const CKLVSyntaxEditPosition& pos,
                                     CSyncObject* pLock);
    // Moves, opens or ends blocks after an edit from posStart to posEnd: flags 2 (a block's
    // start or end was hit) and 0x100 (the innermost block changed); 1 when the lock was not
    // obtained, 0 when no block was found.
    static int UpdateBlocksOnEdit(CKLVSyntaxEditLexTextBlock* pFirst, const CKLVSyntaxEditPosition& posStart,
                                  const CKLVSyntaxEditPosition& posEnd, int nEditKind, CSyncObject* pLock);
    // Moves a position that lies after an edit from posStart to posEnd (a deletion with
    // bDelete, else an insertion) with the text: by the edit's lines, and on the edit's last
    // line by its columns too.
    static void MoveAfterEdit(CKLVSyntaxEditPosition& pos, const CKLVSyntaxEditPosition& posStart,
                              const CKLVSyntaxEditPosition& posEnd, bool bDelete);
};
