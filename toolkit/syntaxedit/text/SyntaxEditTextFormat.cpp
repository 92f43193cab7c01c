#include "toolkit/syntaxedit/text/SyntaxEditTextFormat.h"

#include <algorithm>

namespace {

const BYTE kByteOrderMark[2] = {0xFF, 0xFE};
const size_t kProbeBytes = 1024;

// How often a value differs from its predecessor in the sorted values.
int CountChanges(std::vector<BYTE>& arValues) {
    std::sort(arValues.begin(), arValues.end());
    int nChanges = 0;
    for (size_t i = 1; i < arValues.size(); ++i)
        if (arValues[i] != arValues[i - 1]) ++nChanges;
    return nChanges;
}

template <class CharT, class Convert>
void SplitInto(const CharT* p, size_t nLen, CKLVSyntaxEditTextFormat::CDecoded& decoded, Convert convert) {
    KLV_SYNTAXEDIT_LINE line{0, 0, klvCRLF};
    while (nLen > 0) {
        line = CKLVSyntaxEditTextFormat::ReadLine(p, nLen);
        decoded.arRows.push_back(convert(p, line.nLength));
        if (decoded.eStyle < 0) decoded.eStyle = line.eStyle;
        p += line.nConsumed;
        nLen -= line.nConsumed;
    }
    // A last line end leaves an empty row behind it.
    if (!decoded.arRows.empty() && line.eStyle >= 0) decoded.arRows.emplace_back();
}

}  // namespace

LPCSTR CKLVSyntaxEditTextFormat::GetLineEndText(int eStyle) {
    switch (eStyle) {
    case klvLFCR: return "\n\r";
    case klvLF: return "\n";
    case klvCR: return "\r";
    default: return "\r\n";
    }
}

std::vector<CString> CKLVSyntaxEditTextFormat::SplitLines(LPCSTR pText, size_t nLen, BOOL* pbEndsWithLineEnd) {
    std::vector<CString> arLines;
    BOOL bEnded = FALSE;
    while (nLen > 0) {
        KLV_SYNTAXEDIT_LINE line = ReadLine(pText, nLen);
        arLines.emplace_back(pText, static_cast<int>(line.nLength));
        bEnded = line.eStyle >= 0;
        pText += line.nConsumed;
        nLen -= line.nConsumed;
    }
    if (pbEndsWithLineEnd) *pbEndsWithLineEnd = bEnded;
    return arLines;
}

BOOL CKLVSyntaxEditTextFormat::LooksLikeUTF16(const BYTE* pBytes, size_t nCount, ULONGLONG nFileLength) {
    if (nFileLength % 2 != 0) return FALSE;
    const size_t nPairs = std::min(nCount, kProbeBytes) / 2;
    std::vector<BYTE> arFirst, arSecond;
    for (size_t i = 0; i < nPairs; ++i) {
        BYTE b1 = pBytes[2 * i], b2 = pBytes[2 * i + 1];
        if ((b1 == '\n' || b1 == '\r') && b2 == 0) return TRUE;
        // A line-end byte in the high half of a pair is ANSI text with a line end there; the
        // counts below would take short texts such as "a\nb\n" for UTF-16.
        if (b2 == '\n' || b2 == '\r') return FALSE;
        arFirst.push_back(b1);
        arSecond.push_back(b2);
    }
    const int a = CountChanges(arFirst);
    const int b = CountChanges(arSecond);
    const int c = static_cast<int>(std::count_if(arSecond.begin() + std::min<size_t>(1, arSecond.size()),
                                                 arSecond.end(), [](BYTE v) { return v < 9; }));
    const int n = static_cast<int>(nPairs);
    if (n >= 10) return a * 100 / std::max(b, 1) > 150 || c * 100 / n > 3;
    return a > b || c > 0;
}

CKLVSyntaxEditTextFormat::CDecoded CKLVSyntaxEditTextFormat::Decode(const BYTE* pBytes, size_t nCount) {
    CDecoded decoded;
    decoded.bByteOrderMark = nCount >= 2 && pBytes[0] == kByteOrderMark[0] && pBytes[1] == kByteOrderMark[1];
    decoded.bUnicode = decoded.bByteOrderMark || LooksLikeUTF16(pBytes, nCount, nCount);
    if (!decoded.bUnicode) {
        SplitInto(reinterpret_cast<const char*>(pBytes), nCount, decoded,
                  [](const char* p, size_t n) { return CString(p, static_cast<int>(n)); });
        return decoded;
    }
    const size_t nSkip = decoded.bByteOrderMark ? 2 : 0;
    // A stray last byte is not half a character to read past.
    std::vector<WCHAR> arText((nCount - nSkip) / 2);
    if (!arText.empty()) memcpy(arText.data(), pBytes + nSkip, arText.size() * sizeof(WCHAR));
    SplitInto(arText.data(), arText.size(), decoded,
              [](const WCHAR* p, size_t n) { return FromUTF16(p, static_cast<int>(n)); });
    return decoded;
}

std::vector<WCHAR> CKLVSyntaxEditTextFormat::ToUTF16(LPCSTR pText, int nLen, UINT nCodePage) {
    if (nLen <= 0) return {};
    int nWide = ::MultiByteToWideChar(nCodePage, 0, pText, nLen, nullptr, 0);
    std::vector<WCHAR> arWide(std::max(nWide, 0));
    if (nWide > 0) ::MultiByteToWideChar(nCodePage, 0, pText, nLen, arWide.data(), nWide);
    return arWide;
}

CString CKLVSyntaxEditTextFormat::FromUTF16(const WCHAR* pText, int nLen) {
    if (nLen <= 0) return CString();
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, pText, nLen, nullptr, 0, nullptr, nullptr);
    CString strText;
    if (nBytes <= 0) return strText;
    ::WideCharToMultiByte(CP_ACP, 0, pText, nLen, strText.GetBuffer(nBytes), nBytes, nullptr, nullptr);
    strText.ReleaseBuffer(nBytes);
    return strText;
}
