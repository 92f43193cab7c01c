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

// With its first colon at cut, a name is prefix:local with neither part empty
// and no second colon.
bool isQualifiedName(const std::string& name, std::size_t cut)
{
    return cut == std::string::npos || (cut + 1 < name.size() && name.find(':', cut + 1) == std::string::npos);
}

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
        fail("Duplicate Attribute: " + attributes_[static_cast<std::size_t>(duplicate) * 4 + 2]);
    }
}

std::size_t XmlPullParser::AttributeKeyHash::operator()(const AttributeKey& key) const
{
    const std::size_t first = std::hash<std::string_view>()(key.first);
    return first ^ (std::hash<std::string_view>()(key.second) + 0x9e3779b9 + (first << 6) + (first >> 2));
}

XmlPullParser::AttributeKey XmlPullParser::attributeKey(int index) const
{
    const std::size_t at = static_cast<std::size_t>(index) * 4;
    return AttributeKey(attributes_[at], attributes_[at + 2]);
}

bool XmlPullParser::sameAttribute(int i, int j) const
{
    const std::size_t a = static_cast<std::size_t>(i) * 4;
    const std::size_t b = static_cast<std::size_t>(j) * 4;
    return attributes_[a + 2] == attributes_[b + 2] && attributes_[a] == attributes_[b];
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

void XmlPullParser::processNamespaces(const std::string& rawName, std::string& nameSpace, std::string& prefix,
                                      std::string& localName)
{
    bool prefixedAttributes = false;
    declareNamespaces(prefixedAttributes);
    if (prefixedAttributes) {
        resolveAttributePrefixes(rawName);
    }
    resolveTagPrefix(rawName, nameSpace, prefix, localName);
}

// Moves the xmlns attributes of the start tag onto the namespace stack; the
// others close up in one pass, keeping their order.
void XmlPullParser::declareNamespaces(bool& prefixedAttributes)
{
    int kept = 0;
    for (int i = 0; i < attributeCount_; ++i) {
        const auto attribute = attributes_.begin() + static_cast<std::ptrdiff_t>(i) * 4;
        const std::string& attrName = attribute[2];
        std::size_t cut = attrName.find(':');
        bool declaresDefault = cut == std::string::npos && attrName.size() == 5 && hasPrefix(attrName, "xmlns", 5);
        bool declaresPrefix = cut == 5 && hasPrefix(attrName, "xmlns", 5);
        if (!declaresDefault && !declaresPrefix) {
            prefixedAttributes = prefixedAttributes || cut != std::string::npos;
            if (kept != i) {
                std::swap_ranges(attribute, attribute + 4, attributes_.begin() + static_cast<std::ptrdiff_t>(kept) * 4);
            }
            ++kept;
            continue;
        }
        if (declaresPrefix && attribute[3].empty()) {
            fail("illegal empty namespace");
        }
        checkDeclaration(attrName, declaresDefault ? std::string::npos : cut + 1, attribute[3]);
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
            nspStack_[k].assign(attrName, cut + 1, std::string::npos);
        }
        nspStack_[k + 1] = attribute[3];
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
}

// Called once the depth has dropped: the declarations of the closed element
// leave scope, newest first, and uncover the ones they hid.
void XmlPullParser::closeNamespaceScope()
{
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
    for (int i = attributeCount_ * 4 - 4; i >= 0; i -= 4) {
        std::string& attrName = attributes_[i + 2];
        std::size_t cut = attrName.find(':');
        if (cut == 0 && !relaxed_) {
            fail("illegal attribute name: " + attrName);
        }
        if (cut == std::string::npos) {
            continue;
        }
        if (!relaxed_ && !isQualifiedName(attrName, cut)) {
            fail("illegal attribute name: " + attrName);
        }
        std::string& attrPrefix = attributes_[i + 1];
        setBytes(attrPrefix, attrName.data(), cut);
        attrName.erase(0, cut + 1);
        const std::string* uri = findNamespace(attrPrefix);
        if (!uri && !relaxed_) {
            fail("Undefined Prefix: " + attrPrefix + " in " + tagName);
        }
        std::string& attrNamespace = attributes_[i];
        if (uri) {
            attrNamespace = *uri;
        }
        if (relaxed_) {
            continue;
        }
        const bool repeated = hashed ? !attributeKeys_.insert(attributeKey(i / 4)).second : repeatsLater(i / 4);
        if (repeated) {
            fail("Duplicate Attribute: {" + attrNamespace + "}" + attrName);
        }
    }
}

void XmlPullParser::resolveTagPrefix(const std::string& rawName, std::string& nameSpace, std::string& prefix,
                                     std::string& localName)
{
    std::size_t cut = rawName.find(':');
    // The xmlns prefix only ever declares; no element may use it.
    const bool xmlnsPrefix = cut == 5 && hasPrefix(rawName, "xmlns", 5);
    if ((cut == 0 || xmlnsPrefix || !isQualifiedName(rawName, cut)) && !relaxed_) {
        fail("illegal tag name: " + rawName);
    }
    if (cut == std::string::npos) {
        prefix.clear();
        setBytes(localName, rawName.data(), rawName.size());
    } else {
        setBytes(prefix, rawName.data(), cut);
        setBytes(localName, rawName.data() + cut + 1, rawName.size() - cut - 1);
    }
    const std::string* uri = findNamespace(prefix);
    if (uri) {
        nameSpace = *uri;
        return;
    }
    if (!prefix.empty() && !relaxed_) {
        fail("undefined prefix: " + prefix);
    }
    nameSpace.clear();
}

const std::string* XmlPullParser::findNamespace(const std::string& prefix) const
{
    static const std::string xmlUri = XML_NAMESPACE;
    static const std::string xmlnsUri = XMLNS_NAMESPACE;
    if (prefix.size() == 3 && hasPrefix(prefix, "xml", 3)) {
        return &xmlUri;
    }
    if (prefix.size() == 5 && hasPrefix(prefix, "xmlns", 5)) {
        return &xmlnsUri;
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
    if (pos < 0) {
        return nullptr;
    }
    const std::string& uri = nspStack_[static_cast<std::size_t>(pos) * 2 + 1];
    return uri.empty() ? nullptr : &uri;
}

const std::string& XmlPullParser::getNamespace(const std::string& prefix) const
{
    const std::string* uri = findNamespace(prefix);
    return uri ? *uri : none_;
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
    return attributes_[index * 4];
}

const std::string& XmlPullParser::getAttributePrefix(int index) const
{
    checkAttributeIndex(index);
    return attributes_[index * 4 + 1];
}

const std::string& XmlPullParser::getAttributeName(int index) const
{
    checkAttributeIndex(index);
    return attributes_[index * 4 + 2];
}

const std::string& XmlPullParser::getAttributeValue(int index) const
{
    checkAttributeIndex(index);
    return attributes_[index * 4 + 3];
}

const std::string& XmlPullParser::getAttributeValue(const std::string& nameSpace, const std::string& name) const
{
    for (int i = attributeCount_ * 4 - 4; i >= 0; i -= 4) {
        if (attributes_[i + 2] == name && (nameSpace.empty() || attributes_[i] == nameSpace)) {
            return attributes_[i + 3];
        }
    }
    return none_;
}
