// CArchive: the library's binary serialization over a CFile, with the object and class maps
// that let an object graph be stored once and read back whole.
#pragma once

#include "classlib/Exceptions.h"
#include "classlib/File.h"
#include "classlib/Object.h"
#include "classlib/String.h"

#include <unordered_map>
#include <vector>

// Byte layout (little-endian, no padding):
// - numbers: their bytes as in memory;
// - a count: a 16-bit value, or 0xFFFF followed by a 32-bit value when the count is 0xFFFF
//   or more;
// - a CString: its length as one byte when below 0xFF, else 0xFF and a 16-bit length when
//   below 0xFFFE, else 0xFF, 0xFFFF and a 32-bit length; then the characters, no terminator.
//   (On load 0xFF 0xFFFE introduces a UTF-16 string, converted to the ANSI code page.)
// - an object: a 16-bit tag. 0 is a null pointer. A tag below 0x7FFF is a reference to an
//   object already in this archive by its map index. 0xFFFF introduces a new class: the
//   16-bit schema, the 16-bit length of the class name and its characters, then the object's
//   own Serialize data. 0x8000 | index names a class already seen. Indexes of 0x7FFF and
//   above are written as the tag 0x7FFF and a 32-bit value (with bit 31 set for a class).
//   Classes and objects share one index sequence starting at 1, in order of first writing.
class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Flushes and closes unless closed, aborted or bNoFlushOnDelete; never throws.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const noexcept { return (m_nMode & load) != 0; }
    BOOL IsStoring() const noexcept { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const noexcept { return FALSE; }
    BOOL IsBufferEmpty() const noexcept { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const noexcept { return m_pFile; }

    // The schema of the object being loaded, for a versionable class; -1 once asked.
    UINT GetObjectSchema() noexcept;
    void SetObjectSchema(UINT nSchema) noexcept { m_nObjectSchema = nSchema; }

    // Raw bytes. Read returns how many bytes there were (fewer at the end, no exception).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Storing: writes the buffer to the file. Loading: sets the file back to the archive's
    // read position and empties the buffer.
    void Flush();
    void Close();
    // Drops the archive without flushing and without throwing.
    void Abort() noexcept;

    // Makes nBytesNeeded more bytes readable in the buffer when the file has them; fewer at
    // the end of the file (it does not throw there), so it can be used to peek.
    void FillBuffer(UINT nBytesNeeded);

    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void WriteClass(const CRuntimeClass* pClassRef);
    void SerializeClass(const CRuntimeClass* pClassRef);
    // A loaded object whose Serialize throws is deleted before the exception goes on; a class
    // other than the one requested is refused with CArchiveException::badClass before
    // anything is created.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteObject(const CObject* pOb);
    // Enters an object in the map as if it had been written or read here, so that later
    // references to it resolve.
    void MapObject(const CObject* pOb);

    CArchive& operator<<(BYTE by) { return WriteValue(by); }
    CArchive& operator<<(WORD w) { return WriteValue(w); }
    CArchive& operator<<(LONG l) { return WriteValue(l); }
    CArchive& operator<<(DWORD dw) { return WriteValue(dw); }
    CArchive& operator<<(int i) { return WriteValue(i); }
    CArchive& operator<<(UINT u) { return WriteValue(u); }
    CArchive& operator<<(short w) { return WriteValue(w); }
    CArchive& operator<<(char ch) { return WriteValue(ch); }
    CArchive& operator<<(bool b) { return WriteValue(static_cast<BYTE>(b ? 1 : 0)); }
    CArchive& operator<<(float f) { return WriteValue(f); }
    CArchive& operator<<(double d) { return WriteValue(d); }
    CArchive& operator<<(LONGLONG ll) { return WriteValue(ll); }
    CArchive& operator<<(ULONGLONG ull) { return WriteValue(ull); }
    // A C string goes out in CString form (it would otherwise turn into a bool).
    CArchive& operator<<(LPCSTR lpsz);

    CArchive& operator>>(BYTE& by) { return ReadValue(by); }
    CArchive& operator>>(WORD& w) { return ReadValue(w); }
    CArchive& operator>>(LONG& l) { return ReadValue(l); }
    CArchive& operator>>(DWORD& dw) { return ReadValue(dw); }
    CArchive& operator>>(int& i) { return ReadValue(i); }
    CArchive& operator>>(UINT& u) { return ReadValue(u); }
    CArchive& operator>>(short& w) { return ReadValue(w); }
    CArchive& operator>>(char& ch) { return ReadValue(ch); }
    CArchive& operator>>(bool& b);
    CArchive& operator>>(float& f) { return ReadValue(f); }
    CArchive& operator>>(double& d) { return ReadValue(d); }
    CArchive& operator>>(LONGLONG& ll) { return ReadValue(ll); }
    CArchive& operator>>(ULONGLONG& ull) { return ReadValue(ull); }

    // The buffer: [m_lpBufStart, m_lpBufMax) holds the bytes read ahead (loading) or the
    // room for bytes to write (storing); m_lpBufCur is the next byte.
    BYTE* m_lpBufCur = nullptr;
    BYTE* m_lpBufMax = nullptr;
    BYTE* m_lpBufStart = nullptr;

protected:
    template <class T>
    CArchive& WriteValue(const T& value) {
        Write(&value, sizeof value);
        return *this;
    }
    template <class T>
    CArchive& ReadValue(T& value) {
        ReadExactly(&value, sizeof value);
        return *this;
    }
    void ReadExactly(void* lpBuf, UINT nCount);  // throws endOfFile when short
    void CheckLoading() const;
    void CheckStoring() const;
    void WriteTag(DWORD nIndex, WORD wSmallFlag, DWORD dwBigFlag);
    DWORD NextMapIndex();

    // One entry of the load map: a class with the schema it was stored with, or an object.
    struct CLoadEntry {
        CRuntimeClass* pClass;
        CObject* pObject;
        UINT nSchema;
    };

    CFile* m_pFile;
    UINT m_nMode;
    UINT m_nBufSize;
    BOOL m_bUserBuf;
    UINT m_nObjectSchema = static_cast<UINT>(-1);
    DWORD m_nMapCount = 1;                                   // index 0 is the null object
    std::unordered_map<const void*, DWORD> m_storeMap;       // class or object -> index
    std::vector<CLoadEntry> m_loadArray;                     // index -> class or object
};

CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);
CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
