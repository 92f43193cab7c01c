// The packet diagram: the cells of a field's line, the insertions of the tables and the text they
// leave, against golden files; and the command by its menu id writing that text into the
// protocol's ".diagram" tab.
#include "AppTestHost.h"

#include "app/PacketDiagram.h"
#include "app/QuorlinView.h"
#include "project/SolutionFile.h"
#include "support/CaseFile.h"
#include "support/TestFiles.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"

#include <algorithm>
#include <filesystem>

using namespace apptest;

namespace {

struct FieldSpec {
    const char* pszName;
    const char* pszDataType;
    const char* pszMaxLength;
    int nUnit;
    int nAttribute = 0;
    int nVariant = 0;
    const char* pszRelatedLength = "";
    const char* pszMaxCount = "";
    const char* pszRelatedCount = "";
};

CFieldRecord MakeField(const FieldSpec& spec) {
    CFieldRecord field;
    CopyRecordText(field.szName, spec.pszName);
    CopyRecordText(field.szDataType, spec.pszDataType);
    CopyRecordText(field.szMaxLength, spec.pszMaxLength);
    CopyRecordText(field.szRelatedLength, spec.pszRelatedLength);
    CopyRecordText(field.szMaxCount, spec.pszMaxCount);
    CopyRecordText(field.szRelatedCount, spec.pszRelatedCount);
    field.nUnit = spec.nUnit;
    field.nAttribute = spec.nAttribute;
    field.nVariant = spec.nVariant;
    return field;
}

CPacketRecord MakePacket(const char* pszName, std::initializer_list<FieldSpec> fields) {
    CPacketRecord packet;
    CopyRecordText(packet.szName, pszName);
    for (const FieldSpec& spec : fields) packet.fields.push_back(MakeField(spec));
    return packet;
}

// Header fields and two packets with fields of each kind; in "Logout" a name longer than its
// column and a description longer than its column push the cells after them along.
CProtocolRecord ChatProtocol() {
    CProtocolRecord protocol;
    CopyRecordText(protocol.szName, "Chat");
    for (const FieldSpec& spec : {FieldSpec{"version", "unsigned char", "1", 0}, FieldSpec{"flags", "unsigned char", "3", 1},
                                  FieldSpec{"bodyLength", "unsigned short int", "2", 0}})
        protocol.headerFields.push_back(MakeField(spec));
    protocol.packets.push_back(MakePacket(
        "Login", {{"user", "char []", "32", 0, 1, 1, "len"},
                  {"password", "char []", "16", 0},
                  {"names", "char *", "20", 0, 1, 2, "nameLen", "5", "count"},
                  {"session", "unsigned int", "4", 2}}));
    protocol.packets.push_back(MakePacket(
        "Logout", {{"note", "char []", "64", 2, 1, 0},
                   {"sessionIdentifierOfClient", "unsigned int64", "8", 0},
                   {"aliases", "char *", "255", 0, 1, 2, "aliasLengthOfThisPacket", "100", "aliasCountOfThisPacket"},
                   {"reason", "signed char", "1", 0}}));
    return protocol;
}

std::string Golden(const char* pszName) {
    return testsupport::fixture(std::string("app/diagram/") + pszName);
}

TEST(PacketDiagramCells, SizeTypeAndDescriptionOfEachKindOfField) {
    struct Case {
        FieldSpec spec;
        const char *pszSize, *pszType, *pszDescription;
    };
    const Case cases[] = {
        {{"user", "char []", "32", 0, 1, 1, "len"}, "32(byte)", "String", "MaxLen:32, Attribute:variant length, Separated:len"},
        {{"pw", "char []", "16", 0, 0, 2, "len"}, "16(byte)", "String", "MaxLen:16, Attribute:fix length"},
        {{"s", "char []", "8", 1, 1, 0, "len"}, "8(bit)", "String", "MaxLen:8, Attribute:variant length, Separated:0"},
        {{"t", "char []", "9", 2, 0}, "9(bit)", "String", "MaxLen:9, Attribute:fix length, TLV"},
        {{"t", "char []", "9", 2, 1, 1, "n"}, "9(bit)", "String", "MaxLen:9, Attribute:variant length, Separated:n, TLV"},
        {{"names", "char *", "20", 0, 1, 2, "nameLen", "5", "count"}, "20(byte)", "Pointer",
         "MaxLen:20, MaxCount:5, RelateCount:count, Attribute:variant length, Separated:nameLen,plus 0"},
        {{"p", "char *", "4", 0, 0, 0, "", "", ""}, "4(byte)", "Pointer", "MaxLen:4, MaxCount:, RelateCount:, Attribute:fix length"},
        {{"v", "char *", "4", 0, 1, 7, "x", "2", "c"}, "4(byte)", "Pointer",
         "MaxLen:4, MaxCount:2, RelateCount:c, Attribute:variant length, Separated:x,plus 0"},
        {{"session", "unsigned int", "4", 2}, "4(bit)", "Integer", "TLV"},
        {{"bits", "unsigned char", "3", 1}, "3(bit)", "Integer", ""},
        {{"big", "signed int64", "8", 0, 1, 1, "len"}, "8(byte)", "Integer", ""},
        {{"odd", "", "", 0}, "(byte)", "Integer", ""},
    };
    for (const Case& c : cases) {
        const CFieldRecord field = MakeField(c.spec);
        EXPECT_STREQ(DiagramFieldSize(field), c.pszSize) << c.spec.pszName;
        EXPECT_STREQ(DiagramFieldType(field), c.pszType) << c.spec.pszName;
        EXPECT_STREQ(DiagramFieldDescription(field), c.pszDescription) << c.spec.pszName;
    }
}

TEST(PacketDiagramPlacements, EveryRowNamedIsAtOrPastTheLastRowOfTheTextAtItsTurn) {
    // A packet without fields too: its gap, title, rules and heads.
    CProtocolRecord protocol = ChatProtocol();
    protocol.packets.push_back(MakePacket("Empty", {}));
    int nRows = 1, nLastRow = 0;
    for (const CDiagramPlacement& placement : PacketDiagramPlacements(protocol)) {
        EXPECT_GE(placement.nRow, std::max(nRows, nLastRow));
        nLastRow = placement.nRow;
        if (placement.strText.Find('\n') >= 0) ++nRows;
    }
}

TEST(PacketDiagramText, TheInsertionsLeaveTheGoldenText) {
    CProtocolRecord empty;
    CopyRecordText(empty.szName, "Empty");
    EXPECT_EQ(std::string(PlayDiagramPlacements(PacketDiagramPlacements(empty))), Golden("empty.diagram"));
    EXPECT_EQ(std::string(PlayDiagramPlacements(PacketDiagramPlacements(ChatProtocol()))), Golden("chat.diagram"));
}

TEST(PacketDiagramText, PlacementsPadPastTheEndAndGoInFrontInsideARow) {
    struct Case {
        std::vector<CDiagramPlacement> placements;
        const char* pszText;
    };
    const Case cases[] = {
        {{{1, 4, "x"}}, "   x"},
        {{{1, 1, "abc"}, {1, 2, "-"}}, "a-bc"},
        {{{9, 1, "ab\r\n"}, {9, 3, "c"}}, "ab\r\n  c"},
        {{{1, 1, "abcd"}, {1, 3, "\r\n"}, {2, 1, "x"}}, "ab\r\nxcd"},
        {{{1, 1, "a\nb"}, {1, 2, "c"}}, "ac\r\nb"},
        {{{1, 3, ""}}, ""},
    };
    for (const Case& c : cases) EXPECT_STREQ(PlayDiagramPlacements(c.placements), c.pszText) << c.pszText;
}

// The program with a project, a protocol item selected in the solution tree and the protocol's
// ".diagram" document open in a tab.
class PacketDiagramCommandTest : public AppTest {
protected:
    PacketDiagramCommandTest() : m_protocol(AddProtocol("Chat")) {
        m_protocol = ChatProtocol();
        UseProject(CProjectRecord::Windows);
        m_solution = solutionFilePath(*Frame().GetProject());
    }

