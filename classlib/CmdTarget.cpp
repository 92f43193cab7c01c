#include "classlib/CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntries, UINT nMessage,
                                           UINT nCode, UINT nID) {
    for (const AFX_MSGMAP_ENTRY* e = lpEntries; e->pfnThunk; ++e) {
        UINT entryMessage = e->pnRegistered ? *e->pnRegistered : e->nMessage;
        // A registered message not registered yet has no number: it matches nothing.
        if (e->pnRegistered && entryMessage == 0) continue;
        // Codes compare by their low word: notification codes are negative numbers that
        // travel in the low word of the packed code.
        if (entryMessage == nMessage && LOWORD(e->nCode) == LOWORD(nCode) && nID >= e->nID &&
            nID <= e->nLastID)
            return e;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // Unpack MAKELONG(code, message); a plain code belongs to WM_COMMAND. The update request
    // (-1) is itself a plain code although its high word is set.
    UINT nMessage = WM_COMMAND;
    UINT nPlainCode = static_cast<UINT>(nCode);
    if (nPlainCode != CN_UPDATE_COMMAND_UI) {
        if (HIWORD(nPlainCode) != 0) nMessage = HIWORD(nPlainCode);
        nPlainCode = LOWORD(nPlainCode);
    }
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* pEntry = AfxFindMessageEntry(pMap->lpEntries, nMessage, nPlainCode, nID);
        if (!pEntry) continue;
        if (pHandlerInfo) {
            pHandlerInfo->pTarget = this;
            pHandlerInfo->pEntry = pEntry;
            return TRUE;
        }
        AFX_MSGCALL call = {nMessage, 0, 0, nID, nPlainCode, pExtra, 0};
        return pEntry->pfnThunk(this, call);
    }
    return FALSE;
}

DWORD CCmdTarget::InternalAddRef() { return static_cast<DWORD>(InterlockedIncrement(&m_dwRef)); }

DWORD CCmdTarget::InternalRelease() {
    // A released object never goes below 0, so a stray extra release cannot delete twice.
    if (m_dwRef == 0) return 0;
    LONG lResult = InterlockedDecrement(&m_dwRef);
    if (lResult == 0) OnFinalRelease();
    return static_cast<DWORD>(lResult);
}

HRESULT CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj) {
    if (!ppvObj) return E_POINTER;
    *ppvObj = nullptr;
    if (!iid) return E_INVALIDARG;
    LPUNKNOWN pUnknown = GetInterface(*static_cast<const IID*>(iid));
    if (!pUnknown) return E_NOINTERFACE;
    InternalAddRef();
    *ppvObj = pUnknown;
    return S_OK;
}

void CCmdTarget::OnFinalRelease() { delete this; }

LPUNKNOWN CCmdTarget::GetInterface(const IID&) { return nullptr; }
