#include "toolkit/common/OSVersionInfo.h"

CKLVOSVersionInfo::CKLVOSVersionInfo() noexcept : OSVERSIONINFOA{} {
    dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
}

CKLVOSVersionInfo* GetOSVersionInfo() {
    static CKLVOSVersionInfo s_info = [] {
        CKLVOSVersionInfo info;
        ::GetVersionExA(&info);
        return info;
    }();
    return &s_info;
}
