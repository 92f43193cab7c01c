#include "xml/XmlPullParser.h"
#include "xml/XmlCharClasses.h"

#include <functional>

// Attributes of a start tag and the namespaces in scope: duplicate checks,
// namespace declarations, prefix resolution and the accessors.

using namespace XmlChars;

namespace {

// Up to these many, the attributes of one tag are compared pairwise and the
// namespace declarations in scope scanned; beyond, both are hashed.
constexpr int kPairwiseAttributes = 16;
constexpr int kScannedNamespaces = 16;

} // namespace

// Reports the last attribute that repeats an earlier name as written (no
// namespace is known yet).
void XmlPullParser::checkDuplicateNames() const
{
    int duplicate = -1;
    if (attributeCount_ <= kPairwiseAttributes) {
        for (int i = attributeCount_ - 1; i > 0 && duplicate < 0; --i) {
            for (int j = 0; j < i && duplicate < 0; ++j) {
                if (sameAttribute(i, j)) {
                    duplicate = i;
                }
            }
        }
    } else {
        attributeKeys_.clear();
        for (int i = 0; i < attributeCount_; ++i) {
            if (!attributeKeys_.insert(attributeKey(i)).second) {
                duplicate = i;
            }
        }
    }
    if (duplicate >= 0) {
        fail("Duplicate Attribute: " + attributes_[static_cast<std::size_t>(duplicate)].reportedName());
    }
}

std::size_t XmlPullParser::AttributeKeyHash::operator()(const AttributeKey& key) const
{
    const std::size_t first = std::hash<std::string_view>()(key.first);
    return first ^ (std::hash<std::string_view>()(key.second) + 0x9e3779b9 + (first << 6) + (first >> 2));
}

XmlPullParser::AttributeKey XmlPullParser::attributeKey(int index) const
{
    const TagAttribute& attribute = attributes_[static_cast<std::size_t>(index)];
    return AttributeKey(namespaceAt(attribute.namespacePos), attribute.reportedName());
}

bool XmlPullParser::sameAttribute(int i, int j) const
{
    const TagAttribute& a = attributes_[static_cast<std::size_t>(i)];
    const TagAttribute& b = attributes_[static_cast<std::size_t>(j)];
    return a.reportedName() == b.reportedName() && namespaceAt(a.namespacePos) == namespaceAt(b.namespacePos);
}

bool XmlPullParser::repeatsLater(int index) const
{
    for (int j = attributeCount_ - 1; j > index; --j) {
        if (sameAttribute(index, j)) {
            return true;
        }
    }
    return false;
}

void XmlPullParser::processNamespaces(OpenElement& element)
{
    bool prefixedAttributes = false;
    declareNamespaces(prefixedAttributes);
    if (prefixedAttributes) {
        resolveAttributePrefixes(element.name().raw);
    }
    resolveTagPrefix(element);
}

// Moves the xmlns attributes of the start tag onto the namespace stack; the
// others close up in one pass, keeping their order.
void XmlPullParser::declareNamespaces(bool& prefixedAttributes)
{
    int kept = 0;
    for (int i = 0; i < attributeCount_; ++i) {
        TagAttribute& attribute = attributes_[static_cast<std::size_t>(i)];
        const XmlName& attrName = attribute.name();
        const bool declaresDefault = attrName.isXmlns;
        const bool declaresPrefix = attrName.xmlnsPrefixed;
        if (!declaresDefault && !declaresPrefix) {
            prefixedAttributes = prefixedAttributes || attrName.hasColon;
            if (kept != i) {
                std::swap(attribute, attributes_[static_cast<std::size_t>(kept)]);
            }
            ++kept;
            continue;
        }
        const std::string& uri = attribute.value;
        if (declaresPrefix && uri.empty()) {
            fail("illegal empty namespace");
        }
        checkDeclaration(attrName.raw, declaresDefault ? std::string::npos : attrName.prefix.size() + 1, uri);
        const int pos = nspCounts_[depth_];
        if (pos >= MAX_NAMESPACES) {
            fail("more than " + std::to_string(MAX_NAMESPACES) + " namespace declarations in scope");
        }
        std::size_t k = static_cast<std::size_t>(pos) * 2;
        if (nspStack_.size() <= k + 2) {
            nspStack_.resize(k + 18);
        }
        if (declaresDefault) {
            nspStack_[k].clear();
        } else {
            nspStack_[k] = attrName.local;
        }
        nspStack_[k + 1] = uri;
        bindNamespace(pos);
        ++nspCounts_[depth_];
    }
    attributeCount_ = kept;
}

