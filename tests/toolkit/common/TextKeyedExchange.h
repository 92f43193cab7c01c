// A keyed back-end for the tests: values as text under "section\\name" keys; a missing key loads
// its default, or leaves the value and fails without one. Told to, it writes no value that equals
// its default, as registry stores do.
#pragma once

#include "toolkit/common/PropExchange.h"

#include <map>
#include <string>
#include <utility>

class CTextKeyedExchange : public CKLVPropExchange {
public:
    CTextKeyedExchange(std::map<std::string, std::string>& store, BOOL bLoading, std::string prefix = "",
                       BOOL bOmitDefaults = FALSE)
        : m_store(store), m_prefix(std::move(prefix)), m_bOmitDefaults(bOmitDefaults) {
        m_bLoading = bLoading;
    }

    BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault) override {
        const std::string key = m_prefix + pszPropName;
        if (!m_bLoading) {
            const std::string value = Text(vtProp, pvProp);
            if (!(m_bOmitDefaults && pvDefault && value == Text(vtProp, pvDefault, TRUE))) m_store[key] = value;
            return TRUE;
        }
        auto found = m_store.find(key);
        if (found == m_store.end() && !pvDefault) return FALSE;
        if (vtProp == VT_LPSTR)
            *static_cast<CString*>(pvProp) = found != m_store.end() ? found->second.c_str() : static_cast<LPCTSTR>(pvDefault);
        else
            *static_cast<long*>(pvProp) = found != m_store.end() ? std::stol(found->second) : *static_cast<const long*>(pvDefault);
        return TRUE;
    }

    CKLVPropExchange* OpenSection(LPCTSTR pszSection) override {
        auto* pSection = new CTextKeyedExchange(m_store, m_bLoading, m_prefix + pszSection + "\\", m_bOmitDefaults);
        InitSection(pSection);
        return pSection;
    }

private:
    // A text value is a CString, its default an LPCTSTR.
    static std::string Text(VARTYPE vtProp, const void* pv, BOOL bDefault = FALSE) {
        if (vtProp != VT_LPSTR) return std::to_string(*static_cast<const long*>(pv));
        return bDefault ? static_cast<LPCTSTR>(pv) : std::string(*static_cast<const CString*>(pv));
    }

    std::map<std::string, std::string>& m_store;
    std::string m_prefix;
    BOOL m_bOmitDefaults;
};
