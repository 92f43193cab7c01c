#include "classlib/Archive.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD dwBigClassTag = 0x80000000;
const DWORD nMaxMapCount = 0x3FFFFFFE;

const UINT nMinBufSize = 128;
const UINT nStringChunk = 0x10000;  // long strings are read piecewise, never allocated blindly

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(std::max<UINT>(nMinBufSize, nBufSize > 0 ? nBufSize : 0)),
      m_bUserBuf(lpBuf != nullptr) {
    if (!pFile) AfxThrowInvalidArgException();
    m_lpBufStart = static_cast<BYTE*>(lpBuf);
    if (m_lpBufStart) {
        if (nBufSize <= 0) AfxThrowInvalidArgException();
        m_nBufSize = static_cast<UINT>(nBufSize);  // the caller's buffer is used as it is
    } else {
        m_lpBufStart = static_cast<BYTE*>(std::malloc(m_nBufSize));
        if (!m_lpBufStart) AfxThrowMemoryException();
    }
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
    if (IsLoading()) m_loadArray.push_back(CLoadEntry{nullptr, nullptr, 0});
}

CArchive::~CArchive() {
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
    if (!m_bUserBuf) std::free(m_lpBufStart);
}

UINT CArchive::GetObjectSchema() noexcept {
    const UINT nSchema = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nSchema;
}

