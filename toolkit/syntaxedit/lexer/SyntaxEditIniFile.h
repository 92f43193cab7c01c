// Reading the lexer's INI files (the main configuration and the themes) section by section.
#pragma once

#include "classlib/ClassLib.h"

#include <vector>

class CKLVSyntaxEditIniFile {
public:
    // One "key = value ; comment" line: the value is the text between the first and the second
    // "=", cut at its first ";"; all parts trimmed.
    struct CLine {
        CString strKey;
        CString strValue;
        CString strComment;
    };

    static void ReadSection(LPCSTR lpszPath, LPCSTR lpszSection, std::vector<CLine>& arLines);
    static void ReadSectionNames(LPCSTR lpszPath, CStringArray& arNames);
    static CLine ParseLine(LPCSTR lpszLine);
    // The folder of a path with its last backslash; empty when there is none past the first
    // character.
    static CString GetFolder(LPCSTR lpszPath);

private:
    // The strings of a double-NUL-terminated list as read, the buffer growing until it fits.
    template <class READ>
    static void ReadList(READ read, CStringArray& arStrings);
};
