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

ContentModel::~ContentModel() = default;

void ContentModel::addElement(Element element)
{
    if (compositor_ == All && element.getMax() > 1)
        throw SchemaParserException("<all> MUST not have multiple occurrences of an element " +
                                    element.getName());
    if (element.getType() == XSD_ANY)
        anyContent_ = true;
    contents_.emplace_back(std::make_unique<Element>(std::move(element)));
    ++elementCount_;
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

void ContentModel::updateElements(const ElementResolver& resolve)
{
    for (const Entry& entry : contents_) {
        if (Element* element = entry.getElement())
            element->settleReference(resolve);
        else if (ContentModel* nested = entry.getContentModel())
            nested->updateElements(resolve);
        else if (const Group* group = entry.getGroup(); !group->isReference() && group->getContentModel())
            group->getContentModel()->updateElements(resolve);
    }
}

} // namespace Schema
