// The protocol editor in the running program, with records and tree items the tests make:
// selecting an item chooses and fills a grid and brings its protocol's tabs forward (opening its
// files when none is open); an edit in a grid reaches the record, renames the tree item or is
// refused with the stored value shown again.
#include "AppTestHost.h"

#include "app/PropertiesPane.h"
#include "support/TestFiles.h"
#include "toolkit/propertygrid/PropertyGridInplaceEdit.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridItems.h"
#include "toolkit/propertygrid/PropertyGridView.h"
#include "toolkit/tabs/TabManagerItem.h"

#include <filesystem>

using namespace apptest;

namespace {

const char* const kChatFiles[] = {"chat.diagram", "chat_api_demo.c", "chat_api.c", "chat_api.h"};

class ProtocolEditorTest : public AppTest {
protected:
    ProtocolEditorTest() : m_pane(*static_cast<CPropertiesPane*>(Frame().GetPaneWindow(IDP_PROPERTIES))) {
        m_chat = &AddProtocol("chat");
        m_chat->nBasedProtocol = 1;
        m_chat->nTargetPlatform = 1;
        m_chat->nLibraryType = 1;
        m_chat->strLocation = "C:\\protocols\\chat";
        CFieldRecord len = NewField("len", "unsigned int", "0x10");
        CFieldRecord name = NewField("name", "char *", "");
        m_chat->headerFields = {len, name};
        CPacketRecord login;
        CopyRecordText(login.szName, "login");
        CopyRecordText(login.szType, "0x1A");
        login.fields = {NewField("user", "char []", "0x7"), NewField("count", "signed short int", "")};
        CPacketRecord logout;
        CopyRecordText(logout.szName, "logout");
        CopyRecordText(logout.szType, "0x2");
        m_chat->packets = {login, logout};

        m_hChat = AddTreeItem("chat", 0, m_chat, nullptr, Folder().c_str());
        m_hHeader = AddTreeItem("Header", 1, m_chat, m_hChat, Folder().c_str());
        m_hLen = AddTreeItem("len", 2, m_chat, m_hHeader, Folder().c_str());
        m_hName = AddTreeItem("name", 2, m_chat, m_hHeader, Folder().c_str());
        m_hPackets = AddTreeItem("Packets", 3, m_chat, m_hChat, Folder().c_str());
        m_hLogin = AddTreeItem("login", 4, m_chat, m_hPackets, Folder().c_str());
        m_hUser = AddTreeItem("user", 5, m_chat, m_hLogin, Folder().c_str());
        m_hCount = AddTreeItem("count", 5, m_chat, m_hLogin, Folder().c_str());
    }

    static CFieldRecord NewField(const char* lpszName, const char* lpszDataType, const char* lpszTag) {
        CFieldRecord field;
        CopyRecordText(field.szName, lpszName);
        CopyRecordText(field.szDataType, lpszDataType);
        CopyRecordText(field.szTag, lpszTag);
        CopyRecordText(field.szMaxLength, "16");
        return field;
    }

    // Which of the project, packet, field and blank grids is shown, as '1' and '0'.
    std::string Shown() const {
        std::string shown;
        for (CKLVPropertyGrid* pGrid :
             {&m_pane.m_wndProjectGrid, &m_pane.m_wndPacketGrid, &m_pane.m_wndFieldGrid, &m_pane.m_wndBlankGrid})
            shown += (pGrid->GetStyle() & WS_VISIBLE) ? '1' : '0';
        return shown;
    }
    CKLVPropertyGridItem& Item(CKLVPropertyGrid& grid, UINT nID) const {
        CKLVPropertyGridItem* pItem = grid.GetGridView().GetCategories()->FindItem(nID);
        EXPECT_NE(pItem, nullptr) << nID;
        return *pItem;
    }
    CKLVPropertyGridItem& FieldItem(UINT nID) const { return Item(m_pane.m_wndFieldGrid, nID); }
    std::string Value(CKLVPropertyGridItem& item) const { return static_cast<LPCSTR>(item.GetValue()); }
    // The user's edit: the item takes the value and tells the pane.
    void Edit(CKLVPropertyGridItem& item, const char* lpszValue) const { item.OnValueChanged(lpszValue); }
    std::vector<bool> TabsVisible() const {
        std::vector<bool> visible;
        for (int i = 0; i < Frame().tabCount(); ++i) visible.push_back(Frame().tabVisible(i));
        return visible;
    }
    int Image(HTREEITEM hItem) const {
        int nImage = -1, nSelected = -1;
        Tree().GetItemImage(hItem, nImage, nSelected);
        EXPECT_EQ(nImage, nSelected);
        return nImage;
    }
    void OpenNote() {
        testsupport::writeBytes(Folder() + "note.txt", "a note\r\n");
        ASSERT_TRUE(Frame().openDocument(Folder() + "note.txt"));
    }

