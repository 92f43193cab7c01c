#include "ResolverTestSupport.h"
#include "schema/Attribute.h"
#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/Element.h"
#include "schema/Group.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParserException.h"
#include "schema/SimpleType.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
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

// A declaration written as a reference that waits for its global one.
template <typename Declaration>
Declaration waiting(Declaration declaration, const QualifiedName& reference)
{
    declaration.setForwardRef(reference);
    return declaration;
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

TEST(SchemaContentModel, UpdateElementsSettlesWaitingParticlesAtAnyDepth)
{
    const QualifiedName item = qname("urn:decl", "item");
    ContentModel model(ContentModel::Sequence);
    model.addElement(waiting(element("item", XSD_INVALID, 0, UNBOUNDED), item));
    model.addElement(element("item", XSD_STRING, 1, 1)); // a declaration of the same name
    model.addElement(waiting(element("item", XSD_INVALID), qname("urn:other", "item")));
    ContentModel* choice = model.addContentModel(std::make_unique<ContentModel>(ContentModel::Choice));
    ContentModel* deeper = choice->addContentModel(std::make_unique<ContentModel>(ContentModel::Sequence));
    deeper->addElement(waiting(element("item", XSD_INVALID, 2, 3), item));
    Group defined("inline", 1, 1);
    defined.setContentModel(std::make_shared<ContentModel>(ContentModel::Sequence));
    defined.getContentModel()->addElement(waiting(element("item", XSD_INVALID), item));
    model.addGroup(defined, false);
    Group referenced("shared", 1, 1); // settled where it is defined
    referenced.setContentModel(std::make_shared<ContentModel>(ContentModel::Sequence));
    referenced.getContentModel()->addElement(waiting(element("item", XSD_INVALID), item));
    model.addGroup(referenced, true);

    model.updateElements(resolving(item, Element("item", "urn:decl", XSD_INT, 1, 1, true, "", "fixed")));
    const struct {
        const Element* particle;
        int type;
        int minOccurs;
        int maxOccurs;
        bool stillWaits;
    } cases[] = {
        {model.getContents()[0].getElement(), XSD_INT, 0, UNBOUNDED, false},
        {model.getContents()[1].getElement(), XSD_STRING, 1, 1, false},
        {model.getContents()[2].getElement(), XSD_INVALID, 1, 1, true},
        {deeper->getContents()[0].getElement(), XSD_INT, 2, 3, false},
        {defined.getContentModel()->getContents()[0].getElement(), XSD_INT, 1, 1, false},
        {referenced.getContentModel()->getContents()[0].getElement(), XSD_INVALID, 1, 1, true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Element& particle = *cases[i].particle;
        EXPECT_EQ(cases[i].type, particle.getType()) << i;
        EXPECT_EQ(cases[i].minOccurs, particle.getMin()) << i;
        EXPECT_EQ(cases[i].maxOccurs, particle.getMax()) << i;
        EXPECT_EQ(cases[i].stillWaits, particle.isForwardRef()) << i;
    }
    EXPECT_EQ("urn:decl", cases[0].particle->getTypeNamespace());
    EXPECT_EQ("fixed", cases[0].particle->getFixedValue());
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

TEST(SchemaComplexType, ElementReferenceReachesTheContentModel)
{
    ComplexType type("urn:shop");
    const QualifiedName item = qname("urn:shop", "item");
    type.matchElementRefs(resolving(item, element("item", XSD_INT))); // no model yet: nothing to do
    ContentModel* model = type.setContentModel(std::make_unique<ContentModel>(ContentModel::Sequence));
    model->addElement(waiting(element("item", XSD_INVALID, 0, 4), item));
    type.matchElementRefs(resolving(item, element("item", XSD_INT)));
    EXPECT_EQ(XSD_INT, model->getContents()[0].getElement()->getType());
    EXPECT_EQ(4, model->getContents()[0].getElement()->getMax());

    // A later content model replaces (and releases) the first.
    ContentModel* second = type.setContentModel(std::make_unique<ContentModel>(ContentModel::All));
    EXPECT_EQ(second, type.getContentModel());
}

} // namespace
