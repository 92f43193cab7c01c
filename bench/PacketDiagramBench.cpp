// The packet diagram command's work for a protocol whose packet has 10 and then 50 fields: the
// insertions worked out and written into a shown edit control, painted once at the end.
// diagram_scaling= is the 50-field time over the 10-field time (5 is linear).
#include "BenchTiming.h"
#include "WinBenchReport.h"
#include "app/PacketDiagram.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <cstdio>
#include <string>

namespace {

// A header of three fields and one packet of nFields fields of the three units in turn.
CProtocolRecord MakeProtocol(int nFields) {
    CProtocolRecord protocol;
    CopyRecordText(protocol.szName, "Bench");
    const char* const units[] = {"unsigned char", "unsigned short int", "char"};
    for (int i = 0; i < 3; ++i) {
        CFieldRecord field;
        CopyRecordText(field.szName, ("head" + std::to_string(i)).c_str());
        CopyRecordText(field.szDataType, units[i % 2]);
        CopyRecordText(field.szMaxLength, "2");
        protocol.headerFields.push_back(field);
    }
    CPacketRecord packet;
    CopyRecordText(packet.szName, "Request");
    CopyRecordText(packet.szType, "0x01");
    for (int i = 0; i < nFields; ++i) {
        CFieldRecord field;
        CopyRecordText(field.szName, ("field" + std::to_string(i)).c_str());
        CopyRecordText(field.szDataType, units[i % 3]);
        CopyRecordText(field.szMaxLength, i % 3 == 2 ? "64" : "4");
        field.nUnit = i % 3 == 1 ? CFieldRecord::unitBit : CFieldRecord::unitByte;
        field.nAttribute = i % 3 == 2 ? CFieldRecord::attrVariantLength : CFieldRecord::attrFixLength;
        packet.fields.push_back(field);
    }
    protocol.packets.push_back(packet);
    return protocol;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CBenchReport report("packet_diagram_bench");
    CWnd parent;
    parent.Attach(::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                                    nullptr));
    auto* pBuffer = new CKLVSyntaxEditBufferManager;
    CKLVSyntaxEditCtrl ctrl;
    ctrl.Create(&parent, TRUE, TRUE, pBuffer);
    pBuffer->InternalRelease();
    ctrl.MoveWindow(0, 0, 800, 600);
    ctrl.ShowWindow(SW_SHOW);
    double dSeconds[2] = {};
    const int fieldCounts[2] = {10, 50};
    for (int i = 0; i < 2; ++i) {
        const CProtocolRecord protocol = MakeProtocol(fieldCounts[i]);
        size_t nPlacements = 0;
        dSeconds[i] = BestSeconds([&] {
            const std::vector<CDiagramPlacement> placements = PacketDiagramPlacements(protocol);
            nPlacements = placements.size();
            WriteDiagramPlacements(ctrl, placements);
            ctrl.UpdateWindow();
        }, 5);
        std::printf("fields=%d insertions=%zu rows=%d diagram_ms=%.3f\n", fieldCounts[i], nPlacements,
                    ctrl.GetRowCount(), dSeconds[i] * 1000);
    }
    report.Figure("diagram_10_fields_ms", dSeconds[0] * 1000);
    report.Figure("diagram_50_fields_ms", dSeconds[1] * 1000);
    report.Figure("diagram_scaling", dSeconds[1] / dSeconds[0], "5 is linear");
    ctrl.DestroyWindow();
    ::DestroyWindow(parent.Detach());
    return 0;
}
