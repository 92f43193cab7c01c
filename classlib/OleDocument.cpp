#include "classlib/OleDocument.h"

#include "classlib/Menu.h"

#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(COleClientItem, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDocument, CDocument)

namespace {

CString Narrow(LPCOLESTR lpsz) {
    if (!lpsz) return CString();
    const int nLength = ::WideCharToMultiByte(CP_ACP, 0, lpsz, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(nLength > 0 ? nLength : 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, lpsz, -1, text.data(), nLength, nullptr, nullptr);
    return CString(text.c_str());
}

// The verbs an object offers on its container's menu, in its order.
std::vector<CString> ContainerMenuVerbs(LPOLEOBJECT lpObject) {
    std::vector<CString> verbs;
    IEnumOLEVERB* pEnum = nullptr;
    if (!lpObject || lpObject->EnumVerbs(&pEnum) != S_OK || !pEnum) return verbs;
    OLEVERB verb = {};
    while (pEnum->Next(1, &verb, nullptr) == S_OK) {
        if (verb.lVerb >= 0 && (verb.grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU)) verbs.push_back(Narrow(verb.lpszVerbName));
        ::CoTaskMemFree(verb.lpszVerbName);
    }
    pEnum->Release();
    return verbs;
}

CString ShortTypeName(LPOLEOBJECT lpObject) {
    LPOLESTR lpszType = nullptr;
    if (!lpObject || FAILED(lpObject->GetUserType(USERCLASSTYPE_SHORT, &lpszType))) return CString();
    CString strType = Narrow(lpszType);
    ::CoTaskMemFree(lpszType);
    return strType;
}

}  // namespace

COleClientItem::~COleClientItem() { SetObject(nullptr); }

void COleClientItem::SetObject(LPOLEOBJECT lpObject) {
    if (lpObject) lpObject->AddRef();
    if (m_lpObject) m_lpObject->Release();
    m_lpObject = lpObject;
    m_nItemState = lpObject ? loadedState : emptyState;
}

void AfxOleSetEditMenu(COleClientItem* pItem, CMenu* pMenu, UINT iMenuItem, UINT nIDVerbMin, UINT nIDVerbMax,
                       UINT nIDConvert) {
    LPOLEOBJECT lpObject = pItem ? pItem->m_lpObject : nullptr;
    std::vector<CString> verbs = ContainerMenuVerbs(lpObject);
    if (nIDVerbMax >= nIDVerbMin && nIDVerbMax != 0 && verbs.size() > nIDVerbMax - nIDVerbMin + 1)
        verbs.resize(nIDVerbMax - nIDVerbMin + 1);
    const UINT nByPosition = MF_BYPOSITION | MF_STRING;
    if (verbs.empty()) {
        pMenu->ModifyMenu(iMenuItem, nByPosition | MF_GRAYED, nIDVerbMin, "&Object");
        return;
    }
    CString strType = ShortTypeName(lpObject);
    const CString strObject = strType.IsEmpty() ? CString("&Object") : strType + " &Object";
    if (verbs.size() == 1 && !nIDConvert) {
        pMenu->ModifyMenu(iMenuItem, nByPosition, nIDVerbMin, verbs.front() + " " + strObject);
        return;
    }
    CMenu popup;
    popup.CreatePopupMenu();
    for (size_t i = 0; i < verbs.size(); ++i) popup.AppendMenu(MF_STRING, nIDVerbMin + i, verbs[i]);
    if (nIDConvert) {
        popup.AppendMenu(MF_SEPARATOR);
        popup.AppendMenu(MF_STRING, nIDConvert, "&Convert...");
    }
    // The menu owns the submenu from here.
    pMenu->ModifyMenu(iMenuItem, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), strObject);
}
