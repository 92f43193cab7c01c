#include "app/CompilerSearch.h"

#include "app/PathKind.h"
#include "app/WineHost.h"

#include <windows.h>

std::string FindDefaultGcc() {
    // The libraries a project links are built for 64-bit Windows: so must be the compiler.
    if (IsRunningUnderWine()) {
        for (const char* lpszGcc : {"Z:\\usr\\bin\\x86_64-w64-mingw32-gcc", "Z:\\usr\\bin\\x86_64-w64-mingw32-gcc-win32",
                                    "Z:\\usr\\bin\\x86_64-w64-mingw32-gcc-posix"})
            if (IsExistingFile(lpszGcc)) return lpszGcc;
    }
    char szFound[MAX_PATH] = "";
    for (const char* lpszName : {"x86_64-w64-mingw32-gcc.exe", "gcc.exe"})
        if (::SearchPathA(nullptr, lpszName, nullptr, MAX_PATH, szFound, nullptr)) return szFound;
    for (const char* lpszGcc : {"C:\\msys64\\mingw64\\bin\\gcc.exe", "C:\\mingw64\\bin\\gcc.exe"})
        if (IsExistingFile(lpszGcc)) return lpszGcc;
    return std::string();
}
