#include "app/AppConfig.h"

#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <vector>

namespace {

const char* const s_lpszSection = "Global";

}  // namespace

CString GetConfigFilePath() {
    return GetModuleDirectory() + ".\\config\\config.ini";
}

// The buffer grows until the value fits: the profile call fills it to one short of its size
// when it cut the value.
CString ReadConfigValue(LPCSTR lpszKey, LPCSTR lpszDefault) {
    const CString strPath = GetConfigFilePath();
    std::vector<char> buffer(256);
    for (;;) {
        const DWORD nLength = ::GetPrivateProfileStringA(s_lpszSection, lpszKey, lpszDefault, buffer.data(),
                                                         static_cast<DWORD>(buffer.size()), strPath);
        if (nLength + 1 < buffer.size()) return CString(buffer.data());
        buffer.resize(buffer.size() * 2);
    }
}

BOOL WriteConfigValue(LPCSTR lpszKey, LPCSTR lpszValue) {
    return ::WritePrivateProfileStringA(s_lpszSection, lpszKey, lpszValue, GetConfigFilePath());
}
