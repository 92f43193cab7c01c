// CString: the library's narrow, growable character string.
#pragma once

#include "classlib/Object.h"

#include <cstdarg>

// The text lives in one heap block behind a small header, so a CString is exactly one pointer
// wide and converts to a C string for free. Every string owns its block (no sharing); the empty
// string points at a shared, never-freed empty block and allocates nothing.
class CString {
public:
    CString() noexcept;
    CString(const CString& stringSrc);
    CString(CString&& stringSrc) noexcept;
    CString(LPCSTR lpsz);                       // null gives the empty string
    CString(LPCSTR lpch, int nLength);
    explicit CString(char ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& stringSrc);
    CString& operator=(CString&& stringSrc) noexcept;
    CString& operator=(LPCSTR lpsz);
    CString& operator=(char ch);

    CString& operator+=(const CString& string);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);
    void Append(LPCSTR lpsz);
    void Append(LPCSTR lpch, int nLength);
    void AppendChar(char ch);

    int GetLength() const noexcept;
    BOOL IsEmpty() const noexcept;
    void Empty() noexcept;

    // Index checks throw CInvalidArgException (never read or write outside the text).
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const;
    void SetAt(int nIndex, char ch);

    operator LPCSTR() const noexcept { return m_pszData; }
    LPCSTR GetString() const noexcept { return m_pszData; }

    int Compare(LPCSTR lpsz) const;
    int CompareNoCase(LPCSTR lpsz) const;

    // Out-of-range arguments are clamped to the text, as callers expect.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Replace(char chOld, char chNew);
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    int Remove(char chRemove);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR lpsz);
    int Delete(int nIndex, int nCount = 1);

    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR lpszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR lpszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR lpszTargets);

    // -1 when not found or when the start lies outside the text.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR lpszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;
    CString Tokenize(LPCSTR lpszTokens, int& iStart) const;

    void Format(LPCSTR lpszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    void FormatV(LPCSTR lpszFormat, va_list argList);
    void AppendFormat(LPCSTR lpszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    void AppendFormatV(LPCSTR lpszFormat, va_list argList);

    // The string resource nID: from the module that holds it (AfxFindStringResourceHandle,
    // supplied with the application's resource handles), or from hInstance.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // Direct access: the buffer holds at least nMinBufLength characters plus the terminator;
    // ReleaseBuffer(-1) takes the length up to the first NUL.
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer();
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void FreeExtra();

private:
    struct Data;
    static Data* EmptyData() noexcept;
    Data* GetData() const noexcept;
    bool IsEmptyBlock() const noexcept;
    void Assign(LPCSTR lpch, int nLength);
    void Reserve(int nLength);                 // keeps the text; owned block, capacity >= nLength
    void SetLength(int nLength) noexcept;
    void Release() noexcept;

    LPSTR m_pszData;
};

CString operator+(const CString& string1, const CString& string2);
CString operator+(const CString& string, LPCSTR lpsz);
CString operator+(LPCSTR lpsz, const CString& string);
CString operator+(const CString& string, char ch);
CString operator+(char ch, const CString& string);

bool operator==(const CString& s1, const CString& s2);
bool operator==(const CString& s1, LPCSTR s2);
bool operator==(LPCSTR s1, const CString& s2);
bool operator!=(const CString& s1, const CString& s2);
bool operator!=(const CString& s1, LPCSTR s2);
bool operator!=(LPCSTR s1, const CString& s2);
bool operator<(const CString& s1, const CString& s2);
bool operator<(const CString& s1, LPCSTR s2);
bool operator<(LPCSTR s1, const CString& s2);
bool operator>(const CString& s1, const CString& s2);
bool operator>(const CString& s1, LPCSTR s2);
bool operator>(LPCSTR s1, const CString& s2);
bool operator<=(const CString& s1, const CString& s2);
bool operator<=(const CString& s1, LPCSTR s2);
bool operator<=(LPCSTR s1, const CString& s2);
bool operator>=(const CString& s1, const CString& s2);
bool operator>=(const CString& s1, LPCSTR s2);
bool operator>=(LPCSTR s1, const CString& s2);
