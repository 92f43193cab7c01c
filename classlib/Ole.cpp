#include "classlib/Ole.h"

BOOL AfxOleInit() {
    HRESULT hr = ::OleInitialize(nullptr);
    if (FAILED(hr)) return FALSE;
    if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->m_bOleStarted) ::OleUninitialize();   // one start per application is enough
        pApp->m_bOleStarted = TRUE;
    }
    return TRUE;
}
