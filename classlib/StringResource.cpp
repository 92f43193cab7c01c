// Kept apart from String.cpp: it needs the application's resource handles, which only
// programs that load string resources link in.
#include "classlib/String.h"
#include "classlib/WinApp.h"

BOOL CString::LoadString(UINT nID) {
    HINSTANCE hInstance = AfxFindStringResourceHandle(nID);
    return hInstance ? LoadString(hInstance, nID) : FALSE;
}