void CArchive::CheckLoading() const {
    if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException);
    if (IsStoring()) AfxThrowArchiveException(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const {
    if (!m_pFile) AfxThrowArchiveException(CArchiveException::genericException);
    if (IsLoading()) AfxThrowArchiveException(CArchiveException::readOnly);
}

// ---------------------------------------------------------------------------------------------
// Bytes

void CArchive::Write(const void* lpBuf, UINT nMax) {
    CheckStoring();
    auto* pSource = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        if (m_lpBufCur == m_lpBufMax) Flush();
        if (m_lpBufCur == m_lpBufStart && nMax >= m_nBufSize) {
            m_pFile->Write(pSource, nMax);  // large blocks bypass the buffer
            return;
        }
        const UINT nCopy = std::min(nMax, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
        std::memcpy(m_lpBufCur, pSource, nCopy);
        m_lpBufCur += nCopy;
        pSource += nCopy;
        nMax -= nCopy;
    }
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    CheckLoading();
    auto* pTarget = static_cast<BYTE*>(lpBuf);
    UINT nRead = 0;
    while (nRead < nMax) {
        if (m_lpBufCur == m_lpBufMax) {
            if (nMax - nRead >= m_nBufSize) {
                const UINT nDirect = m_pFile->Read(pTarget + nRead, nMax - nRead);
                nRead += nDirect;
                if (nDirect == 0) break;
                continue;
            }
            FillBuffer(nMax - nRead);
            if (m_lpBufCur == m_lpBufMax) break;
        }
        const UINT nCopy = std::min(nMax - nRead, static_cast<UINT>(m_lpBufMax - m_lpBufCur));
        std::memcpy(pTarget + nRead, m_lpBufCur, nCopy);
        m_lpBufCur += nCopy;
        nRead += nCopy;
    }
    return nRead;
}

void CArchive::ReadExactly(void* lpBuf, UINT nCount) {
    if (Read(lpBuf, nCount) != nCount) AfxThrowArchiveException(CArchiveException::endOfFile);
}

void CArchive::FillBuffer(UINT nBytesNeeded) {
    CheckLoading();
    const UINT nUnread = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    std::memmove(m_lpBufStart, m_lpBufCur, nUnread);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + nUnread;
    const UINT nWanted = nUnread + std::min(nBytesNeeded, m_nBufSize - nUnread);
    while (static_cast<UINT>(m_lpBufMax - m_lpBufStart) < nWanted) {
        const UINT nGot = m_pFile->Read(m_lpBufMax, m_nBufSize - static_cast<UINT>(m_lpBufMax - m_lpBufStart));
        if (nGot == 0) break;
        m_lpBufMax += nGot;
    }
}

void CArchive::Flush() {
    if (!m_pFile) return;
    if (IsStoring()) {
        if (m_lpBufCur != m_lpBufStart) m_pFile->Write(m_lpBufStart, static_cast<UINT>(m_lpBufCur - m_lpBufStart));
        m_lpBufCur = m_lpBufStart;
    } else {
        if (m_lpBufCur != m_lpBufMax) m_pFile->Seek(-(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
    }
}

void CArchive::Close() {
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() noexcept { m_pFile = nullptr; }

CArchive& CArchive::operator>>(bool& b) {
    BYTE by = 0;
    ReadValue(by);
    b = by != 0;
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Counts

void CArchive::WriteCount(DWORD_PTR dwCount) {
    if (dwCount > 0xFFFFFFFF) AfxThrowArchiveException(CArchiveException::genericException);
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF);
        *this << static_cast<DWORD>(dwCount);
    }
}

DWORD_PTR CArchive::ReadCount() {
    WORD wCount;
    *this >> wCount;
    if (wCount != 0xFFFF) return wCount;
    DWORD dwCount;
    *this >> dwCount;
    return dwCount;
}

// ---------------------------------------------------------------------------------------------
// Classes and objects

void CRuntimeClass::Store(CArchive& ar) const {
    const size_t nLength = std::strlen(m_lpszClassName);
    if (nLength > 0xFFFF) AfxThrowArchiveException(CArchiveException::badClass);
    ar << static_cast<WORD>(m_wSchema) << static_cast<WORD>(nLength);
    ar.Write(m_lpszClassName, static_cast<UINT>(nLength));
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
    WORD wSchema, wLength;
    ar >> wSchema >> wLength;
    CString strName;
    if (ar.Read(strName.GetBufferSetLength(wLength), wLength) != wLength)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    if (pwSchemaNum) *pwSchemaNum = wSchema;
    return FromName(strName);
}

DWORD CArchive::NextMapIndex() {
    if (m_nMapCount >= nMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
    return m_nMapCount++;
}

void CArchive::WriteTag(DWORD nIndex, WORD wSmallFlag, DWORD dwBigFlag) {
    if (nIndex < wBigObjectTag) {
        *this << static_cast<WORD>(wSmallFlag | nIndex);
    } else {
        *this << wBigObjectTag;
        *this << static_cast<DWORD>(dwBigFlag | nIndex);
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
    CheckStoring();
    if (!pClassRef) AfxThrowInvalidArgException();
    // A class without a schema could not be told apart when read back.
    if (pClassRef->m_wSchema == 0xFFFF) AfxThrowArchiveException(CArchiveException::badClass);
    auto found = m_storeMap.find(pClassRef);
    if (found != m_storeMap.end()) {
        WriteTag(found->second, wClassTag, dwBigClassTag);
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    m_storeMap[pClassRef] = NextMapIndex();
}

void CArchive::WriteObject(const CObject* pOb) {
    CheckStoring();
    if (!pOb) {
        *this << wNullTag;
        return;
    }
    auto found = m_storeMap.find(pOb);
    if (found != m_storeMap.end()) {
        WriteTag(found->second, 0, 0);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    m_storeMap[pOb] = NextMapIndex();
    const_cast<CObject*>(pOb)->Serialize(*this);
}

void CArchive::MapObject(const CObject* pOb) {
    // Both directions count the call, null or not, so that the indexes stay in step.
    if (IsStoring()) {
        const DWORD nIndex = NextMapIndex();
        if (pOb) m_storeMap[pOb] = nIndex;
    } else {
        NextMapIndex();
        m_loadArray.push_back(CLoadEntry{nullptr, const_cast<CObject*>(pOb), 0});
    }
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
    CheckLoading();
    if (pClassRefRequested && pClassRefRequested->m_wSchema == 0xFFFF)
        AfxThrowArchiveException(CArchiveException::badClass);

    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    CRuntimeClass* pClassRef;
    UINT nSchema;
    if (wTag == wNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (!pClassRef) AfxThrowArchiveException(CArchiveException::badClass);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            AfxThrowArchiveException(CArchiveException::badSchema);
        NextMapIndex();
        m_loadArray.push_back(CLoadEntry{pClassRef, nullptr, nSchema});
    } else if (!(obTag & dwBigClassTag)) {
        // A reference to an object, not a class: only ReadObject can take it.
        if (!pObTag) AfxThrowArchiveException(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    } else {
        const DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_loadArray.size() || !m_loadArray[nClassIndex].pClass)
            AfxThrowArchiveException(CArchiveException::badIndex);
        pClassRef = m_loadArray[nClassIndex].pClass;
        nSchema = m_loadArray[nClassIndex].nSchema;
    }

    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass);
    if (pSchema) *pSchema = nSchema;
    if (pObTag) *pObTag = obTag;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef, &m_nObjectSchema, nullptr);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
    CheckLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

    if (!pClassRef) {
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].pClass)
            AfxThrowArchiveException(CArchiveException::badIndex);
        CObject* pOb = m_loadArray[obTag].pObject;
        if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass);
        return pOb;
    }

    std::unique_ptr<CObject> pOb(pClassRef->CreateObject());
    if (!pOb) AfxThrowArchiveException(CArchiveException::badClass);  // not creatable by name
    const size_t nIndex = m_loadArray.size();
    NextMapIndex();
    m_loadArray.push_back(CLoadEntry{nullptr, pOb.get(), 0});
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        // The object is dropped here; no later reference may reach it.
        m_loadArray[nIndex].pObject = nullptr;
        m_nObjectSchema = static_cast<UINT>(-1);
        throw;
    }
    m_nObjectSchema = static_cast<UINT>(-1);
    return pOb.release();
}

CObject* AfxReadObjectOfClass(CArchive& ar, const CRuntimeClass* pClassRefRequested) {
    return ar.ReadObject(pClassRefRequested);
}

CArchive& operator<<(CArchive& ar, const CObject* pOb) {
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb) {
    pOb = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb) {
    pOb = ar.ReadObject(nullptr);
    return ar;
}

// ---------------------------------------------------------------------------------------------
// Strings

namespace {

void WriteStringLength(CArchive& ar, DWORD_PTR nLength) {
    if (nLength < 0xFF) {
        ar << static_cast<BYTE>(nLength);
    } else if (nLength < 0xFFFE) {
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLength);
    } else {
        if (nLength > 0xFFFFFFFF) AfxThrowArchiveException(CArchiveException::genericException);
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(nLength);
    }
}

// The length in characters; bWide is set when the string was stored as UTF-16.
DWORD ReadStringLength(CArchive& ar, bool& bWide) {
    bWide = false;
    for (;;) {
        BYTE byLength;
        ar >> byLength;
        if (byLength < 0xFF) return byLength;
        WORD wLength;
        ar >> wLength;
        if (wLength == 0xFFFE) {
            if (bWide) AfxThrowArchiveException(CArchiveException::genericException);
            bWide = true;
            continue;
        }
        if (wLength < 0xFFFF) return wLength;
        DWORD dwLength;
        ar >> dwLength;
        return dwLength;
    }
}

// Reads nCount units of T piecewise, so a damaged length fails at the end of the data
// instead of allocating whatever it claims.
template <class T, class GROW>
void ReadPiecewise(CArchive& ar, DWORD nCount, GROW growTo) {
    for (DWORD nDone = 0; nDone < nCount;) {
        const DWORD nChunk = std::min<DWORD>(nCount - nDone, nStringChunk);
        T* pTarget = growTo(nDone + nChunk) + nDone;
        if (ar.Read(pTarget, nChunk * sizeof(T)) != nChunk * sizeof(T))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        nDone += nChunk;
    }
}

}  // namespace

CArchive& CArchive::operator<<(LPCSTR lpsz) { return *this << CString(lpsz); }

CArchive& operator<<(CArchive& ar, const CString& string) {
    WriteStringLength(ar, static_cast<DWORD_PTR>(string.GetLength()));
    ar.Write(static_cast<LPCSTR>(string), static_cast<UINT>(string.GetLength()));
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& string) {
    bool bWide = false;
    const DWORD nLength = ReadStringLength(ar, bWide);
    if (nLength > static_cast<DWORD>(INT_MAX / 2)) AfxThrowArchiveException(CArchiveException::genericException);
    CString result;
    if (!bWide) {
        ReadPiecewise<char>(ar, nLength, [&](DWORD n) { return result.GetBufferSetLength(static_cast<int>(n)); });
    } else {
        std::vector<WCHAR> wide;
        ReadPiecewise<WCHAR>(ar, nLength, [&](DWORD n) {
            wide.resize(n);
            return wide.data();
        });
        const int nNarrow = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(nLength), nullptr, 0,
                                                nullptr, nullptr);
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(nLength),
                            result.GetBufferSetLength(nNarrow), nNarrow, nullptr, nullptr);
    }
    string = std::move(result);
    return ar;
}
