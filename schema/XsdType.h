#ifndef KELVANE_SCHEMA_XSDTYPE_H
#define KELVANE_SCHEMA_XSDTYPE_H

#include "schema/QualifiedName.h"
#include "schema/SharedText.h"

#include <string>

namespace Schema {

// Base of simple and complex types. The types table owns the objects and
// deletes them through this class.
class XsdType {
public:
    enum Derivation { Restriction = 0, Extension = 1 };
    enum ContentKind { Simple = 1, Complex = 2, Mixed = 3 };

    explicit XsdType(SharedText typeNamespace);
    virtual ~XsdType() = default;
    XsdType(const XsdType&) = delete;
    XsdType& operator=(const XsdType&) = delete;

    virtual bool isSimple() const = 0;
    virtual void setName(const std::string& name) { name_ = name; }
    virtual void setContentType(int kind) { contentKind_ = kind; }
    virtual void setTypeId(int id) { typeId_ = id; }
    virtual void setAnonymous(bool anonymous) { anonymous_ = anonymous; }

    void setBaseType(int baseTypeId, int derivation = Restriction);

    const std::string& getNamespace() const { return namespace_.str(); }
    const SharedText& getSharedNamespace() const { return namespace_; }
    const std::string& getName() const { return name_; }
    int getTypeId() const { return typeId_; }
    int getBaseTypeId() const { return baseTypeId_; }
    int getBaseDerivation() const { return derivation_; }
    int getContentType() const { return contentKind_; }
    bool isAnonymous() const { return anonymous_; }
    // Namespace and name, no prefix.
    QualifiedName getQName() const;

private:
    SharedText namespace_;
    std::string name_;
    int typeId_ = 0;
    int baseTypeId_;
    int derivation_ = Extension;
    int contentKind_ = Simple;
    bool anonymous_ = false;
};

} // namespace Schema

#endif
