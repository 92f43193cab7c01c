// Rectangles initialised from a window: empty when there is no window.
#pragma once

#include "classlib/Wnd.h"

class CKLVEmptyRect : public CRect {
public:
    CKLVEmptyRect() noexcept : CRect(0, 0, 0, 0) {}
};

class CKLVWindowRect : public CKLVEmptyRect {
public:
    explicit CKLVWindowRect(HWND hWnd) {
        if (::IsWindow(hWnd)) ::GetWindowRect(hWnd, this);
    }
    explicit CKLVWindowRect(const CWnd* pWnd) : CKLVWindowRect(AfxGetSafeHwnd(pWnd)) {}
};

class CKLVClientRect : public CKLVEmptyRect {
public:
    explicit CKLVClientRect(const CWnd* pWnd) {
        HWND hWnd = AfxGetSafeHwnd(pWnd);
        if (::IsWindow(hWnd)) ::GetClientRect(hWnd, this);
    }
};
