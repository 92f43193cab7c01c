// The operating-system version record and the version tests the toolkit branches on.
#pragma once

#include "classlib/Object.h"

// Exactly the system's version record (size, major, minor, build, platform, service pack).
class CKLVOSVersionInfo : public OSVERSIONINFOA {
public:
    CKLVOSVersionInfo() noexcept;   // zeroed, with the size field set

    BOOL IsWin9x() const { return dwPlatformId == VER_PLATFORM_WIN32_WINDOWS; }
    BOOL IsWin95() const { return IsWin9x() && dwMajorVersion == 4 && dwMinorVersion < 10; }
    BOOL IsWin98() const { return IsWin9x() && dwMajorVersion == 4 && dwMinorVersion == 10; }
    BOOL IsWinNT4() const { return IsNT(4, 0); }
    BOOL IsWin2K() const { return IsNT(5, 0); }
    BOOL IsWinXP() const { return IsNT(5, 1); }
    BOOL IsWin2KOrGreater() const { return dwPlatformId >= VER_PLATFORM_WIN32_NT && dwMajorVersion >= 5; }
    BOOL IsWinXPOrGreater() const {
        return dwPlatformId >= VER_PLATFORM_WIN32_NT &&
               (dwMajorVersion > 5 || (dwMajorVersion == 5 && dwMinorVersion != 0));
    }

private:
    BOOL IsNT(DWORD dwMajor, DWORD dwMinor) const {
        return dwPlatformId == VER_PLATFORM_WIN32_NT && dwMajorVersion == dwMajor && dwMinorVersion == dwMinor;
    }
};

// The process-wide record, read from the system on the first call. It is writable, so that a
// test can present another system to the code that branches on it.
CKLVOSVersionInfo* GetOSVersionInfo();
