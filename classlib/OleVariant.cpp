#include "classlib/OleVariant.h"

#include <algorithm>
#include <cstring>
#include <vector>

CArchive& operator<<(CArchive& ar, const COleDateTime& dateSrc) {
    return ar << static_cast<LONG>(dateSrc.m_status) << dateSrc.m_dt;
}

CArchive& operator>>(CArchive& ar, COleDateTime& dateSrc) {
    LONG lStatus;
    DATE dt;
    ar >> lStatus >> dt;
    dateSrc.m_status = static_cast<COleDateTime::DateTimeStatus>(lStatus);
    dateSrc.m_dt = dt;
    return ar;
}

COleVariant::COleVariant(const VARIANT& varSrc) {
    VariantInit(this);
    *this = varSrc;
}

COleVariant::COleVariant(const COleVariant& varSrc) : COleVariant(static_cast<const VARIANT&>(varSrc)) {}

COleVariant::COleVariant(LONG lSrc, VARTYPE vtSrc) {
    VariantInit(this);
    vt = vtSrc;
    switch (vtSrc) {
    case VT_BOOL: boolVal = lSrc ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VT_I2: iVal = static_cast<SHORT>(lSrc); break;
    case VT_ERROR: scode = lSrc; break;
    default: vt = VT_I4; lVal = lSrc; break;
    }
}

COleVariant::COleVariant(double dblSrc) noexcept {
    VariantInit(this);
    vt = VT_R8;
    dblVal = dblSrc;
}

COleVariant::COleVariant(LPCSTR lpszSrc) {
    VariantInit(this);
    const int nWide = MultiByteToWideChar(CP_ACP, 0, lpszSrc, -1, nullptr, 0);
    bstrVal = SysAllocStringLen(nullptr, nWide > 0 ? nWide - 1 : 0);
    if (!bstrVal) AfxThrowMemoryException();
    if (nWide > 1) MultiByteToWideChar(CP_ACP, 0, lpszSrc, -1, bstrVal, nWide);
    vt = VT_BSTR;
}

COleVariant& COleVariant::operator=(const VARIANT& varSrc) {
    if (&varSrc == this) return *this;
    if (FAILED(VariantCopy(this, const_cast<VARIANT*>(&varSrc)))) AfxThrowMemoryException();
    return *this;
}

namespace {

// Bytes of the value's archive form for the fixed-size types; -1 for types without one.
int FixedSize(VARTYPE vt) {
    switch (vt) {
    case VT_EMPTY: case VT_NULL: return 0;
    case VT_UI1: case VT_I1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
    case VT_R8: case VT_DATE: case VT_CY: case VT_I8: case VT_UI8: return 8;
    default: return -1;
    }
}

// The value bytes start the union, little-endian; CY goes out as its low word first.
const void* ValueBytes(const VARIANT& var) { return &var.llVal; }

}  // namespace

bool COleVariant::operator==(const VARIANT& varSrc) const {
    if (vt != varSrc.vt) return false;
    if (vt == VT_BSTR) {
        const UINT nBytes = SysStringByteLen(bstrVal);
        return nBytes == SysStringByteLen(varSrc.bstrVal) &&
               (nBytes == 0 || std::memcmp(bstrVal, varSrc.bstrVal, nBytes) == 0);
    }
    const int nSize = FixedSize(vt);
    return nSize >= 0 && std::memcmp(ValueBytes(*this), ValueBytes(varSrc), nSize) == 0;
}

CArchive& operator<<(CArchive& ar, const COleVariant& varSrc) {
    const VARTYPE vt = varSrc.vt;
    if (vt == VT_BSTR) {
        const DWORD nBytes = SysStringByteLen(varSrc.bstrVal);
        ar << static_cast<WORD>(vt) << nBytes;
        ar.Write(varSrc.bstrVal, nBytes);
        return ar;
    }
    const int nSize = FixedSize(vt);
    if (nSize < 0) AfxThrowArchiveException(CArchiveException::genericException);
    ar << static_cast<WORD>(vt);
    ar.Write(ValueBytes(varSrc), static_cast<UINT>(nSize));
    return ar;
}

CArchive& operator>>(CArchive& ar, COleVariant& varSrc) {
    WORD wType;
    ar >> wType;
    COleVariant result;
    const VARTYPE vt = wType;
    if (vt == VT_BSTR) {
        DWORD nBytes;
        ar >> nBytes;
        // Read in pieces so that a damaged length fails at the end of the data instead of
        // allocating whatever it claims.
        std::vector<BYTE> bytes;
        const DWORD nChunk = 0x10000;
        while (bytes.size() < nBytes) {
            const size_t nDone = bytes.size();
            const UINT nPiece = static_cast<UINT>(std::min<size_t>(nBytes - nDone, nChunk));
            bytes.resize(nDone + nPiece);
            if (ar.Read(bytes.data() + nDone, nPiece) != nPiece) AfxThrowArchiveException(CArchiveException::endOfFile);
        }
        result.bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(bytes.data()), nBytes);
        if (!result.bstrVal) AfxThrowMemoryException();
    } else {
        const int nSize = FixedSize(vt);
        if (nSize < 0) AfxThrowArchiveException(CArchiveException::genericException);
        BYTE value[8] = {};
        if (ar.Read(value, static_cast<UINT>(nSize)) != static_cast<UINT>(nSize))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        std::memcpy(&result.llVal, value, sizeof value);
    }
    result.vt = vt;
    varSrc.Clear();
    std::memcpy(static_cast<VARIANT*>(&varSrc), static_cast<VARIANT*>(&result), sizeof(VARIANT));
    VariantInit(&result);  // ownership moved to varSrc
    return ar;
}
