#include "toolkit/syntaxedit/lexer/SyntaxEditLexText.h"

#include <mbstring.h>

namespace {

// Maps one character through the code page's case tables.
WORD MapCode(WORD wChar, DWORD dwFlags) {
    char szIn[3] = {0, 0, 0};
    int nIn = 1;
    if (wChar > 0xFF) {
        szIn[0] = static_cast<char>(wChar >> 8);
        szIn[1] = static_cast<char>(wChar & 0xFF);
        nIn = 2;
    } else {
        szIn[0] = static_cast<char>(wChar);
    }
    char szOut[4] = {0, 0, 0, 0};
    const int nOut = ::LCMapStringA(LOCALE_USER_DEFAULT, dwFlags, szIn, nIn, szOut, 4);
    if (nOut != nIn) return wChar;
    return CKLVSyntaxEditLexText::CharCode(szOut, nOut);
}

}  // namespace

WORD CKLVSyntaxEditLexText::LowerCodeOfPage(WORD wChar) { return MapCode(wChar, LCMAP_LOWERCASE); }

WORD CKLVSyntaxEditLexText::SwapCaseCode(WORD wChar) {
    const WORD wLower = LowerCode(wChar);
    if (wLower != wChar) return wLower;
    const WORD wUpper = wChar < 0x80 ? static_cast<WORD>((wChar >= 'a' && wChar <= 'z') ? wChar - 32 : wChar)
                                     : MapCode(wChar, LCMAP_UPPERCASE);
    return wUpper != wChar ? wUpper : 0;
}

CString CKLVSyntaxEditLexText::Lower(LPCSTR lpsz) {
    CString str;
    for (LPCSTR p = lpsz; p && *p;) {
        const int n = CharBytes(p);
        const WORD w = LowerCode(CharCode(p, n));
        if (n == 2) str += static_cast<char>(w >> 8);
        str += static_cast<char>(w & 0xFF);
        p += n;
    }
    return str;
}

int CKLVSyntaxEditLexText::Compare(LPCSTR lpsz1, LPCSTR lpsz2, BOOL bCaseSensitive) {
    const auto* p1 = reinterpret_cast<const unsigned char*>(lpsz1 ? lpsz1 : "");
    const auto* p2 = reinterpret_cast<const unsigned char*>(lpsz2 ? lpsz2 : "");
    return bCaseSensitive ? _mbscmp(p1, p2) : _mbsicmp(p1, p2);
}

int CKLVSyntaxEditLexText::CompareForward(LPCSTR lpszTag, LPCSTR p, BOOL bCaseSensitive) {
    if (!lpszTag || !p) return -1;
    int nBytes = 0;
    // Character by character, so that a tag never reads past the end of the text.
    for (LPCSTR t = lpszTag; *t;) {
        const int nTag = CharBytes(t);
        const int nText = CharBytes(p + nBytes);
        if (nText != nTag) return -1;
        WORD wTag = CharCode(t, nTag);
        WORD wText = CharCode(p + nBytes, nText);
        if (!bCaseSensitive) {
            wTag = LowerCode(wTag);
            wText = LowerCode(wText);
        }
        if (wTag != wText) return -1;
        t += nTag;
        nBytes += nText;
    }
    return nBytes;
}

void CKLVSyntaxEditLexText::Split(LPCSTR lpszText, LPCSTR lpszSeparators, CStringArray& arPieces) {
    CString strText(lpszText);
    int iStart = 0;
    for (CString strPiece = strText.Tokenize(lpszSeparators, iStart); iStart >= 0;
         strPiece = strText.Tokenize(lpszSeparators, iStart))
        arPieces.Add(strPiece);
}

CString CKLVSyntaxEditLexText::JoinStrings(const CStringArray& arStrings, LPCSTR lpszSeparator) {
    CString str;
    for (INT_PTR i = 0; i < arStrings.GetSize(); ++i) {
        if (i) str += lpszSeparator;
        str += arStrings[i];
    }
    return str;
}
