// An element read back into a small tree and written out indented, for
// showing answers and fault details.
#include "project/call/XmlEcho.h"

#include "xml/XmlPullParser.h"

namespace {

void appendEscaped(std::string& out, const std::string& text, bool attribute)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += attribute ? ">" : "&gt;"; break;
        case '"': out += attribute ? "&quot;" : "\""; break;
        // Kept as references: written raw, a parser would fold or drop them.
        case '\r': out += "&#13;"; break;
        case '\t': out += attribute ? "&#9;" : "\t"; break;
        case '\n': out += attribute ? "&#10;" : "\n"; break;
        default: out += c; break;
        }
    }
}

std::string qualified(const std::string& prefix, const std::string& name)
{
    return prefix.empty() ? name : prefix + ":" + name;
}

void indent(std::string& out, int depth)
{
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

}  // namespace

std::unique_ptr<XmlEcho> XmlEcho::read(XmlPullParser& xpp)
{
    std::unique_ptr<XmlEcho> node;
    switch (xpp.getEventType()) {
    case XmlPullParser::START_TAG:
        node.reset(new XmlEcho(Element));
        node->readStartTag(xpp);
        node->readContent(xpp);
        return node;
    case XmlPullParser::CDSECT: node.reset(new XmlEcho(CData)); break;
    case XmlPullParser::COMMENT: node.reset(new XmlEcho(Comment)); break;
    case XmlPullParser::PROCESSING_INSTRUCTION: node.reset(new XmlEcho(Instruction)); break;
    case XmlPullParser::DOCDECL: node.reset(new XmlEcho(DocType)); break;
    default: node.reset(new XmlEcho(Text)); break;
    }
    node->text_ = xpp.getText();
    return node;
}

void XmlEcho::readStartTag(const XmlPullParser& xpp)
{
    name_ = qualified(xpp.getPrefix(), xpp.getName());
    text_ = name_;
    const int depth = xpp.getDepth();
    for (int i = xpp.getNamespaceCount(depth - 1); i < xpp.getNamespaceCount(depth); ++i) {
        const std::string& prefix = xpp.getNamespacePrefix(i);
        text_ += " xmlns" + (prefix.empty() ? std::string() : ":" + prefix) + "=\"";
        appendEscaped(text_, xpp.getNamespaceUri(i), true);
        text_ += '"';
    }
    for (int i = 0; i < xpp.getAttributeCount(); ++i) {
        text_ += " " + qualified(xpp.getAttributePrefix(i), xpp.getAttributeName(i)) + "=\"";
        appendEscaped(text_, xpp.getAttributeValue(i), true);
        text_ += '"';
    }
}

void XmlEcho::readContent(XmlPullParser& xpp)
{
    if (xpp.isEmptyElementTag()) {
        xpp.nextToken();
        return;
    }
    for (int event = xpp.nextToken(); event != XmlPullParser::END_TAG; event = xpp.nextToken()) {
        if (event == XmlPullParser::END_DOCUMENT)
            return;
        std::unique_ptr<XmlEcho> child = read(xpp);
        // Text and the references inside it make one text.
        if (child->kind_ == Text && !children_.empty() && children_.back()->kind_ == Text)
            children_.back()->text_ += child->text_;
        else
            children_.push_back(std::move(child));
    }
}

bool XmlEcho::blank() const
{
    return kind_ == Text && text_.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Text other than blanks, or only blanks: either stays as it stands.
bool XmlEcho::holdsText() const
{
    bool onlyBlanks = true;
    for (const auto& child : children_) {
        if ((child->kind_ == Text && !child->blank()) || child->kind_ == CData)
            return true;
        onlyBlanks = onlyBlanks && child->blank();
    }
    return onlyBlanks;
}

void XmlEcho::write(std::string& out, int depth) const
{
    switch (kind_) {
    case Element: writeElement(out, depth); break;
    case Text: appendEscaped(out, text_, false); break;
    case CData: out += "<![CDATA[" + text_ + "]]>"; break;
    case Comment: out += "<!--" + text_ + "-->"; break;
    case Instruction: out += "<?" + text_ + "?>"; break;
    case DocType: out += "<!DOCTYPE" + text_ + ">"; break;
    }
}

// Content with text stays as it stands, on the element's line (depth -1 for
// everything below): new line breaks would change the text.
void XmlEcho::writeElement(std::string& out, int depth) const
{
    out += "<" + text_;
    if (children_.empty()) {
        out += "/>";
        return;
    }
    out += ">";
    const bool inLine = depth < 0 || holdsText();
    for (const auto& child : children_) {
        if (inLine) {
            child->write(out, -1);
            continue;
        }
        if (child->blank())
            continue;
        out += "\n";
        indent(out, depth + 1);
        child->write(out, depth + 1);
    }
    if (!inLine) {
        out += "\n";
        indent(out, depth);
    }
    out += "</" + name_ + ">";
}
