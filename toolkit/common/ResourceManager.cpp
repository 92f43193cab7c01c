#include "toolkit/common/ResourceManager.h"

#include "classlib/GdiObject.h"
#include "classlib/Menu.h"
#include "classlib/ToolBar.h"
#include "classlib/WinApp.h"

#include <cstring>

namespace {

HMODULE g_hResourceModule = nullptr;

// The resource module, when it is set and holds the resource.
HMODULE ModuleHolding(LPCTSTR lpszName, LPCTSTR lpszType) {
    return g_hResourceModule && ::FindResourceA(g_hResourceModule, lpszName, lpszType) ? g_hResourceModule : nullptr;
}

// Runs load under the resource switch when the module holds the resource; when that fails (or
// the module lacks it), load runs again on the program's own resources.
template <class T, class F>
T LoadWithFallback(LPCTSTR lpszName, LPCTSTR lpszType, F load) {
    if (ModuleHolding(lpszName, lpszType)) {
        CKLVResourceSwitch resourceSwitch;
        if (T result = load()) return result;
    }
    return load();
}

// The search goes on while nothing but US English (or nothing) has been found.
BOOL KeepSearching(LONG_PTR lParam) {
    WORD wFound = *reinterpret_cast<WORD*>(lParam);
    return wFound == 0 || wFound == MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

BOOL CALLBACK RecordLanguage(HMODULE, LPCSTR, LPCSTR, WORD wLanguage, LONG_PTR lParam) {
    if (wLanguage != LANG_NEUTRAL) *reinterpret_cast<WORD*>(lParam) = wLanguage;
    return KeepSearching(lParam);
}

BOOL CALLBACK EnumNameLanguages(HMODULE hModule, LPCSTR lpszType, LPSTR lpszName, LONG_PTR lParam) {
    ::EnumResourceLanguagesA(hModule, lpszType, lpszName, RecordLanguage, lParam);
    return KeepSearching(lParam);
}

BOOL CALLBACK EnumTypeNames(HMODULE hModule, LPSTR lpszType, LONG_PTR lParam) {
    ::EnumResourceNamesA(hModule, lpszType, EnumNameLanguages, lParam);
    return KeepSearching(lParam);
}

}  // namespace

HMODULE KLVGetResourceModule() { return g_hResourceModule; }
void KLVSetResourceModule(HMODULE hModule) { g_hResourceModule = hModule; }

CKLVResourceSwitch::CKLVResourceSwitch() {
    if (!g_hResourceModule) return;
    m_hSaved = AfxGetResourceHandle();
    AfxSetResourceHandle(g_hResourceModule);
    m_bSwitched = TRUE;
}

CKLVResourceSwitch::~CKLVResourceSwitch() {
    if (m_bSwitched) AfxSetResourceHandle(m_hSaved);
}

CKLVResourceManager* KLVResourceManager() {
    static CKLVResourceManager s_manager;
    return &s_manager;
}

BOOL CKLVResourceManager::LoadString(CString* pString, UINT nIDResource) {
    return LoadWithFallback<BOOL>(MAKEINTRESOURCEA(nIDResource / 16 + 1), RT_STRING, [&]() -> BOOL {
        HINSTANCE hInstance = AfxFindStringResourceHandle(nIDResource);
        return hInstance && pString->LoadString(hInstance, nIDResource);
    });
}

BOOL CKLVResourceManager::LoadMenu(CMenu* pMenu, UINT nIDResource) {
    return LoadWithFallback<BOOL>(MAKEINTRESOURCEA(nIDResource), RT_MENU, [&]() -> BOOL {
        return pMenu->Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
    });
}

BOOL CKLVResourceManager::LoadToolBar(CToolBar* pToolBar, UINT nIDResource) {
    // Always from the resource module when one is set: a tool bar's ids and bitmap belong
    // together, so there is no fallback.
    if (!pToolBar) return FALSE;
    CKLVResourceSwitch resourceSwitch;
    return pToolBar->LoadToolBar(nIDResource);
}

BOOL CKLVResourceManager::LoadBitmap(CBitmap* pBitmap, UINT nIDResource) {
    return LoadWithFallback<BOOL>(MAKEINTRESOURCEA(nIDResource), RT_BITMAP, [&]() -> BOOL {
        return pBitmap->Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
    });
}

HCURSOR CKLVResourceManager::LoadCursor(UINT nIDResource) {
    return LoadWithFallback<HCURSOR>(MAKEINTRESOURCEA(nIDResource), RT_GROUP_CURSOR, [&] {
        return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    });
}

LPCDLGTEMPLATE CKLVResourceManager::LoadDialogTemplate(UINT nIDResource) {
    HGLOBAL hTemplate = LoadDialogTemplate(MAKEINTRESOURCEA(nIDResource));
    return hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

namespace {

// The resource in the module (the program's own image when none is set), else in the current
// resource handle.
HGLOBAL LoadFrom(HMODULE hModule, LPCTSTR lpszName, LPCTSTR lpszType, DWORD* pdwSize) {
    HRSRC hResource = ::FindResourceA(hModule, lpszName, lpszType);
    if (!hResource) return nullptr;
    if (pdwSize) *pdwSize = ::SizeofResource(hModule, hResource);
    return ::LoadResource(hModule, hResource);
}

HGLOBAL FindAndLoad(LPCTSTR lpszName, LPCTSTR lpszType, DWORD* pdwSize = nullptr) {
    if (HGLOBAL hGlobal = LoadFrom(g_hResourceModule, lpszName, lpszType, pdwSize)) return hGlobal;
    HINSTANCE hCurrent = AfxGetResourceHandle();
    return hCurrent ? LoadFrom(hCurrent, lpszName, lpszType, pdwSize) : nullptr;
}

}  // namespace

HGLOBAL CKLVResourceManager::LoadDialogTemplate(LPCTSTR lpszTemplateName) {
    return FindAndLoad(lpszTemplateName, RT_DIALOG);
}

BOOL CKLVResourceManager::LoadHTML(CString* pText, UINT nIDResource) {
    if (!pText) return FALSE;
    DWORD dwSize = 0;
    HGLOBAL hResource = FindAndLoad(MAKEINTRESOURCEA(nIDResource), RT_HTML, &dwSize);
    const void* pBytes = hResource ? ::LockResource(hResource) : nullptr;
    if (!pBytes || dwSize == 0) return FALSE;
    // The resource need not end with a zero: the text is cut at its first zero or its end.
    LPSTR lpszBuffer = pText->GetBuffer(static_cast<int>(dwSize));
    std::memset(lpszBuffer, 0, dwSize + 1);
    std::memcpy(lpszBuffer, pBytes, dwSize);
    pText->ReleaseBuffer();
    return TRUE;
}

HICON CKLVResourceManager::LoadIcon(UINT nIDResource, int cx, int cy) {
    return LoadIcon(MAKEINTRESOURCEA(nIDResource), cx, cy);
}

HICON CKLVResourceManager::LoadIcon(LPCTSTR lpszResourceName, int cx, int cy) {
    // LoadImage takes the name of an icon group, so the module is asked for the group.
    if (HMODULE hModule = ModuleHolding(lpszResourceName, RT_GROUP_ICON))
        if (HANDLE hIcon = ::LoadImageA(hModule, lpszResourceName, IMAGE_ICON, cx, cy, 0))
            return static_cast<HICON>(hIcon);
    HINSTANCE hInstance = AfxGetResourceHandle();
    return hInstance ? static_cast<HICON>(::LoadImageA(hInstance, lpszResourceName, IMAGE_ICON, cx, cy, 0)) : nullptr;
}

HICON CKLVResourceManager::CreateIconFromResource(HMODULE hModule, LPCTSTR lpszResourceName, int cx, int cy) {
    HRSRC hGroup = ::FindResourceA(hModule, lpszResourceName, RT_GROUP_ICON);
    HGLOBAL hGroupData = hGroup ? ::LoadResource(hModule, hGroup) : nullptr;
    auto* pDirectory = hGroupData ? static_cast<PBYTE>(::LockResource(hGroupData)) : nullptr;
    int nIconId = pDirectory ? ::LookupIconIdFromDirectoryEx(pDirectory, TRUE, cx, cy, LR_DEFAULTCOLOR) : 0;
    HRSRC hIconResource = nIconId ? ::FindResourceA(hModule, MAKEINTRESOURCEA(nIconId), RT_ICON) : nullptr;
    HGLOBAL hIconData = hIconResource ? ::LoadResource(hModule, hIconResource) : nullptr;
    auto* pIconBits = hIconData ? static_cast<PBYTE>(::LockResource(hIconData)) : nullptr;
    if (!pIconBits) return nullptr;
    return ::CreateIconFromResourceEx(pIconBits, ::SizeofResource(hModule, hIconResource), TRUE, 0x30000, cx, cy,
                                      LR_DEFAULTCOLOR);
}

void CKLVResourceManager::Close() {
    if (m_hResourceInstance) ::FreeLibrary(m_hResourceInstance);
    m_hResourceInstance = nullptr;
}

WORD CKLVResourceManager::FindResourcesLangID(HMODULE hModule) {
    WORD wFound = 0;
    ::EnumResourceTypesA(hModule, EnumTypeNames, reinterpret_cast<LONG_PTR>(&wFound));
    return wFound ? wFound : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

WORD CKLVResourceManager::UpdateResourcesLangID() {
    m_wResourcesLanguage = FindResourcesLangID(g_hResourceModule ? g_hResourceModule : ::GetModuleHandleA(nullptr));
    return m_wResourcesLanguage;
}
