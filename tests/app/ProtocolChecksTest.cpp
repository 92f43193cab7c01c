// The checks behind the properties pane's edits, on the records alone: every refusal with its
// message and the value shown again, what a record takes, which tree item is renamed and when
// the field grid follows.
#include "app/ProtocolChecks.h"

#include "app/res/Resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

CFieldRecord Field(const char* lpszName, const char* lpszDataType, int nUnit, const char* lpszTag = "") {
    CFieldRecord field;
    CopyRecordText(field.szName, lpszName);
    CopyRecordText(field.szDataType, lpszDataType);
    CopyRecordText(field.szTag, lpszTag);
    field.nUnit = nUnit;
    return field;
}

CPacketRecord Packet(const char* lpszName, const char* lpszType, std::vector<CFieldRecord> fields) {
    CPacketRecord packet;
    CopyRecordText(packet.szName, lpszName);
    CopyRecordText(packet.szType, lpszType);
    packet.fields = std::move(fields);
    return packet;
}

// Header fields "len" (byte) and "kind" (TLV, tag 0x10); packet "login" 0x1 with "user" (byte,
// tag 0x7), "count" (TLV, tag 0x1A), "flags" (byte, tag 0x2B) and "bits" (bit, max length 4);
// packet "logout" 0x1A.
CProtocolRecord Protocol() {
    CProtocolRecord protocol;
    CopyRecordText(protocol.szName, "chat");
    protocol.headerFields = {Field("len", "unsigned int", CFieldRecord::unitByte),
                             Field("kind", "unsigned char", CFieldRecord::unitTLV, "0x10")};
    CFieldRecord bits = Field("bits", "unsigned char", CFieldRecord::unitBit);
    CopyRecordText(bits.szMaxLength, "4");
    protocol.packets = {Packet("login", "0x1",
                               {Field("user", "char []", CFieldRecord::unitByte, "0x7"),
                                Field("count", "unsigned int", CFieldRecord::unitTLV, "0x1A"),
                                Field("flags", "unsigned char", CFieldRecord::unitByte, "0x2B"), bits}),
                        Packet("logout", "0x1A", {})};
    return protocol;
}

CEditTarget Target(int nKind, const char* lpszText, const char* lpszParent = "") {
    CEditTarget target;
    target.nKind = nKind;
    target.strText = lpszText;
    target.strParentText = lpszParent;
    return target;
}

using Probe = std::function<std::string(CProtocolRecord&)>;
CFieldRecord& LoginField(CProtocolRecord& p, int n) { return p.packets[0].fields[n]; }

const Probe kPacketName = [](CProtocolRecord& p) { return std::string(p.packets[0].szName); };
const Probe kPacketType = [](CProtocolRecord& p) { return std::string(p.packets[0].szType); };
const Probe kUserName = [](CProtocolRecord& p) { return std::string(LoginField(p, 0).szName); };
const Probe kHeaderName = [](CProtocolRecord& p) { return std::string(p.headerFields[0].szName); };
const Probe kFlagsTag = [](CProtocolRecord& p) { return std::string(LoginField(p, 2).szTag); };
const Probe kBits = [](CProtocolRecord& p) {
    return std::string(LoginField(p, 3).szMaxLength) + "/" + LoginField(p, 3).szDataType;
};

struct RefusalCase {
    const char* lpszName;
    CEditTarget target;
    UINT nID;
    const char* lpszValue;
    const char* lpszMessage;      // null: accepted or no change
    const char* lpszShowAgain;
    Probe probe;
    std::string expected;         // the record afterwards
};

