#include "toolkit/syntaxedit/lexer/SyntaxEditLexVariant.h"

#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

#include <cstring>

namespace {

const char kSpecs[] = "~`!@#$%^&*()_-+=\\|{}[];:'\",.<>/?";

struct KeywordEntry {
    LPCSTR lpszName;
    int nClassId;
};

const KeywordEntry kKeywords[] = {
    {"@alpha", klvLexCharAlpha},
    {"@digit", klvLexCharDigit},
    {"@hexdigit", klvLexCharHexDigit},
    {"@specs", klvLexCharSpecs},
    {"@eol", klvLexCharEol},
};

// The ranges of a class in its expansion order.
struct Range {
    char chFirst;
    char chLast;
};

void AddRange(const Range& range, CStringArray& arOut) {
    for (int ch = range.chFirst; ch <= range.chLast; ++ch) arOut.Add(CString(static_cast<char>(ch)));
}

}  // namespace

int CKLVSyntaxEditLexVariant::LookupClassId(LPCSTR lpszName) {
    for (const KeywordEntry& entry : kKeywords)
        if (CString(lpszName).CompareNoCase(entry.lpszName) == 0) return entry.nClassId;
    return klvLexCharNone;
}

BOOL CKLVSyntaxEditLexVariant::Parse(LPCSTR lpszText) {
    m_strText = lpszText;
    m_nFlags = 0;
    CStringArray arParts;
    CKLVSyntaxEditLexText::SplitByColon(lpszText, arParts);
    m_nClassId = arParts.IsEmpty() ? klvLexCharNone : LookupClassId(arParts[0]);
    if (arParts.GetSize() > 1 && arParts[1].CompareNoCase("not") == 0) m_nFlags |= klvInverted;
    return m_nClassId != klvLexCharNone;
}

BOOL CKLVSyntaxEditLexVariant::IsMember(int nClassId, char ch) {
    switch (nClassId) {
    case klvLexCharAlpha: return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    case klvLexCharDigit: return ch >= '0' && ch <= '9';
    case klvLexCharHexDigit:
        return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
    case klvLexCharSpecs: return ch != '\0' && std::strchr(kSpecs, ch) != nullptr;
    case klvLexCharEol: return ch == '\r' || ch == '\n';
    default: return FALSE;
    }
}

int CKLVSyntaxEditLexVariant::TestChar(LPCSTR p) const {
    const int nBytes = CKLVSyntaxEditLexText::CharBytes(p);
    if (nBytes == 0) return 0;
    const BOOL bMember = nBytes == 1 && IsMember(m_nClassId, *p);
    return bMember == IsInverted() ? 0 : nBytes;
}

int CKLVSyntaxEditLexVariant::Test(LPCSTR p, CString& strOut) const {
    const int nBytes = TestChar(p);
    if (nBytes > 0) strOut.Append(p, nBytes);
    return nBytes;
}

BOOL CKLVSyntaxEditLexVariant::Expand(int nClassId, CStringArray& arOut) {
    switch (nClassId) {
    case klvLexCharAlpha:
        AddRange({'a', 'z'}, arOut);
        AddRange({'A', 'Z'}, arOut);
        return TRUE;
    case klvLexCharDigit: AddRange({'0', '9'}, arOut); return TRUE;
    case klvLexCharHexDigit:
        AddRange({'0', '9'}, arOut);
        AddRange({'a', 'f'}, arOut);
        AddRange({'A', 'F'}, arOut);
        return TRUE;
    case klvLexCharSpecs:
        for (const char* p = kSpecs; *p; ++p) arOut.Add(CString(*p));
        return TRUE;
    case klvLexCharEol:
        arOut.Add(CString('\r'));
        arOut.Add(CString('\n'));
        return TRUE;
    default: return FALSE;
    }
}
