// CMemFile: a file held in memory, growing in steps of nGrowBytes.
#pragma once

#include "classlib/File.h"

// Memory comes from malloc/realloc and goes back with free: a buffer handed over by Detach
// is released with free(), and a buffer given to Attach with nGrowBytes > 0 must come from
// malloc, since the file may reallocate it. A buffer attached with nGrowBytes == 0 is a
// fixed-size file over the caller's bytes (all of them readable); writing past its end throws
// CMemoryException. Attached buffers stay the caller's; only a buffer the file allocated
// itself is freed by Close.
class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024) noexcept;
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the buffer to the caller and leaves the file empty; take GetLength() first.
    BYTE* Detach() noexcept;

    BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    void Close() override;
    void Abort() noexcept override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override { return m_nPosition; }
    ULONGLONG GetLength() const override { return m_nFileSize; }
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override {}

protected:
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    virtual void GrowFile(SIZE_T dwNewLen);

    void Reset() noexcept;

    SIZE_T m_nGrowBytes;
    SIZE_T m_nPosition = 0;
    SIZE_T m_nBufferSize = 0;
    SIZE_T m_nFileSize = 0;
    BYTE* m_lpBuffer = nullptr;
    BOOL m_bAutoDelete = TRUE;
};
