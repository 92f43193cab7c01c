// "config\config.ini" beside the program: section "Global" with "auto_flag" and
// "compiler_path". Values are read and written whole, however long.
#pragma once

#include "classlib/ClassLib.h"

CString GetConfigFilePath();
CString ReadConfigValue(LPCSTR lpszKey, LPCSTR lpszDefault);
BOOL WriteConfigValue(LPCSTR lpszKey, LPCSTR lpszValue);
