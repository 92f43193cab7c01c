// The user guide: help.chm in the system's HTML Help viewer, or, where that viewer cannot draw
// pages (Wine without its Gecko engine), the same pages installed beside the program in the
// desktop's browser.
#pragma once

#include "classlib/ClassLib.h"

// Whether HTML Help can draw the guide's pages here: always on Windows; under Wine only with its
// HTML module enabled and a Gecko engine installed where Wine looks for it.
BOOL HelpViewerDrawsPages();

// Whether the folder holds an engine: "<version>\wine_gecko" (a prefix's install) or
// "wine-gecko-<version>-<arch>" (a shared one); a folder with neither (a prefix's plug-in folder
// only) holds none.
BOOL HoldsGeckoEngine(const CString& strFolder);

// HTML Help on the file's default topic; FALSE when no viewer window came.
BOOL OpenHtmlHelp(HWND hWndOwner, LPCSTR lpszChmPath);