// The prefix (from index start of the attribute's name; npos for the default
// namespace) must be a name without a colon, and the xml and xmlns prefixes
// and namespaces keep their fixed binding.
void XmlPullParser::checkDeclaration(const std::string& attrName, std::size_t start, const std::string& uri) const
{
    const bool prefixed = start != std::string::npos;
    const std::size_t length = prefixed ? attrName.size() - start : 0;
    const bool xmlPrefix = length == 3 && attrName.compare(start, 3, "xml") == 0;
    const bool xmlnsPrefix = length == 5 && attrName.compare(start, 5, "xmlns") == 0;
    const bool badPrefix = prefixed && (length == 0 || attrName.find(':', start) != std::string::npos);
    const bool xmlUri = uri == XML_NAMESPACE;
    if (badPrefix || xmlnsPrefix || xmlPrefix != xmlUri || uri == XMLNS_NAMESPACE) {
        fail("illegal namespace declaration: " + attrName + "=\"" + uri + "\"");
    }
}

void XmlPullParser::bindNamespace(int pos)
{
    if (nspHidden_.size() <= static_cast<std::size_t>(pos)) {
        nspHidden_.resize(static_cast<std::size_t>(pos) + 16);
    }
    const auto bound = nspIndex_.try_emplace(nspStack_[static_cast<std::size_t>(pos) * 2], pos);
    nspHidden_[pos] = bound.second ? -1 : bound.first->second;
    bound.first->second = pos;
    ++scopeVersion_;
}

// Called once the depth has dropped below an element that declared
// namespaces: they leave scope, newest first, and uncover the ones they hid.
void XmlPullParser::closeNamespaceScope()
{
    ++scopeVersion_;
    for (int pos = nspCounts_[depth_ + 1] - 1; pos >= nspCounts_[depth_]; --pos) {
        const auto bound = nspIndex_.find(nspStack_[static_cast<std::size_t>(pos) * 2]);
        if (nspHidden_[pos] < 0) {
            nspIndex_.erase(bound);
        } else {
            bound->second = nspHidden_[pos];
        }
    }
}

void XmlPullParser::resolveAttributePrefixes(const std::string& tagName)
{
    // Each attribute is checked against the ones after it: pairwise when they
    // are few, through the keys gathered so far when they are many.
    const bool hashed = attributeCount_ > kPairwiseAttributes;
    if (hashed) {
        attributeKeys_.clear();
    }
    for (int i = attributeCount_ - 1; i >= 0; --i) {
        TagAttribute& attribute = attributes_[static_cast<std::size_t>(i)];
        XmlName& attrName = attribute.name();
        if (attrName.hasColon && attrName.prefix.empty() && !relaxed_) {
            fail("illegal attribute name: " + attrName.raw);
        }
        if (!attrName.hasColon) {
            continue;
        }
        if (!relaxed_ && !attrName.qualified) {
            fail("illegal attribute name: " + attrName.raw);
        }
        attribute.split = true;
        attribute.namespacePos = resolvePrefix(attrName);
        if (attribute.namespacePos == kNoNamespace && !relaxed_) {
            fail("Undefined Prefix: " + attrName.prefix + " in " + tagName);
        }
        if (relaxed_) {
            continue;
        }
        const bool repeated = hashed ? !attributeKeys_.insert(attributeKey(i)).second : repeatsLater(i);
        if (repeated) {
            fail("Duplicate Attribute: {" + namespaceAt(attribute.namespacePos) + "}" + attrName.local);
        }
    }
}

void XmlPullParser::resolveTagPrefix(OpenElement& element)
{
    XmlName& name = element.name();
    // The xmlns prefix only ever declares; no element may use it.
    const bool badName = (name.hasColon && name.prefix.empty()) || name.xmlnsPrefixed || !name.qualified;
    if (badName && !relaxed_) {
        fail("illegal tag name: " + name.raw);
    }
    element.namespacePos = resolvePrefix(name);
    if (element.namespacePos == kNoNamespace && !name.prefix.empty() && !relaxed_) {
        fail("undefined prefix: " + name.prefix);
    }
}

