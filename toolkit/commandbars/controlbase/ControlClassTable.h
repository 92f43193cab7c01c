// Which control class serves a control type: the bars make controls by type (from a menu, a list
// of ids, a type change) without knowing the kinds, which the library that builds them registers.
#pragma once

#include "classlib/String.h"

struct CRuntimeClass;

class CKLVControlClassTable {
public:
    // The class serves the type for the id only (0: any id) and, when a caption is given, only a
    // menu item with that caption. Lookups take the first registration that matches, so the
    // narrow ones go first.
    static void Register(int nType, int nId, CRuntimeClass* pClass, LPCSTR lpszCaption = nullptr);
    // Null when no class serves the type.
    static CRuntimeClass* Find(int nType, int nId, const CString& strCaption);
};
