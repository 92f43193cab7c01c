// How the editor's text is stored in files: line ends, encodings and the line reader that both
// loading and inserting use.
#pragma once

#include "classlib/ClassLib.h"

#include <cstddef>
#include <vector>

// Line-end styles. A lone carriage return keeps a style of its own, so that such files are
// saved back as they were read.
enum KLVSyntaxEditLineEnd { klvCRLF = 0, klvLFCR = 1, klvLF = 2, klvCR = 3 };

// One line found by the line reader: its length, the characters consumed with its line end,
// and the line end's style (-1: the text ended without one).
struct KLV_SYNTAXEDIT_LINE {
    size_t nLength;
    size_t nConsumed;
    int eStyle;
};

class CKLVSyntaxEditTextFormat {
public:
    static BOOL IsStyle(int eStyle) { return eStyle >= klvCRLF && eStyle <= klvCR; }
    // The text of a style; any other value reads as "\r\n".
    static LPCSTR GetLineEndText(int eStyle);

    // The next line of p[0, nLen): "\r\n", "\n\r", "\r" and "\n" each end a line.
    template <class CharT>
    static KLV_SYNTAXEDIT_LINE ReadLine(const CharT* p, size_t nLen) {
        size_t i = 0;
        while (i < nLen && p[i] != '\r' && p[i] != '\n') ++i;
        if (i == nLen) return {i, i, -1};
        const bool bPair = i + 1 < nLen && (p[i + 1] == '\r' || p[i + 1] == '\n') && p[i + 1] != p[i];
        if (p[i] == '\r') return bPair ? KLV_SYNTAXEDIT_LINE{i, i + 2, klvCRLF} : KLV_SYNTAXEDIT_LINE{i, i + 1, klvCR};
        return bPair ? KLV_SYNTAXEDIT_LINE{i, i + 2, klvLFCR} : KLV_SYNTAXEDIT_LINE{i, i + 1, klvLF};
    }

    // Splits ANSI text into lines. pbEndsWithLineEnd: the last line had a line end.
    static std::vector<CString> SplitLines(LPCSTR pText, size_t nLen, BOOL* pbEndsWithLineEnd = nullptr);

    // Whether the bytes (a file without the 0xFF 0xFE mark, nFileLength long) look like
    // UTF-16 little-endian.
    static BOOL LooksLikeUTF16(const BYTE* pBytes, size_t nCount, ULONGLONG nFileLength);

    // The rows of a file's bytes, its first line end's style (-1 when no line has one), and
    // whether it is UTF-16 (with or without the mark).
    struct CDecoded {
        std::vector<CString> arRows;
        int eStyle = -1;
        BOOL bUnicode = FALSE;
        BOOL bByteOrderMark = FALSE;
    };
    static CDecoded Decode(const BYTE* pBytes, size_t nCount);

    // A row in UTF-16 through the code page (no terminator), and back to ANSI.
    static std::vector<WCHAR> ToUTF16(LPCSTR pText, int nLen, UINT nCodePage);
    static CString FromUTF16(const WCHAR* pText, int nLen);
};
