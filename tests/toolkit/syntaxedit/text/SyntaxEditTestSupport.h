// Buffers for the editor tests: made from file bytes, shown as rows, stored back to bytes.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextFormat.h"

#include <cstdlib>
#include <memory>
#include <string>

struct CmdTargetReleaser {
    void operator()(CCmdTarget* p) const { p->InternalRelease(); }
};
using BufferPtr = std::unique_ptr<CKLVSyntaxEditBufferManager, CmdTargetReleaser>;

inline void LoadBytes(CKLVSyntaxEditBufferManager& buffer, const std::string& bytes) {
    CMemFile file;
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    buffer.Serialize(ar);
}

inline BufferPtr MakeBuffer(const std::string& bytes) {
    BufferPtr buffer(new CKLVSyntaxEditBufferManager);
    LoadBytes(*buffer, bytes);
    return buffer;
}

inline std::string StoredBytes(CKLVSyntaxEditBufferManager& buffer) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        buffer.Serialize(ar);
        ar.Close();
    }
    const size_t nLength = static_cast<size_t>(file.GetLength());
    BYTE* pBytes = file.Detach();
    std::string bytes(reinterpret_cast<const char*>(pBytes), nLength);
    free(pBytes);
    return bytes;
}

// The rows joined by '|'; "<empty>" for a buffer without rows.
inline std::string Rows(const CKLVSyntaxEditBufferManager& buffer) {
    if (buffer.GetRowCount() == 0) return "<empty>";
    std::string rows;
    CString strRow;
    for (int nRow = 1; nRow < buffer.GetRowCount(); ++nRow) {
        buffer.GetLineText(nRow, strRow);
        rows += (nRow > 1 ? "|" : "") + std::string(strRow.GetString(), strRow.GetLength());
    }
    return rows;
}
