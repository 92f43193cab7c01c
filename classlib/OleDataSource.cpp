#include "classlib/Ole.h"

#include <shlobj.h>

#include <vector>

namespace {

// IUnknown of one interface, counted; the object deletes itself at zero.
template <class I>
class CCountedUnknown : public I {
public:
    virtual ~CCountedUnknown() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == __uuidof(I)) {
            *ppv = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_nRefs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG nRefs = ::InterlockedDecrement(&m_nRefs);
        if (nRefs == 0) delete this;
        return static_cast<ULONG>(nRefs);
    }

private:
    LONG m_nRefs = 1;
};

// Ends the drag by the button held when it started (the left one when both or neither are):
// its release drops, the other button or Escape cancels.
class CDropSource : public CCountedUnknown<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override {
        if (!m_dwButtonDrop) {
            const bool bRight = (grfKeyState & (MK_LBUTTON | MK_RBUTTON)) == MK_RBUTTON;
            m_dwButtonDrop = bRight ? MK_RBUTTON : MK_LBUTTON;
            m_dwButtonCancel = bRight ? MK_LBUTTON : MK_RBUTTON;
        }
        if (fEscapePressed || (grfKeyState & m_dwButtonCancel)) return DRAGDROP_S_CANCEL;
        return (grfKeyState & m_dwButtonDrop) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    DWORD m_dwButtonDrop = 0;   // set by the first query
    DWORD m_dwButtonCancel = 0;
};

}  // namespace

// The offered formats, each with its global memory; GetData hands out copies.
class COleDataSource::CDataObjectImpl : public CCountedUnknown<IDataObject> {
public:
    ~CDataObjectImpl() override { Empty(); }

    void Cache(const FORMATETC& format, HGLOBAL hGlobal) {
        for (Entry& entry : m_entries) {
            if (entry.format.cfFormat == format.cfFormat && entry.format.dwAspect == format.dwAspect) {
                ::GlobalFree(entry.hGlobal);
                entry = Entry{format, hGlobal};
                return;
            }
        }
        m_entries.push_back(Entry{format, hGlobal});
    }
    void Empty() {
        for (Entry& entry : m_entries) ::GlobalFree(entry.hGlobal);
        m_entries.clear();
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override {
        if (!pFormat || !pMedium) return E_INVALIDARG;
        const Entry* pEntry = Find(*pFormat);
        if (!pEntry) return DV_E_FORMATETC;
        HGLOBAL hCopy = static_cast<HGLOBAL>(::OleDuplicateData(pEntry->hGlobal, pFormat->cfFormat, GMEM_MOVEABLE));
        if (!hCopy) return E_OUTOFMEMORY;
        pMedium->tymed = TYMED_HGLOBAL;
        pMedium->hGlobal = hCopy;
        pMedium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pFormat) override {
        return pFormat && Find(*pFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pFormatOut) override {
        if (pFormatOut) pFormatOut->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) override {
        if (!ppEnum) return E_INVALIDARG;
        *ppEnum = nullptr;
        if (dwDirection != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Entry& entry : m_entries) formats.push_back(entry.format);
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), ppEnum);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Entry {
        FORMATETC format;
        HGLOBAL hGlobal;
    };
    const Entry* Find(const FORMATETC& format) const {
        for (const Entry& entry : m_entries) {
            if (entry.format.cfFormat == format.cfFormat && entry.format.dwAspect == format.dwAspect &&
                (format.tymed & TYMED_HGLOBAL))
                return &entry;
        }
        return nullptr;
    }
    std::vector<Entry> m_entries;
};

COleDataSource::COleDataSource() : m_pImpl(new CDataObjectImpl) {}

COleDataSource::~COleDataSource() { m_pImpl->Release(); }

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
    FORMATETC format = lpFormatEtc ? *lpFormatEtc : FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    format.ptd = nullptr;
    format.tymed = TYMED_HGLOBAL;
    m_pImpl->Cache(format, hGlobal);
}

void COleDataSource::Empty() { m_pImpl->Empty(); }

LPDATAOBJECT COleDataSource::GetDataObject() {
    m_pImpl->AddRef();
    return m_pImpl;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects) {
    CDropSource* pSource = new CDropSource;
    DWORD dwEffect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(m_pImpl, pSource, dwEffects, &dwEffect);
    pSource->Release();
    return hr == DRAGDROP_S_DROP ? dwEffect : DROPEFFECT_NONE;
}
