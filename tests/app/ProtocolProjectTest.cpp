// The protocol editor reached by a user: the View menu shows and closes its panes, the solution
// tree's commands add and remove protocols, packets and fields, the protocols are kept beside the
// solution file and come back when the project is opened again, and their file reads back what
// was written.
#include "AppTestHost.h"

#include "app/ProtocolFile.h"
#include "app/QuorlinView.h"
#include "project/SolutionFile.h"
#include "support/TestFiles.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include <filesystem>

using namespace apptest;

namespace {

class ProtocolProjectTest : public AppTest {
protected:
    // The tree below item as "text(kind)" lines, indented by depth.
    std::string Outline(HTREEITEM hItem = nullptr, int nDepth = 0) const {
        COfficeTreeCtrl& tree = Tree();
        std::string text;
        for (HTREEITEM hChild = tree.GetChildItem(hItem ? hItem : tree.GetRootItem()); hChild;
             hChild = tree.GetNextSiblingItem(hChild)) {
            const CSolutionTreeItem* pItem = tree.GetTreeItem(hChild);
            text += std::string(nDepth * 2, ' ') + static_cast<LPCSTR>(tree.GetItemText(hChild)) + "(" +
                    std::to_string(pItem ? pItem->nKind : -1) + ")\n";
            text += Outline(hChild, nDepth + 1);
        }
        return text;
    }
    // The item at a path of texts below the root.
    HTREEITEM Item(std::initializer_list<const char*> path) const {
        COfficeTreeCtrl& tree = Tree();
        HTREEITEM hItem = tree.GetRootItem();
        for (const char* lpszText : path) {
            HTREEITEM hChild = tree.GetChildItem(hItem);
            while (hChild && tree.GetItemText(hChild) != lpszText) hChild = tree.GetNextSiblingItem(hChild);
            if (!hChild) return nullptr;
            hItem = hChild;
        }
        return hItem;
    }
    void Select(std::initializer_list<const char*> path) const {
        HTREEITEM hItem = Item(path);
        ASSERT_NE(hItem, nullptr);
        SelectTreeItem(hItem);
    }
    std::string SelectedText() const { return static_cast<LPCSTR>(Tree().GetItemText(Tree().GetSelectedItem())); }
};

TEST_F(ProtocolProjectTest, TheViewMenuShowsAndClosesThePanesMadeOnFirstUse) {
    for (UINT nPane : {IDP_SOLUTION_EXPLORER, IDP_PROPERTIES}) {
        const UINT nCommand = nPane == IDP_SOLUTION_EXPLORER ? ID_VIEW_SOLUTION_EXPLORER : ID_VIEW_PROPERTIES;
        EXPECT_EQ(Frame().m_paneManager.FindPane(nPane), nullptr) << "not made before it is asked for";
        EXPECT_EQ(Enabled(nCommand), 1);
        Command(nCommand);
        CKLVDockingPane* pPane = Frame().m_paneManager.FindPane(nPane);
        ASSERT_NE(pPane, nullptr);
        EXPECT_TRUE(Frame().IsPaneShown(nPane));
        EXPECT_TRUE(pPane->IsAttached());
        EXPECT_TRUE(::IsWindowVisible(pPane->GetChild()));
        Command(nCommand);
        EXPECT_TRUE(pPane->IsClosed()) << nPane;
        EXPECT_FALSE(Frame().IsPaneShown(nPane));
        Command(nCommand);
        EXPECT_EQ(Frame().m_paneManager.FindPane(nPane), pPane) << "the same pane again";
        EXPECT_TRUE(Frame().IsPaneShown(nPane));
    }
    // Both docked, beside the work area rather than over it.
    CRect rcExplorer, rcProperties, rcClient;
    ::GetWindowRect(Frame().m_wndSolutionExplorer.GetSafeHwnd(), &rcExplorer);
    ::GetWindowRect(Frame().m_wndProperties.GetSafeHwnd(), &rcProperties);
    Frame().GetWindowRect(&rcClient);
    EXPECT_LT(rcExplorer.right, rcProperties.left);
    EXPECT_GT(rcExplorer.Width(), 50);
    EXPECT_GT(rcProperties.Width(), 50);
}

// Add Protocol opens the protocol's editor beside the open project: its sources and WSDL document
// keep their tabs, shown, and the protocol's own come next to them. Before, every tab but the
// protocol's was hidden, with no way back but closing the project.
TEST_F(ProtocolProjectTest, AddProtocolOpensTheEditorBesideTheProjectsTabs) {
    UseProject(CProjectRecord::Windows);
    for (const char* lpszFile : {"calc_api.c", "calc.wsdl"}) {
        testsupport::writeBytes(Folder() + lpszFile, "x\r\n");
        ASSERT_TRUE(Frame().openDocument(Folder() + lpszFile));
    }
    Command(ID_ADD_PROTOCOL);
    EXPECT_TRUE(Frame().IsPaneShown(IDP_SOLUTION_EXPLORER));
    EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"calc_api.c", "calc.wsdl", "protocol1.diagram",
                                                       "protocol1_api_demo.c", "protocol1_api.c", "protocol1_api.h"}));
    for (int i = 0; i < Frame().tabCount(); ++i) EXPECT_TRUE(Frame().tabVisible(i)) << Frame().tabCaption(i);
    // A second protocol's editor takes the first one's place; the project's tabs stay.
    Command(ID_ADD_PROTOCOL);
    std::vector<bool> visible;
    for (int i = 0; i < Frame().tabCount(); ++i) visible.push_back(Frame().tabVisible(i));
    EXPECT_EQ(visible, (std::vector<bool>{true, true, false, false, false, false, true, true, true, true}));
}

