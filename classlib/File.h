// CFile: a Win32 file handle with the library's open flags; failures throw CFileException
// (except Open, which reports them through its result and an optional exception object).
#pragma once

#include "classlib/Exceptions.h"
#include "classlib/Object.h"
#include "classlib/String.h"

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    static const HANDLE hFileNull;

    CFile() noexcept = default;
    explicit CFile(HANDLE hFile) noexcept;
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);   // throws CFileException
    ~CFile() override;

    operator HANDLE() const noexcept { return m_hFile; }

    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual void Close();
    // Closes without throwing.
    virtual void Abort() noexcept;

    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    void SeekToBegin() { Seek(0, begin); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

protected:
    [[noreturn]] void ThrowLastError() const;

    BOOL m_bCloseOnDelete = FALSE;
    CString m_strFileName;
};
