// What every wrapper of a Win32 handle does with the handle it holds: hand it out safely, take a
// new one (freeing the one held before), give it up.
#pragma once

// The handle of an object that may be null. A pointer that may be null never calls a member
// (that is undefined, and an optimiser drops a `this` check): it goes through the free
// AfxGetSafe*() forms, which are built on this.
template <class T, class H>
H AfxSafeHandle(const T* pObject, H T::*pHandle) {
    return pObject ? pObject->*pHandle : nullptr;
}

// Takes hNew into hHeld; a different handle held before is freed with pfnFree. FALSE for null.
template <class H, class F>
bool AfxAttachHandle(H& hHeld, H hNew, F pfnFree) {
    if (!hNew) return false;
    if (hHeld && hHeld != hNew) pfnFree(hHeld);
    hHeld = hNew;
    return true;
}

// Gives the held handle up: the holder is empty afterwards.
template <class H>
H AfxDetachHandle(H& hHeld) {
    H hHandle = hHeld;
    hHeld = nullptr;
    return hHandle;
}

// Frees the held handle with pfnFree; FALSE when nothing is held.
template <class H, class F>
bool AfxFreeHandle(H& hHeld, F pfnFree) {
    return hHeld && pfnFree(AfxDetachHandle(hHeld));
}
