// A forward-reading window over the rows of one buffer: the text as one stream of characters
// with line ends (and one closing "\r\n"), a bounded look-back, and seeking that an event can
// break off. Each user creates its own iterator and uses it on one thread.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/syntaxedit/text/SyntaxEditPosition.h"

#include <unordered_map>
#include <vector>

class CKLVSyntaxEditBufferManager;

class CKLVSyntaxEditTextIterator : public CCmdTarget {
public:
    explicit CKLVSyntaxEditTextIterator(CKLVSyntaxEditBufferManager* pBuffer);
    ~CKLVSyntaxEditTextIterator() override;

    virtual CString GetLineEnd();
    virtual void Rewind();
    // TRUE when the current position equals the target afterwards; FALSE on an empty buffer or
    // when the abort event is signalled.
    virtual BOOL SeekToLine(const CKLVSyntaxEditPosition& posTarget, HANDLE hBreakEvent);
    // The text at the current position plus the peek offset, with at least n bytes available
    // when the buffer has them; null without a buffer.
    virtual LPCSTR PeekText(int nCount);
    // Moves n characters forward, keeping m bytes read ahead; null at the end.
    virtual LPCSTR Advance(int nCount, int nReadAhead);
    virtual BOOL IsEOF() const { return m_bEOF; }
    virtual CKLVSyntaxEditPosition GetPosition() const { return m_posCurrent; }
    virtual void StepBack(CKLVSyntaxEditPosition& pos);
    virtual void StepForward(CKLVSyntaxEditPosition& pos, int nCount);
    virtual int GetLineLength(int nRow, BOOL bWithLineEnd);
    virtual int GetLineByteCount(int nRow, BOOL bWithLineEnd);
    virtual void MoveOffset(int nCharOffset);
    virtual CString GetFileName();
    virtual int GetMaxBackOffset() const { return m_nMaxBackOffset; }

private:
    static const int kFirstOffset = 10;
    static const int kCompactThreshold = 512;
    static const int kMinBufferSize = 500;

    int LastRow() const;
    // Bytes of the next n characters from byte offset nFrom, within the bytes read.
    int CharBytesForward(int nFrom, int nCount) const;
    int LookupLineLength(int nRow) const;   // -1 when the row is not cached
    void Compact();

    CKLVSyntaxEditBufferManager* m_pBuffer;
    CKLVSyntaxEditPosition m_posCurrent;
    BOOL m_bEOF = FALSE;
    std::unordered_map<int, int> m_mapLineLengths;
    std::vector<char> m_arBuffer;
    int m_nBytesAhead = 0;
    int m_nCurOffset = 0;
    int m_nNextRow = 1;
    int m_nMaxBackOffset = 100;
    int m_nPeekOffset = 0;
    int m_nPeekByteOffset = 0;
};