TEST(ProtocolChecks, EachRefusalNamesTheValueAndShowsTheStoredOneAgain) {
    const std::string kLong(60, '9'), kName256(256, 'p'), kCount30(30, '1');
    const RefusalCase cases[] = {
        {"no packet name", Target(4, "login"), IDS_PACKET_NAME, "_________________________", "invalid packet name!",
         "login", kPacketName, "login"},
        {"packet name taken", Target(4, "login"), IDS_PACKET_NAME, "logout___________________",
         "packet logout already exist!", "login", kPacketName, "login"},
        {"packet name case differs", Target(4, "login"), IDS_PACKET_NAME, "Logout", nullptr, "", kPacketName, "Logout"},
        {"own name with prompts", Target(4, "login"), IDS_PACKET_NAME, "login____________________", nullptr, "",
         kPacketName, "login"},
        {"no type digit", Target(4, "login"), IDS_PACKET_TYPE, "0x________", "invalid packet type!", "1", kPacketType,
         "0x1"},
        {"0x01 is the stored 0x1", Target(4, "login"), IDS_PACKET_TYPE, "0x01______", "packet type 0x01 already exist!",
         "1", kPacketType, "0x1"},
        {"0x1a is logout's 0x1A", Target(4, "login"), IDS_PACKET_TYPE, "0x1a______", "packet type 0x1a already exist!",
         "1", kPacketType, "0x1"},
        {"0x1B is new", Target(4, "login"), IDS_PACKET_TYPE, "0x1B______", nullptr, "", kPacketType, "0x1B"},
        {"own type with prompts", Target(4, "login"), IDS_PACKET_TYPE, "0x1_______", nullptr, "", kPacketType, "0x1"},
        {"no field name", Target(5, "user", "login"), IDS_FIELD_NAME, "_________________________",
         "invalid field name!", "user", kUserName, "user"},
        {"field name taken", Target(5, "user", "login"), IDS_FIELD_NAME, "count____", "field count already exist!",
         "user", kUserName, "user"},
        {"header name taken", Target(2, "len"), IDS_FIELD_NAME, "kind_", "field kind already exist!", "len",
         kHeaderName, "len"},
        {"no tag digit", Target(5, "flags", "login"), IDS_FIELD_TAG, "0x________", "invalid tag value!", "2B",
         kFlagsTag, "0x2B"},
        {"tag of a TLV field", Target(5, "flags", "login"), IDS_FIELD_TAG, "0x01A_____",
         "tag value 0x01A already exist!", "2B", kFlagsTag, "0x2B"},
        {"tag of a byte field is free", Target(5, "flags", "login"), IDS_FIELD_TAG, "0x7_______", nullptr, "",
         kFlagsTag, "0x7"},
        {"bit count 0", Target(5, "bits", "login"), IDS_FIELD_MAX_LENGTH, "0", "invalid field max length!", "4", kBits,
         "4/unsigned char"},
        {"bit count 32", Target(5, "bits", "login"), IDS_FIELD_MAX_LENGTH, "32", "invalid field max length!", "4", kBits,
         "4/unsigned char"},
        {"no digits", Target(5, "bits", "login"), IDS_FIELD_MAX_LENGTH, "x8", "invalid field max length!", "4", kBits,
         "4/unsigned char"},
        {"bit count 8", Target(5, "bits", "login"), IDS_FIELD_MAX_LENGTH, "8", nullptr, "", kBits, "8/unsigned char"},
        {"bit count 9", Target(5, "bits", "login"), IDS_FIELD_MAX_LENGTH, "9", nullptr, "", kBits,
         "9/unsigned short int"},
        {"bit count 31", Target(5, "bits", "login"), IDS_FIELD_MAX_LENGTH, "31", nullptr, "", kBits, "31/unsigned int"},
        {"too long for a name", Target(0, "chat"), IDS_PROTOCOL_NAME, kName256.c_str(),
         "value too long: at most 255 characters!", "chat", [](CProtocolRecord& p) { return std::string(p.szName); },
         "chat"},
        {"too long for max count", Target(5, "user", "login"), IDS_FIELD_MAX_COUNT, kCount30.c_str(),
         "value too long: at most 29 characters!", "", [](CProtocolRecord& p) { return std::string(LoginField(p, 0).szMaxCount); },
         ""},
        {"too long for a data type", Target(5, "user", "login"), IDS_FIELD_DATA_TYPE, kLong.c_str(),
         "value too long: at most 49 characters!", "char []",
         [](CProtocolRecord& p) { return std::string(LoginField(p, 0).szDataType); }, "char []"},
    };
    for (const RefusalCase& c : cases) {
        CProtocolRecord protocol = Protocol();
        const CPropertyEdit edit = ApplyPropertyEdit(protocol, c.target, c.nID, c.lpszValue);
        EXPECT_EQ(edit.outcome == CPropertyEdit::refused, c.lpszMessage != nullptr) << c.lpszName;
        EXPECT_STREQ(edit.strMessage, c.lpszMessage ? c.lpszMessage : "") << c.lpszName;
        EXPECT_STREQ(edit.strShowAgain, c.lpszShowAgain) << c.lpszName;
        EXPECT_EQ(c.probe(protocol), c.expected) << c.lpszName;
    }
}

