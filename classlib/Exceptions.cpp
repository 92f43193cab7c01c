#include "classlib/Exceptions.h"

#include <cstring>
#include <iterator>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(COleException, CException)

namespace {

// Copies a message into the caller's buffer, cut to fit and always terminated.
BOOL CopyMessage(LPSTR lpszError, UINT nMaxError, LPCSTR lpszText) {
    if (!lpszError || nMaxError == 0) return FALSE;
    lstrcpynA(lpszError, lpszText, static_cast<int>(nMaxError));
    return TRUE;
}

LPCSTR TextOfCause(const LPCSTR* texts, int count, int cause) {
    return cause >= 0 && cause < count ? texts[cause] : "Unknown error.";
}

}  // namespace

void CException::Delete() {
    if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    if (lpszError && nMaxError) *lpszError = '\0';
    return FALSE;
}

BOOL CSimpleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    return CopyMessage(lpszError, nMaxError, m_lpszMessage);
}

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

int CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName) {
    if (lOsError != NO_ERROR) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    static const LPCSTR texts[] = {
        "No error occurred.", "An unspecified error occurred.", "The file could not be located.",
        "All or part of the path is invalid.", "The permitted number of open files was exceeded.",
        "The file could not be accessed.", "There was an attempt to use an invalid file handle.",
        "The current working directory cannot be removed.", "There are no more directory entries.",
        "There was an error trying to set the file pointer.", "There was a hardware error.",
        "The file is in use.", "There was an attempt to lock a region that was already locked.",
        "The disk is full.", "The end of file was reached."};
    if (pnHelpContext) *pnHelpContext = 0;
    CString text(TextOfCause(texts, static_cast<int>(std::size(texts)), m_cause));
    if (!m_strFileName.IsEmpty()) text += CString(" (") + m_strFileName + ")";
    return CopyMessage(lpszError, nMaxError, text);
}

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    static const LPCSTR texts[] = {
        "No error occurred.", "An unspecified error occurred.",
        "There was an attempt to write to an archive opened for loading.",
        "The end of the archive was reached unexpectedly.",
        "There was an attempt to read from an archive opened for storing.",
        "The archive holds an invalid object reference.",
        "The archive holds an object of an unexpected class.",
        "The archive holds an object with an unsupported schema."};
    if (pnHelpContext) *pnHelpContext = 0;
    return CopyMessage(lpszError, nMaxError, TextOfCause(texts, static_cast<int>(std::size(texts)), m_cause));
}

BOOL COleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    char szText[64];
    wsprintfA(szText, "OLE error 0x%08lX.", static_cast<unsigned long>(m_sc));
    return CopyMessage(lpszError, nMaxError, szText);
}

void AfxThrowMemoryException() {
    static CMemoryException s_exception(FALSE);
    throw &s_exception;
}

void AfxThrowResourceException() {
    static CResourceException s_exception(FALSE);
    throw &s_exception;
}

void AfxThrowUserException() {
    static CUserException s_exception(FALSE);
    throw &s_exception;
}

void AfxThrowInvalidArgException() {
    static CInvalidArgException s_exception(FALSE);
    throw &s_exception;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName) {
    throw new CArchiveException(cause, lpszArchiveName);
}

void AfxThrowOleException(SCODE sc) { throw new COleException(sc); }
