#include "classlib/File.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

BOOL Fail(CFileException* pError, int cause, LONG lOsError, LPCSTR lpszFileName) {
    if (pError) {
        pError->m_cause = cause;
        pError->m_lOsError = lOsError;
        pError->m_strFileName = lpszFileName;
    }
    return FALSE;
}

}  // namespace

CFile::CFile(HANDLE hFile) noexcept : m_hFile(hFile) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) {
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    static const DWORD accessOfMode[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD shareOfMode[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ,
                                        FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
    const UINT nAccess = nOpenFlags & 3;
    const UINT nShare = (nOpenFlags & 0x70) >> 4;
    if (m_hFile != INVALID_HANDLE_VALUE || !lpszFileName || nAccess > 2 || nShare > 4)
        return Fail(pError, CFileException::genericException, -1, lpszFileName);
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, (nOpenFlags & modeNoInherit) == 0};
    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate) dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    HANDLE hFile = CreateFileA(lpszFileName, accessOfMode[nAccess], shareOfMode[nShare], &sa, dwCreate,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        const LONG lError = static_cast<LONG>(GetLastError());
        return Fail(pError, CFileException::OsErrorToException(lError), lError, lpszFileName);
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    m_strFileName = lpszFileName;
    return TRUE;
}

void CFile::Close() {
    BOOL bError = FALSE;
    if (m_hFile != INVALID_HANDLE_VALUE) bError = !CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    if (bError) ThrowLastError();
    m_strFileName.Empty();
}

void CFile::Abort() noexcept {
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (nCount == 0) return 0;
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, nullptr)) ThrowLastError();
    return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) return;
    DWORD dwWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &dwWritten, nullptr)) ThrowLastError();
    if (dwWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
    if (nFrom > end) AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
    LARGE_INTEGER distance, position;
    distance.QuadPart = lOff;
    if (!SetFilePointerEx(m_hFile, distance, &position, nFrom)) ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetPosition() const {
    LARGE_INTEGER distance, position;
    distance.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, distance, &position, FILE_CURRENT)) ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size)) ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (!SetEndOfFile(m_hFile)) ThrowLastError();
}

void CFile::Flush() {
    if (m_hFile != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_hFile)) ThrowLastError();
}

CString CFile::GetFileName() const {
    const int nSlash = std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'));
    return m_strFileName.Mid(nSlash + 1);
}

void CFile::ThrowLastError() const {
    const LONG lError = static_cast<LONG>(GetLastError());
    AfxThrowFileException(CFileException::OsErrorToException(lError), lError, m_strFileName);
}
