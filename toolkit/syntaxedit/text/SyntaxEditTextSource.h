// How a lexer reads the editor's text: a forward iterator over the rows as one stream of
// characters with line ends and a bounded look-back, and the text that hands out such
// iterators. The buffer and its iterator implement these; a lexer needs nothing else of the
// text model, so a test can colour a plain string.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/syntaxedit/text/SyntaxEditPosition.h"

#include <memory>

class IKLVSyntaxEditTextIterator {
public:
    virtual ~IKLVSyntaxEditTextIterator() = default;

    virtual void Rewind() = 0;
    // TRUE when the current position equals the target afterwards; FALSE on an empty text or
    // when the abort event is signalled.
    virtual BOOL SeekToLine(const CKLVSyntaxEditPosition& posTarget, HANDLE hBreakEvent) = 0;
    // The text at the current position plus the peek offset, with at least n bytes available
    // when the text has them; null without text.
    virtual LPCSTR PeekText(int nCount) = 0;
    // Moves n characters forward, keeping m bytes read ahead; null at the end.
    virtual LPCSTR Advance(int nCount, int nReadAhead) = 0;
    virtual BOOL IsEOF() const = 0;
    virtual CKLVSyntaxEditPosition GetPosition() const = 0;
    virtual void StepBack(CKLVSyntaxEditPosition& pos) = 0;
    virtual void StepForward(CKLVSyntaxEditPosition& pos, int nCount) = 0;
    // Characters of a row (1-based), with or without its line end; 0 outside the text.
    virtual int GetLineLength(int nRow, BOOL bWithLineEnd) = 0;
    // Sets the peek offset (characters, negative looks back) that PeekText reads at.
    virtual void MoveOffset(int nCharOffset) = 0;
    virtual CString GetFileName() = 0;
    // How many bytes before the current position stay readable.
    virtual int GetMaxBackOffset() const = 0;
};

class IKLVSyntaxEditTextSource {
public:
    virtual ~IKLVSyntaxEditTextSource() = default;
    virtual CString GetFileName() const = 0;
    // A new iterator at the top of the text; it keeps the text alive while it lives.
    virtual std::unique_ptr<IKLVSyntaxEditTextIterator> CreateTextIterator() = 0;
};
