#include "app/FolderPicker.h"

#include "app/SystemErrorText.h"
#include "app/WideText.h"

#include <shlobj.h>

namespace {

template <class T>
struct Released {
    T* p = nullptr;
    ~Released() {
        if (p) p->Release();
    }
};

// A folder's path without its closing backslash, a drive's root kept whole.
std::string WithoutClosingBackslash(std::string strPath) {
    while (strPath.size() > 3 && (strPath.back() == '\\' || strPath.back() == '/')) strPath.pop_back();
    return strPath;
}

}  // namespace

std::string FileSystemPathOf(IShellItem* pItem) {
    wchar_t* pszPath = nullptr;
    if (!pItem || FAILED(pItem->GetDisplayName(SIGDN_FILESYSPATH, &pszPath)) || !pszPath) return std::string();
    const std::string strPath = NarrowText(pszPath, CP_ACP);
    ::CoTaskMemFree(pszPath);
    return strPath;
}

std::string PickFolder(HWND hWndOwner, const std::string& strStart, const wchar_t* lpszTitle,
                       IFileDialogEvents* pEvents, std::string& strFailure) {
    Released<IFileOpenDialog> dialog;
    HRESULT hr = ::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                    reinterpret_cast<void**>(&dialog.p));
    if (FAILED(hr)) {
        strFailure = "the folder picker cannot open: " + SystemErrorText(static_cast<DWORD>(hr));
        return std::string();
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog.p->GetOptions(&options);
    dialog.p->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    if (lpszTitle) dialog.p->SetTitle(lpszTitle);
    if (!strStart.empty()) {
        Released<IShellItem> start;
        // A start folder gone since it was picked leaves the picker where the system opens it.
        if (SUCCEEDED(::SHCreateItemFromParsingName(WideText(WithoutClosingBackslash(strStart), CP_ACP).c_str(),
                                                    nullptr, IID_IShellItem, reinterpret_cast<void**>(&start.p))))
            dialog.p->SetFolder(start.p);
    }
    DWORD nCookie = 0;
    const bool bAdvised = pEvents && SUCCEEDED(dialog.p->Advise(pEvents, &nCookie));
    hr = dialog.p->Show(hWndOwner);
    if (bAdvised) dialog.p->Unadvise(nCookie);
    if (FAILED(hr)) {
        if (hr != HRESULT_FROM_WIN32(ERROR_CANCELLED))
            strFailure = "the folder picker failed: " + SystemErrorText(static_cast<DWORD>(hr));
        return std::string();
    }
    Released<IShellItem> picked;
    if (FAILED(hr = dialog.p->GetResult(&picked.p))) {
        strFailure = "the folder picker gave no folder: " + SystemErrorText(static_cast<DWORD>(hr));
        return std::string();
    }
    return FileSystemPathOf(picked.p);
}
