// Lead bytes of the process's code page (the first byte of a double-byte character), read once:
// the text iterator and the lexer ask for every character, and a process's code page is fixed.
#pragma once

#include <windows.h>

#include <array>

// Entry 256: whether the code page has any lead byte; without one a byte is a character.
inline const std::array<bool, 257>& KLVLeadByteTable() {
    static const std::array<bool, 257> s_arLead = [] {
        std::array<bool, 257> ar{};
        for (int i = 0; i < 256; ++i) ar[i] = ::IsDBCSLeadByte(static_cast<BYTE>(i)) != FALSE;
        for (int i = 0; i < 256; ++i) ar[256] = ar[256] || ar[i];
        return ar;
    }();
    return s_arLead;
}

inline bool KLVIsLeadByte(char ch) { return KLVLeadByteTable()[static_cast<BYTE>(ch)]; }
inline bool KLVHasLeadBytes() { return KLVLeadByteTable()[256]; }
