#include "toolkit/commandbars/controlbase/ControlClassTable.h"

#include <vector>

namespace {

struct ControlClassEntry {
    int nType;
    int nId;
    LPCSTR lpszCaption;
    CRuntimeClass* pClass;

    bool Serves(int nWantedType, int nWantedId, const CString& strCaption) const {
        return nType == nWantedType && (nId == 0 || nId == nWantedId) &&
               (!lpszCaption || strCaption == lpszCaption);
    }
};

// Filled before main by static registrations, read afterwards; a function's own static so that a
// registration never runs before the list exists.
std::vector<ControlClassEntry>& Entries() {
    static std::vector<ControlClassEntry> entries;
    return entries;
}

}  // namespace

void CKLVControlClassTable::Register(int nType, int nId, CRuntimeClass* pClass, LPCSTR lpszCaption) {
    Entries().push_back({nType, nId, lpszCaption, pClass});
}

CRuntimeClass* CKLVControlClassTable::Find(int nType, int nId, const CString& strCaption) {
    for (const ControlClassEntry& entry : Entries())
        if (entry.Serves(nType, nId, strCaption)) return entry.pClass;
    return nullptr;
}
