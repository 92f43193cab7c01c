// The tab tests' own skin module, loaded as the resource theme for as long as it lives.
#pragma once

#include "toolkit/common/ResourceImages.h"

namespace tabs_test {

// The tests' skin module as the resource theme while it lives; none afterwards.
class SkinModule {
public:
    SkinModule() : m_hModule(::LoadLibraryExA(KLV_TAB_SKIN_DLL, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        KLVResourceImages()->SetResourceModule(m_hModule, "TABSKIN_INI");
    }
    ~SkinModule() {
        KLVResourceImages()->SetResourceModule(nullptr);
        if (m_hModule) ::FreeLibrary(m_hModule);
    }
    HMODULE m_hModule;
};

}  // namespace tabs_test