    // An item of the protocol selected as the user does; its files belong in the test's folder.
    void SelectProtocolItem(int nKind, CProtocolRecord& protocol) {
        protocol.strLocation = Folder().c_str();
        SelectTreeItem(AddTreeItem(protocol.szName, nKind, &protocol, nullptr, Folder().c_str()));
    }
    void SelectProtocolItem(int nKind) { SelectProtocolItem(nKind, m_protocol); }

    // The tab of the file below the test's folder, opened unless a tab shows it already; its text
    // made the given one.
    int OpenTab(const std::string& relativePath, const std::string& text) {
        const std::string fileName = std::filesystem::path(relativePath).filename().string();
        int nTab = Frame().FindTab(fileName);
        if (nTab < 0) {
            std::filesystem::create_directories(std::filesystem::path(Folder() + relativePath).parent_path());
            testsupport::writeBytes(Folder() + relativePath, "");
            EXPECT_TRUE(Frame().openDocument(Folder() + relativePath));
            nTab = Frame().FindTab(fileName);
        }
        if (nTab >= 0) Frame().replaceTabText(nTab, text);
        IdleUpdate();
        return nTab;
    }

    CKLVSyntaxEditCtrl* Editor(int nTab) const {
        CquorlinView* pView = Frame().GetTabView(nTab);
        return pView ? pView->GetEditCtrl() : nullptr;
    }

