// A forward-reading window over the rows of one buffer: the text as one stream of characters
// with line ends (and one closing "\r\n"), a bounded look-back, and seeking that an event can
// break off. Each user creates its own iterator and uses it on one thread.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"

#include <vector>

class CKLVSyntaxEditBufferManager;

// The interface comes first: the lexer calls through it for every character, and a first base
// needs no adjusting thunk.
class CKLVSyntaxEditTextIterator : public IKLVSyntaxEditTextIterator, public CCmdTarget {
public:
    explicit CKLVSyntaxEditTextIterator(CKLVSyntaxEditBufferManager* pBuffer);
    ~CKLVSyntaxEditTextIterator() override;

    virtual CString GetLineEnd();
    virtual int GetLineByteCount(int nRow, BOOL bWithLineEnd);

    // IKLVSyntaxEditTextIterator (without a buffer: no text)
    void Rewind() override;
    BOOL SeekToLine(const CKLVSyntaxEditPosition& posTarget, HANDLE hBreakEvent) override;
    LPCSTR PeekText(int nCount) override;
    LPCSTR Advance(int nCount, int nReadAhead) override;
    BOOL IsEOF() const override { return m_bEOF; }
    CKLVSyntaxEditPosition GetPosition() const override { return m_posCurrent; }
    void StepBack(CKLVSyntaxEditPosition& pos) override;
    void StepForward(CKLVSyntaxEditPosition& pos, int nCount) override;
    int GetLineLength(int nRow, BOOL bWithLineEnd) override;
    void MoveOffset(int nCharOffset) override;
    CString GetFileName() override;
    int GetMaxBackOffset() const override { return m_nMaxBackOffset; }

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
    // Characters (line end included) of the rows read since the last rewind, from row
    // m_nFirstLengthRow on: reading goes forward a row at a time.
    std::vector<int> m_arLineLengths;
    int m_nFirstLengthRow = 1;
    std::vector<char> m_arBuffer;
    int m_nBytesAhead = 0;
    int m_nCurOffset = 0;
    int m_nNextRow = 1;
    int m_nMaxBackOffset = 100;
    int m_nPeekOffset = 0;
    int m_nPeekByteOffset = 0;
};
