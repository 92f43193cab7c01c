#include "schema/ContentModel.h"

#include "schema/SchemaConstants.h"
#include "schema/SchemaParserException.h"

#include <utility>

namespace Schema {

ContentModel::Entry::Entry(std::unique_ptr<Element> element)
    : kind_(Particle), element_(std::move(element))
{
}

ContentModel::Entry::Entry(std::unique_ptr<Group> group)
    : kind_(ParticleGroup), group_(std::move(group))
{
}

ContentModel::Entry::Entry(std::unique_ptr<ContentModel> model)
    : kind_(ParticleContent), model_(std::move(model))
{
}

ContentModel::ContentModel(int compositor) : compositor_(compositor) {}

ContentModel::~ContentModel()
{
    if (alive_)
        *alive_ = false;
}

Element& ContentModel::addElement(Element element)
{
    if (compositor_ == All && element.getMax() > 1)
        throw SchemaParserException("<all> MUST not have multiple occurrences of an element " +
                                    element.getName());
    if (element.getType() == XSD_ANY)
        anyContent_ = true;
    contents_.emplace_back(std::make_unique<Element>(std::move(element)));
    ++elementCount_;
    return *contents_.back().getElement();
}

void ContentModel::addGroup(const Group& group, bool reference)
{
    if (compositor_ == All)
        throw SchemaParserException("<all> MUST  have only element ");
    auto entry = std::make_unique<Group>(group);
    entry->setReference(reference);
    contents_.emplace_back(std::move(entry));
}

ContentModel* ContentModel::addContentModel(std::unique_ptr<ContentModel> model)
{
    if (compositor_ == All)
        throw SchemaParserException("<all> MUST have only elements within");
    ContentModel* stored = model.get();
    if (stored == nullptr)
        return nullptr;
    contents_.emplace_back(std::move(model));
    return stored;
}

std::shared_ptr<const bool> ContentModel::lifeFlag()
{
    if (!alive_)
        alive_ = std::make_shared<bool>(true);
    return alive_;
}

} // namespace Schema
