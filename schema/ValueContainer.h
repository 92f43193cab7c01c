#ifndef KELVANE_SCHEMA_VALUECONTAINER_H
#define KELVANE_SCHEMA_VALUECONTAINER_H

#include "schema/QualifiedName.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace Schema {

class ComplexType;
class ContentModel;
class SchemaParser;

// What the schema validator read for one element, attribute or content model:
// the typed value, and one container per attribute, per child element
// occurrence, for the part inherited from a base type and per nested content
// model. A container owns every container created under it, so deleting the
// root deletes the tree. Trees as deep as an instance is nested are searched
// and deleted without recursion.
class ValueContainer {
public:
    // The storage kinds a value can have; which one a container uses follows
    // from the built-in type its type finally derives from.
    using Value = std::variant<std::monostate, int, std::int64_t, std::uint64_t, char, float, double, bool,
                               QualifiedName, std::string>;

    // A container for a value of a type; parser (not owned, may be null for
    // built-in types) answers the type look-ups.
    ValueContainer(int typeId, SchemaParser* parser);
    // A container for the children of a content model.
    ValueContainer(const ContentModel* model, SchemaParser* parser);
    ~ValueContainer();
    ValueContainer(const ValueContainer&) = delete;
    ValueContainer& operator=(const ValueContainer&) = delete;

    int getTypeId() const { return typeId_; }
    const ContentModel* getContentModel() const { return model_; }
    SchemaParser* getSchemaParser() const { return parser_; }

    // Replaces the previous value; T must be one of the storage kinds.
    template <typename T>
    void setValue(T value, bool valid)
    {
        value_.emplace<T>(std::move(value));
        valid_ = valid;
    }
    // The value when it is stored as T; null when none is set or it has
    // another kind.
    template <typename T>
    const T* getValue() const
    {
        return std::get_if<T>(&value_);
    }
    bool hasValue() const { return !std::holds_alternative<std::monostate>(value_); }
    const Value& getStoredValue() const { return value_; }

    bool isValid() const { return valid_; }
    void setValid(bool valid) { valid_ = valid; }
    // The text of the value as it was read.
    const std::string& getText() const { return text_; }
    void setText(const std::string& text) { text_ = text; }

    // The container of an attribute of this container's complex type. With
    // create, a missing one is made for the attribute's declared type; null
    // when the type declares no such attribute, or without create.
    ValueContainer* getAttributeContainer(const std::string& name, bool create);

    // On a content-model container. With create: a new occurrence for the
    // model's element entry of that name (or its wildcard), null when the
    // model has neither. Without create: the occurrences one per call in
    // document order, then null once, then from the first again; a name with
    // no occurrences here is looked for in the containers created under this
    // one, depth first.
    ValueContainer* getElementContainer(const std::string& name, bool create);

    // The container for the part of the value given by the base type of this
    // container's complex type; null when that base is anyType or there is none.
    ValueContainer* getBaseContainer(bool create);
    // The same, made on first call of typeId in parser: a borrowed type's
    // base is read in the schema that defines the type.
    ValueContainer* getBaseContainer(int typeId, SchemaParser* parser);

    // The container for a content model; without create, also searched in
    // the containers created under this one, depth first. A model of
    // another schema (a borrowed base type's) reads its ids in parser.
    ValueContainer* getContentContainer(const ContentModel* model, bool create, SchemaParser* parser = nullptr);

    // A schema read from the instance (an element of the schema type) is
    // kept with the container that stands for it.
    void adoptSchema(std::unique_ptr<SchemaParser> schema);
    SchemaParser* getSchema() const { return schema_.get(); }

private:
    struct Occurrences {
        std::vector<ValueContainer*> containers;
        std::size_t cursor = 0;
    };

    ValueContainer* own(std::unique_ptr<ValueContainer> child);
    const ComplexType* complexType() const;
    Occurrences* ownOccurrences(const std::string& name);
    Occurrences* findOccurrences(const std::string& name);
    ValueContainer* ownContentContainer(const ContentModel* model);
    // The first container created under this one, depth first in order of
    // creation, for which find gives non-null, and what it gave.
    template <typename Find>
    auto searchBelow(Find find) -> decltype(find(*this));
    int elementTypeOf(const std::string& name) const;

    int typeId_;
    const ContentModel* model_;
    std::map<std::string, Occurrences> elements_;
    std::map<const ContentModel*, ValueContainer*> contentContainers_;
    std::map<std::string, ValueContainer*> attributes_;
    SchemaParser* parser_;
    ValueContainer* base_ = nullptr;
    Value value_;
    bool valid_ = true;
    std::string text_;
    // Every container created under this one, in order of creation.
    std::vector<std::unique_ptr<ValueContainer>> created_;
    std::unique_ptr<SchemaParser> schema_;
};

} // namespace Schema

#endif
