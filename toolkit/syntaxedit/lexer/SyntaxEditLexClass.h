// A lex class: one "lexClass:" block of a schema file. It knows where it may occur (parent and
// children), how its text begins, continues and ends (tag lists), and how its text is shown
// (text attributes); other attributes are kept by key for whoever asks.
#pragma once

#include "toolkit/common/ColorValue.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextSegment.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexAttrArray.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexClassProperty.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTagTree.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextBlock.h"

#include <vector>

class CKLVSyntaxEditLexClass;
typedef CKLVSmartPtr<CKLVSyntaxEditLexClass> CKLVLexClassPtr;
typedef std::vector<CKLVLexClassPtr> CKLVLexClassList;

// Where a class lies ("parent"): nowhere said, chosen by file extension, inside named classes,
// inside named classes dynamically.
enum KLVSyntaxEditLexParentKind { klvLexParentNone = 0, klvLexParentFile = 1, klvLexParentClass = 2, klvLexParentDyn = 3 };
// What may lie inside ("children"): nothing, anything (not said), the named classes.
enum KLVSyntaxEditLexChildrenKind { klvLexChildrenNone = 1, klvLexChildrenAny = 2, klvLexChildrenNamed = 3 };

// The groups of the tag table.
enum KLVSyntaxEditLexTagGroup { klvLexGroupPrevious, klvLexGroupStart, klvLexGroupEnd, klvLexGroupToken, klvLexGroupSkip };

// Result flags of matching.
enum KLVSyntaxEditLexMatchFlags {
    klvMatchOpened = 0x1,          // a block of the class was opened at the position
    klvMatchEnded = 0x2,           // the open block of the class ended at the position
    klvMatchConsumed = 0x10,       // the iterator moved past a tag
    klvMatchEncloses = 0x20,       // with 0x1: the new block encloses the block "start:class" found
    klvMatchCannotGoOn = 0x100,    // no block could be made, or no iterator or schema
    klvMatchStopMask = 0x700       // any of these ends a parse step
};

// Text attributes as read from a class and its ancestors; 255 in the font fields: not set.
struct KLV_LEX_TEXT_ATTRIBUTES {
    CKLVColorValue clrFG;
    CKLVColorValue clrBK;
    CKLVColorValue clrSelFG;
    CKLVColorValue clrSelBK;
    int nWeight = 255;
    BYTE bItalic = 255;
    BYTE bUnderline = 255;
};

class CKLVSyntaxEditLexClass : public CCmdTarget {
public:
    CKLVSyntaxEditLexClass();
    ~CKLVSyntaxEditLexClass() override;
    CKLVSyntaxEditLexClass(const CKLVSyntaxEditLexClass&) = delete;
    CKLVSyntaxEditLexClass& operator=(const CKLVSyntaxEditLexClass&) = delete;

    // "name" as a class-name value; a tag key as a reference to its list when the list holds
    // values; none otherwise.
    virtual CKLVLexValuePtr GetPropertyValue(LPCSTR lpszKey);
    virtual CString GetName() const { return m_strName; }
    void SetName(LPCSTR lpszName) { m_strName = lpszName; }
    virtual BOOL IsCaseSensitive();
    virtual BOOL IsCollapsable();
    // Colours the class sets replace the segment's; weight, italic and underline always
    // take the class's values (255: not set).
    virtual void GetTextAttributes(CKLVSyntaxEditTextSegment& segment);
    KLV_LEX_TEXT_ATTRIBUTES GetCachedTextAttributes();
    virtual void Clear();

    virtual CKLVLexValuePtr GetAttribute(LPCSTR lpszKey, BOOL bRecursive);
    virtual BOOL GetAttributeBool(LPCSTR lpszKey, BOOL bRecursive, BOOL bDefault);
    virtual int GetAttributeInt(LPCSTR lpszKey, BOOL bRecursive, int nDefault);
    virtual void SetAttribute(LPCSTR lpszKey, const CKLVSyntaxEditLexValueObj& value);

    virtual CKLVLexClassList& GetChildren() { return m_arChildren; }
    virtual CKLVLexClassList& GetChildren2() { return m_arChildren2; }
    virtual CKLVLexClassList& GetSelfList() { return m_arSelf; }
    virtual CKLVSyntaxEditLexAttrArray& GetActiveTags() { return m_arTags[klvLexActiveTags]; }
    CKLVSyntaxEditLexAttrArray& GetTagList(int nKey) { return m_arTags[nKey]; }
    BOOL IsGroupEmpty(int nGroup) const;
    BOOL IsTagTableEmpty() const;
    const CKLVSyntaxEditLexTagTree& GetActiveTree() const { return m_treeActive; }
    const CKLVSyntaxEditLexTagTree& GetTokenTree() const { return m_treeToken; }
    CKLVSyntaxEditLexClass* GetParent() const { return m_pParent.Get(); }

    virtual BOOL SetRelationProperty(const CKLVSyntaxEditLexClassProperty& prop, BOOL& bHandled);
    virtual BOOL SetTagProperty(const CKLVSyntaxEditLexClassProperty& prop, BOOL& bHandled);
    virtual BOOL SetAttributeProperty(const CKLVSyntaxEditLexClassProperty& prop, BOOL& bHandled);
    virtual BOOL ParseTagValues(const CKLVSyntaxEditLexClassProperty& prop, CKLVSyntaxEditLexAttrArray& list);
    virtual BOOL IsQuotedValue(LPCSTR lpszText, CString& strValue);
    virtual BOOL IsKeywordValue(LPCSTR lpszText, CString& strValue);
    virtual void CompileTags();
    virtual BOOL ApplyProperty(const CKLVSyntaxEditLexClassProperty& prop);

