// How the schema parser moves through a document: every loop that looks
// for a tag stops at the end of the document instead of asking again.

#include "schema/SchemaParser.h"

#include "schema/ContentModel.h"
#include "schema/SchemaConstants.h"
#include "xml/XmlPullParser.h"

namespace Schema {

bool SchemaParser::advanceToSchema(XmlPullParser& reader)
{
    // next(), not nextTag(): the text of a surrounding document is no error.
    while (reader.getEventType() != XmlPullParser::END_DOCUMENT) {
        if (reader.next() == XmlPullParser::START_TAG && reader.getName() == "schema")
            return true;
    }
    return false;
}

int SchemaParser::compositorOf(std::string_view tag)
{
    if (tag == "sequence")
        return ContentModel::Sequence;
    if (tag == "choice")
        return ContentModel::Choice;
    if (tag == "all")
        return ContentModel::All;
    return -1;
}

int SchemaParser::nextTag()
{
    const int event = xpp_->nextTag();
    if (event == XmlPullParser::END_DOCUMENT)
        error("Unexpected end of document", 0);
    return event;
}

std::string SchemaParser::tagName() const
{
    return xpp_->getName();
}

bool SchemaParser::atEndTag() const
{
    return xpp_->getEventType() == XmlPullParser::END_TAG;
}

bool SchemaParser::atEndTag(std::string_view name) const
{
    return atEndTag() && xpp_->getName() == name;
}

bool SchemaParser::atStartTag(std::string_view name) const
{
    return xpp_->getEventType() == XmlPullParser::START_TAG && xpp_->getName() == name;
}

void SchemaParser::skipAnnotations()
{
    while (atStartTag("annotation")) {
        parseAnnotation();
        nextTag();
    }
}

void SchemaParser::skipElement()
{
    if (xpp_->getEventType() == XmlPullParser::START_TAG && xpp_->skipSubTree() == XmlPullParser::END_DOCUMENT)
        error("Unexpected end of document", 0);
}

void SchemaParser::skipTo(const std::string& endTag)
{
    while (!atEndTag(endTag)) {
        skipElement();
        nextTag();
    }
}

std::optional<std::string> SchemaParser::attribute(std::string_view name) const
{
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        if (xpp_->getAttributeName(i) == name && xpp_->getAttributeNamespace(i).empty())
            return xpp_->getAttributeValue(i);
    }
    return std::nullopt;
}

int SchemaParser::readInt(const std::string& text) const
{
    try {
        return parseInt(text, 10);
    } catch (const XmlPullParserException& failure) {
        // Reported where it stands in the schema, not as an error of the XML.
        static const std::string prefix = "Xml Parser Exception : ";
        const std::string& description = failure.description;
        error(description.compare(0, prefix.size(), prefix) == 0 ? description.substr(prefix.size()) : description, 0);
        return -1;
    }
}

int SchemaParser::readMaxOccurs(const std::string& text) const
{
    return text == "unbounded" ? UNBOUNDED : readInt(text);
}

int SchemaParser::readCheckedMaxOccurs(const std::string& text) const
{
    const int maxOccurs = readMaxOccurs(text);
    if (maxOccurs != -1)
        return maxOccurs;
    error("<element>:Invalid value for maxOccurs", 1);
    return 1;
}

QualifiedName SchemaParser::prefixedName(const std::string& text) const
{
    QualifiedName name(text);
    name.setNamespace(xpp_->getNamespace(name.getPrefix()));
    return name;
}

} // namespace Schema
