#include "toolkit/syntaxedit/text/SyntaxEditRowArray.h"

#include <algorithm>
#include <iterator>

void CKLVSyntaxEditRowArray::InsertRows(int nRow, std::vector<CString>& arRows) {
    if (arRows.empty()) return;
    if (m_arRows.empty()) m_arRows.emplace_back();
    nRow = std::clamp(nRow, 1, GetSize());
    m_arRows.insert(m_arRows.begin() + nRow, std::make_move_iterator(arRows.begin()),
                    std::make_move_iterator(arRows.end()));
    arRows.clear();
}

void CKLVSyntaxEditRowArray::RemoveRows(int nRow, int nCount) {
    if (!IsRow(nRow) || nCount <= 0) return;
    nCount = std::min(nCount, GetSize() - nRow);
    m_arRows.erase(m_arRows.begin() + nRow, m_arRows.begin() + nRow + nCount);
    if (m_arRows.size() == 1) m_arRows.clear();
}

void CKLVSyntaxEditRowArray::EnsureRow(int nRow) {
    if (nRow < 1) return;
    if (m_arRows.empty()) m_arRows.emplace_back();
    while (GetSize() <= nRow) m_arRows.emplace_back();
}
