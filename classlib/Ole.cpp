#include "classlib/Ole.h"

#include "classlib/WinApp.h"

BOOL AfxOleInit() {
    HRESULT hr = ::OleInitialize(nullptr);
    if (FAILED(hr)) return FALSE;
    if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->m_bOleStarted) ::OleUninitialize();   // one start per application is enough
        pApp->m_bOleStarted = TRUE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// COleDataObject.

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
    LPDATAOBJECT lpDataObject = m_lpDataObject;
    m_lpDataObject = nullptr;
    return lpDataObject;
}

void COleDataObject::Release() {
    if (m_lpDataObject && m_bAutoRelease) m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

namespace {

FORMATETC GlobalFormat(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (lpFormatEtc) return *lpFormatEtc;
    return FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

}  // namespace

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) const {
    if (!m_lpDataObject) return FALSE;
    FORMATETC format = GlobalFormat(cfFormat, lpFormatEtc);
    return m_lpDataObject->QueryGetData(&format) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) const {
    if (!m_lpDataObject) return nullptr;
    FORMATETC format = GlobalFormat(cfFormat, lpFormatEtc);
    STGMEDIUM medium = {};
    if (FAILED(m_lpDataObject->GetData(&format, &medium))) return nullptr;
    if (medium.tymed == TYMED_HGLOBAL && !medium.pUnkForRelease) return medium.hGlobal;
    // Memory the giver keeps (or another medium): the caller gets a copy of its own.
    HGLOBAL hCopy = nullptr;
    if (medium.tymed == TYMED_HGLOBAL) hCopy = static_cast<HGLOBAL>(::OleDuplicateData(medium.hGlobal, cfFormat, GMEM_MOVEABLE));
    ::ReleaseStgMedium(&medium);
    return hCopy;
}
