// An embedded object for tests of containers: a short type name and a list of verbs, each with
// its number and attributes; every other request is refused.
#pragma once

#include <ole2.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct CFakeVerb {
    LONG lVerb;
    std::wstring name;
    DWORD grfAttribs;
};

// Counted references (the maker holds the first) and the one interface besides IUnknown.
template <class TInterface>
class CFakeUnknown : public TInterface {
public:
    explicit CFakeUnknown(REFIID iid) : m_iid(iid) {}
    virtual ~CFakeUnknown() = default;
    ULONG GetRefs() const { return m_nRefs; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (riid != IID_IUnknown && riid != m_iid) return *ppv = nullptr, E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG nRefs = --m_nRefs;
        if (nRefs == 0) delete this;
        return nRefs;
    }

private:
    IID m_iid;
    ULONG m_nRefs = 1;
};

class CFakeVerbEnum : public CFakeUnknown<IEnumOLEVERB> {
public:
    explicit CFakeVerbEnum(const std::vector<CFakeVerb>& verbs) : CFakeUnknown(IID_IEnumOLEVERB), m_verbs(verbs) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPOLEVERB rgelt, ULONG* pceltFetched) override {
        ULONG nFetched = 0;
        for (; nFetched < celt && m_nNext < m_verbs.size(); ++nFetched, ++m_nNext) {
            const CFakeVerb& verb = m_verbs[m_nNext];
            const size_t cb = (verb.name.size() + 1) * sizeof(wchar_t);
            auto* pszName = static_cast<LPOLESTR>(::CoTaskMemAlloc(cb));
            std::wmemcpy(pszName, verb.name.c_str(), verb.name.size() + 1);
            rgelt[nFetched] = {verb.lVerb, pszName, 0, verb.grfAttribs};
        }
        if (pceltFetched) *pceltFetched = nFetched;
        return nFetched == celt ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override {
        m_nNext += celt;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_nNext = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumOLEVERB** ppenum) override {
        *ppenum = nullptr;
        return E_NOTIMPL;
    }

private:
    std::vector<CFakeVerb> m_verbs;
    size_t m_nNext = 0;
};

class CFakeOleObject : public CFakeUnknown<IOleObject> {
public:
    CFakeOleObject(std::wstring type, std::vector<CFakeVerb> verbs)
        : CFakeUnknown(IID_IOleObject), m_type(std::move(type)), m_verbs(std::move(verbs)) {}

    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** ppEnum) override {
        *ppEnum = new CFakeVerbEnum(m_verbs);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* pszUserType) override {
        const size_t cb = (m_type.size() + 1) * sizeof(wchar_t);
        *pszUserType = static_cast<LPOLESTR>(::CoTaskMemAlloc(cb));
        std::wmemcpy(*pszUserType, m_type.c_str(), m_type.size() + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

private:
    std::wstring m_type;
    std::vector<CFakeVerb> m_verbs;
};

}  // namespace testsupport
