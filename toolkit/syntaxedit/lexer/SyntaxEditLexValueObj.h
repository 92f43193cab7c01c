// One value of a lex class attribute: empty, class names, a class reference, a reference to a
// tag list, an integer, strings or a character class. Values are shared by counted references.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/syntaxedit/lexer/KLVSmartPtr.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexVariant.h"

class CKLVSyntaxEditLexAttrArray;
class CKLVSyntaxEditLexClass;

enum KLVSyntaxEditLexValueKind {
    klvLexValueEmpty = 0,
    klvLexValueClassNames = 1,
    klvLexValueClassRef = 2,
    klvLexValueListRef = 4,
    klvLexValueInt = 256,
    klvLexValueStrings = 512,
    klvLexValueCharClass = 1024
};

class CKLVSyntaxEditLexValueObj : public CCmdTarget {
public:
    CKLVSyntaxEditLexValueObj() = default;
    explicit CKLVSyntaxEditLexValueObj(CKLVSyntaxEditLexAttrArray* pList);
    CKLVSyntaxEditLexValueObj(LPCSTR lpszString, int nKind);
    explicit CKLVSyntaxEditLexValueObj(const CStringArray& arStrings);
    explicit CKLVSyntaxEditLexValueObj(int nValue);
    explicit CKLVSyntaxEditLexValueObj(CKLVSyntaxEditLexClass* pClass);
    CKLVSyntaxEditLexValueObj(const CKLVSyntaxEditLexValueObj& other);
    ~CKLVSyntaxEditLexValueObj() override;
    CKLVSyntaxEditLexValueObj& operator=(const CKLVSyntaxEditLexValueObj&) = delete;

    // Becomes a character class; FALSE when the class name is unknown.
    virtual BOOL SetCharClass(LPCSTR lpszText);
    virtual BOOL IsString() const;
    virtual CString GetFirstString() const;
    virtual CKLVSmartPtr<CKLVSyntaxEditLexValueObj> Clone() const;

    // Same kind and same content (see the kinds); strings compare case-sensitively.
    BOOL IsEqual(const CKLVSyntaxEditLexValueObj& other) const;

    int m_nKind = klvLexValueEmpty;
    CKLVSmartPtr<CKLVSyntaxEditLexClass> m_pClass;      // kind 2
    CKLVSyntaxEditLexAttrArray* m_pList = nullptr;     // kind 4, owned by a lex class
    int m_nValue = 0;                                   // kind 256
    CStringArray m_arStrings;                           // kinds 1 and 512
    CKLVSyntaxEditLexVariant m_CharClass;               // kind 1024
};

typedef CKLVSmartPtr<CKLVSyntaxEditLexValueObj> CKLVLexValuePtr;
