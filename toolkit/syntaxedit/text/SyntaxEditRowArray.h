// The rows of a buffer, indexed from 1. Entry 0 holds no row: the count is the number of rows
// plus one, and an empty buffer has count 0. Rows go in and out in bulk, so that a large insert
// shifts the rows behind it once.
#pragma once

#include "classlib/ClassLib.h"

#include <vector>

class CKLVSyntaxEditRowArray {
public:
    int GetSize() const { return static_cast<int>(m_arRows.size()); }
    int GetRowCount() const { return m_arRows.empty() ? 0 : GetSize() - 1; }
    BOOL IsRow(int nRow) const { return nRow >= 1 && nRow < GetSize(); }

    // The row's text; the caller checks IsRow.
    const CString& GetAt(int nRow) const { return m_arRows[nRow]; }
    CString& ElementAt(int nRow) { return m_arRows[nRow]; }

    // Inserts the rows before row nRow (1 to count: nRow == count appends); the rows are moved
    // out of the vector.
    void InsertRows(int nRow, std::vector<CString>& arRows);
    // Removes nCount rows from nRow on (clamped to the rows there are).
    void RemoveRows(int nRow, int nCount);
    // Appends empty rows until row nRow exists.
    void EnsureRow(int nRow);
    void RemoveAll() { m_arRows.clear(); }

private:
    std::vector<CString> m_arRows;
};
