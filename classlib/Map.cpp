#include "classlib/Map.h"

IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToOb, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)

UINT HashString(LPCSTR key) noexcept {
    UINT nHash = 0;
    for (; key && *key; ++key) nHash = (nHash << 5) + nHash + static_cast<UINT>(*key);
    return nHash;
}
