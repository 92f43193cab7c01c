// Lead bytes of the process's code page (the first byte of a double-byte character), read once:
// the text iterator and the lexer ask for every character, and a process's code page is fixed.
#pragma once

#include <windows.h>

#include <array>

inline bool KLVIsLeadByte(char ch) {
    static const std::array<bool, 256> s_arLead = [] {
        std::array<bool, 256> ar{};
        for (int i = 0; i < 256; ++i) ar[i] = ::IsDBCSLeadByte(static_cast<BYTE>(i)) != FALSE;
        return ar;
    }();
    return s_arLead[static_cast<BYTE>(ch)];
}
