#include "wsdl/Attribute.h"
#include "wsdl/ComplexType.h"
#include "wsdl/ContentModel.h"
#include "wsdl/Element.h"
#include "wsdl/Group.h"
#include "wsdl/SchemaConstants.h"
#include "wsdl/SchemaParserException.h"
#include "wsdl/SimpleType.h"

#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Schema;

namespace {

Element element(const std::string& name, int typeId = XSD_STRING, int minOccurs = 1, int maxOccurs = 1)
{
    return Element(name, "urn:shop", typeId, minOccurs, maxOccurs, false, "", "");
}

Attribute attribute(const std::string& name, int typeId, bool required = false)
{
    return Attribute(name, typeId, false, "", "", required);
}

std::shared_ptr<ContentModel> modelWith(const std::string& particle)
{
    auto model = std::make_shared<ContentModel>(ContentModel::Sequence);
    model->addElement(element(particle));
    return model;
}

TEST(SchemaContentModel, RulesOfAllWithTheirMessages)
{
    using Add = std::function<void(ContentModel&)>;
    const Add addSingle = [](ContentModel& m) { m.addElement(element("single")); };
    const Add addMultiple = [](ContentModel& m) { m.addElement(element("item", XSD_INT, 0, 2)); };
    const Add addGroup = [](ContentModel& m) { m.addGroup(Group("g", 1, 1), true); };
    const Add addModel = [](ContentModel& m) {
        m.addContentModel(std::make_unique<ContentModel>(ContentModel::Choice));
    };
    const struct {
        int compositor;
        const Add* add;
        const char* message; // empty: accepted
    } cases[] = {
        {ContentModel::All, &addSingle, ""},
        {ContentModel::All, &addMultiple,
         "Schema Parser Exception : <all> MUST not have multiple occurrences of an element item"},
        {ContentModel::All, &addGroup, "Schema Parser Exception : <all> MUST  have only element "},
        {ContentModel::All, &addModel, "Schema Parser Exception : <all> MUST have only elements within"},
        {ContentModel::Sequence, &addMultiple, ""},
        {ContentModel::Sequence, &addGroup, ""},
        {ContentModel::Sequence, &addModel, ""},
        {ContentModel::Choice, &addMultiple, ""},
        {ContentModel::Choice, &addGroup, ""},
        {ContentModel::Choice, &addModel, ""},
    };
    for (const auto& c : cases) {
        ContentModel model(c.compositor);
        model.addElement(element("first"));
        std::string thrown;
        try {
            (*c.add)(model);
        } catch (const SchemaParserException& failure) {
            thrown = failure.getDescription();
            EXPECT_EQ(0, failure.getLine());
        }
        EXPECT_EQ(c.message, thrown) << "compositor " << c.compositor;
        // A rejected particle leaves the model as it was.
        const std::size_t expected = thrown.empty() ? 2 : 1;
        EXPECT_EQ(expected, model.getContents().size());
    }
}

TEST(SchemaContentModel, CountsElementsAndNotesWildcards)
{
    ContentModel model(ContentModel::Sequence);
    EXPECT_EQ(1, model.getMin());
    EXPECT_EQ(1, model.getMax());
    model.addElement(element("name"));
    EXPECT_FALSE(model.anyContents());
    model.addGroup(Group("g", 1, 1), true);
    ContentModel* nested = model.addContentModel(std::make_unique<ContentModel>(ContentModel::Choice));
    model.addElement(element("urn:any", XSD_ANY, 0, UNBOUNDED));

    EXPECT_EQ(2, model.getNumElements());
    EXPECT_TRUE(model.anyContents());
    const std::vector<int> kinds = {ContentModel::Particle, ContentModel::ParticleGroup,
                                    ContentModel::ParticleContent, ContentModel::Particle};
    ASSERT_EQ(kinds.size(), model.getContents().size());
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(kinds[i], model.getContents()[i].getKind()) << i;
    EXPECT_EQ(nested, model.getContents()[2].getContentModel());
    EXPECT_EQ(ContentModel::Choice, nested->getCompositor());
    EXPECT_EQ(nullptr, model.getContents()[2].getElement());
}

TEST(SchemaContentModel, UpdateElementKeepsParticleBoundsAndSkipsNestedModels)
{
    ContentModel model(ContentModel::Sequence);
    model.addElement(element("item", XSD_INVALID, 0, UNBOUNDED));
    model.addElement(element("other", XSD_STRING, 1, 1));
    ContentModel* nested = model.addContentModel(std::make_unique<ContentModel>(ContentModel::Choice));
    nested->addElement(element("item", XSD_INVALID, 1, 1));
    Group group("g", 1, 1);
    group.setContentModel(modelWith("item"));
    model.addGroup(group, true);

    model.updateElement("item", Element("item", "urn:decl", XSD_INT, 1, 1, true, "", "fixed"));
    const Element& settled = *model.getContents()[0].getElement();
    EXPECT_EQ(XSD_INT, settled.getType());
    EXPECT_EQ("urn:decl", settled.getTypeNamespace());
    EXPECT_EQ("fixed", settled.getFixedValue());
    EXPECT_EQ(0, settled.getMin());
    EXPECT_EQ(UNBOUNDED, settled.getMax());
    EXPECT_EQ(XSD_STRING, model.getContents()[1].getElement()->getType());
    EXPECT_EQ(XSD_INVALID, nested->getContents()[0].getElement()->getType());
    EXPECT_EQ(XSD_STRING, group.getContentModel()->getContents()[0].getElement()->getType());
}

TEST(SchemaGroup, CopiesShareTheContentModelAndRecordReference)
{
    Group definition("address", 1, 1);
    definition.setContentModel(modelWith("street"));
    EXPECT_FALSE(definition.isReference());

    const Group copy(definition);
    EXPECT_TRUE(copy.isReference());
    EXPECT_EQ(definition.getContentModel(), copy.getContentModel());

    Group moved(std::move(definition));
    EXPECT_FALSE(moved.isReference()); // moving keeps the definition a definition
    EXPECT_EQ(copy.getContentModel(), moved.getContentModel());
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

TEST(SchemaComplexType, StartsAsComplexContentDerivedFromAnyType)
{
    const ComplexType complex("urn:shop");
    EXPECT_FALSE(complex.isSimple());
    EXPECT_EQ(XsdType::Complex, complex.getContentType());
    EXPECT_EQ(XSD_ANYTYPE, complex.getBaseTypeId());
    EXPECT_EQ(XsdType::Extension, complex.getBaseDerivation());
    EXPECT_EQ(0, complex.getTypeId());
    EXPECT_EQ(0, complex.getSimpleContentType());
    EXPECT_EQ(nullptr, complex.getContentModel());
    const SimpleType simple("urn:shop");
    EXPECT_TRUE(simple.isSimple());
    EXPECT_EQ(XsdType::Simple, simple.getContentType());
    EXPECT_EQ(XSD_ANYTYPE, simple.getBaseTypeId());
}

TEST(SchemaComplexType, AttributeOfAnExistingNameIsReplacedInPlace)
{
    ComplexType type("urn:shop");
    type.addAttribute(attribute("id", XSD_INT));
    type.addAttribute(attribute("lang", XSD_STRING));
    type.addAttribute(attribute("id", XSD_LONG, true));
    ASSERT_EQ(2, type.getNumAttributes());
    EXPECT_EQ("id", type.getAttribute(0)->getName());
    EXPECT_EQ(XSD_LONG, type.getAttribute(0)->getType());
    EXPECT_TRUE(type.getAttribute("id")->isRequired());
    EXPECT_EQ("lang", type.getAttribute(1)->getName());
    EXPECT_EQ(nullptr, type.getAttribute(2));
    EXPECT_EQ(nullptr, type.getAttribute(-1));
    EXPECT_EQ(nullptr, type.getAttribute("missing"));
}

TEST(SchemaComplexType, AttributeReferenceIsSettledWhileAnyReferenceWaits)
{
    const struct {
        std::vector<bool> flags; // forward-reference flag of each addAttribute
        bool settled;
    } cases[] = {
        {{false}, false},
        {{true}, true},
        {{false, true}, true},
        {{true, false}, true}, // a later plain attribute must not hide the reference
    };
    for (const auto& c : cases) {
        ComplexType type("urn:shop");
        type.addAttribute(attribute("lang", XSD_INVALID), c.flags[0]);
        for (std::size_t i = 1; i < c.flags.size(); ++i)
            type.addAttribute(attribute("extra" + std::to_string(i), XSD_INT), c.flags[i]);
        type.matchAttributeRef("lang", Attribute("lang", XSD_TOKEN, true, "en", "", false));
        EXPECT_EQ(c.settled ? XSD_TOKEN : XSD_INVALID, type.getAttribute("lang")->getType());
        EXPECT_EQ(static_cast<int>(c.flags.size()), type.getNumAttributes());
    }
}

TEST(SchemaComplexType, ElementReferenceReachesTheContentModel)
{
    ComplexType type("urn:shop");
    type.matchElementRef("item", element("item", XSD_INT)); // no model yet: nothing to do
    ContentModel* model = type.setContentModel(std::make_unique<ContentModel>(ContentModel::Sequence));
    model->addElement(element("item", XSD_INVALID, 0, 4));
    type.matchElementRef("item", element("item", XSD_INT));
    EXPECT_EQ(XSD_INT, model->getContents()[0].getElement()->getType());
    EXPECT_EQ(4, model->getContents()[0].getElement()->getMax());

    // A later content model replaces (and releases) the first.
    ContentModel* second = type.setContentModel(std::make_unique<ContentModel>(ContentModel::All));
    EXPECT_EQ(second, type.getContentModel());
}

} // namespace
