// Keyed stores for saved command-bar state, as a program would keep it: every value under its
// section path, text as text and the rest as its bytes, values equal to their defaults left out.
// One store keeps the values in a map, the other in the registry.
#pragma once

#include "toolkit/common/PropExchange.h"

#include <cstring>
#include <map>
#include <string>

namespace commandbars_test {

// Where the values of a keyed store live; keys are section paths joined by '\'.
class CValueBackend {
public:
    virtual ~CValueBackend() = default;
    virtual void Put(const std::string& key, const std::string& value, BOOL bText) = 0;
    virtual BOOL Get(const std::string& key, std::string& value) = 0;
};

class CMapBackend : public CValueBackend {
public:
    void Put(const std::string& key, const std::string& value, BOOL) override { m_values[key] = value; }
    BOOL Get(const std::string& key, std::string& value) override {
        auto found = m_values.find(key);
        if (found == m_values.end()) return FALSE;
        value = found->second;
        return TRUE;
    }
    std::map<std::string, std::string> m_values;
};

// Under HKEY_CURRENT_USER\<root>, emptied when made and when gone.
class CRegistryBackend : public CValueBackend {
public:
    explicit CRegistryBackend(std::string root) : m_root(std::move(root)) { Clear(); }
    ~CRegistryBackend() override { Clear(); }
    void Clear() { ::RegDeleteTreeA(HKEY_CURRENT_USER, m_root.c_str()); }
    void Put(const std::string& key, const std::string& value, BOOL bText) override {
        HKEY hKey = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, Path(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                              nullptr) != ERROR_SUCCESS)
            return;
        ::RegSetValueExA(hKey, Name(key).c_str(), 0, bText ? REG_SZ : REG_BINARY,
                         reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + (bText ? 1 : 0)));
        ::RegCloseKey(hKey);
    }
    BOOL Get(const std::string& key, std::string& value) override {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, Path(key).c_str(), 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
            return FALSE;
        DWORD dwType = 0, cbData = 0;
        BOOL bFound = ::RegQueryValueExA(hKey, Name(key).c_str(), nullptr, &dwType, nullptr, &cbData) == ERROR_SUCCESS;
        std::string data(cbData, '\0');
        bFound = bFound && ::RegQueryValueExA(hKey, Name(key).c_str(), nullptr, &dwType,
                                              reinterpret_cast<BYTE*>(&data[0]), &cbData) == ERROR_SUCCESS;
        ::RegCloseKey(hKey);
        if (!bFound) return FALSE;
        data.resize(cbData);
        if (dwType == REG_SZ && !data.empty() && data.back() == '\0') data.pop_back();
        value = data;
        return TRUE;
    }

private:
    std::string Path(const std::string& key) const {
        const size_t nSlash = key.rfind('\\');
        return nSlash == std::string::npos ? m_root : m_root + "\\" + key.substr(0, nSlash);
    }
    static std::string Name(const std::string& key) {
        const size_t nSlash = key.rfind('\\');
        return nSlash == std::string::npos ? key : key.substr(nSlash + 1);
    }
    std::string m_root;
};

class CStoreExchange : public CKLVPropExchange {
public:
    CStoreExchange(CValueBackend& backend, BOOL bLoading, std::string prefix = "")
        : m_backend(backend), m_prefix(std::move(prefix)) {
        m_bLoading = bLoading;
    }
    CKLVPropExchange* OpenSection(LPCTSTR pszSection) override {
        auto* pSection = new CStoreExchange(m_backend, m_bLoading, m_prefix + pszSection + "\\");
        InitSection(pSection);
        return pSection;
    }
    BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vt, void* pvProp, const void* pvDefault) override {
        const std::string key = m_prefix + pszPropName;
        std::string value;
        if (m_bLoading) {
            if (m_backend.Get(key, value)) return Take(vt, value, pvProp);
            return pvDefault && Take(vt, ValueOf(vt, pvDefault), pvProp);
        }
        value = vt == VT_LPSTR ? std::string(*static_cast<const CString*>(pvProp)) : ValueOf(vt, pvProp);
        if (!pvDefault || value != ValueOf(vt, pvDefault)) m_backend.Put(key, value, vt == VT_LPSTR);
        return TRUE;
    }

private:
    static size_t SizeOf(VARTYPE vt) {
        switch (vt) {
        case VT_UI1: return 1;
        case VT_I2: return 2;
        case VT_KLV_SIZE: return 2 * sizeof(LONG);
        case VT_KLV_RECT: return 4 * sizeof(LONG);
        default: return sizeof(LONG);
        }
    }
    // A default of text is an LPCTSTR; any other value is the bytes of its type.
    static std::string ValueOf(VARTYPE vt, const void* pv) {
        if (vt == VT_LPSTR) return static_cast<LPCTSTR>(pv);
        return std::string(static_cast<const char*>(pv), SizeOf(vt));
    }
    static BOOL Take(VARTYPE vt, const std::string& value, void* pvProp) {
        if (vt == VT_LPSTR) {
            *static_cast<CString*>(pvProp) = value.c_str();
            return TRUE;
        }
        if (value.size() != SizeOf(vt)) return FALSE;
        std::memcpy(pvProp, value.data(), value.size());
        return TRUE;
    }

    CValueBackend& m_backend;
    std::string m_prefix;
};

}  // namespace commandbars_test
