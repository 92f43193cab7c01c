// A character class of the lexer ("@alpha", "@digit", "@hexdigit", "@specs", "@eol"), optionally
// inverted with a second part "not" ("@alpha:not").
#pragma once

#include "classlib/ClassLib.h"

enum KLVSyntaxEditLexCharClass {
    klvLexCharNone = 0,
    klvLexCharAlpha = 1,
    klvLexCharDigit = 2,
    klvLexCharHexDigit = 3,
    klvLexCharSpecs = 4,
    klvLexCharEol = 5
};

class CKLVSyntaxEditLexVariant {
public:
    enum { klvInverted = 0x1 };

    CKLVSyntaxEditLexVariant() = default;
    virtual ~CKLVSyntaxEditLexVariant() = default;

    // Stores the text and reads its class; FALSE for a name that is no class.
    virtual BOOL Parse(LPCSTR lpszText);

    int GetClassId() const { return m_nClassId; }
    const CString& GetText() const { return m_strText; }
    BOOL IsInverted() const { return (m_nFlags & klvInverted) != 0; }
    bool operator==(const CKLVSyntaxEditLexVariant& other) const {
        return m_nClassId == other.m_nClassId && m_nFlags == other.m_nFlags;
    }

    // The class id of a keyword name ("@digit", any case), or klvLexCharNone.
    static int LookupClassId(LPCSTR lpszName);
    // Whether the character at p belongs to the class (inverted when the class is). Only
    // single-byte characters are members of a set; a double-byte one belongs to no set.
    // Appends the character to strOut and returns its byte count when it belongs, else 0.
    int Test(LPCSTR p, CString& strOut) const;
    // The same test without the copy: the character's byte count when it belongs, else 0.
    int TestChar(LPCSTR p) const;
    static BOOL IsMember(int nClassId, char ch);
    // One single-character string per member of the class, in the class's order.
    static BOOL Expand(int nClassId, CStringArray& arOut);

private:
    int m_nClassId = klvLexCharNone;
    CString m_strText;
    int m_nFlags = 0;
};
