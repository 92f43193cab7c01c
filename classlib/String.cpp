#include "classlib/String.h"

#include "classlib/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

struct CString::Data {
    int nDataLength;   // characters in use, without the terminator
    int nAllocLength;  // characters that fit, without the terminator
    LPSTR Chars() noexcept { return reinterpret_cast<LPSTR>(this + 1); }
};

namespace {

int SafeLength(LPCSTR lpsz) {
    if (!lpsz) return 0;
    const size_t n = std::strlen(lpsz);
    if (n > static_cast<size_t>(INT_MAX - 1)) AfxThrowMemoryException();
    return static_cast<int>(n);
}

// Sum of two lengths; a text that would not fit an int is refused like a failed allocation.
int AddLengths(int n1, int n2) {
    if (n2 > INT_MAX - 1 - n1) AfxThrowMemoryException();
    return n1 + n2;
}

bool IsInSet(char ch, LPCSTR lpszSet) { return ch != '\0' && std::strchr(lpszSet, ch) != nullptr; }
bool IsSpace(char ch) { return std::isspace(static_cast<unsigned char>(ch)) != 0; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Storage

CString::Data* CString::EmptyData() noexcept {
    struct Block {
        Data header;
        char text[1];
    };
    static Block s_empty = {{0, 0}, {'\0'}};
    return &s_empty.header;
}

CString::Data* CString::GetData() const noexcept { return reinterpret_cast<Data*>(m_pszData) - 1; }

bool CString::IsEmptyBlock() const noexcept { return GetData() == EmptyData(); }

void CString::Reserve(int nLength) {
    Data* pOld = GetData();
    if (!IsEmptyBlock() && nLength <= pOld->nAllocLength) return;
    // Grow by half again so that repeated appends stay linear.
    int nAlloc = nLength;
    if (!IsEmptyBlock()) nAlloc = std::max(nLength, pOld->nAllocLength + std::min(pOld->nAllocLength / 2, INT_MAX - 1 - pOld->nAllocLength));
    auto* pNew = static_cast<Data*>(std::malloc(sizeof(Data) + static_cast<size_t>(nAlloc) + 1));
    if (!pNew) AfxThrowMemoryException();
    pNew->nAllocLength = nAlloc;
    pNew->nDataLength = pOld->nDataLength;
    std::memcpy(pNew->Chars(), m_pszData, static_cast<size_t>(pOld->nDataLength) + 1);
    Release();
    m_pszData = pNew->Chars();
}

void CString::SetLength(int nLength) noexcept {
    if (IsEmptyBlock()) return;  // only ever asked for 0 here
    GetData()->nDataLength = nLength;
    m_pszData[nLength] = '\0';
}

void CString::Release() noexcept {
    if (!IsEmptyBlock()) std::free(GetData());
    m_pszData = EmptyData()->Chars();
}

void CString::Assign(LPCSTR lpch, int nLength) {
    if (nLength <= 0) {
        SetLength(0);
        return;
    }
    Reserve(nLength);  // keeps the block when it fits, so lpch may point into this string
    std::memmove(m_pszData, lpch, static_cast<size_t>(nLength));
    SetLength(nLength);
}

// ---------------------------------------------------------------------------------------------
// Construction and assignment

CString::CString() noexcept : m_pszData(EmptyData()->Chars()) {}

CString::CString(const CString& stringSrc) : CString() { Assign(stringSrc, stringSrc.GetLength()); }

CString::CString(CString&& stringSrc) noexcept : CString() { std::swap(m_pszData, stringSrc.m_pszData); }

CString::CString(LPCSTR lpsz) : CString() {
    // A resource id in place of a text is refused rather than read; use LoadString.
    ASSERT(!lpsz || !IS_INTRESOURCE(lpsz));
    if (lpsz && !IS_INTRESOURCE(lpsz)) Assign(lpsz, SafeLength(lpsz));
}

CString::CString(LPCSTR lpch, int nLength) : CString() {
    if (lpch) Assign(lpch, nLength);
}

CString::CString(char ch, int nRepeat) : CString() {
    if (nRepeat <= 0) return;
    Reserve(nRepeat);
    std::memset(m_pszData, ch, static_cast<size_t>(nRepeat));
    SetLength(nRepeat);
}

CString::~CString() { Release(); }

CString& CString::operator=(const CString& stringSrc) {
    if (this != &stringSrc) Assign(stringSrc, stringSrc.GetLength());
    return *this;
}

CString& CString::operator=(CString&& stringSrc) noexcept {
    std::swap(m_pszData, stringSrc.m_pszData);
    return *this;
}

CString& CString::operator=(LPCSTR lpsz) {
    Assign(lpsz, SafeLength(lpsz));
    return *this;
}

CString& CString::operator=(char ch) {
    Assign(&ch, 1);
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Appending

void CString::Append(LPCSTR lpch, int nLength) {
    if (!lpch || nLength <= 0) return;
    const int nOldLength = GetLength();
    const int nNewLength = AddLengths(nOldLength, nLength);
    // The source may be this very text; find it again after the block moves.
    const bool bInside = lpch >= m_pszData && lpch <= m_pszData + nOldLength;
    const ptrdiff_t nOffset = lpch - m_pszData;
    Reserve(nNewLength);
    if (bInside) lpch = m_pszData + nOffset;
    std::memmove(m_pszData + nOldLength, lpch, static_cast<size_t>(nLength));
    SetLength(nNewLength);
}

void CString::Append(LPCSTR lpsz) { Append(lpsz, SafeLength(lpsz)); }
void CString::AppendChar(char ch) { Append(&ch, 1); }

CString& CString::operator+=(const CString& string) {
    Append(string, string.GetLength());
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz) {
    Append(lpsz);
    return *this;
}

CString& CString::operator+=(char ch) {
    AppendChar(ch);
    return *this;
}

CString operator+(const CString& string1, const CString& string2) {
    CString result(string1);
    result += string2;
    return result;
}

CString operator+(const CString& string, LPCSTR lpsz) {
    CString result(string);
    result += lpsz;
    return result;
}

CString operator+(LPCSTR lpsz, const CString& string) {
    CString result(lpsz);
    result += string;
    return result;
}

CString operator+(const CString& string, char ch) {
    CString result(string);
    result += ch;
    return result;
}

CString operator+(char ch, const CString& string) {
    CString result(ch);
    result += string;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Access

int CString::GetLength() const noexcept { return GetData()->nDataLength; }
BOOL CString::IsEmpty() const noexcept { return GetLength() == 0; }
void CString::Empty() noexcept { Release(); }

char CString::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
    return m_pszData[nIndex];
}

char CString::operator[](int nIndex) const { return GetAt(nIndex); }

void CString::SetAt(int nIndex, char ch) {
    if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
    m_pszData[nIndex] = ch;
}

int CString::Compare(LPCSTR lpsz) const { return std::strcmp(m_pszData, lpsz ? lpsz : ""); }
int CString::CompareNoCase(LPCSTR lpsz) const { return _stricmp(m_pszData, lpsz ? lpsz : ""); }

// Each comparison in its three forms; a C string on the left compares with the sides swapped.
#define CLASSLIB_STRING_COMPARISON(op) \
    bool operator op(const CString& s1, const CString& s2) { return s1.Compare(s2) op 0; } \
    bool operator op(const CString& s1, LPCSTR s2) { return s1.Compare(s2) op 0; } \
    bool operator op(LPCSTR s1, const CString& s2) { return 0 op s2.Compare(s1); }

CLASSLIB_STRING_COMPARISON(==)
CLASSLIB_STRING_COMPARISON(!=)
CLASSLIB_STRING_COMPARISON(<)
CLASSLIB_STRING_COMPARISON(>)
CLASSLIB_STRING_COMPARISON(<=)
CLASSLIB_STRING_COMPARISON(>=)
#undef CLASSLIB_STRING_COMPARISON

// ---------------------------------------------------------------------------------------------
// Extraction

CString CString::Mid(int nFirst) const { return Mid(nFirst, INT_MAX); }

CString CString::Mid(int nFirst, int nCount) const {
    const int nLength = GetLength();
    nFirst = std::clamp(nFirst, 0, nLength);
    nCount = std::clamp(nCount, 0, nLength - nFirst);
    return CString(m_pszData + nFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return Mid(GetLength() - nCount, nCount);
}

// ---------------------------------------------------------------------------------------------
// Case and order

CString& CString::MakeUpper() {
    if (!IsEmpty()) CharUpperBuffA(m_pszData, static_cast<DWORD>(GetLength()));
    return *this;
}

CString& CString::MakeLower() {
    if (!IsEmpty()) CharLowerBuffA(m_pszData, static_cast<DWORD>(GetLength()));
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_pszData, m_pszData + GetLength());
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Editing

int CString::Replace(char chOld, char chNew) {
    int nCount = 0;
    for (int i = 0; i < GetLength(); ++i) {
        if (m_pszData[i] == chOld) {
            m_pszData[i] = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
    const int nOldLength = SafeLength(lpszOld);
    if (nOldLength == 0) return 0;
    const int nNewLength = SafeLength(lpszNew);
    CString result;
    int nCount = 0;
    int nStart = 0;
    for (int nFound; (nFound = Find(lpszOld, nStart)) >= 0; nStart = nFound + nOldLength) {
        result.Append(m_pszData + nStart, nFound - nStart);
        result.Append(lpszNew, nNewLength);
        ++nCount;
    }
    if (nCount == 0) return 0;
    result.Append(m_pszData + nStart, GetLength() - nStart);
    *this = std::move(result);
    return nCount;
}

int CString::Remove(char chRemove) {
    const int nLength = GetLength();
    char* pEnd = std::remove(m_pszData, m_pszData + nLength, chRemove);
    const int nNewLength = static_cast<int>(pEnd - m_pszData);
    SetLength(nNewLength);
    return nLength - nNewLength;
}

int CString::Insert(int nIndex, char ch) { return Insert(nIndex, CString(ch)); }

int CString::Insert(int nIndex, LPCSTR lpsz) {
    const int nLength = GetLength();
    nIndex = std::clamp(nIndex, 0, nLength);
    CString result(m_pszData, nIndex);
    result += lpsz;
    result.Append(m_pszData + nIndex, nLength - nIndex);
    *this = std::move(result);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    const int nLength = GetLength();
    nIndex = std::clamp(nIndex, 0, nLength);
    nCount = std::clamp(nCount, 0, nLength - nIndex);
    if (nCount > 0) {
        std::memmove(m_pszData + nIndex, m_pszData + nIndex + nCount,
                     static_cast<size_t>(nLength - nIndex - nCount));
        SetLength(nLength - nCount);
    }
    return GetLength();
}

// ---------------------------------------------------------------------------------------------
// Trimming

CString& CString::TrimLeft() {
    int nSkip = 0;
    while (nSkip < GetLength() && IsSpace(m_pszData[nSkip])) ++nSkip;
    Delete(0, nSkip);
    return *this;
}

CString& CString::TrimLeft(char chTarget) {
    const char set[2] = {chTarget, '\0'};
    return TrimLeft(set);
}

CString& CString::TrimLeft(LPCSTR lpszTargets) {
    if (!lpszTargets) return *this;
    int nSkip = 0;
    while (nSkip < GetLength() && IsInSet(m_pszData[nSkip], lpszTargets)) ++nSkip;
    Delete(0, nSkip);
    return *this;
}

CString& CString::TrimRight() {
    int nLength = GetLength();
    while (nLength > 0 && IsSpace(m_pszData[nLength - 1])) --nLength;
    SetLength(nLength);
    return *this;
}

CString& CString::TrimRight(char chTarget) {
    const char set[2] = {chTarget, '\0'};
    return TrimRight(set);
}

CString& CString::TrimRight(LPCSTR lpszTargets) {
    if (!lpszTargets) return *this;
    int nLength = GetLength();
    while (nLength > 0 && IsInSet(m_pszData[nLength - 1], lpszTargets)) --nLength;
    SetLength(nLength);
    return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCSTR lpszTargets) { return TrimRight(lpszTargets).TrimLeft(lpszTargets); }

// ---------------------------------------------------------------------------------------------
// Searching

int CString::Find(char ch, int nStart) const {
    if (nStart < 0 || nStart >= GetLength()) return -1;
    const void* p = std::memchr(m_pszData + nStart, ch, static_cast<size_t>(GetLength() - nStart));
    return p ? static_cast<int>(static_cast<LPCSTR>(p) - m_pszData) : -1;
}

int CString::Find(LPCSTR lpszSub, int nStart) const {
    if (!lpszSub || nStart < 0 || nStart > GetLength()) return -1;
    LPCSTR p = std::strstr(m_pszData + nStart, lpszSub);
    return p ? static_cast<int>(p - m_pszData) : -1;
}

int CString::ReverseFind(char ch) const {
    for (int i = GetLength() - 1; i >= 0; --i) {
        if (m_pszData[i] == ch) return i;
    }
    return -1;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const {
    if (!lpszCharSet) return -1;
    for (int i = 0; i < GetLength(); ++i) {
        if (IsInSet(m_pszData[i], lpszCharSet)) return i;
    }
    return -1;
}

CString CString::Tokenize(LPCSTR lpszTokens, int& iStart) const {
    // Skips leading delimiters, returns the run up to the next one and moves iStart past it;
    // at the end iStart becomes -1 and the result is empty.
    if (iStart >= 0 && lpszTokens) {
        int nFirst = iStart;
        while (nFirst < GetLength() && IsInSet(m_pszData[nFirst], lpszTokens)) ++nFirst;
        if (nFirst < GetLength()) {
            int nEnd = nFirst;
            while (nEnd < GetLength() && !IsInSet(m_pszData[nEnd], lpszTokens)) ++nEnd;
            iStart = nEnd + 1;
            return Mid(nFirst, nEnd - nFirst);
        }
    }
    iStart = -1;
    return CString();
}

// ---------------------------------------------------------------------------------------------
// Formatting. The text is built in a separate string first, so arguments may refer to this one.

void CString::FormatV(LPCSTR lpszFormat, va_list argList) {
    CString result;
    result.AppendFormatV(lpszFormat, argList);
    *this = std::move(result);
}

void CString::Format(LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::AppendFormatV(LPCSTR lpszFormat, va_list argList) {
    if (!lpszFormat) AfxThrowInvalidArgException();
    va_list argsForLength;
    va_copy(argsForLength, argList);
    const int nAdded = std::vsnprintf(nullptr, 0, lpszFormat, argsForLength);
    va_end(argsForLength);
    if (nAdded < 0) AfxThrowInvalidArgException();
    if (nAdded == 0) return;
    CString formatted;
    formatted.Reserve(nAdded);
    std::vsnprintf(formatted.m_pszData, static_cast<size_t>(nAdded) + 1, lpszFormat, argList);
    formatted.SetLength(nAdded);
    *this += formatted;
}

void CString::AppendFormat(LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    AppendFormatV(lpszFormat, args);
    va_end(args);
}

// ---------------------------------------------------------------------------------------------
// Resources

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID) {
    // A string resource lives in block nID / 16 + 1 as 16 counted UTF-16 strings; finding it
    // there gives the exact length, so texts of any length load whole.
    HRSRC hResource = FindResourceA(hInstance, MAKEINTRESOURCEA(nID / 16 + 1), MAKEINTRESOURCEA(6));
    HGLOBAL hGlobal = hResource ? LoadResource(hInstance, hResource) : nullptr;
    auto* pBlock = hGlobal ? static_cast<const WCHAR*>(LockResource(hGlobal)) : nullptr;
    if (!pBlock) return FALSE;
    const WCHAR* pEnd = pBlock + SizeofResource(hInstance, hResource) / sizeof(WCHAR);
    for (UINT i = 0; i < (nID & 15); ++i) {
        if (pBlock >= pEnd) return FALSE;
        pBlock += 1 + *pBlock;
    }
    if (pBlock >= pEnd || *pBlock == 0 || pBlock + 1 + *pBlock > pEnd) return FALSE;
    const int nWide = *pBlock;
    const int nNarrow = WideCharToMultiByte(CP_ACP, 0, pBlock + 1, nWide, nullptr, 0, nullptr, nullptr);
    if (nNarrow <= 0) return FALSE;
    WideCharToMultiByte(CP_ACP, 0, pBlock + 1, nWide, GetBufferSetLength(nNarrow), nNarrow, nullptr, nullptr);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Direct buffer access

LPSTR CString::GetBuffer(int nMinBufLength) {
    Reserve(std::max(nMinBufLength, GetLength()));
    return m_pszData;
}

LPSTR CString::GetBuffer() { return GetBuffer(0); }

LPSTR CString::GetBufferSetLength(int nNewLength) {
    nNewLength = std::max(nNewLength, 0);
    GetBuffer(nNewLength);
    SetLength(nNewLength);
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength) {
    if (IsEmptyBlock()) return;
    const int nAlloc = GetData()->nAllocLength;
    if (nNewLength < 0) {
        const void* pNul = std::memchr(m_pszData, '\0', static_cast<size_t>(nAlloc));
        nNewLength = pNul ? static_cast<int>(static_cast<LPCSTR>(pNul) - m_pszData) : nAlloc;
    }
    SetLength(std::min(nNewLength, nAlloc));
}

void CString::FreeExtra() {
    if (IsEmptyBlock() || GetData()->nAllocLength == GetLength()) return;
    CString copy(m_pszData, GetLength());
    *this = std::move(copy);
}