    CPropertiesPane& m_pane;
    CProtocolRecord* m_chat = nullptr;
    HTREEITEM m_hChat, m_hHeader, m_hLen, m_hName, m_hPackets, m_hLogin, m_hUser, m_hCount;
};

TEST_F(ProtocolEditorTest, AProtocolWithoutFilesGetsThemCreatedAndFourTabsTheDiagramFirst) {
    testsupport::writeBytes(Folder() + "chat_api.c", "int kept;\r\n");
    OpenNote();
    SelectTreeItem(m_hChat);
    EXPECT_EQ(TabCaptions(),
              (std::vector<std::string>{"note.txt", "chat.diagram", "chat_api_demo.c", "chat_api.c", "chat_api.h"}));
    EXPECT_EQ(TabsVisible(), (std::vector<bool>{true, true, true, true, true})) << "the project's own tab stays";
    for (const char* lpszFile : kChatFiles) EXPECT_TRUE(std::filesystem::exists(Folder() + lpszFile)) << lpszFile;
    EXPECT_EQ(testsupport::readBytes(Folder() + "chat_api.c"), "int kept;\r\n") << "an existing file keeps its text";
    EXPECT_EQ(Tree().m_pCurrentRecord, m_chat);
    EXPECT_EQ(Tree().m_hSelectedItem, m_hChat);
}

TEST_F(ProtocolEditorTest, TheRootShowsTheBlankGridAndLeavesTheTabsAlone) {
    SelectTreeItem(m_hChat);
    OpenNote();
    const std::vector<std::string> captions = TabCaptions();
    const std::vector<bool> visible = TabsVisible();
    EXPECT_EQ(Shown(), "1000");
    SelectTreeItem(Tree().GetRootItem());
    EXPECT_EQ(Shown(), "0001");
    EXPECT_EQ(TabCaptions(), captions);
    EXPECT_EQ(TabsVisible(), visible);
    EXPECT_EQ(Image(Tree().GetRootItem()), 0);
    EXPECT_EQ(Tree().m_pCurrentRecord, m_chat) << "the root is no protocol's item";
}

TEST_F(ProtocolEditorTest, ItemsOfTheSameProtocolLeaveTheTabsAloneAnotherProtocolHidesThemNotTheProjects) {
    SelectTreeItem(m_hChat);
    OpenNote();
    SelectTreeItem(m_hLogin);
    EXPECT_EQ(TabsVisible(), (std::vector<bool>{true, true, true, true, true})) << "no second tab step for chat";

    Frame().replaceTabText(0, "edited");
    Frame().refreshTabs();
    ASSERT_EQ(Frame().tabCaption(0), "chat.diagram *") << "a modified tab is still the protocol's";

    CProtocolRecord& mail = AddProtocol("mail");
    const HTREEITEM hMail = AddTreeItem("mail", 0, &mail, nullptr, Folder().c_str());
    SelectTreeItem(hMail);
    ASSERT_EQ(Frame().tabCount(), 9) << "hidden tabs stay open";
    // The other protocol's tabs are hidden, the project's own file stays.
    EXPECT_EQ(TabsVisible(), (std::vector<bool>{false, false, false, false, true, true, true, true, true}));
    EXPECT_EQ(Frame().tabCaption(5), "mail.diagram");

    SelectTreeItem(m_hUser);
    EXPECT_EQ(Frame().tabCount(), 9) << "chat's tabs are shown again, not opened again";
    EXPECT_EQ(TabsVisible(), (std::vector<bool>{true, true, true, true, true, false, false, false, false}));
    CKLVTabManagerItem* pDiagram = Frame().m_MTIClientWnd.GetItem(0);
    ASSERT_NE(pDiagram, nullptr);
    EXPECT_TRUE(pDiagram->IsSelected()) << "the protocol's first tab is selected";
}

TEST_F(ProtocolEditorTest, EachKindShowsItsGridAndImage) {
    struct Case {
        HTREEITEM* phItem;
        const char* lpszShown;
        int nImage;
    } cases[] = {{&m_hChat, "1000", 1},   {&m_hHeader, "0001", 2}, {&m_hLen, "0010", 5}, {&m_hPackets, "0001", 3},
                 {&m_hLogin, "0100", 4}, {&m_hUser, "0010", 5}};
    for (const Case& c : cases) {
        SelectTreeItem(*c.phItem);
        EXPECT_EQ(Tree().m_hSelectedItem, *c.phItem);
        EXPECT_EQ(Shown(), c.lpszShown) << Tree().GetItemText(*c.phItem);
        EXPECT_EQ(Image(*c.phItem), c.nImage) << Tree().GetItemText(*c.phItem);
    }
}

TEST_F(ProtocolEditorTest, TheProjectAndPacketGridsShowTheirRecords) {
    SelectTreeItem(m_hChat);
    CKLVPropertyGrid& project = m_pane.m_wndProjectGrid;
    const std::pair<UINT, const char*> projectValues[] = {
        {704, "chat"}, {705, "UDP"}, {706, "Unix(Linux)"}, {708, "static library"}, {707, "C:\\protocols\\chat"}};
    for (const auto& [nID, lpszValue] : projectValues) EXPECT_EQ(Value(Item(project, nID)), lpszValue) << nID;
    EXPECT_TRUE(Item(project, 704).GetReadOnly());
    EXPECT_TRUE(Item(project, 707).GetReadOnly());

    SelectTreeItem(m_hLogin);
    EXPECT_EQ(m_pane.m_wndPacketGrid.FindItemByCaption("Name"), &Item(m_pane.m_wndPacketGrid, 710));
    EXPECT_EQ(Value(Item(m_pane.m_wndPacketGrid, 710)), "login");
    EXPECT_EQ(Value(Item(m_pane.m_wndPacketGrid, 711)), "1A") << "the mask supplies the 0x";
}

TEST_F(ProtocolEditorTest, AFieldShowsItsValuesItsOwnTagAndBecomesBitSized) {
    SelectTreeItem(m_hUser);
    SelectTreeItem(m_hCount);
    CFieldRecord& count = m_chat->packets[0].fields[1];
    EXPECT_EQ(count.nUnit, CFieldRecord::unitBit);
    EXPECT_EQ(m_pane.m_wndFieldGrid.FindItemByCaption("Name"), &FieldItem(713));
    EXPECT_EQ(Value(FieldItem(713)), "count");
    EXPECT_EQ(Value(FieldItem(714)), "bit");
    EXPECT_EQ(Value(FieldItem(715)), "signed short int");
    EXPECT_EQ(Value(FieldItem(724)), "") << "no tag left from the field shown before";
    EXPECT_TRUE(FieldItem(715).GetReadOnly());
    EXPECT_FALSE(FieldItem(716).GetReadOnly());
    EXPECT_TRUE(FieldItem(717).GetReadOnly());
    CKLVPropertyGridItemConstraints* pNames = FieldItem(718).GetConstraints();
    EXPECT_EQ(pNames->GetCount(), 0) << "user is text; count is the field itself";

    SelectTreeItem(m_hLen);
    EXPECT_EQ(Value(FieldItem(713)), "len");
    EXPECT_EQ(Value(FieldItem(724)), "10");
    pNames = FieldItem(723).GetConstraints();
    EXPECT_EQ(pNames->GetCount(), 0) << "name is a char * field";
    SelectTreeItem(m_hName);
    ASSERT_EQ(FieldItem(723).GetConstraints()->GetCount(), 1);
    EXPECT_STREQ(FieldItem(723).GetConstraints()->GetAt(0), "len");
}

TEST_F(ProtocolEditorTest, AnEditReachesTheRecordAndRenamesTheTreeItem) {
    SelectTreeItem(m_hLogin);
    Edit(Item(m_pane.m_wndPacketGrid, 710), "signin___________________");
    EXPECT_STREQ(m_chat->packets[0].szName, "signin");
    EXPECT_STREQ(Tree().GetItemText(m_hLogin), "signin");
    Edit(Item(m_pane.m_wndPacketGrid, 711), "0x3B______");
    EXPECT_STREQ(m_chat->packets[0].szType, "0x3B");
    EXPECT_TRUE(Record().boxes.empty());

    SelectTreeItem(m_hUser);
    Edit(FieldItem(713), "owner");
    EXPECT_STREQ(m_chat->packets[0].fields[0].szName, "owner") << "the field is found under the renamed packet";
    EXPECT_STREQ(Tree().GetItemText(m_hUser), "owner");

    SelectTreeItem(m_hChat);
    Edit(Item(m_pane.m_wndProjectGrid, 705), "TCP");
    EXPECT_EQ(m_chat->nBasedProtocol, 0);
}

// A name typed into the grid's own edit is the name stored: a click in the blanks behind the old
// name types on right after it, and an underscore typed is one in the name. Before, the typed
// characters stood behind the blanks, which the name kept as underscores ("len_________2").
TEST_F(ProtocolEditorTest, ANameTypedInTheGridIsKeptAsTyped) {
    SelectTreeItem(m_hLen);
    CKLVPropertyGridItem& name = FieldItem(713);
    name.Select();
    name.SetFocusToInplaceControl();
    CKLVPropertyGridInplaceEdit& edit = name.GetInplaceEdit();
    ASSERT_TRUE(edit.GetSafeHwnd());
    ASSERT_EQ(::GetFocus(), edit.GetSafeHwnd());
    const LPARAM nBehind = static_cast<LPARAM>(edit.SendMessage(EM_POSFROMCHAR, 12));
    edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, nBehind);
    edit.SendMessage(WM_LBUTTONUP, 0, nBehind);
    for (char c : std::string("_2")) edit.SendMessage(WM_CHAR, static_cast<WPARAM>(c), 1);
    edit.SendMessage(WM_CHAR, VK_RETURN, 1);
    classlib_test::PumpPending();
    EXPECT_STREQ(m_chat->headerFields[0].szName, "len_2");
    EXPECT_STREQ(Tree().GetItemText(m_hLen), "len_2");
    EXPECT_TRUE(Record().boxes.empty());
}

