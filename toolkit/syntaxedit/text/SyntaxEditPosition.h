// A position in the editor's text: a 1-based line (0: not set) and a 0-based column.
#pragma once

#include <windows.h>

struct CKLVSyntaxEditPosition {
    int nLine = 0;
    int nCol = 0;

    CKLVSyntaxEditPosition() = default;
    CKLVSyntaxEditPosition(int nLine_, int nCol_) : nLine(nLine_), nCol(nCol_) {}

    static CKLVSyntaxEditPosition MakePosition(int nLine, int nCol) { return CKLVSyntaxEditPosition(nLine, nCol); }

    // One 32-bit key per position; columns beyond 4095 wrap into the key.
    DWORD GetPackedKey() const {
        return (static_cast<DWORD>(nLine) << 12) | (static_cast<DWORD>(nCol) & 0xFFF);
    }
    BOOL IsValid() const { return nLine > 0; }
    void Clear() { nLine = nCol = 0; }

    bool operator<(const CKLVSyntaxEditPosition& pos) const {
        return nLine < pos.nLine || (nLine == pos.nLine && nCol < pos.nCol);
    }
    bool operator>(const CKLVSyntaxEditPosition& pos) const { return pos < *this; }
    bool operator<=(const CKLVSyntaxEditPosition& pos) const { return !(pos < *this); }
    bool operator>=(const CKLVSyntaxEditPosition& pos) const { return !(*this < pos); }
    bool operator==(const CKLVSyntaxEditPosition& pos) const { return nLine == pos.nLine && nCol == pos.nCol; }
    bool operator!=(const CKLVSyntaxEditPosition& pos) const { return !(*this == pos); }
};
