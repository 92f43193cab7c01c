// A plain string as the lexer reads text, with no editor behind it: rows split at any line
// end, streamed as the editor streams them (each row with "\r\n", then one closing "\r\n"),
// edits with the editor's positions, and iterators over a copy of the text taken when they are
// made. Single-byte text only.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditTextSource.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

class CStringTextIterator : public IKLVSyntaxEditTextIterator {
public:
    CStringTextIterator(const std::vector<std::string>& arRows, const CString& strFileName)
        : m_strFileName(strFileName) {
        // A line end stands before line 1, after a few bytes that nothing reads.
        m_strStream.assign(kFront, '\0');
        m_strStream += "\r\n";
        for (const std::string& row : arRows) {
            m_arLineLengths.push_back(static_cast<int>(row.size()) + 2);
            m_strStream += row + "\r\n";
        }
        if (!arRows.empty()) m_strStream += "\r\n";
        Rewind();
    }

    void Rewind() override {
        m_nCur = kFront + 2;
        m_posCurrent = CKLVSyntaxEditPosition(1, 0);
        m_nPeekOffset = m_nPeekBytes = 0;
        m_bEOF = GetLineLength(1, TRUE) == 0;
    }
    BOOL SeekToLine(const CKLVSyntaxEditPosition& posTarget, HANDLE) override {
        Rewind();
        const int nLines = static_cast<int>(m_arLineLengths.size());
        if (m_bEOF || posTarget.nLine < 1 || posTarget.nLine > nLines + 1) return FALSE;
        for (int nLine = 1; nLine < posTarget.nLine; ++nLine) m_nCur += m_arLineLengths[nLine - 1];
        m_posCurrent = CKLVSyntaxEditPosition(posTarget.nLine, 0);
        if (posTarget.nCol > 0) Advance(posTarget.nCol, 0);
        return m_posCurrent == posTarget;
    }
    LPCSTR PeekText(int) override { return m_strStream.c_str() + m_nCur + m_nPeekBytes; }
    LPCSTR Advance(int nCount, int) override {
        const int nAhead = BytesAhead();
        if (nAhead == 0) return nullptr;
        const int nChars = std::min(nCount, nAhead);
        m_nCur += nChars;
        m_bEOF = BytesAhead() < 1;
        if (nChars > 0 && !m_bEOF) StepForward(m_posCurrent, nChars);
        MoveOffset(m_nPeekOffset);
        return PeekText(0);
    }
    BOOL IsEOF() const override { return m_bEOF; }
    CKLVSyntaxEditPosition GetPosition() const override { return m_posCurrent; }
    void StepBack(CKLVSyntaxEditPosition& pos) override {
        if (pos.nCol > 0) {
            --pos.nCol;
        } else if (pos.nLine < 2) {
            pos.nCol = 0;
        } else if (const int nLength = LineLength(pos.nLine - 1); nLength >= 0) {
            --pos.nLine;
            pos.nCol = std::max(nLength, 1) - 1;
        }
    }
    void StepForward(CKLVSyntaxEditPosition& pos, int nCount) override {
        for (int nLength = LineLength(pos.nLine); nLength > 0; nLength = LineLength(pos.nLine)) {
            if (nLength - pos.nCol > nCount) {
                pos.nCol += nCount;
                return;
            }
            nCount -= nLength - pos.nCol;
            ++pos.nLine;
            pos.nCol = 0;
            if (nCount == 0) return;
        }
    }
    int GetLineLength(int nRow, BOOL bWithLineEnd) override {
        const int nLength = LineLength(nRow);
        return nLength < 0 ? 0 : nLength - (bWithLineEnd ? 0 : 2);
    }
    void MoveOffset(int nCharOffset) override {
        m_nPeekOffset = nCharOffset;
        m_nPeekBytes = std::max(std::min(nCharOffset, BytesAhead()), -m_nCur);
    }
    CString GetFileName() override { return m_strFileName; }
    int GetMaxBackOffset() const override { return 100; }

private:
    static const int kFront = 10;

    int BytesAhead() const { return static_cast<int>(m_strStream.size()) - m_nCur; }
    // With the line end; -1 outside the rows.
    int LineLength(int nRow) const {
        return nRow >= 1 && nRow <= static_cast<int>(m_arLineLengths.size()) ? m_arLineLengths[nRow - 1] : -1;
    }

    std::string m_strStream;
    std::vector<int> m_arLineLengths;
    CString m_strFileName;
    CKLVSyntaxEditPosition m_posCurrent;
    int m_nCur = 0;
    int m_nPeekOffset = 0;
    int m_nPeekBytes = 0;
    BOOL m_bEOF = FALSE;
};

class CStringText : public IKLVSyntaxEditTextSource {
public:
    explicit CStringText(const std::string& text, const char* pszFileName = "") : m_strFileName(pszFileName) {
        SetText(text);
    }

    void SetText(const std::string& text) {
        m_arRows.clear();
        if (text.empty()) return;
        std::string row;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r' && text[i] != '\n') {
                row += text[i];
                continue;
            }
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            m_arRows.push_back(std::move(row));
            row.clear();
        }
        m_arRows.push_back(std::move(row));
    }
    // The rows joined with "\r\n".
    std::string GetText() const {
        std::string text;
        for (size_t i = 0; i < m_arRows.size(); ++i) text += (i ? "\r\n" : "") + m_arRows[i];
        return text;
    }
    // Rows as the editor counts them: the rows and one more.
    int GetRowCount() const { return static_cast<int>(m_arRows.size()) + 1; }
    void SetFileName(const char* pszFileName) { m_strFileName = pszFileName; }

    // Inserts at a 0-based column of a 1-based row (rows missing up to it are added, as the
    // editor does); the position after the inserted text.
    CKLVSyntaxEditPosition InsertText(const std::string& text, int nRow, int nCol) {
        while (static_cast<int>(m_arRows.size()) < nRow) m_arRows.emplace_back();
        std::string before = GetText(), inserted = text;
        const size_t nAt = Offset(nRow, nCol);
        SetText(before.insert(nAt, inserted));
        CStringText part(GetText().substr(0, nAt + inserted.size()));
        return CKLVSyntaxEditPosition(static_cast<int>(part.m_arRows.size()),
                                      static_cast<int>(part.m_arRows.back().size()));
    }
    // Deletes from one 0-based column to another.
    void DeleteText(int nRowFrom, int nColFrom, int nRowTo, int nColTo) {
        std::string text = GetText();
        const size_t nFrom = Offset(nRowFrom, nColFrom);
        SetText(text.erase(nFrom, Offset(nRowTo, nColTo) - nFrom));
    }

    // IKLVSyntaxEditTextSource
    CString GetFileName() const override { return m_strFileName; }
    std::unique_ptr<IKLVSyntaxEditTextIterator> CreateTextIterator() override {
        return std::make_unique<CStringTextIterator>(m_arRows, m_strFileName);
    }

private:
    size_t Offset(int nRow, int nCol) const {
        size_t nOffset = 0;
        for (int i = 1; i < nRow; ++i) nOffset += m_arRows[i - 1].size() + 2;
        return nOffset + static_cast<size_t>(nCol);
    }

    std::vector<std::string> m_arRows;
    CString m_strFileName;
};
