// The system's folder picker (the file dialog that picks folders), opened at a given folder. The
// older folder-browsing dialog shows the drive instead where the system cannot walk its tree down
// to the folder (Wine's, for one).
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <string>

// The folder picked, a path without a closing backslash (but "C:\"); empty when the user cancelled
// or the picker cannot open, the cause then in strFailure. pEvents (may be null) is told of the
// dialog's events while it is open.
std::string PickFolder(HWND hWndOwner, const std::string& strStart, const wchar_t* lpszTitle,
                       IFileDialogEvents* pEvents, std::string& strFailure);
// The path of a shell item in the file system; empty for none.
std::string FileSystemPathOf(IShellItem* pItem);
