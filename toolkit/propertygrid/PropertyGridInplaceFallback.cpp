// The one edit and one list of items outside any grid view. Their windows go when the
// application exits, before static objects are destroyed, so that no window object outlives
// the window system.
#include "toolkit/propertygrid/PropertyGridInplace.h"

#include <cstdlib>

namespace {

void DestroyWindowOf(CWnd& wnd) {
    HWND hWnd = wnd.GetSafeHwnd();
    if (!hWnd) return;
    if (::IsWindow(hWnd)) wnd.DestroyWindow();
    if (wnd.GetSafeHwnd()) wnd.Detach();
}

void ReleaseEdit() {
    KLVPropertyGridFallbackEdit().DestroyItem();
    DestroyWindowOf(KLVPropertyGridFallbackEdit());
}

void ReleaseList() {
    KLVPropertyGridFallbackList().DestroyItem();
    DestroyWindowOf(KLVPropertyGridFallbackList());
}

}  // namespace

// Each exit handler is registered after its object is built, so it runs before the object is
// destroyed.
CKLVPropertyGridInplaceEdit& KLVPropertyGridFallbackEdit() {
    static CKLVPropertyGridInplaceEdit s_edit;
    static const bool s_bRegistered = std::atexit(ReleaseEdit) == 0;
    (void)s_bRegistered;
    return s_edit;
}

CKLVPropertyGridInplaceList& KLVPropertyGridFallbackList() {
    static CKLVPropertyGridInplaceList s_list;
    static const bool s_bRegistered = std::atexit(ReleaseList) == 0;
    (void)s_bRegistered;
    return s_list;
}

void KLVPropertyGridReleaseFallbackWindows() {
    ReleaseEdit();
    ReleaseList();
}