TEST_F(ProtocolProjectTest, ProtocolsMadeThroughTheTreeAreKeptWithTheProjectAndComeBack) {
    const CProjectRecord& project = UseProject(CProjectRecord::Windows);
    const std::string solution = solutionFilePath(project);
    // The project's own files, which opening it shows in tabs.
    for (const char* lpszFile : {"calc_api_demo.c", "calc_api.c", "calc_api.h", "calc.wsdl"})
        testsupport::writeBytes(Folder() + lpszFile, "");
    EXPECT_EQ(Enabled(ID_ADD_PROTOCOL), 1);
    Command(ID_ADD_PROTOCOL);
    EXPECT_TRUE(Frame().IsPaneShown(IDP_SOLUTION_EXPLORER)) << "adding shows the tree";
    EXPECT_EQ(SelectedText(), "protocol1");
    EXPECT_EQ(Enabled(ID_REMOVE_PROTOCOL), 1);
    Select({"protocol1", "Packets"});
    EXPECT_EQ(Enabled(ID_ADD_PACKET), 1);
    Command(ID_ADD_PACKET);
    EXPECT_EQ(SelectedText(), "packet1");
    EXPECT_EQ(Enabled(ID_ADD_FIELD), 1);
    Command(ID_ADD_FIELD);
    EXPECT_EQ(SelectedText(), "field1");
    EXPECT_EQ(Enabled(ID_ADD_FIELD), 0) << "a field holds no fields";
    Select({"protocol1", "Packets", "packet1"});
    Command(ID_ADD_FIELD);
    Select({"protocol1", "Header"});
    Command(ID_ADD_FIELD);
    Command(ID_ADD_PROTOCOL);
    const std::string outline =
        "protocol1(0)\n  Header(1)\n    field1(2)\n  Packets(3)\n    packet1(4)\n      field1(5)\n      field2(5)\n"
        "protocol2(0)\n  Header(1)\n  Packets(3)\n";
    EXPECT_EQ(Outline(), outline);
    ASSERT_EQ(Frame().m_protocols.size(), 2u);
    const CProtocolRecord& made = *Frame().m_protocols[0];
    ASSERT_EQ(made.packets.size(), 1u);
    EXPECT_STREQ(made.packets[0].szType, "0x1");
    ASSERT_EQ(made.packets[0].fields.size(), 2u);
    EXPECT_STREQ(made.packets[0].fields[1].szDataType, "unsigned int");

    // The packet diagram command is on the menu and writes the selected protocol's tables.
    Select({"protocol1", "Packets", "packet1"});
    const int nDiagram = Frame().FindTab("protocol1.diagram");
    ASSERT_GE(nDiagram, 0) << "selecting the protocol opened its files";
    Command(ID_PACKET_DIAGRAM);
    ASSERT_TRUE(Frame().saveTab(nDiagram, Folder() + "protocol1.diagram"));
    const std::string diagram = testsupport::readBytes(Folder() + "protocol1.diagram");
    EXPECT_NE(diagram.find("packet1"), std::string::npos) << diagram;
    EXPECT_NE(diagram.find("field2"), std::string::npos) << diagram;

    // Closed, the tree holds its root alone; opened again, all of it is back.
    Command(ID_FILE_CLOSE_PROJECT);
    EXPECT_EQ(Frame().GetProject(), nullptr);
    EXPECT_EQ(Outline(), "");
    EXPECT_TRUE(Frame().m_protocols.empty());
    ASSERT_TRUE(std::filesystem::exists(Folder() + "calc.protocols"));
    Frame().OpenSolution(solution.c_str());
    ASSERT_NE(Frame().GetProject(), nullptr);
    EXPECT_EQ(Outline(), outline);
    ASSERT_EQ(Frame().m_protocols.size(), 2u);
    EXPECT_STREQ(Frame().m_protocols[0]->packets[0].szType, "0x1");
    EXPECT_EQ(Frame().m_protocols[0]->strLocation, CString(Frame().GetProject()->location.c_str()));

    // Removing: a field, a packet, a protocol; each enabled only on its own kind.
    Select({"protocol1", "Packets", "packet1", "field2"});
    EXPECT_EQ(Enabled(ID_REMOVE_FIELD), 1);
    EXPECT_EQ(Enabled(ID_REMOVE_PACKET), 0);
    EXPECT_EQ(Enabled(ID_REMOVE_PROTOCOL), 0);
    Command(ID_REMOVE_FIELD);
    EXPECT_EQ(SelectedText(), "packet1");
    Command(ID_REMOVE_PACKET);
    EXPECT_EQ(SelectedText(), "Packets");
    Select({"protocol2"});
    Command(ID_REMOVE_PROTOCOL);
    EXPECT_EQ(Outline(), "protocol1(0)\n  Header(1)\n    field1(2)\n  Packets(3)\n");
    Command(ID_FILE_SAVE_PROJECT);
    Command(ID_FILE_CLOSE_PROJECT);
    Frame().OpenSolution(solution.c_str());
    EXPECT_EQ(Outline(), "protocol1(0)\n  Header(1)\n    field1(2)\n  Packets(3)\n");
}