    // The parse step of the class at the iterator: with no open block (rBlock empty) it tries
    // to open one, else it skips, ends or runs the child classes of the open block.
    virtual int Match(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema, CKLVLexBlockPtr& rBlock,
                      CKLVSyntaxEditLexParseContext* pContext);
    virtual BOOL CheckPrevious(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                               CKLVSyntaxEditLexParseContext* pContext);
    virtual int CheckStart(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                           CKLVLexBlockPtr& rBlock, CKLVSyntaxEditLexParseContext* pContext);
    virtual int SkipTags(IKLVSyntaxEditTextIterator* pIter);
    virtual int CheckEnd(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                         CKLVSyntaxEditLexTextBlock* pOpen, CKLVSyntaxEditLexParseContext* pContext);
    virtual int CheckToken(IKLVSyntaxEditTextIterator* pIter, IKLVSyntaxEditLexBlockSchema* pSchema,
                           CKLVLexBlockPtr& rBlock);
    virtual BOOL CheckTokenSeparators(IKLVSyntaxEditTextIterator* pIter, const CString& strToken);
    // The characters of the first value of the list that matches forward at nOffset
    // characters from the position, or backward ending nOffset characters before it; 0 when
    // none matches.
    virtual int MatchTagList(const CKLVSyntaxEditLexAttrArray& list, IKLVSyntaxEditTextIterator* pIter, int nOffset,
                             BOOL bBackward, CString& strMatch);
    // Looks for one of the list's class names among the blocks linked last; the block found.
    virtual BOOL CheckClass(const CKLVSyntaxEditLexAttrArray& list, IKLVSyntaxEditLexBlockSchema* pSchema,
                            CKLVSyntaxEditLexParseContext* pContext, CKLVSyntaxEditLexTextBlock* pParent,
                            const CKLVSyntaxEditPosition* pStartAtOrAfter, int nCount, CKLVLexBlockPtr& rFound);

    virtual void AddChild(CKLVSyntaxEditLexClass* pChild, BOOL bSecond);
    virtual void CopyFrom(const CKLVSyntaxEditLexClass& other);
    virtual CKLVLexClassPtr Clone() const;
    virtual void CopyAttributes(const CKLVSyntaxEditLexClass& from, LPCSTR lpszPrefix);
    virtual void RemoveAttributes(LPCSTR lpszPrefix);
    virtual int GetParentInfo(CStringArray& arNames) const;
    virtual int GetChildrenInfo(CStringArray& arNames) const;
    virtual int BuildActiveTags();
    virtual CKLVSyntaxEditLexClass* FindAncestor(LPCSTR lpszName);
    virtual BOOL IsRestartRunLoop();
    virtual BOOL IsEndClassParent();
    virtual void ResetCachedFlags();

    // A C integer literal with automatic base (decimal, 0x hexadecimal, leading 0 octal),
    // read up to the first character that does not fit.
    static int ParseInteger(LPCSTR lpszText);
    // 0xRRGGBB as a COLORREF (red in the low byte).
    static COLORREF RgbToColorRef(int nRgb);

protected:
    // A new, empty class of the same kind (for Clone).
    virtual CKLVLexClassPtr CreateEmpty() const;

private:
    // A tag of a list found at the text: its characters (0: none) and the matched text.
    struct CTagMatch {
        int nChars = 0;
        LPCSTR pText = nullptr;
        int nBytes = 0;
    };
    // MatchTagList without copying the match, for the steps that only count it.
    CTagMatch FindTag(const CKLVSyntaxEditLexAttrArray& list, IKLVSyntaxEditTextIterator* pIter, int nOffset,
                      BOOL bBackward);
    // FALSE when no start tag can begin at the position.
    BOOL StartTagMayMatch(IKLVSyntaxEditTextIterator* pIter);

    enum { klvFlagCaseSensitive, klvFlagCollapsable, klvFlagEndClassParent, klvFlagRestartRunLoop, klvFlagCount };
    int GetCachedFlag(int nFlag) { return m_arFlags[nFlag] != -1 ? m_arFlags[nFlag] : CacheFlag(nFlag); }
    int CacheFlag(int nFlag);
    int ReadFlag(int nFlag);
    // Calls visit on this class (bWithThis) and its ancestors until it returns true.
    template <class VISIT>
    void VisitAncestors(BOOL bWithThis, VISIT visit);
    // Appends the values of a tag list to the active list without duplicates.
    void AddActiveValues(const CKLVSyntaxEditLexAttrArray& list, INT_PTR nMax = -1);

    CKLVSyntaxEditLexAttrArray m_arTags[klvLexTagKeyCount];
    CKLVSyntaxEditLexTagTree m_treeActive;
    CKLVSyntaxEditLexTagTree m_treeToken;
    CString m_strName;
    CKLVLexClassPtr m_pParent;
    int m_nParentKind = klvLexParentNone;
    CStringArray m_arParentNames;
    int m_nChildrenKind = klvLexChildrenAny;
    CStringArray m_arChildrenNames;
    CKLVLexClassList m_arChildren;
    CKLVLexClassList m_arChildren2;
    CKLVLexClassList m_arSelf;
    CMap<CString, LPCSTR, CKLVLexValuePtr, const CKLVLexValuePtr&> m_mapAttributes;
    int m_arFlags[klvFlagCount];
    KLV_LEX_TEXT_ATTRIBUTES m_textAttributes;
    BOOL m_bTextAttributesRead = FALSE;
    BOOL m_bBuildingActiveTags = FALSE;
};
