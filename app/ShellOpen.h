// Opens an address with the program the system gives it. Wine hands a web address to its browser
// launcher, which starts without fault and only then finds no browser: such a launcher is watched,
// and an end with a failure code is told to the window afterwards.
#pragma once

#include <windows.h>

#include <string>

class CShellOpen {
public:
    // Posted to the window given to Open when the program started for an address ends with a
    // failure code: WPARAM the code, LPARAM a std::string* (the cause in words) the window deletes.
    static const UINT WM_SHELL_OPEN_FAILED = WM_APP + 0x330;

    // Empty when the address was handed on; otherwise why not, in words.
    static std::string Open(HWND hWndNotify, const std::string& strTarget);

    // The cause posted with WM_SHELL_OPEN_FAILED, taken from its LPARAM.
    static std::string TakeFailure(LPARAM lParam);
};
