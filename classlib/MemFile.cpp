#include "classlib/MemFile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes) noexcept : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Reset() noexcept {
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    Close();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = lpBuffer ? nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    // A fixed buffer is the file's content; a growable one is storage to be written.
    m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() noexcept {
    BYTE* lpBuffer = m_lpBuffer;
    Reset();
    return lpBuffer;
}

BOOL CMemFile::Open(LPCSTR, UINT, CFileException* pError) {
    if (pError) pError->m_cause = CFileException::genericException;
    return FALSE;
}

void CMemFile::Close() {
    if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
    Reset();
}

void CMemFile::Abort() noexcept {
    if (m_lpBuffer && m_bAutoDelete) Free(m_lpBuffer);
    Reset();
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }
BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) { return static_cast<BYTE*>(std::realloc(lpMem, nBytes)); }
void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::GrowFile(SIZE_T dwNewLen) {
    if (dwNewLen <= m_nBufferSize) return;
    if (m_nGrowBytes == 0) AfxThrowMemoryException();
    // Whole steps of the grow size.
    const SIZE_T nSteps = (dwNewLen + m_nGrowBytes - 1) / m_nGrowBytes;
    if (nSteps > SIZE_MAX / m_nGrowBytes) AfxThrowMemoryException();
    const SIZE_T nNewBufferSize = nSteps * m_nGrowBytes;
    BYTE* lpNew = m_lpBuffer ? Realloc(m_lpBuffer, nNewBufferSize) : Alloc(nNewBufferSize);
    if (!lpNew) AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = nNewBufferSize;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (m_nPosition >= m_nFileSize || nCount == 0) return 0;
    const SIZE_T nRead = std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition);
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return static_cast<UINT>(nRead);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) return;
    if (nCount > SIZE_MAX - m_nPosition) AfxThrowMemoryException();
    GrowFile(m_nPosition + nCount);
    // A write after a seek past the end leaves zeros in the gap, not stale memory.
    if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
    if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG nBase = 0;
    if (nFrom == current)
        nBase = static_cast<LONGLONG>(m_nPosition);
    else if (nFrom == end)
        nBase = static_cast<LONGLONG>(m_nFileSize);
    else if (nFrom != begin)
        AfxThrowFileException(CFileException::badSeek);
    if (lOff > LLONG_MAX - nBase) AfxThrowFileException(CFileException::badSeek);
    const LONGLONG nNewPosition = nBase + lOff;
    if (nNewPosition < 0 || static_cast<ULONGLONG>(nNewPosition) > SIZE_MAX)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = static_cast<SIZE_T>(nNewPosition);
    return m_nPosition;
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
    if (dwNewLen > SIZE_MAX) AfxThrowMemoryException();
    const SIZE_T nNewLength = static_cast<SIZE_T>(dwNewLen);
    GrowFile(nNewLength);
    if (nNewLength > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, nNewLength - m_nFileSize);
    if (m_nPosition > nNewLength) m_nPosition = nNewLength;
    m_nFileSize = nNewLength;
}
