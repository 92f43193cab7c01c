#include "schema/ValueContainer.h"

#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"

namespace Schema {

ValueContainer::ValueContainer(int typeId, SchemaParser* parser) : typeId_(typeId), model_(nullptr), parser_(parser)
{
}

ValueContainer::ValueContainer(const ContentModel* model, SchemaParser* parser)
    : typeId_(XSD_INVALID), model_(model), parser_(parser)
{
}

// The children of every container are taken over before it goes, so that
// none is left with children of its own to delete.
ValueContainer::~ValueContainer()
{
    std::vector<std::unique_ptr<ValueContainer>> pending = std::move(created_);
    while (!pending.empty()) {
        std::unique_ptr<ValueContainer> next = std::move(pending.back());
        pending.pop_back();
        for (std::unique_ptr<ValueContainer>& child : next->created_)
            pending.push_back(std::move(child));
        next->created_.clear();
    }
}

template <typename Find>
auto ValueContainer::searchBelow(Find find) -> decltype(find(*this))
{
    std::vector<ValueContainer*> stack;
    const auto pushChildren = [&stack](const ValueContainer& parent) {
        for (auto child = parent.created_.rbegin(); child != parent.created_.rend(); ++child)
            stack.push_back(child->get());
    };
    pushChildren(*this);
    while (!stack.empty()) {
        ValueContainer& next = *stack.back();
        stack.pop_back();
        if (auto found = find(next))
            return found;
        pushChildren(next);
    }
    return nullptr;
}

ValueContainer* ValueContainer::own(std::unique_ptr<ValueContainer> child)
{
    created_.push_back(std::move(child));
    return created_.back().get();
}

const ComplexType* ValueContainer::complexType() const
{
    if (parser_ == nullptr)
        return nullptr;
    return dynamic_cast<const ComplexType*>(parser_->getType(typeId_));
}

ValueContainer* ValueContainer::getAttributeContainer(const std::string& name, bool create)
{
    const auto found = attributes_.find(name);
    if (found != attributes_.end())
        return found->second;
    const ComplexType* type = create ? complexType() : nullptr;
    const Attribute* declaration = type != nullptr ? type->getAttribute(name) : nullptr;
    if (declaration == nullptr)
        return nullptr;
    ValueContainer* child = own(std::make_unique<ValueContainer>(declaration->getType(), parser_));
    attributes_[name] = child;
    return child;
}

// The type of the model's element entry of that name; a wildcard entry takes
// any name. -1 when the model has neither.
int ValueContainer::elementTypeOf(const std::string& name) const
{
    if (model_ == nullptr)
        return -1;
    int wildcard = -1;
    for (const ContentModel::Entry& entry : model_->getContents()) {
        const Element* element = entry.getKind() == ContentModel::Particle ? entry.getElement() : nullptr;
        if (element == nullptr)
            continue;
        if (element->getName() == name && element->getType() != XSD_ANY)
            return element->getType();
        if (element->getType() == XSD_ANY && wildcard < 0)
            wildcard = XSD_ANY;
    }
    return wildcard;
}

ValueContainer::Occurrences* ValueContainer::ownOccurrences(const std::string& name)
{
    const auto found = elements_.find(name);
    return found != elements_.end() && !found->second.containers.empty() ? &found->second : nullptr;
}

ValueContainer::Occurrences* ValueContainer::findOccurrences(const std::string& name)
{
    if (Occurrences* occurrences = ownOccurrences(name))
        return occurrences;
    return searchBelow([&name](ValueContainer& container) { return container.ownOccurrences(name); });
}

ValueContainer* ValueContainer::getElementContainer(const std::string& name, bool create)
{
    if (create) {
        const int typeId = elementTypeOf(name);
        if (typeId < 0)
            return nullptr;
        ValueContainer* child = own(std::make_unique<ValueContainer>(typeId, parser_));
        elements_[name].containers.push_back(child);
        return child;
    }
    Occurrences* occurrences = findOccurrences(name);
    if (occurrences == nullptr)
        return nullptr;
    if (occurrences->cursor >= occurrences->containers.size()) {
        occurrences->cursor = 0;
        return nullptr;
    }
    return occurrences->containers[occurrences->cursor++];
}

ValueContainer* ValueContainer::getBaseContainer(bool create)
{
    if (base_ != nullptr || !create)
        return base_;
    const ComplexType* type = complexType();
    if (type == nullptr)
        return nullptr;
    const int baseId = type->getBaseTypeId();
    if (baseId == XSD_ANYTYPE || baseId == XSD_INVALID)
        return nullptr;
    return getBaseContainer(baseId, parser_);
}

ValueContainer* ValueContainer::getBaseContainer(int typeId, SchemaParser* parser)
{
    if (base_ == nullptr)
        base_ = own(std::make_unique<ValueContainer>(typeId, parser));
    return base_;
}

ValueContainer* ValueContainer::ownContentContainer(const ContentModel* model)
{
    const auto found = contentContainers_.find(model);
    return found != contentContainers_.end() ? found->second : nullptr;
}

ValueContainer* ValueContainer::getContentContainer(const ContentModel* model, bool create, SchemaParser* parser)
{
    if (ValueContainer* container = ownContentContainer(model))
        return container;
    if (create) {
        ValueContainer* child = own(std::make_unique<ValueContainer>(model, parser != nullptr ? parser : parser_));
        contentContainers_[model] = child;
        return child;
    }
    return searchBelow([model](ValueContainer& container) { return container.ownContentContainer(model); });
}

void ValueContainer::adoptSchema(std::unique_ptr<SchemaParser> schema)
{
    schema_ = std::move(schema);
}

} // namespace Schema
