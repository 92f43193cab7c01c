// The library's exceptions. They are thrown as pointers and the catcher calls Delete():
//     catch (CArchiveException* e) { ...; e->Delete(); }
// Memory, resource and invalid-argument exceptions are single static objects (throwing them
// must not allocate), which Delete() leaves alone.
#pragma once

#include "classlib/Object.h"
#include "classlib/String.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) noexcept : m_bAutoDelete(bAutoDelete) {}

    // Frees an exception that lives on the heap; a static one stays.
    void Delete();
    // A text for the user; FALSE when there is none.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;

protected:
    BOOL m_bAutoDelete;
};

// An exception that carries nothing but its fixed message.
class CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

protected:
    CSimpleException(BOOL bAutoDelete, LPCSTR lpszMessage) noexcept
        : CException(bAutoDelete), m_lpszMessage(lpszMessage) {}

    LPCSTR m_lpszMessage;
};

class CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) noexcept : CSimpleException(bAutoDelete, "Out of memory.") {}
};

class CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE) noexcept
        : CSimpleException(bAutoDelete, "A required resource was unavailable.") {}
};

class CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE) noexcept
        : CSimpleException(bAutoDelete, "Invalid argument.") {}
};

// The user has been told already (a failed validation): handlers end quietly.
class CUserException : public CSimpleException {
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL bAutoDelete = TRUE) noexcept : CSimpleException(bAutoDelete, "") {}
};

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied,
        invalidFile, removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation,
        lockViolation, diskFull, endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);

    // The cause for a Win32 error code (GetLastError).
    static int OsErrorToException(LONG lOsError);
    static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema
    };

    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc = S_OK) noexcept : m_sc(sc) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    SCODE m_sc;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = nullptr);
[[noreturn]] void AfxThrowOleException(SCODE sc);
