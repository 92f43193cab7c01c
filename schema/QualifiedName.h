#ifndef KELVANE_SCHEMA_QUALIFIEDNAME_H
#define KELVANE_SCHEMA_QUALIFIEDNAME_H

#include "schema/NameKey.h"

#include <iosfwd>
#include <string>

namespace Schema {

// A name as written in a schema ("prefix:local"), plus the namespace the
// parser binds to the prefix once it knows it.
class QualifiedName {
public:
    // Splits "prefix:local" and drops a trailing "[]" array marker from the
    // local name; the namespace stays empty.
    explicit QualifiedName(const std::string& text = std::string());

    const std::string& getNamespace() const { return namespace_; }
    const std::string& getLocalName() const { return localName_; }
    const std::string& getPrefix() const { return prefix_; }
    // The namespace and local name as the key of a name map, viewed in place.
    NameKeyView key() const { return NameKeyView(namespace_, localName_); }
    void setNamespace(const std::string& uri) { namespace_ = uri; }
    // Same namespace and local name; the prefix is only how it was written.
    bool matches(const QualifiedName& other) const
    {
        return namespace_ == other.namespace_ && localName_ == other.localName_;
    }

private:
    std::string namespace_;
    std::string localName_;
    std::string prefix_;
};

// Prints prefix{namespace}:local.
std::ostream& operator<<(std::ostream& out, const QualifiedName& name);

} // namespace Schema

#endif
