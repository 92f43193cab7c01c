// Member kinds: each kind of struct member declares itself as the header
// needs it (C type, pointer, text length, array with its count), and every
// kind of the layout has an object of its own.

#include "generator/emit/MemberKinds.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/ServiceView.h"
#include "generator/model/StructLayout.h"
#include "schema/SchemaConstants.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The lines a member declares, each without its line end.
std::vector<std::string> declared(const CStructLayout& layout, const CStructMember& member)
{
    CTextBuffer out;
    memberKindOf(member).declare(layout, member, out);
    std::vector<std::string> lines;
    const std::string& text = out.text();
    for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
        end = text.find("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
    }
    return lines;
}

TEST(MemberKindsTest, EachKindDeclaresItsMember)
{
    const CServiceView view;
    const CStructLayout layout(view, "p");
    CStructDef target;
    target.name = "T";
    const struct {
        CStructMember::Kind kind;
        int builtin;
        bool pointer;
        std::vector<std::string> lines;
    } cases[] = {
        {CStructMember::Dummy, 0, false, {"\tint\tdummy;"}},
        {CStructMember::Number, Schema::XSD_LONG, false, {"\tlong long\tm;"}},
        {CStructMember::Number, Schema::XSD_BOOLEAN, false, {"\tunsigned char\tm;"}},
        {CStructMember::Text, Schema::XSD_STRING, false, {"\tchar\tm[P_MAX_M_LEN+1];"}},
        {CStructMember::Struct, 0, false, {"\tp_T_t\tm;"}},
        {CStructMember::Struct, 0, true, {"\tstruct p_T_t\t*m;"}},
        {CStructMember::NumberArray, Schema::XSD_DOUBLE, false, {"\tdouble\t*m;", "\tint\tm_count;"}},
        {CStructMember::TextArray, Schema::XSD_STRING, false, {"\tchar\t(*m)[P_MAX_M_LEN+1];", "\tint\tm_count;"}},
        {CStructMember::StructArray, 0, false, {"\tstruct p_T_t\t*m;", "\tint\tm_count;"}},
    };
    std::set<const CMemberKind*> kinds;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        CStructMember member;
        member.kind = c.kind;
        member.cName = "m";
        member.countName = "m_count";
        member.builtin = c.builtin;
        member.lengthConstant = "P_MAX_M_LEN";
        member.pointer = c.pointer;
        member.target = &target;
        EXPECT_EQ(declared(layout, member), c.lines);
        kinds.insert(&memberKindOf(member));
        // A member whose struct is not known declares nothing.
        member.target = nullptr;
        if (c.kind == CStructMember::Struct || c.kind == CStructMember::StructArray) {
            EXPECT_TRUE(declared(layout, member).empty());
        }
    }
    EXPECT_EQ(kinds.size(), 7u);
}

} // namespace
