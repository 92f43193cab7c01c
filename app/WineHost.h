// What the program needs to know when Wine runs it: whether it does, and where a Windows path
// lies in the Unix file system.
#pragma once

#include <string>

bool IsRunningUnderWine();
// The Unix path of a Windows path; empty outside Wine or for a path Wine cannot place.
std::string UnixPathOf(const std::string& strWindowsPath);
// Whether the file is a Windows program (it starts with "MZ").
bool IsWindowsProgram(const std::string& strPath);
