#ifndef KELVANE_SCHEMA_COMPLEXTYPE_H
#define KELVANE_SCHEMA_COMPLEXTYPE_H

#include "schema/Attribute.h"
#include "schema/ContentModel.h"
#include "schema/XsdType.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Schema {

class Element;

class ComplexType : public XsdType {
public:
    explicit ComplexType(SharedText typeNamespace);
    ~ComplexType() override;

    bool isSimple() const override { return false; }

    // Null past the end, or when no attribute has that name.
    const Attribute* getAttribute(int index) const;
    const Attribute* getAttribute(const std::string& name) const;
    int getNumAttributes() const { return static_cast<int>(attributes_.size()); }
    const std::vector<Attribute>& getAttributes() const { return attributes_; }

    // An attribute of an existing name is replaced in place.
    void addAttribute(const Attribute& attribute);
    // Settles references: the attributes waiting for one take its declaration.
    void matchAttributeRefs(const AttributeResolver& resolve);
    // Attribute groups the type names before the document defines them:
    // their attributes join the type once the schema is read.
    void addAttributeGroupRef(const QualifiedName& name) { attributeGroupRefs_.push_back(name); }
    std::vector<QualifiedName> takeAttributeGroupRefs()
    {
        std::vector<QualifiedName> names;
        names.swap(attributeGroupRefs_);
        return names;
    }

    int getSimpleContentType() const { return simpleContentTypeId_; }
    void setSimpleContentType(int typeId) { simpleContentTypeId_ = typeId; }
    ContentModel* getContentModel() const { return contentModel_.get(); }
    // Takes ownership; a model set earlier is released.
    ContentModel* setContentModel(std::unique_ptr<ContentModel> model);

private:
    Attribute* findAttribute(const std::string& name);

    // Up to this many attributes a type is searched by name in order: most
    // types of a large schema have a few, and a map for each of them was a
    // large share of the schema's memory.
    static constexpr std::size_t ScannedAttributes = 8;

    std::vector<Attribute> attributes_;
    // Positions in attributes_ by name, made once the type has more than
    // ScannedAttributes: a type with thousands of attributes is read in
    // linear time.
    std::unique_ptr<std::unordered_map<std::string, std::size_t>> attributeIndex_;
    int simpleContentTypeId_ = 0;
    std::unique_ptr<ContentModel> contentModel_;
    std::vector<QualifiedName> attributeGroupRefs_;
};

} // namespace Schema

#endif