// The namespace of the name's prefix, looked up again only when the
// declarations in scope have changed since the name was last resolved.
int XmlPullParser::resolvePrefix(XmlName& name)
{
    if (name.resolvedIn != scopeVersion_) {
        name.namespacePos = namespacePosition(name.prefix);
        name.resolvedIn = scopeVersion_;
    }
    return name.namespacePos;
}

// The innermost declaration of the prefix in scope; kNoNamespace when there is
// none or it undeclares the default namespace.
int XmlPullParser::namespacePosition(const std::string& prefix) const
{
    if (prefix.size() == 3 && hasPrefix(prefix, "xml", 3)) {
        return kXmlNamespace;
    }
    if (prefix.size() == 5 && hasPrefix(prefix, "xmlns", 5)) {
        return kXmlnsNamespace;
    }
    // The few declarations of ordinary documents are scanned faster than hashed.
    const int count = nspCounts_[depth_];
    int pos = count - 1;
    if (count <= kScannedNamespaces) {
        while (pos >= 0 && nspStack_[static_cast<std::size_t>(pos) * 2] != prefix) {
            --pos;
        }
    } else {
        const auto bound = nspIndex_.find(prefix);
        pos = bound == nspIndex_.end() ? -1 : bound->second;
    }
    if (pos < 0 || nspStack_[static_cast<std::size_t>(pos) * 2 + 1].empty()) {
        return kNoNamespace;
    }
    return pos;
}

const std::string& XmlPullParser::fixedNamespace(int pos) const
{
    static const std::string xmlUri = XML_NAMESPACE;
    static const std::string xmlnsUri = XMLNS_NAMESPACE;
    return pos == kXmlNamespace ? xmlUri : pos == kXmlnsNamespace ? xmlnsUri : none_;
}

const std::string& XmlPullParser::getNamespace(const std::string& prefix) const
{
    return namespaceAt(namespacePosition(prefix));
}

int XmlPullParser::getNamespaceCount(int depth) const
{
    if (depth < 0 || depth > depth_) {
        fail("IndexOutOfBoundsException");
    }
    return nspCounts_[depth];
}

void XmlPullParser::checkNamespacePosition(int pos) const
{
    if (pos < 0 || pos >= nspCounts_[depth_]) {
        fail("IndexOutOfBoundsException");
    }
}

const std::string& XmlPullParser::getNamespacePrefix(int pos) const
{
    checkNamespacePosition(pos);
    return nspStack_[pos * 2];
}

const std::string& XmlPullParser::getNamespaceUri(int pos) const
{
    checkNamespacePosition(pos);
    return nspStack_[pos * 2 + 1];
}

void XmlPullParser::checkAttributeIndex(int index) const
{
    if (index < 0 || index >= attributeCount_) {
        fail("IndexOutOfBoundsException()");
    }
}

const std::string& XmlPullParser::getAttributeNamespace(int index) const
{
    checkAttributeIndex(index);
    return namespaceAt(attributes_[static_cast<std::size_t>(index)].namespacePos);
}

const std::string& XmlPullParser::getAttributePrefix(int index) const
{
    checkAttributeIndex(index);
    const TagAttribute& attribute = attributes_[static_cast<std::size_t>(index)];
    return attribute.split ? attribute.name().prefix : none_;
}

const std::string& XmlPullParser::getAttributeName(int index) const
{
    checkAttributeIndex(index);
    return attributes_[static_cast<std::size_t>(index)].reportedName();
}

const std::string& XmlPullParser::getAttributeValue(int index) const
{
    checkAttributeIndex(index);
    return attributes_[static_cast<std::size_t>(index)].value;
}

const std::string& XmlPullParser::getAttributeValue(std::string_view nameSpace, std::string_view name) const
{
    for (int i = attributeCount_ - 1; i >= 0; --i) {
        const TagAttribute& attribute = attributes_[static_cast<std::size_t>(i)];
        if (attribute.reportedName() == name &&
            (nameSpace.empty() || namespaceAt(attribute.namespacePos) == nameSpace)) {
            return attribute.value;
        }
    }
    return none_;
}