TEST_F(ProtocolProjectTest, AProjectWithoutProtocolsGetsNoFile) {
    UseProject(CProjectRecord::Unix);
    Command(ID_FILE_SAVE_PROJECT);
    Command(ID_FILE_CLOSE_PROJECT);
    EXPECT_FALSE(std::filesystem::exists(Folder() + "calc.protocols"));
}

// What the file holds reads back byte-equal, markup and blanks included; a value too long for its
// record and a malformed file are refused and leave the list as it was.
TEST(ProtocolFileTest, ValuesReadBackAsWrittenAndBadFilesAreRefused) {
    testsupport::ScopedWorkingFolder folder;
    const std::string path = (folder.path() / "p.protocols").string();
    CProtocolList protocols;
    protocols.push_back(std::make_unique<CProtocolRecord>());
    CProtocolRecord& protocol = *protocols.back();
    CopyRecordText(protocol.szName, "a&b<\"c\">\t'd'");
    protocol.nBasedProtocol = 1;
    protocol.nLibraryType = 1;
    protocol.nTargetPlatform = 1;
    CFieldRecord field;
    CopyRecordText(field.szName, std::string(255, 'n').c_str());
    CopyRecordText(field.szReinterpretName, "line\r\nbreak");
    CopyRecordText(field.szTag, "0xFF");
    field.nUnit = 2;
    field.nVariant = 2;
    protocol.headerFields = {field};
    CPacketRecord packet;
    CopyRecordText(packet.szName, "\xE9t\xE9");
    CopyRecordText(packet.szType, "0x1A");
    packet.fields = {field, CFieldRecord{}};
    protocol.packets = {packet, CPacketRecord{}};
    ASSERT_TRUE(SaveProtocols(path, protocols));
    CProtocolList read;
    ASSERT_EQ(LoadProtocols(path, "C:\\p\\", read), 0);
    std::string written, rewritten;
    ASSERT_TRUE(FormatProtocols(protocols, written));
    ASSERT_TRUE(FormatProtocols(read, rewritten));
    EXPECT_EQ(rewritten, written);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_STREQ(read[0]->szName, protocol.szName);
    EXPECT_EQ(read[0]->strLocation, "C:\\p\\");
    ASSERT_EQ(read[0]->packets.size(), 2u);
    EXPECT_STREQ(read[0]->packets[0].fields[0].szReinterpretName, "line\r\nbreak");

    struct Bad {
        const char* lpszText;
        const char* lpszWhy;
    };
    const std::string longName(256, 'x');
    const std::string tooLong = "<protocols><protocol name=\"" + longName +
                                "\" target_platform=\"0\" based_protocol=\"0\" library_type=\"0\"/></protocols>";
    const Bad bad[] = {
        {tooLong.c_str(), "a name longer than its record holds"},
        {"<protocols><protocol name=\"p\" target_platform=\"x\" based_protocol=\"0\" library_type=\"0\"/></protocols>",
         "a number that is none"},
        {"<protocols><protocol name=\"p\" based_protocol=\"0\" library_type=\"0\"/></protocols>", "a missing value"},
        {"<other/>", "another root"},
        {"<protocols><protocol", "a cut file"},
    };
    for (const Bad& b : bad) {
        testsupport::writeBytes(path, b.lpszText);
        EXPECT_NE(LoadProtocols(path, "", read), 0) << b.lpszWhy;
        EXPECT_EQ(read.size(), 1u) << b.lpszWhy;
    }
    // A control byte cannot be written.
    CopyRecordText(protocol.szName, "bell\x07");
    EXPECT_FALSE(SaveProtocols(path, protocols));
}


