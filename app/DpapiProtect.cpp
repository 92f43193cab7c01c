#include "app/DpapiProtect.h"

#include "app/SystemErrorText.h"

#include <windows.h>

#include <wincrypt.h>

namespace {

// The blob's bytes freed by the system's allocator when it goes.
struct CLocalBlob {
    DATA_BLOB blob{0, nullptr};
    ~CLocalBlob() {
        if (blob.pbData) ::LocalFree(blob.pbData);
    }
};

DATA_BLOB BlobOf(const std::string& strBytes) {
    return DATA_BLOB{static_cast<DWORD>(strBytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(strBytes.data()))};
}

}  // namespace

bool DpapiProtect(const std::string& strClear, std::string& strProtected, std::string& strWhy) {
    strProtected.clear();
    if (strClear.empty()) return true;
    DATA_BLOB in = BlobOf(strClear);
    CLocalBlob out;
    if (!::CryptProtectData(&in, L"Kelvane call settings", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out.blob)) {
        strWhy = "the system's data protection refused it (" + SystemErrorText(::GetLastError()) + ")";
        return false;
    }
    strProtected.assign(reinterpret_cast<const char*>(out.blob.pbData), out.blob.cbData);
    return true;
}

bool DpapiUnprotect(const std::string& strProtected, std::string& strClear) {
    strClear.clear();
    if (strProtected.empty()) return true;
    DATA_BLOB in = BlobOf(strProtected);
    CLocalBlob out;
    if (!::CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out.blob)) return false;
    strClear.assign(reinterpret_cast<const char*>(out.blob.pbData), out.blob.cbData);
    return true;
}