TEST_F(ProtocolEditorTest, ARefusedValueIsReportedAndTheStoredOneShownAgain) {
    SelectTreeItem(m_hLogin);
    CKLVPropertyGridItem& type = Item(m_pane.m_wndPacketGrid, 711);
    Edit(type, "0x2_______");
    Edit(Item(m_pane.m_wndPacketGrid, 710), "logout");
    SelectTreeItem(m_hUser);
    Edit(FieldItem(717), std::string(40, '4').c_str());
    EXPECT_EQ(Record().boxes, (std::vector<std::string>{"packet type 0x2 already exist!", "packet logout already exist!",
                                                        "value too long: at most 29 characters!"}));
    EXPECT_EQ(Value(type), "1A");
    EXPECT_EQ(Value(Item(m_pane.m_wndPacketGrid, 710)), "login");
    EXPECT_EQ(Value(FieldItem(717)), "");
    EXPECT_STREQ(m_chat->packets[0].szType, "0x1A");
    EXPECT_STREQ(Tree().GetItemText(m_hLogin), "login");
}

TEST_F(ProtocolEditorTest, TheUnitDecidesTheDataTypesOnOfferAndTheTag) {
    SelectTreeItem(m_hName);   // a header field of "char *"
    CFieldRecord& name = m_chat->headerFields[1];
    CKLVPropertyGridItemConstraints* pTypes = FieldItem(715).GetConstraints();
    Edit(FieldItem(714), "TLV");
    EXPECT_EQ(name.nUnit, CFieldRecord::unitTLV);
    EXPECT_EQ(Value(FieldItem(715)), "unsigned int");
    EXPECT_STREQ(name.szDataType, "unsigned int");
    EXPECT_STREQ(name.szMaxLength, "4");
    EXPECT_EQ(pTypes->FindConstraint("char *"), -1);
    EXPECT_FALSE(FieldItem(724).GetReadOnly());
    EXPECT_TRUE(FieldItem(716).GetReadOnly());

    Edit(FieldItem(714), "byte");
    EXPECT_EQ(pTypes->FindConstraint("char *"), 9) << "offered again, at the end";
    EXPECT_TRUE(FieldItem(724).GetReadOnly());
    // A header field's grid follows no edit of its max count.
    FieldItem(717).SetReadOnly(TRUE);
    Edit(FieldItem(717), "5");
    EXPECT_STREQ(name.szMaxCount, "5");
    EXPECT_TRUE(FieldItem(717).GetReadOnly());
}

TEST_F(ProtocolEditorTest, TheGridsVerbNotificationIsAnsweredAndOthersIgnored) {
    EXPECT_EQ(m_pane.SendMessage(KLVWM_PROPERTYGRID_NOTIFY, KLV_PGN_VERB_CLICK, 0), 1);
    EXPECT_EQ(m_pane.SendMessage(KLVWM_PROPERTYGRID_NOTIFY, KLV_PGN_ITEMEXPANDCHANGED,
                                 reinterpret_cast<LPARAM>(&Item(m_pane.m_wndPacketGrid, 710))),
              0);
    // An edit with no protocol item selected reaches no record.
    Edit(Item(m_pane.m_wndProjectGrid, 706), "Windows");
    EXPECT_EQ(m_chat->nTargetPlatform, 1);
}

}  // namespace