// The file's layout as written, attribute by attribute: files kept by earlier versions must read,
// and what is written now must read there.
TEST(ProtocolFileTest, TheFileKeepsItsLayout) {
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<protocols>\r\n"
        "<protocol name=\"p\" target_platform=\"1\" based_protocol=\"0\" library_type=\"1\">\r\n"
        "<header>\r\n"
        "<field name=\"len\" max_length=\"4\" max_count=\"1\" unit=\"1\" data_type=\"int\" tag=\"t\" type=\"3\""
        " reinterpret_name=\"r\" related_count=\"c\" attribute=\"1\" variant=\"2\" related_length=\"l\" />\r\n"
        "</header>\r\n"
        "<packet name=\"login\" type=\"0x01\">\r\n"
        "<field name=\"user\" max_length=\"\" max_count=\"\" unit=\"0\" data_type=\"\" tag=\"\" type=\"0\""
        " reinterpret_name=\"\" related_count=\"\" attribute=\"0\" variant=\"0\" related_length=\"\" />\r\n"
        "</packet>\r\n"
        "<packet name=\"bye\" type=\"0x2\">\r\n"
        "</packet>\r\n"
        "</protocol>\r\n"
        "</protocols>\r\n";
    testsupport::ScopedWorkingFolder folder;
    const std::string path = (folder.path() / "p.protocols").string();
    testsupport::writeBytes(path, text);
    CProtocolList read;
    ASSERT_EQ(LoadProtocols(path, "", read), 0);
    ASSERT_EQ(read.size(), 1u);
    const CProtocolRecord& protocol = *read[0];
    ASSERT_EQ(protocol.headerFields.size(), 1u);
    const CFieldRecord& field = protocol.headerFields[0];
    struct Value {
        const char* lpszName;
        std::string read;
        const char* lpszWritten;
    };
    const Value values[] = {
        {"protocol name", protocol.szName, "p"},
        {"target_platform", std::to_string(protocol.nTargetPlatform), "1"},
        {"based_protocol", std::to_string(protocol.nBasedProtocol), "0"},
        {"library_type", std::to_string(protocol.nLibraryType), "1"},
        {"field name", field.szName, "len"},
        {"max_length", field.szMaxLength, "4"},
        {"max_count", field.szMaxCount, "1"},
        {"unit", std::to_string(field.nUnit), "1"},
        {"data_type", field.szDataType, "int"},
        {"tag", field.szTag, "t"},
        {"type", std::to_string(field.nType), "3"},
        {"reinterpret_name", field.szReinterpretName, "r"},
        {"related_count", field.szRelatedCount, "c"},
        {"attribute", std::to_string(field.nAttribute), "1"},
        {"variant", std::to_string(field.nVariant), "2"},
        {"related_length", field.szRelatedLength, "l"},
    };
    for (const Value& value : values) EXPECT_EQ(value.read, value.lpszWritten) << value.lpszName;
    ASSERT_EQ(protocol.packets.size(), 2u);
    EXPECT_STREQ(protocol.packets[0].szType, "0x01");
    ASSERT_EQ(protocol.packets[0].fields.size(), 1u);
    EXPECT_STREQ(protocol.packets[0].fields[0].szName, "user");
    EXPECT_STREQ(protocol.packets[1].szName, "bye");
    EXPECT_TRUE(protocol.packets[1].fields.empty());
    std::string written;
    ASSERT_TRUE(FormatProtocols(read, written));
    EXPECT_EQ(written, text);
}

