// What both property-exchange back-ends do with the bytes of a loaded blob.
#pragma once

#include <windows.h>

#include <vector>

// Hands loaded bytes to the caller: into *ppData when it has room for them (*pcbData bytes),
// or into a new malloc buffer when *ppData is null; *pcbData becomes the loaded count. No bytes
// change nothing and succeed; a buffer that is too small fails.
BOOL KLVAcceptLoadedBlob(const std::vector<BYTE>& bytes, BYTE** ppData, DWORD* pcbData);
