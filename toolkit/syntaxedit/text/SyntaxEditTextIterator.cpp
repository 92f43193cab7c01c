#include "toolkit/syntaxedit/text/SyntaxEditTextIterator.h"

#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditLeadBytes.h"

#include <algorithm>
#include <cstring>

namespace {

const char kClosingLineEnd[] = "\r\n";
const int kMinBackOffset = 20;

bool IsSignalled(HANDLE hEvent) { return hEvent && ::WaitForSingleObject(hEvent, 0) == WAIT_OBJECT_0; }

bool IsLeadByte(char ch) { return KLVIsLeadByte(ch); }

int CountChars(const CString& strText) {
    if (!KLVHasLeadBytes()) return strText.GetLength();
    int nChars = 0;
    for (int i = 0; i < strText.GetLength(); ++nChars)
        i += IsLeadByte(strText[i]) && i + 1 < strText.GetLength() ? 2 : 1;
    return nChars;
}

}  // namespace

CKLVSyntaxEditTextIterator::CKLVSyntaxEditTextIterator(CKLVSyntaxEditBufferManager* pBuffer) : m_pBuffer(pBuffer) {
    if (m_pBuffer) {
        m_pBuffer->InternalAddRef();
        if (IKLVSyntaxEditLexParser* pParser = m_pBuffer->GetLexParser())
            m_nMaxBackOffset = pParser->GetOptions(m_pBuffer->GetFileName()).nMaxBackParseOffset;
    }
    m_nMaxBackOffset = std::max(m_nMaxBackOffset, kMinBackOffset);
    Rewind();
}

CKLVSyntaxEditTextIterator::~CKLVSyntaxEditTextIterator() {
    if (m_pBuffer) m_pBuffer->InternalRelease();
}

CString CKLVSyntaxEditTextIterator::GetLineEnd() { return m_pBuffer ? m_pBuffer->GetLineEndText() : kClosingLineEnd; }

CString CKLVSyntaxEditTextIterator::GetFileName() { return m_pBuffer ? m_pBuffer->GetFileName() : CString(); }

int CKLVSyntaxEditTextIterator::LastRow() const { return m_pBuffer ? m_pBuffer->GetRowCount() - 1 : 0; }

void CKLVSyntaxEditTextIterator::Rewind() {
    m_posCurrent = CKLVSyntaxEditPosition(1, 0);
    m_arLineLengths.clear();
    m_nFirstLengthRow = m_nNextRow = 1;
    m_nBytesAhead = 0;
    m_nPeekOffset = m_nPeekByteOffset = 0;
    const size_t nMinSize = static_cast<size_t>(std::max(kMinBufferSize, m_nMaxBackOffset));
    if (m_arBuffer.size() < nMinSize) m_arBuffer.resize(nMinSize);
    std::fill(m_arBuffer.begin(), m_arBuffer.end(), 0);
    // A look-back from the first character finds a line end before it.
    memcpy(&m_arBuffer[kFirstOffset], kClosingLineEnd, 3);
    m_nCurOffset = kFirstOffset + 2;
    m_bEOF = GetLineLength(1, TRUE) == 0;
}

int CKLVSyntaxEditTextIterator::LookupLineLength(int nRow) const {
    const size_t nIndex = static_cast<size_t>(nRow - m_nFirstLengthRow);
    return nRow >= m_nFirstLengthRow && nIndex < m_arLineLengths.size() ? m_arLineLengths[nIndex] : -1;
}

LPCSTR CKLVSyntaxEditTextIterator::PeekText(int nCount) {
    if (!m_pBuffer) return nullptr;
    if (m_nBytesAhead != 0 && m_nBytesAhead >= nCount) return &m_arBuffer[m_nCurOffset + m_nPeekByteOffset];
    const int nLastRow = LastRow();
    CString strRow;
    while (m_nNextRow <= nLastRow && m_nBytesAhead < nCount) {
        m_pBuffer->GetLineText(m_nNextRow, strRow, TRUE);
        m_arLineLengths.push_back(CountChars(strRow));
        // The closing line end belongs to no row.
        if (m_nNextRow == nLastRow) strRow += kClosingLineEnd;
        const int nBytes = strRow.GetLength();
        const size_t nNeeded = static_cast<size_t>(m_nCurOffset + m_nBytesAhead + std::max(2 * nCount, 256) + nBytes);
        if (m_arBuffer.size() < nNeeded) m_arBuffer.resize(nNeeded + 1224, 0);
        memcpy(&m_arBuffer[m_nCurOffset + m_nBytesAhead], strRow.GetString(), nBytes + 1);
        m_nBytesAhead += nBytes;
        ++m_nNextRow;
    }
    return &m_arBuffer[m_nCurOffset + m_nPeekByteOffset];
}

int CKLVSyntaxEditTextIterator::CharBytesForward(int nFrom, int nCount) const {
    const int nEnd = m_nCurOffset + m_nBytesAhead;
    if (!KLVHasLeadBytes()) return std::max(std::min(nCount, nEnd - nFrom), 0);
    int i = nFrom;
    for (; nCount > 0 && i < nEnd; --nCount) i += IsLeadByte(m_arBuffer[i]) && i + 1 < nEnd ? 2 : 1;
    return i - nFrom;
}

