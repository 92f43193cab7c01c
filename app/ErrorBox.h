// The program's own message boxes ("ERROR!" with the error icon, and the image warnings), through
// one function the tests replace to read them.
#pragma once

#include "classlib/ClassLib.h"

using PFNAPPMESSAGEBOX = int(WINAPI*)(HWND hWnd, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);
extern PFNAPPMESSAGEBOX g_pfnAppMessageBox;

int AppMessageBox(CWnd* pOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType);
inline int ShowErrorBox(CWnd* pOwner, LPCSTR lpszText) {
    return AppMessageBox(pOwner, lpszText, "ERROR!", MB_ICONERROR);
}
