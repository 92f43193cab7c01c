#include "toolkit/common/PropExchangeArchive.h"

#include "classlib/OleVariant.h"
#include "toolkit/common/PropExchangeBlob.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CKLVPropExchangeArchive, CKLVPropExchange)

namespace {

// Bytes are read in pieces so that a damaged count fails at the end of the data instead of
// allocating whatever it claims.
const UINT nBlobChunk = 0x10000;

// Loads into a copy first, so that a short read leaves the field as it was.
template <class T>
void LoadInto(CArchive& ar, void* pvProp) {
    T value;
    ar >> value;
    std::memcpy(pvProp, &value, sizeof value);  // the field may be a BOOL or an int
}

template <size_t N>
void LoadLongs(CArchive& ar, void* pvProp) {
    LONG values[N];
    for (LONG& value : values) ar >> value;
    std::memcpy(pvProp, values, sizeof values);
}

}  // namespace

CKLVPropExchangeArchive::CKLVPropExchangeArchive(CArchive& ar) : m_ar(ar) { m_bLoading = ar.IsLoading(); }

BOOL CKLVPropExchangeArchive::ExchangeProp(LPCTSTR, VARTYPE vtProp, void* pvProp, const void*) {
    if (!PrepareExchange()) return FALSE;
    if (m_bLoading)
        LoadValue(vtProp, pvProp);
    else
        StoreValue(vtProp, pvProp);
    return TRUE;
}

void CKLVPropExchangeArchive::StoreValue(VARTYPE vtProp, const void* pvProp) {
    switch (vtProp) {
    case VT_UI1: m_ar << *static_cast<const BYTE*>(pvProp); break;
    case VT_I2: m_ar << *static_cast<const short*>(pvProp); break;
    case VT_I4: m_ar << *static_cast<const LONG*>(pvProp); break;
    case VT_R4: m_ar << *static_cast<const float*>(pvProp); break;
    case VT_R8: m_ar << *static_cast<const double*>(pvProp); break;
    case VT_CY: {
        const CY& cy = *static_cast<const CY*>(pvProp);
        m_ar << static_cast<DWORD>(cy.Lo) << static_cast<LONG>(cy.Hi);
        break;
    }
    case VT_DATE: m_ar << *static_cast<const COleDateTime*>(pvProp); break;
    case VT_BOOL: m_ar << static_cast<LONG>(*static_cast<const BOOL*>(pvProp)); break;
    case VT_VARIANT: m_ar << *static_cast<const COleVariant*>(pvProp); break;
    case VT_LPSTR: m_ar << *static_cast<const CString*>(pvProp); break;
    case VT_KLV_RECT: m_ar.Write(pvProp, 4 * sizeof(LONG)); break;
    case VT_KLV_SIZE: m_ar.Write(pvProp, 2 * sizeof(LONG)); break;
    default: break;
    }
}

void CKLVPropExchangeArchive::LoadValue(VARTYPE vtProp, void* pvProp) {
    switch (vtProp) {
    case VT_UI1: LoadInto<BYTE>(m_ar, pvProp); break;
    case VT_I2: LoadInto<short>(m_ar, pvProp); break;
    case VT_I4: case VT_BOOL: LoadInto<LONG>(m_ar, pvProp); break;
    case VT_R4: LoadInto<float>(m_ar, pvProp); break;
    case VT_R8: LoadInto<double>(m_ar, pvProp); break;
    case VT_CY: LoadLongs<2>(m_ar, pvProp); break;
    case VT_DATE: LoadInto<COleDateTime>(m_ar, pvProp); break;
    case VT_VARIANT: m_ar >> *static_cast<COleVariant*>(pvProp); break;
    case VT_LPSTR: m_ar >> *static_cast<CString*>(pvProp); break;
    case VT_KLV_RECT: LoadLongs<4>(m_ar, pvProp); break;
    case VT_KLV_SIZE: LoadLongs<2>(m_ar, pvProp); break;
    default: break;
    }
}

BOOL CKLVPropExchangeArchive::ExchangeBlobProp(LPCTSTR, BYTE** ppData, DWORD* pcbData) {
    if (!PrepareExchange()) return FALSE;
    if (!m_bLoading) {
        const DWORD cbData = *ppData ? *pcbData : 0;
        m_ar.WriteCount(cbData);
        m_ar.Write(*ppData, cbData);
        return TRUE;
    }
    const DWORD cbCount = static_cast<DWORD>(m_ar.ReadCount());
    std::vector<BYTE> bytes;
    while (bytes.size() < cbCount) {
        const size_t nDone = bytes.size();
        const UINT nPiece = static_cast<UINT>(std::min<size_t>(cbCount - nDone, nBlobChunk));
        bytes.resize(nDone + nPiece);
        if (m_ar.Read(bytes.data() + nDone, nPiece) != nPiece) return FALSE;
    }
    return KLVAcceptLoadedBlob(bytes, ppData, pcbData);
}

BOOL CKLVPropExchangeArchive::ExchangeClass(LPCTSTR, CRuntimeClass*& pClass, CRuntimeClass* pClassRequested) {
    if (!PrepareExchange()) return FALSE;
    if (!m_bLoading) {
        if (!pClass) return FALSE;
        m_ar.WriteClass(pClass);
        return TRUE;
    }
    CRuntimeClass* pLoaded = m_ar.ReadClass(pClassRequested, &m_dwSchema);
    if (!pLoaded) return FALSE;
    pClass = pLoaded;
    return TRUE;
}

BOOL CKLVPropExchangeArchive::ExchangeObject(CObject*& pObject, CRuntimeClass* pClassRequested) {
    if (!CKLVPropExchange::ExchangeObject(pObject, pClassRequested)) return FALSE;
    // Later references to the object within this archive resolve to it, as for objects the
    // archive writes itself.
    m_ar.MapObject(pObject);
    return TRUE;
}

CKLVPropExchange* CKLVPropExchangeArchive::OpenSection(LPCTSTR) {
    auto* pSection = new CKLVPropExchangeArchive(m_ar);
    InitSection(pSection);
    return pSection;
}

void CKLVPropExchangeArchive::WriteCount(DWORD dwCount) { m_ar.WriteCount(dwCount); }

DWORD CKLVPropExchangeArchive::ReadCount() { return static_cast<DWORD>(m_ar.ReadCount()); }

void CKLVPropExchangeArchive::Write(LPCTSTR, const void* lpBuf, UINT nCount) { m_ar.Write(lpBuf, nCount); }

UINT CKLVPropExchangeArchive::Read(LPCTSTR, void* lpBuf, UINT nCount) { return m_ar.Read(lpBuf, nCount); }

void CKLVPropExchangeArchive::ExchangeSchemaVersion() {
    if (!m_bLoading) {
        m_ar << dwSchemaMagic << static_cast<DWORD>(m_dwSchema);
        return;
    }
    // Older data has no header: look without consuming.
    m_ar.FillBuffer(sizeof(DWORD));
    if (m_ar.m_lpBufMax - m_ar.m_lpBufCur >= static_cast<ptrdiff_t>(sizeof(DWORD)) &&
        std::memcmp(m_ar.m_lpBufCur, &dwSchemaMagic, sizeof(DWORD)) == 0) {
        m_ar.m_lpBufCur += sizeof(DWORD);
        DWORD dwSchema;
        m_ar >> dwSchema;
        m_dwSchema = dwSchema;
    } else {
        m_dwSchema = nSchemaWithoutMagic;
    }
}
