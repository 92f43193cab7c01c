// Starts a program without a window, reading nothing (its input is NUL) and writing its output
// and errors to a handle the caller made inheritable.
#pragma once

#include <windows.h>

#include <string>

// FALSE when it did not start (GetLastError says why); else the process and its thread, which
// the caller closes.
BOOL StartHiddenProcess(const std::string& strCommandLine, const std::string& strFolder, HANDLE hOutput,
                        PROCESS_INFORMATION& process);
