// Text between the program's byte strings and the system's wide strings, in a code page: CP_ACP
// for paths and names the ANSI calls take, CP_UTF8 for the user guide's pages.
#pragma once

#include <windows.h>

#include <string>

std::wstring WideText(const std::string& strText, UINT nCodePage);
std::string NarrowText(const std::wstring& strWide, UINT nCodePage);
