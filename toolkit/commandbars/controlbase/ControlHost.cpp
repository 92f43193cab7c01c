#include "toolkit/commandbars/controlbase/ControlHost.h"

namespace {

struct Registration {
    CKLVControlHost::HostOfBar pfnHostOf = nullptr;
    CRuntimeClass* pPopupBarClass = nullptr;
};

// Filled before main by the bars' library; a function's own static so that the registration
// never runs before it exists.
Registration& Bars() {
    static Registration registration;
    return registration;
}

}  // namespace

void CKLVControlHost::RegisterBars(HostOfBar pfnHostOf) { Bars().pfnHostOf = pfnHostOf; }

void CKLVControlHost::RegisterPopupBarClass(CRuntimeClass* pPopupBarClass) { Bars().pPopupBarClass = pPopupBarClass; }

CKLVControlHost* CKLVControlHost::Of(CKLVCommandBar* pBar) {
    return pBar && Bars().pfnHostOf ? Bars().pfnHostOf(pBar) : nullptr;
}

CRuntimeClass* CKLVControlHost::GetPopupBarClass() { return Bars().pPopupBarClass; }
