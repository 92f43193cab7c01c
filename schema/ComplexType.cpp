#include "schema/ComplexType.h"

#include <utility>

namespace Schema {

ComplexType::ComplexType(SharedText typeNamespace) : XsdType(std::move(typeNamespace))
{
    setContentType(Complex);
}

ComplexType::~ComplexType() = default;

const Attribute* ComplexType::getAttribute(int index) const
{
    if (index < 0 || index >= getNumAttributes())
        return nullptr;
    return &attributes_[static_cast<std::size_t>(index)];
}

const Attribute* ComplexType::getAttribute(const std::string& name) const
{
    if (attributeIndex_) {
        const auto found = attributeIndex_->find(name);
        return found == attributeIndex_->end() ? nullptr : &attributes_[found->second];
    }
    for (const Attribute& attribute : attributes_) {
        if (attribute.getName() == name)
            return &attribute;
    }
    return nullptr;
}

Attribute* ComplexType::findAttribute(const std::string& name)
{
    return const_cast<Attribute*>(static_cast<const ComplexType*>(this)->getAttribute(name));
}

void ComplexType::addAttribute(const Attribute& attribute)
{
    if (Attribute* existing = findAttribute(attribute.getName())) {
        *existing = attribute;
        return;
    }
    attributes_.push_back(attribute);
    if (attributeIndex_) {
        attributeIndex_->emplace(attribute.getName(), attributes_.size() - 1);
    } else if (attributes_.size() > ScannedAttributes) {
        attributeIndex_ = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t i = 0; i < attributes_.size(); ++i)
            attributeIndex_->emplace(attributes_[i].getName(), i);
    }
}

void ComplexType::matchAttributeRefs(const AttributeResolver& resolve)
{
    for (Attribute& attribute : attributes_)
        attribute.settleReference(resolve);
}

ContentModel* ComplexType::setContentModel(std::unique_ptr<ContentModel> model)
{
    contentModel_ = std::move(model);
    return contentModel_.get();
}

} // namespace Schema
