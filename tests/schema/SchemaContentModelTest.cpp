#include "ResolverTestSupport.h"
#include "schema/Attribute.h"
#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/Element.h"
#include "schema/Group.h"
#include "schema/SchemaConstants.h"

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Schema;
using schematest::resolving;

namespace {

Element element(const std::string& name, int typeId = XSD_STRING, int minOccurs = 1, int maxOccurs = 1)
{
    return Element(name, "urn:shop", typeId, minOccurs, maxOccurs, false, "", "");
}

Attribute attribute(const std::string& name, int typeId, bool required = false)
{
    return Attribute(name, typeId, false, "", "", required);
}

QualifiedName qname(const std::string& ns, const std::string& local)
{
    QualifiedName name(local);
    name.setNamespace(ns);
    return name;
}

std::shared_ptr<ContentModel> modelWith(const std::string& particle)
{
    auto model = std::make_shared<ContentModel>(ContentModel::Sequence);
    model->addElement(element(particle));
    return model;
}

TEST(SchemaGroup, SharedContentModelOutlivesEveryHolderInAnyOrder)
{
    // The definition goes to the schema's group list and into a content
    // model as its owner, references go into other models; each of them
    // may go first.
    for (int order = 0; order < 3; ++order) {
        auto list = std::make_unique<std::list<Group>>();
        auto owning = std::make_unique<ContentModel>(ContentModel::Sequence);
        auto referring = std::make_unique<ContentModel>(ContentModel::Choice);
        {
            Group definition("address", 0, 3);
            definition.setContentModel(modelWith("street"));
            owning->addGroup(definition, false);
            list->push_back(std::move(definition));
        }
        referring->addGroup(list->front(), true);
        EXPECT_FALSE(owning->getContents()[0].getGroup()->isReference());
        EXPECT_TRUE(referring->getContents()[0].getGroup()->isReference());

        if (order == 0)
            list.reset();
        else if (order == 1)
            owning.reset();
        else
            referring.reset();
        for (ContentModel* model : {owning.get(), referring.get()}) {
            if (model == nullptr)
                continue;
            const Group& group = *model->getContents()[0].getGroup();
            EXPECT_EQ(0, group.getMin());
            EXPECT_EQ(3, group.getMax());
            EXPECT_EQ("street", group.getContentModel()->getContents()[0].getElement()->getName());
        }
    }
}

TEST(SchemaComplexType, OnlyAttributesWaitingForTheReferenceAreSettled)
{
    const QualifiedName lang = qname("urn:shop", "lang");
    const struct {
        std::vector<std::string> waitingFor; // per attribute: the namespace of its reference, "-" for none
        bool settled;
    } cases[] = {
        {{"-"}, false},
        {{"urn:shop"}, true},
        {{"-", "urn:shop"}, false}, // another attribute waits: a local "lang" stays
        {{"urn:shop", "-"}, true},  // a later plain attribute does not hide the reference
        {{"urn:other"}, false},     // the same local name in another namespace
    };
    for (const auto& c : cases) {
        ComplexType type("urn:shop");
        for (std::size_t i = 0; i < c.waitingFor.size(); ++i) {
            Attribute added = attribute(i == 0 ? "lang" : "extra" + std::to_string(i), XSD_INVALID, true);
            if (c.waitingFor[i] != "-")
                added.setForwardRef(qname(c.waitingFor[i], i == 0 ? "lang" : "extra"));
            type.addAttribute(added);
        }
        type.matchAttributeRefs(resolving(lang, Attribute("lang", XSD_TOKEN, true, "en", "", false)));
        const Attribute* settled = type.getAttribute("lang");
        EXPECT_EQ(c.settled ? XSD_TOKEN : XSD_INVALID, settled->getType());
        EXPECT_EQ(c.settled ? "en" : "", settled->getDefaultValue());
        EXPECT_TRUE(settled->isRequired()); // the use is the reference's own
        EXPECT_EQ(!c.settled && c.waitingFor[0] != "-", settled->isForwardRef());
        EXPECT_EQ(static_cast<int>(c.waitingFor.size()), type.getNumAttributes());
    }
}

} // namespace
