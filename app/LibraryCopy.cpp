#include "app/LibraryCopy.h"

#include "app/PathKind.h"
#include "app/SystemErrorText.h"
#include "project/ProjectFiles.h"

#include <windows.h>

namespace {

// The file's size; false when it is not there.
bool FileSize(const std::string& strPath, ULONGLONG& nSize) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    nSize = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool MakeFolder(const std::string& strPath, std::vector<std::string>& failures) {
    if (IsExistingFolder(strPath) || ::CreateDirectoryA(strPath.c_str(), nullptr)) return true;
    failures.push_back("Could not make the folder " + strPath + " (" + SystemErrorText(::GetLastError()) + ")");
    return false;
}

void CopyOneFile(const std::string& strFrom, const std::string& strTo, std::vector<std::string>& failures) {
    if (!::CopyFileA(strFrom.c_str(), strTo.c_str(), FALSE)) {
        failures.push_back("Could not copy " + strFrom + " to " + strTo + " (" + SystemErrorText(::GetLastError()) + ")");
        return;
    }
    ULONGLONG nFrom = 0, nTo = 0;
    if (!FileSize(strTo, nTo) || !FileSize(strFrom, nFrom) || nFrom != nTo)
        failures.push_back("The copy " + strTo + " of " + strFrom + " is not whole");
}

void CopyFolder(const std::string& strFrom, const std::string& strTo, bool bWhole, std::vector<std::string>& failures) {
    if (!MakeFolder(strTo, failures)) return;
    WIN32_FIND_DATAA data{};
    const HANDLE hFind = ::FindFirstFileA(joinProjectPath(strFrom, "*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return;
    do {
        const std::string strName = data.cFileName;
        if (strName == "." || strName == "..") continue;
        const std::string strSource = joinProjectPath(strFrom, strName), strTarget = joinProjectPath(strTo, strName);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) CopyOneFile(strSource, strTarget, failures);
        else if (bWhole) CopyFolder(strSource, strTarget, true, failures);
    } while (::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
}

}  // namespace

std::vector<CLibraryCopy> LibraryCopies(const std::string& strAppFolder, const std::string& strLocation) {
    return {{strAppFolder + "lib", joinProjectPath(strLocation, "lib"), true},
            {strAppFolder + "libxml2", joinProjectPath(strLocation, "libxml2"), true},
            {strAppFolder + "libxml2\\bin", strLocation, false}};
}

std::vector<std::string> MakeLibraryCopy(const CLibraryCopy& copy) {
    std::vector<std::string> failures;
    if (IsExistingFolder(copy.strFrom)) CopyFolder(copy.strFrom, copy.strTo, copy.bWhole, failures);
    return failures;
}