    std::string EditorText(int nTab) const {
        CKLVSyntaxEditCtrl* pCtrl = Editor(nTab);
        if (!pCtrl) return "(no editor)";
        std::string text;
        for (int nRow = 1; nRow <= pCtrl->GetRowCount(); ++nRow)
            text += (nRow > 1 ? "\r\n" : "") + std::string(pCtrl->GetRowText(nRow));
        return text;
    }

    CProtocolRecord& m_protocol;
    std::string m_solution;
};

TEST_F(PacketDiagramCommandTest, WritesTheGoldenTextIntoTheModifiedDiagramTab) {
    struct Case {
        const char* pszName;
        bool bEmpty;
        int nKind;
        const char* pszGolden;
    };
    const Case cases[] = {{"Chat", false, 4, "chat.diagram"}, {"Empty", true, 0, "empty.diagram"}};
    for (const Case& c : cases) {
        CProtocolRecord& protocol = c.bEmpty ? AddProtocol(c.pszName) : m_protocol;
        SelectProtocolItem(c.nKind, protocol);
        const int nTab = OpenTab(std::string(c.pszName) + ".diagram", "old text\r\nmore");
        ASSERT_GE(nTab, 0);
        ASSERT_EQ(Frame().tabCaption(nTab), std::string(c.pszName) + ".diagram *");
        Command(ID_PACKET_DIAGRAM);
        EXPECT_EQ(EditorText(nTab), Golden(c.pszGolden)) << c.pszName;
        // The editor paints again once the text stands.
        EXPECT_TRUE(Editor(nTab)->IsWindowVisible());
        EXPECT_EQ(Frame().m_MTIClientWnd.GetItem(nTab)->GetHandle(), Frame().MDIGetActive()->GetSafeHwnd());
    }
}

TEST_F(PacketDiagramCommandTest, TheUndoHistoryHoldsOneDeletionAndOneInsertionAPlacement) {
    // A placement of no text (an integer's empty description) inserts nothing.
    const auto Insertions = [](const CProtocolRecord& protocol) {
        const std::vector<CDiagramPlacement> placements = PacketDiagramPlacements(protocol);
        return static_cast<int>(std::count_if(placements.begin(), placements.end(),
                                              [](const CDiagramPlacement& p) { return !p.strText.IsEmpty(); }));
    };
    SelectProtocolItem(0);
    const int nTab = OpenTab("Chat.diagram", "old text");
    ASSERT_NE(Editor(nTab), nullptr);
    CKLVSyntaxEditUndoManager* pUndo = Editor(nTab)->GetBuffer()->GetUndoManager();
    int nBefore = pUndo->GetCount();
    Command(ID_PACKET_DIAGRAM);
    EXPECT_EQ(pUndo->GetCount(), nBefore + 1 + Insertions(m_protocol));

    // Undoing them all gives the old text back.
    CopyRecordText(m_protocol.szName, "Chat");
    m_protocol.headerFields.clear();
    m_protocol.packets.clear();
    Frame().replaceTabText(nTab, "old text");
    nBefore = pUndo->GetCount();
    Command(ID_PACKET_DIAGRAM);
    const int nInsertions = Insertions(m_protocol);
    ASSERT_EQ(pUndo->GetCount(), nBefore + 1 + nInsertions);
    Editor(nTab)->Undo(1 + nInsertions);
    EXPECT_EQ(EditorText(nTab), "old text");
}

TEST_F(PacketDiagramCommandTest, SavesTheSolutionFirstAndWritesOnlyACaseExactTab) {
    // A tab of the name in other letters, of a file elsewhere, and then the protocol's own tab.
    const int nOtherCase = OpenTab("lower\\chat.diagram", "kept");
    ASSERT_GE(nOtherCase, 0);
    SelectProtocolItem(0);
    const int nOwn = OpenTab("Chat.diagram", "old");
    ASSERT_GT(nOwn, nOtherCase);
    std::filesystem::remove(m_solution);
    Command(ID_PACKET_DIAGRAM);
    EXPECT_TRUE(std::filesystem::exists(m_solution));
    EXPECT_EQ(EditorText(nOtherCase), "kept");
    EXPECT_EQ(EditorText(nOwn), Golden("chat.diagram"));
    EXPECT_TRUE(Record().boxes.empty());

    // Without a tab of its own the solution file is still written, and no tab is.
    std::filesystem::remove(m_solution);
    CopyRecordText(m_protocol.szName, "Chat2");
    Command(ID_PACKET_DIAGRAM);
    EXPECT_TRUE(std::filesystem::exists(m_solution));
    EXPECT_EQ(EditorText(nOtherCase), "kept");
    EXPECT_EQ(EditorText(nOwn), Golden("chat.diagram"));
}

TEST_F(PacketDiagramCommandTest, NoSelectionNoProtocolOrNoProjectDoesNothing) {
    const int nTab = OpenTab("Chat.diagram", "kept");
    ASSERT_GE(nTab, 0);
    struct Step {
        const char* pszWhat;
        std::function<void()> prepare;
    };
    const Step steps[] = {
        {"no tree window", [] {}},
        {"the root, no record", [this] { SelectTreeItem(Tree().GetRootItem()); }},
        {"no project", [this] {
             SelectProtocolItem(0);
             Frame().GetProjectCommands().setProject(nullptr);
         }},
    };
    for (const Step& step : steps) {
        step.prepare();
        std::filesystem::remove(m_solution);
        Frame().SendMessage(WM_COMMAND, ID_PACKET_DIAGRAM);
        EXPECT_FALSE(std::filesystem::exists(m_solution)) << step.pszWhat;
        EXPECT_EQ(EditorText(nTab), "kept") << step.pszWhat;
    }
}

TEST_F(PacketDiagramCommandTest, ASolutionFileThatCannotBeWrittenEndsTheCommandWithItsMessage) {
    SelectProtocolItem(0);
    const int nTab = OpenTab("Chat.diagram", "kept");
    std::filesystem::remove(m_solution);
    std::filesystem::create_directory(m_solution);
    Command(ID_PACKET_DIAGRAM);
    EXPECT_EQ(Record().boxes.size(), 1u);
    EXPECT_EQ(EditorText(nTab), "kept");
    std::filesystem::remove(m_solution);
}

}  // namespace
