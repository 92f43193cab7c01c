// A keyed back-end for the tests: every value as a long under "section\\name" (a size as two,
// under "name\\cx" and "name\\cy"); a missing key loads its default, or fails without one.
#pragma once

#include "toolkit/common/PropExchange.h"

#include <map>
#include <string>

namespace commandbars_test {

class CKeyedExchange : public CKLVPropExchange {
public:
    CKeyedExchange(std::map<std::string, long>& store, BOOL bLoading, std::string prefix = "")
        : m_store(store), m_prefix(std::move(prefix)) {
        m_bLoading = bLoading;
    }
    BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vt, void* pvProp, const void* pvDefault) override {
        const std::string key = m_prefix + pszPropName;
        if (vt == VT_KLV_SIZE) {
            auto* pSize = static_cast<SIZE*>(pvProp);
            const auto* pDefault = static_cast<const SIZE*>(pvDefault);
            return Exchange(key + "\\cx", &pSize->cx, pDefault ? &pDefault->cx : nullptr) &&
                   Exchange(key + "\\cy", &pSize->cy, pDefault ? &pDefault->cy : nullptr);
        }
        if (!m_bLoading) {
            m_store[key] = vt == VT_UI1 ? *static_cast<BYTE*>(pvProp)
                         : vt == VT_I2  ? *static_cast<short*>(pvProp)
                                        : *static_cast<long*>(pvProp);
            return TRUE;
        }
        auto found = m_store.find(key);
        const long value = found != m_store.end() ? found->second : pvDefault ? DefaultOf(vt, pvDefault) : 0;
        if (vt == VT_UI1) *static_cast<BYTE*>(pvProp) = static_cast<BYTE>(value);
        else if (vt == VT_I2) *static_cast<short*>(pvProp) = static_cast<short>(value);
        else *static_cast<long*>(pvProp) = value;
        return found != m_store.end() || pvDefault;
    }
    CKLVPropExchange* OpenSection(LPCTSTR pszSection) override {
        auto* pSection = new CKeyedExchange(m_store, m_bLoading, m_prefix + pszSection + "\\");
        InitSection(pSection);
        return pSection;
    }

private:
    static long DefaultOf(VARTYPE vt, const void* pvDefault) {
        if (vt == VT_UI1) return *static_cast<const BYTE*>(pvDefault);
        if (vt == VT_I2) return *static_cast<const short*>(pvDefault);
        return *static_cast<const long*>(pvDefault);
    }
    BOOL Exchange(const std::string& key, LONG* pValue, const LONG* pDefault) {
        if (!m_bLoading) {
            m_store[key] = *pValue;
            return TRUE;
        }
        auto found = m_store.find(key);
        if (found != m_store.end()) *pValue = found->second;
        else if (pDefault) *pValue = *pDefault;
        return found != m_store.end() || pDefault;
    }

    std::map<std::string, long>& m_store;
    std::string m_prefix;
};

}  // namespace commandbars_test
