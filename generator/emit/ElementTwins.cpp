#include "generator/emit/ElementTwins.h"

#include "generator/emit/TextBuffer.h"
#include "generator/model/StructLayout.h"

#include <algorithm>

bool CElementTwins::read(const CStructDef& def)
{
    sorted_.clear();
    twins_.clear();
    for (const CStructMember& member : def.members) {
        if (member.origin == CStructMember::Element && !member.isArray() && !member.wildcard && member.xmlName != "*")
            sorted_.push_back(&member);
    }
    if (sorted_.size() < 2)
        return false;
    // Stable: twins keep the order of the content.
    std::stable_sort(sorted_.begin(), sorted_.end(), [](const CStructMember* a, const CStructMember* b) {
        return a->xmlName != b->xmlName ? a->xmlName < b->xmlName : a->ns < b->ns;
    });
    for (std::size_t first = 0, next; first < sorted_.size(); first = next) {
        for (next = first + 1; next < sorted_.size() && sorted_[next]->xmlName == sorted_[first]->xmlName &&
                               sorted_[next]->ns == sorted_[first]->ns;
             ++next) {
        }
        if (next - first > 1) {
            for (std::size_t i = first; i < next; ++i)
                twins_.emplace_back(sorted_[i], Place{i - first, next - first});
        }
    }
    return !twins_.empty();
}

const CElementTwins::Place* CElementTwins::placeOf(const CStructMember& member) const
{
    for (const auto& twin : twins_) {
        if (twin.first == &member)
            return &twin.second;
    }
    return nullptr;
}

std::string CElementTwins::positionTest(const std::string& named, const Place& place)
{
    const bool last = place.place + 1 == place.count;
    return named + " && mydecode_earlier(cur) " + (last ? ">= " : "== ") + std::to_string(place.place);
}

std::string CElementTwins::surplusTest(const Place& place)
{
    return "mydecode_earlier(cur) > " + std::to_string(place.place);
}

void CElementTwins::writeHelper(CTextBuffer& out)
{
    out.line("//how many elements before the one at cur have its namespace and local name: where a derived");
    out.line("//type declares again an element of its base, that count tells which of the two it is");
    out.line("static int mydecode_earlier(xmlNodePtr cur)");
    out.open("{");
    out.line("xmlNodePtr\tbefore;");
    out.line("int\tcount = 0;");
    out.emptyLine();
    out.line("for(before = cur->prev; before != NULL; before = before->prev){");
    out.line("\tif(before->type == XML_ELEMENT_NODE && mydecode_named(before, cur->ns != NULL && cur->ns->href != NULL ?");
    out.line("\t\t(const char *)cur->ns->href : \"\", (const char *)cur->name))");
    out.line("\t\tcount++;");
    out.line("}");
    out.line("return count;");
    out.close();
    out.emptyLine();
}
