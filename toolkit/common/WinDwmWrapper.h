// The desktop window manager's frame functions, bound at run time: systems without it get
// failure values and nothing is called.
#pragma once

#include "classlib/Object.h"

struct CKLVWinDwmApiTable {
    FARPROC m_pfnDwmDefWindowProc = nullptr;
    FARPROC m_pfnReserved = nullptr;
    FARPROC m_pfnDwmExtendFrameIntoClientArea = nullptr;
    HMODULE m_hModule = nullptr;
};

// The process-wide binding, made on first use.
CKLVWinDwmApiTable* GetWinDwmApiTable();

class CKLVWinDwmWrapper {
public:
    // FALSE when the manager did not handle the message or is missing: a caller that sees TRUE
    // must take *plResult as the message's result.
    static BOOL DwmDefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);
    // The margins go to the system in its order: left, right, top, bottom.
    static HRESULT DwmExtendFrameIntoClientArea(HWND hWnd, int nLeft, int nTop, int nRight, int nBottom);
};
