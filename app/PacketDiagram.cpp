#include "app/PacketDiagram.h"

#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextFormat.h"

#include <algorithm>
#include <cstring>

namespace {

// Keeps a window from painting while it lives, then has it repaint whole, frame included.
class CRedrawHold {
public:
    explicit CRedrawHold(CWnd& wnd) : m_wnd(wnd) { m_wnd.SetRedraw(FALSE); }
    ~CRedrawHold() {
        m_wnd.SetRedraw(TRUE);
        m_wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    }
    CRedrawHold(const CRedrawHold&) = delete;
    CRedrawHold& operator=(const CRedrawHold&) = delete;

private:
    CWnd& m_wnd;
};

// The table's columns: the name cell starts at 1, the others after their separators; the
// right border stands at 149 and the line break at 150.
enum { posName = 1, posSizeBar = 25, posSize = 26, posTypeBar = 37, posType = 38, posDescBar = 49, posDesc = 50,
       posRightBar = 149, posLineEnd = 150 };

const char s_szLineEnd[] = "\r\n";

BOOL IsDataType(const CFieldRecord& field, const char* pszType) {
    return std::strcmp(field.szDataType, pszType) == 0;
}

// Collects the insertions of the tables in order.
class CDiagramWriter {
public:
    std::vector<CDiagramPlacement> m_placements;

    void Put(int nRow, int nPos, const CString& strText) { m_placements.push_back({nRow, nPos, strText}); }

    // A rule is one insertion a character, then its line break.
    void Rule(int nRow, char ch) {
        for (int nPos = 1; nPos < posLineEnd; ++nPos) Put(nRow, nPos, CString(ch));
        Put(nRow, posLineEnd, s_szLineEnd);
    }

    void Line(int nRow, const CString& strName, const CString& strSize, const CString& strType,
              const CString& strDesc) {
        Put(nRow, posName, "|" + strName);
        Put(nRow, posSizeBar, "|");
        Put(nRow, posSize, strSize);
        Put(nRow, posTypeBar, "|");
        Put(nRow, posType, strType);
        Put(nRow, posDescBar, "|");
        Put(nRow, posDesc, strDesc);
        Put(nRow, posRightBar, "|");
        Put(nRow, posLineEnd, s_szLineEnd);
    }

    // The title, its rules and the column heads; the next row is returned.
    int Heading(int nRow, const CString& strTitle) {
        Put(nRow, 1, strTitle);
        Rule(nRow + 1, '=');
        Line(nRow + 2, "Field Name", "Size", "Type", "Description");
        Rule(nRow + 2, '=');
        return nRow + 3;
    }

    // Each field's line and its separator; the row after them is returned.
    int Fields(int nRow, const std::vector<CFieldRecord>& fields) {
        for (const CFieldRecord& field : fields) {
            Line(nRow++, field.szName, DiagramFieldSize(field), DiagramFieldType(field), DiagramFieldDescription(field));
            Rule(nRow++, '-');
        }
        return nRow;
    }
};

CString AttributeText(const CFieldRecord& field) {
    CString strText = ", Attribute:";
    strText += field.nAttribute == CFieldRecord::attrFixLength ? "fix length" : "variant length";
    if (field.nAttribute == CFieldRecord::attrFixLength) return strText;
    strText += ", Separated:";
    if (field.nVariant == 0) return strText + "0";
    strText += field.szRelatedLength;
    if (field.nVariant != 1) strText += ",plus 0";
    return strText;
}

}  // namespace

CString DiagramFieldSize(const CFieldRecord& field) {
    return CString(field.szMaxLength) + (field.nUnit == CFieldRecord::unitByte ? "(byte)" : "(bit)");
}

CString DiagramFieldType(const CFieldRecord& field) {
    if (IsDataType(field, "char []")) return "String";
    if (IsDataType(field, "char *")) return "Pointer";
    return "Integer";
}

CString DiagramFieldDescription(const CFieldRecord& field) {
    const BOOL bTLV = field.nUnit == CFieldRecord::unitTLV;
    CString strText;
    if (IsDataType(field, "char []")) {
        strText = CString("MaxLen:") + field.szMaxLength;
    } else if (IsDataType(field, "char *")) {
        strText = CString("MaxLen:") + field.szMaxLength + ", MaxCount:" + field.szMaxCount +
                  ", RelateCount:" + field.szRelatedCount;
    } else {
        return bTLV ? "TLV" : "";
    }
    strText += AttributeText(field);
    if (bTLV) strText += ", TLV";
    return strText;
}

std::vector<CDiagramPlacement> PacketDiagramPlacements(const CProtocolRecord& protocol) {
    CDiagramWriter writer;
    int nRow = writer.Fields(writer.Heading(5, "Header:\r\n"), protocol.headerFields);
    for (const CPacketRecord& packet : protocol.packets) {
        // The gap line break goes where the last rule left off.
        writer.Put(nRow, posLineEnd, s_szLineEnd);
        nRow = writer.Fields(writer.Heading(nRow + 1, CString(packet.szName) + ":\r\n"), packet.fields);
    }
    return std::move(writer.m_placements);
}

CString PlayDiagramPlacements(const std::vector<CDiagramPlacement>& placements) {
    std::vector<CString> rows(1);
    for (const CDiagramPlacement& placement : placements) {
        BOOL bEndsWithLineEnd = FALSE;
        std::vector<CString> lines = CKLVSyntaxEditTextFormat::SplitLines(
            placement.strText, static_cast<size_t>(placement.strText.GetLength()), &bEndsWithLineEnd);
        if (lines.empty()) continue;
        const size_t nRow = static_cast<size_t>(std::clamp(placement.nRow, 1, static_cast<int>(rows.size()))) - 1;
        const int nCol = std::max(placement.nPos, 1) - 1;
        CString& strRow = rows[nRow];
        CString strTail;
        if (nCol < strRow.GetLength()) {
            strTail = strRow.Mid(nCol);
            strRow = strRow.Left(nCol);
        } else {
            strRow += CString(' ', nCol - strRow.GetLength());
        }
        strRow += lines.front();
        if (bEndsWithLineEnd) lines.emplace_back();
        lines.erase(lines.begin());
        (lines.empty() ? strRow : lines.back()) += strTail;
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(nRow) + 1, lines.begin(), lines.end());
    }
    CString strText;
    for (size_t i = 0; i < rows.size(); ++i) strText += (i ? s_szLineEnd : "") + rows[i];
    return strText;
}

void WriteDiagramPlacements(CKLVSyntaxEditCtrl& ctrl, const std::vector<CDiagramPlacement>& placements) {
    {
        // Thousands of small insertions: no paint until the last.
        CRedrawHold hold(ctrl);
        ctrl.SelectAll();
        ctrl.DeleteSelection(FALSE);
        for (size_t i = 0; i + 1 < placements.size(); ++i)
            ctrl.InsertText(placements[i].strText, placements[i].nRow, placements[i].nPos, FALSE, FALSE);
    }
    if (placements.empty()) return;
    const CDiagramPlacement& last = placements.back();
    ctrl.InsertText(last.strText, last.nRow, last.nPos, FALSE, TRUE);
}