void CKLVSyntaxEditTextIterator::Compact() {
    if (m_nCurOffset <= kCompactThreshold) return;
    // A look-back larger than what was read keeps everything.
    const int nDrop = m_nCurOffset - m_nMaxBackOffset;
    if (nDrop <= 0) return;
    m_arBuffer.erase(m_arBuffer.begin(), m_arBuffer.begin() + nDrop);
    m_nCurOffset -= nDrop;
}

LPCSTR CKLVSyntaxEditTextIterator::Advance(int nCount, int nReadAhead) {
    if (m_nBytesAhead < nCount + nReadAhead) PeekText(nCount + nReadAhead);
    const int nChars = std::min(nCount, m_nBytesAhead);
    if (m_nBytesAhead == 0) return nullptr;
    const int nConsumed = CharBytesForward(m_nCurOffset, nChars);
    Compact();
    m_nCurOffset += nConsumed;
    m_nBytesAhead -= nConsumed;
    m_bEOF = m_nBytesAhead < 1;
    if (nChars > 0 && m_nBytesAhead > 0) StepForward(m_posCurrent, nChars);
    MoveOffset(m_nPeekOffset);
    return &m_arBuffer[m_nCurOffset + m_nPeekByteOffset];
}

void CKLVSyntaxEditTextIterator::StepForward(CKLVSyntaxEditPosition& pos, int nCount) {
    for (;;) {
        const int nLength = LookupLineLength(pos.nLine);
        if (nLength <= 0) return;
        const int nLeft = nLength - pos.nCol;
        if (nLeft > nCount) {
            pos.nCol += nCount;
            return;
        }
        nCount -= nLeft;
        ++pos.nLine;
        pos.nCol = 0;
        if (nCount == 0) return;
    }
}

void CKLVSyntaxEditTextIterator::StepBack(CKLVSyntaxEditPosition& pos) {
    if (pos.nCol > 0) {
        --pos.nCol;
        return;
    }
    if (pos.nLine < 2) {
        pos.nCol = 0;
        return;
    }
    const int nLength = LookupLineLength(pos.nLine - 1);
    if (nLength < 0) return;
    --pos.nLine;
    pos.nCol = std::max(nLength, 1) - 1;
}

void CKLVSyntaxEditTextIterator::MoveOffset(int nCharOffset) {
    m_nPeekOffset = nCharOffset;
    if (nCharOffset == 0) {
        m_nPeekByteOffset = 0;
        return;
    }
    if (nCharOffset > 0) {
        m_nPeekByteOffset = CharBytesForward(m_nCurOffset, nCharOffset);
        return;
    }
    int i = m_nCurOffset;
    if (!KLVHasLeadBytes())
        i = std::max(i + nCharOffset, 0);
    else
        for (int n = -nCharOffset; n > 0 && i > 0; --n) i -= i >= 2 && IsLeadByte(m_arBuffer[i - 2]) ? 2 : 1;
    m_nPeekByteOffset = i - m_nCurOffset;
}

int CKLVSyntaxEditTextIterator::GetLineLength(int nRow, BOOL bWithLineEnd) {
    if (!m_pBuffer || nRow < 1 || nRow > LastRow()) return 0;
    CString strRow;
    m_pBuffer->GetLineText(nRow, strRow, bWithLineEnd);
    return CountChars(strRow);
}

int CKLVSyntaxEditTextIterator::GetLineByteCount(int nRow, BOOL bWithLineEnd) {
    if (!m_pBuffer || nRow < 1 || nRow > LastRow()) return 0;
    CString strRow;
    m_pBuffer->GetLineText(nRow, strRow, bWithLineEnd);
    return strRow.GetLength();
}

BOOL CKLVSyntaxEditTextIterator::SeekToLine(const CKLVSyntaxEditPosition& posTarget, HANDLE hBreakEvent) {
    Rewind();
    if (m_bEOF) return FALSE;
    // Start far enough above the target that the look-back holds real text.
    int nStartRow = posTarget.nLine, nBytes = 0;
    while (nBytes < m_nMaxBackOffset && nStartRow >= 2) {
        if (IsSignalled(hBreakEvent)) return FALSE;
        nBytes += GetLineByteCount(nStartRow, TRUE);
        --nStartRow;
    }
    m_nFirstLengthRow = m_nNextRow = nStartRow;
    PeekText(kCompactThreshold);
    m_posCurrent = CKLVSyntaxEditPosition(nStartRow, 0);
    while (m_posCurrent < posTarget && !m_bEOF) {
        int nStep = 1;
        if (m_posCurrent.nLine < posTarget.nLine) {
            const int nLength = LookupLineLength(m_posCurrent.nLine);
            if (nLength == 0) break;
            if (nLength > 0) nStep = nLength - m_posCurrent.nCol;
        } else {
            nStep = posTarget.nCol - m_posCurrent.nCol;
            if (nStep < 1) break;
        }
        Advance(nStep, kCompactThreshold);
        if (IsSignalled(hBreakEvent)) return FALSE;
    }
    return m_posCurrent == posTarget;
}
