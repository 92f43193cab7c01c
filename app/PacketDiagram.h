// The ".diagram" text of a protocol: a table of its header fields and one of each packet's fields,
// written into an editor as a sequence of insertions, each at a row and a position of its own.
#pragma once

#include "app/ProtocolRecords.h"

#include <vector>

// One insertion: the text goes in at a 1-based row and character position.
struct CDiagramPlacement {
    int nRow = 1;
    int nPos = 1;
    CString strText;
};

// The insertions that write the protocol's tables into an empty editor, in order.
std::vector<CDiagramPlacement> PacketDiagramPlacements(const CProtocolRecord& protocol);

class CKLVSyntaxEditCtrl;

// Replaces the editor's text by the insertions' text; the editor paints once, at the last one.
void WriteDiagramPlacements(CKLVSyntaxEditCtrl& ctrl, const std::vector<CDiagramPlacement>& placements);

// The text the insertions leave in an empty editor: each lands in its row or, past the end, in
// the last row; a position past the end of its row pads it with blanks, one inside it goes in
// front of the rest. Rows are joined by "\r\n".
CString PlayDiagramPlacements(const std::vector<CDiagramPlacement>& placements);

// The cells of a field's line in the table.
CString DiagramFieldSize(const CFieldRecord& field);
CString DiagramFieldType(const CFieldRecord& field);
CString DiagramFieldDescription(const CFieldRecord& field);
