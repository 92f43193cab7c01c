// The values the accessible parts of the docking panes hand out.
#pragma once

#include "classlib/String.h"

#include <oleauto.h>

namespace KLVDockingAccessible {

inline HRESULT MakeBstr(const CString& str, BSTR* pbstr) {
    const int nChars = ::MultiByteToWideChar(CP_ACP, 0, str, -1, nullptr, 0);
    *pbstr = ::SysAllocStringLen(nullptr, static_cast<UINT>(nChars > 0 ? nChars - 1 : 0));
    if (!*pbstr) return E_OUTOFMEMORY;
    if (nChars > 1) ::MultiByteToWideChar(CP_ACP, 0, str, -1, *pbstr, nChars);
    return S_OK;
}

inline HRESULT MakeLong(VARIANT* pVar, long lValue) {
    ::VariantInit(pVar);
    pVar->vt = VT_I4;
    pVar->lVal = lValue;
    return S_OK;
}

}  // namespace KLVDockingAccessible
