#include "app/ErrorBox.h"

PFNAPPMESSAGEBOX g_pfnAppMessageBox = ::MessageBoxA;

int AppMessageBox(CWnd* pOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    return g_pfnAppMessageBox(AfxGetSafeHwnd(pOwner), lpszText, lpszCaption, nType);
}
