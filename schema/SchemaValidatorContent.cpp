// The content side of the validator: the child elements of an element walked
// against its type's content model.
//
// Every walk starts with the pull parser on the first tag it has not yet
// taken and ends on the first tag it does not take: after a child element
// it moves on with nextTag. A walk returns the number of elements it took, so
// that a nested model that took nothing counts as absent.

#include "schema/SchemaValidator.h"

#include "schema/ContentModel.h"
#include "schema/Group.h"
#include "schema/SchemaConstants.h"
#include "schema/ScopedValue.h"
#include "xml/XmlPullParser.h"

#include <algorithm>

namespace Schema {

namespace {

bool matches(const Element& element, const std::string& tag)
{
    return element.getType() == XSD_ANY || element.getName() == tag;
}

// The first element entry from position from on that takes the tag; -1 when none does.
int findEntry(const ContentModel& model, const std::string& tag, std::size_t from)
{
    const auto& entries = model.getContents();
    for (std::size_t i = from; i < entries.size(); ++i) {
        const Element* element = entries[i].getKind() == ContentModel::Particle ? entries[i].getElement() : nullptr;
        if (element != nullptr && matches(*element, tag))
            return static_cast<int>(i);
    }
    return -1;
}

// The model a nested entry stands for: its own, or the one of the group it names.
const ContentModel* nestedModel(const ContentModel::Entry& entry)
{
    if (entry.getKind() == ContentModel::ParticleContent)
        return entry.getContentModel();
    if (entry.getKind() == ContentModel::ParticleGroup && entry.getGroup() != nullptr)
        return entry.getGroup()->getContentModel();
    return nullptr;
}

int minOccurs(const ContentModel::Entry& entry)
{
    return entry.getKind() == ContentModel::ParticleGroup ? entry.getGroup()->getMin() : entry.getContentModel()->getMin();
}

int maxOccurs(const ContentModel::Entry& entry)
{
    return entry.getKind() == ContentModel::ParticleGroup ? entry.getGroup()->getMax() : entry.getContentModel()->getMax();
}

bool atStartTag(const XmlPullParser& xpp)
{
    return xpp.getEventType() == XmlPullParser::START_TAG;
}

} // namespace

// The models one after the other: an extension's bases' first.
void SchemaValidator::validateContent(XmlPullParser& xpp, const std::vector<Content>& models,
                                      ValueContainer& container)
{
    Walk walk{xpp.getName(), {}, {}};
    nextTag(xpp, walk.elementName);
    for (const Content& content : models) {
        const ContentModel& model = *content.model;
        ValueContainer& modelContainer = *container.getContentContainer(&model, true, content.schema);
        if (content.schema == &parser_) {
            walkRepeated(xpp, model, model.getMax(), model.getMin() > 0, modelContainer, walk);
            continue;
        }
        // Its elements' types are the other schema's: a validator of that schema takes them.
        SchemaValidator borrowed(*content.schema, log_);
        borrowed.nesting_ = nesting_;
        borrowed.walkRepeated(xpp, model, model.getMax(), model.getMin() > 0, modelContainer, walk);
    }
    if (atStartTag(xpp))
        fail("Could not find element " + xpp.getName() + " in " + walk.elementName, &xpp);
    if (!walk.occurrenceError.empty())
        fail(walk.occurrenceError, &xpp);
    requireEnd(xpp, walk.elementName, "Syntax error");
}

// A model with maxOccurs above one is walked again while it takes elements.
int SchemaValidator::walkRepeated(XmlPullParser& xpp, const ContentModel& model, int limit, bool required,
                                  ValueContainer& container, Walk& walk)
{
    int total = 0;
    for (int round = 0; round < limit; ++round) {
        const int taken = walkModel(xpp, model, required && round == 0, container, walk);
        total += taken;
        if (taken == 0 || !atStartTag(xpp))
            break;
    }
    return total;
}

int SchemaValidator::walkModel(XmlPullParser& xpp, const ContentModel& model, bool required,
                               ValueContainer& modelContainer, Walk& walk)
{
    // A group that contains itself would be entered again without a tag taken.
    if (std::find(walk.open.begin(), walk.open.end(), &model) != walk.open.end())
        return 0;
    checkNesting(xpp, walk.elementName);
    const ScopedValue<int> level(nesting_, nesting_ + 1);
    walk.open.push_back(&model);
    std::vector<int> counts(model.getContents().size(), 0);
    int taken = 0;
    switch (model.getCompositor()) {
    case ContentModel::All:
        taken = walkAll(xpp, model, counts, modelContainer, walk);
        break;
    case ContentModel::Choice:
        taken = walkChoice(xpp, model, counts, modelContainer, walk);
        break;
    default:
        taken = walkSequence(xpp, model, counts, modelContainer, walk);
        break;
    }
    walk.open.pop_back();
    if (model.getCompositor() != ContentModel::Choice && (required || taken > 0))
        checkOccurrences(model, counts, walk);
    return taken;
}

int SchemaValidator::walkSequence(XmlPullParser& xpp, const ContentModel& model, std::vector<int>& counts,
                                  ValueContainer& modelContainer, Walk& walk)
{
    const auto& entries = model.getContents();
    int taken = 0;
    std::size_t cursor = 0;
    while (cursor < entries.size() && atStartTag(xpp)) {
        const ContentModel::Entry& entry = entries[cursor];
        if (entry.getKind() != ContentModel::Particle) {
            taken += walkNested(xpp, model, cursor, true, modelContainer, walk);
            ++cursor;
            continue;
        }
        // An entry that has had its fill leaves a repeated name to a later
        // entry of that name; with none, the surplus is an occurrence error.
        const Element& element = *entry.getElement();
        const std::string tag = xpp.getName();
        if (matches(element, tag)
            && (counts[cursor] < element.getMax() || findEntry(model, tag, cursor + 1) < 0)) {
            consumeElement(xpp, cursor, counts, modelContainer, walk);
            ++taken;
        } else {
            ++cursor;
        }
    }
    return taken;
}

int SchemaValidator::walkChoice(XmlPullParser& xpp, const ContentModel& model, std::vector<int>& counts,
                                ValueContainer& modelContainer, Walk& walk)
{
    if (!atStartTag(xpp))
        return 0;
    const std::string tag = xpp.getName();
    const int index = findEntry(model, tag, 0);
    if (index >= 0) {
        const std::size_t chosen = static_cast<std::size_t>(index);
        const int limit = model.getContents()[chosen].getElement()->getMax();
        int taken = 0;
        do {
            consumeElement(xpp, chosen, counts, modelContainer, walk);
            ++taken;
        } while (taken < limit && atStartTag(xpp) && xpp.getName() == tag);
        return taken;
    }
    // No element of its own takes the tag: the first nested model that does is the choice.
    for (std::size_t i = 0; i < model.getContents().size(); ++i) {
        if (model.getContents()[i].getKind() == ContentModel::Particle)
            continue;
        if (const int taken = walkNested(xpp, model, i, false, modelContainer, walk))
            return taken;
    }
    return 0;
}

int SchemaValidator::walkAll(XmlPullParser& xpp, const ContentModel& model, std::vector<int>& counts,
                             ValueContainer& modelContainer, const Walk& walk)
{
    int taken = 0;
    while (atStartTag(xpp)) {
        const int index = findEntry(model, xpp.getName(), 0);
        if (index < 0)
            break;
        consumeElement(xpp, static_cast<std::size_t>(index), counts, modelContainer, walk);
        ++taken;
    }
    return taken;
}

int SchemaValidator::walkNested(XmlPullParser& xpp, const ContentModel& model, std::size_t index, bool required,
                                ValueContainer& modelContainer, Walk& walk)
{
    const ContentModel::Entry& entry = model.getContents()[index];
    const ContentModel* nested = nestedModel(entry);
    if (nested == nullptr)
        return 0;
    ValueContainer& container = *modelContainer.getContentContainer(nested, true);
    return walkRepeated(xpp, *nested, maxOccurs(entry), required && minOccurs(entry) > 0, container, walk);
}

void SchemaValidator::consumeElement(XmlPullParser& xpp, std::size_t index, std::vector<int>& counts,
                                     ValueContainer& modelContainer, const Walk& walk)
{
    ++counts[index];
    ValueContainer* child = modelContainer.getElementContainer(xpp.getName(), true);
    validate(xpp, child->getTypeId(), *child);
    nextTag(xpp, walk.elementName);
}

void SchemaValidator::checkOccurrences(const ContentModel& model, const std::vector<int>& counts, Walk& walk)
{
    const auto& entries = model.getContents();
    for (std::size_t i = 0; i < entries.size() && walk.occurrenceError.empty(); ++i) {
        const Element* element = entries[i].getKind() == ContentModel::Particle ? entries[i].getElement() : nullptr;
        if (element != nullptr && (counts[i] < element->getMin() || counts[i] > element->getMax()))
            walk.occurrenceError = element->getName() + " did not meet occurrence constraints";
    }
}

} // namespace Schema
