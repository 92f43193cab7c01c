// Text helpers of the lexer: multibyte characters of the process's code page, letter case,
// splitting and joining.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/syntaxedit/text/SyntaxEditLeadBytes.h"

class CKLVSyntaxEditLexText {
public:
    // Bytes of the character at p: 2 for a lead byte followed by a trail byte, 1 otherwise,
    // 0 at the terminator.
    static int CharBytes(LPCSTR p) {
        if (!p || !*p) return 0;
        return (KLVIsLeadByte(*p) && p[1]) ? 2 : 1;
    }
    // The character at p as one code (a double-byte character as lead << 8 | trail).
    static WORD CharCode(LPCSTR p, int nBytes) {
        if (nBytes == 2) return static_cast<WORD>((static_cast<BYTE>(p[0]) << 8) | static_cast<BYTE>(p[1]));
        return static_cast<BYTE>(p[0]);
    }
    static WORD LowerCode(WORD wChar) {
        if (wChar < 0x80) return (wChar >= 'A' && wChar <= 'Z') ? static_cast<WORD>(wChar + 32) : wChar;
        return LowerCodeOfPage(wChar);
    }
    // The letter case swapped (0 for a character without case).
    static WORD SwapCaseCode(WORD wChar);
    static CString Lower(LPCSTR lpsz);

    // Whole-string comparisons under the code page's rules.
    static int Compare(LPCSTR lpsz1, LPCSTR lpsz2, BOOL bCaseSensitive);
    // The whole tag against the text at p, character by character; the bytes of the text
    // that matched, or -1.
    static int CompareForward(LPCSTR lpszTag, LPCSTR p, BOOL bCaseSensitive);

    // Pieces between any of the separator characters; runs of separators give no empty
    // pieces; pieces keep their inner blanks.
    static void Split(LPCSTR lpszText, LPCSTR lpszSeparators, CStringArray& arPieces);
    static void SplitByColon(LPCSTR lpszText, CStringArray& arPieces) { Split(lpszText, ":", arPieces); }
    static CString JoinStrings(const CStringArray& arStrings, LPCSTR lpszSeparator);

private:
    // Lower case of a character beyond ASCII, through the code page's tables.
    static WORD LowerCodeOfPage(WORD wChar);
};
