#include "toolkit/common/PropExchange.h"

#include "classlib/MemFile.h"
#include "toolkit/common/PropExchangeBlob.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CKLVPropExchange, CCmdTarget)

namespace {

const UINT nArchiveBufferSize = 4096;
const UINT nMemFileGrowBytes = 1024;

// Each byte as two capital letters, low nibble first.
CString EncodeBlob(const BYTE* pData, DWORD cbData) {
    CString strText;
    LPSTR pszText = strText.GetBufferSetLength(static_cast<int>(cbData * 2));
    for (DWORD i = 0; i < cbData; ++i) {
        pszText[2 * i] = static_cast<char>('A' + (pData[i] & 0x0F));
        pszText[2 * i + 1] = static_cast<char>('A' + (pData[i] >> 4));
    }
    return strText;
}

std::vector<BYTE> DecodeBlob(const CString& strText) {
    std::vector<BYTE> bytes(static_cast<size_t>(strText.GetLength()) / 2);
    LPCSTR pszText = strText;
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<BYTE>((pszText[2 * i + 1] - 'A') * 16 + (pszText[2 * i] - 'A'));
    return bytes;
}

}  // namespace

BOOL KLVAcceptLoadedBlob(const std::vector<BYTE>& bytes, BYTE** ppData, DWORD* pcbData) {
    if (bytes.empty()) return TRUE;
    const DWORD cbLoaded = static_cast<DWORD>(bytes.size());
    if (!*ppData) {
        *ppData = static_cast<BYTE*>(std::malloc(cbLoaded));
        if (!*ppData) return FALSE;
    } else if (*pcbData < cbLoaded) {
        return FALSE;
    }
    std::memcpy(*ppData, bytes.data(), cbLoaded);
    *pcbData = cbLoaded;
    return TRUE;
}

BOOL CKLVPropExchange::ExchangeBlobProp(LPCTSTR pszPropName, BYTE** ppData, DWORD* pcbData) {
    if (!m_bLoading) {
        CString strText = EncodeBlob(*ppData, *ppData ? *pcbData : 0);
        return ExchangeProp(pszPropName, VT_LPSTR, &strText, "");
    }
    CString strText;
    if (!ExchangeProp(pszPropName, VT_LPSTR, &strText, nullptr) || strText.GetLength() % 2 != 0) return FALSE;
    return KLVAcceptLoadedBlob(DecodeBlob(strText), ppData, pcbData);
}

BOOL CKLVPropExchange::ExchangeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pClassRequested) {
    if (!m_bLoading) {
        CString strName = pClass ? pClass->m_lpszClassName : "";
        return ExchangeProp(pszPropName, VT_LPSTR, &strName,
                            pClassRequested ? pClassRequested->m_lpszClassName : nullptr);
    }
    CString strName;
    if (!ExchangeProp(pszPropName, VT_LPSTR, &strName, nullptr) || strName.IsEmpty()) {
        pClass = pClassRequested;
        return TRUE;
    }
    CRuntimeClass* pFound = FindRuntimeClass(strName);
    if (!pFound) return FALSE;
    pClass = pFound;
    return TRUE;
}

BOOL CKLVPropExchange::ExchangeObject(CObject*& pObject, CRuntimeClass* pClassRequested) {
    if (!m_bLoading) {
        CRuntimeClass* pClass = pObject ? pObject->GetRuntimeClass() : nullptr;
        ExchangeClass("Class", pClass, pClassRequested);
        return TRUE;
    }
    CRuntimeClass* pClass = nullptr;
    if (!ExchangeClass("Class", pClass, nullptr)) return FALSE;
    // A store that skips defaults wrote no name for an object of exactly the requested class.
    if (!pClass) pClass = pClassRequested;
    if (!pClass) return FALSE;
    // A class of the wrong kind is refused before anything is created.
    if (pClassRequested && !pClass->IsDerivedFrom(pClassRequested)) {
        pObject = nullptr;
        return FALSE;
    }
    pObject = pClass->CreateObject();
    return pObject != nullptr;
}

CArchive* CKLVPropExchange::OpenArchive(LPCTSTR pszPropName) {
    auto pFile = std::make_unique<CMemFile>(nMemFileGrowBytes);
    if (m_bLoading) {
        BYTE* pData = nullptr;
        DWORD cbData = 0;
        if (!ExchangeBlobProp(pszPropName, &pData, &cbData) || !pData) return nullptr;
        pFile->Attach(pData, cbData, 0);
    }
    auto pArchive = std::make_unique<CArchive>(pFile.get(), m_bLoading ? CArchive::load : CArchive::store,
                                               nArchiveBufferSize);
    pFile.release();
    return pArchive.release();
}

void CKLVPropExchange::CloseArchive(LPCTSTR pszPropName, CArchive* pArchive) {
    if (!pArchive) return;
    std::unique_ptr<CFile> pFile(pArchive->GetFile());
    std::unique_ptr<CArchive> pOwned(pArchive);
    auto* pMemFile = pFile && pFile->IsKindOf(RUNTIME_CLASS(CMemFile)) ? static_cast<CMemFile*>(pFile.get()) : nullptr;
    if (pMemFile) {
        if (pArchive->IsStoring()) pArchive->Flush();
        DWORD cbData = static_cast<DWORD>(pMemFile->GetLength());
        std::unique_ptr<BYTE, decltype(&std::free)> pData(pMemFile->Detach(), &std::free);
        if (pArchive->IsStoring()) {
            BYTE* pBytes = pData.get();
            ExchangeBlobProp(pszPropName, &pBytes, &cbData);
        }
    }
    pArchive->Abort();
    if (pFile) pFile->Close();
}

void CKLVPropExchange::WriteCount(DWORD dwCount) {
    long lCount = static_cast<long>(dwCount);
    PX_Long(this, "Count", lCount, 0);
}

DWORD CKLVPropExchange::ReadCount() {
    long lCount = 0;
    PX_Long(this, "Count", lCount, 0);
    return static_cast<DWORD>(lCount);
}

void CKLVPropExchange::Write(LPCTSTR pszPropName, const void* lpBuf, UINT nCount) {
    BYTE* pData = static_cast<BYTE*>(const_cast<void*>(lpBuf));
    DWORD cbData = nCount;
    ExchangeBlobProp(pszPropName, &pData, &cbData);
}

UINT CKLVPropExchange::Read(LPCTSTR pszPropName, void* lpBuf, UINT nCount) {
    BYTE* pData = static_cast<BYTE*>(lpBuf);
    DWORD cbData = nCount;
    return ExchangeBlobProp(pszPropName, &pData, &cbData) ? cbData : 0;
}

CKLVPropExchangeEnumerator* CKLVPropExchange::OpenEnumerator(LPCTSTR pszSection) {
    return new CKLVPropExchangeEnumerator(this, pszSection);
}

void CKLVPropExchange::ExchangeSchemaVersion() {
    long lSchema = static_cast<long>(m_dwSchema);
    PX_Long(this, "Schema", lSchema, static_cast<long>(nCurrentSchema));
    m_dwSchema = static_cast<UINT>(lSchema);
}

void CKLVPropExchange::InitSection(CKLVPropExchange* pSection) const {
    pSection->m_bChildSection = TRUE;
    pSection->m_pContext = m_pContext;
    pSection->m_dwSchema = m_dwSchema;
    pSection->m_bClearSection = m_bClearSection;
}