// Where each record is looked for: header fields only inside <header> (one or several), packets and
// their fields only where they belong, in any order; other elements are passed over.
TEST(ProtocolFileTest, RecordsAreReadWhereTheyBelongInAnyOrder) {
    const std::string field = " max_length=\"\" max_count=\"\" unit=\"0\" data_type=\"\" tag=\"\" type=\"0\""
                              " reinterpret_name=\"\" related_count=\"\" attribute=\"0\" variant=\"0\""
                              " related_length=\"\"/>";
    const std::string protocol = "<protocol name=\"p\" target_platform=\"0\" based_protocol=\"0\" library_type=\"0\">";
    struct Case {
        std::string body;
        const char* lpszOutline;
    };
    const Case cases[] = {
        {"<packet name=\"k\" type=\"0x1\"><field name=\"b\"" + field + "</packet><header><field name=\"a\"" + field +
             "</header>",
         "header a; packet k: b; "},
        {"<header><field name=\"a\"" + field + "</header><header><field name=\"b\"" + field + "</header>",
         "header a b; "},
        {"<field name=\"a\"" + field + "<packets><packet name=\"k\" type=\"0x1\"/></packets>", "header; "},
        {"<header><packet name=\"k\" type=\"0x1\"/></header><note/><packet name=\"k\" type=\"0x1\"><header/></packet>",
         "header; packet k:; "},
    };
    testsupport::ScopedWorkingFolder folder;
    const std::string path = (folder.path() / "p.protocols").string();
    for (const Case& c : cases) {
        testsupport::writeBytes(path, "<protocols>" + protocol + c.body + "</protocol><other/></protocols>");
        CProtocolList read;
        ASSERT_EQ(LoadProtocols(path, "", read), 0) << c.body;
        ASSERT_EQ(read.size(), 1u) << c.body;
        std::string outline = "header";
        for (const CFieldRecord& f : read[0]->headerFields) outline += std::string(" ") + f.szName;
        outline += "; ";
        for (const CPacketRecord& packet : read[0]->packets) {
            outline += std::string("packet ") + packet.szName + ":";
            for (const CFieldRecord& f : packet.fields) outline += std::string(" ") + f.szName;
            outline += "; ";
        }
        EXPECT_EQ(outline, c.lpszOutline) << c.body;
    }
}

}  // namespace