TEST(ProtocolChecks, EditsReachOnlyTheRecordTheTreeItemStandsFor) {
    struct Case {
        const char* lpszName;
        CEditTarget target;
        UINT nID;
    } cases[] = {
        {"packet grid under a field item", Target(5, "login", "login"), IDS_PACKET_NAME},
        {"no packet of that name", Target(4, "nothing"), IDS_PACKET_NAME},
        {"field grid under a packet item", Target(4, "login"), IDS_FIELD_NAME},
        {"no field of that name", Target(5, "nobody", "login"), IDS_FIELD_NAME},
        {"no packet above the field", Target(5, "user", "nothing"), IDS_FIELD_NAME},
        {"a packet field is no header field", Target(2, "user"), IDS_FIELD_NAME},
        {"location", Target(0, "chat"), IDS_PROTOCOL_LOCATION},
        {"packet category", Target(4, "login"), IDS_PACKET_SETTINGS},
        {"field category", Target(5, "user", "login"), IDS_FIELD_SETTINGS},
        {"unknown id", Target(5, "user", "login"), IDS_FIELD_TAG + 1},
    };
    for (const Case& c : cases) {
        CProtocolRecord protocol = Protocol();
        const CPropertyEdit edit = ApplyPropertyEdit(protocol, c.target, c.nID, "zzz");
        EXPECT_EQ(edit.outcome, CPropertyEdit::none) << c.lpszName;
        EXPECT_STREQ(protocol.packets[0].szName, "login") << c.lpszName;
        EXPECT_STREQ(LoginField(protocol, 0).szName, "user") << c.lpszName;
        EXPECT_STREQ(protocol.headerFields[0].szName, "len") << c.lpszName;
    }
}

TEST(ProtocolChecks, PacketFieldsRefreshAfterMostEditsHeaderFieldsOnlyAfterUnitTypeAndAttribute) {
    struct Case {
        UINT nID;
        const char* lpszValue;
        bool bPacketField, bHeaderField;
    } cases[] = {
        {IDS_FIELD_NAME, "other", false, false},
        {IDS_FIELD_UNIT, "byte", true, true},
        {IDS_FIELD_DATA_TYPE, "char *", true, true},
        {IDS_FIELD_MAX_LENGTH, "12", true, false},
        {IDS_FIELD_MAX_COUNT, "3", true, false},
        {IDS_FIELD_RELATED_COUNT, "len", true, false},
        {IDS_FIELD_TYPE, "body length", true, false},
        {IDS_FIELD_REINTERPRET_NAME, "alias", false, false},
        {IDS_FIELD_ATTRIBUTE, "variant length", true, true},
        {IDS_FIELD_VARIANT, "select a related field", true, false},
        {IDS_FIELD_RELATED_LENGTH, "len", true, false},
        {IDS_FIELD_TAG, "0x99______", false, false},
        {IDS_FIELD_MAX_COUNT, "1234567890123456789012345678901", false, false},
    };
    for (const Case& c : cases) {
        CProtocolRecord packetProtocol = Protocol();
        const CPropertyEdit packetEdit = ApplyPropertyEdit(packetProtocol, Target(5, "flags", "login"), c.nID, c.lpszValue);
        EXPECT_EQ(packetEdit.pRefresh, c.bPacketField ? &LoginField(packetProtocol, 2) : nullptr) << c.nID;
        CProtocolRecord headerProtocol = Protocol();
        const CPropertyEdit headerEdit = ApplyPropertyEdit(headerProtocol, Target(2, "len"), c.nID, c.lpszValue);
        EXPECT_EQ(headerEdit.pRefresh, c.bHeaderField ? &headerProtocol.headerFields[0] : nullptr) << c.nID;
    }
    // A refused bit count is followed by the refresh too, for a packet field.
    CProtocolRecord protocol = Protocol();
    EXPECT_EQ(ApplyPropertyEdit(protocol, Target(5, "bits", "login"), IDS_FIELD_MAX_LENGTH, "40").pRefresh,
              &LoginField(protocol, 3));
}

TEST(ProtocolChecks, CodesCompareByTextOrByNumberAndCountsByTheirLeadingDigits) {
    struct CodeCase {
        const char *lpszFirst, *lpszSecond;
        bool bSame;
    } codes[] = {
        {"0x1A", "0x1B", false}, {"0x01", "0x1", true},        {"0x1a", "0x1A", true},
        {"0x0", "0x00000000", true}, {"0x", "0x0", false},     {"0x", "0x", true},
        {"0xFFFFFFFF", "0xffffffff", true}, {"0x10", "0x1", false},
        {"0x10000000000000001", "0x1", false},   // too large to be a number: text only
    };
    for (const CodeCase& c : codes) EXPECT_EQ(SameCode(c.lpszFirst, c.lpszSecond), c.bSame) << c.lpszFirst << " " << c.lpszSecond;

    struct NumberCase {
        const char* lpszText;
        int nNumber;
    } numbers[] = {{"8", 8}, {"31abc", 31}, {" 12", 12}, {"abc", 0}, {"", 0}, {"-3", -3}, {"99999999999", 0}};
    for (const NumberCase& c : numbers) EXPECT_EQ(LeadingNumber(c.lpszText), c.nNumber) << c.lpszText;

    EXPECT_STREQ(CodeDigits("0x1A"), "1A");
    EXPECT_STREQ(CodeDigits("1A"), "1A");
    EXPECT_STREQ(CodeDigits(""), "");
}

}  // namespace
