// The system's own words for an error code, as the program's messages quote them.
#pragma once

#include <windows.h>

#include <string>

// "error N: <the system's text>" (without its closing line end), or "error N" when the system has
// no text for it.
std::string SystemErrorText(DWORD nError);
