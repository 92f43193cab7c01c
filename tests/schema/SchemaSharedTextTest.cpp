#include "schema/Element.h"
#include "schema/SharedTextPool.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Schema;

namespace {

// Texts that are prefixes of each other, differ in one character or case,
// or are empty, interned in an order that repeats each of them.
TEST(SchemaSharedText, PoolGivesEqualTextsOneStringAndOthersTheirOwn)
{
    const std::vector<std::string> texts = {
        "urn:shop", "urn:sho", "urn:shop:v2", "", "URN:SHOP", "urn:shop", "", "urn:sho", "urn:shop:v2", "urn:shoq",
    };
    std::vector<SharedText> shared;
    {
        SharedTextPool pool;
        for (const std::string& text : texts) {
            // From a buffer of its own, so that equal texts never share storage by chance.
            const std::string copy(text.data(), text.size());
            shared.push_back(pool.intern(copy));
        }
    }
    // The pool is gone: the texts live on in their holders.
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i], shared[i].str()) << i;
        EXPECT_EQ(texts[i].empty(), shared[i].empty()) << i;
        for (std::size_t j = 0; j < texts.size(); ++j)
            EXPECT_EQ(texts[i] == texts[j], shared[i].sameAs(shared[j])) << i << " " << j;
    }
}

// Copies of a declaration, and a reference settled with it, read the value
// constraint, namespaces and name it was made with; none of them changes
// when another copy is assigned over.
TEST(SchemaSharedText, DeclarationsKeepTheirValuesAcrossCopies)
{
    const struct {
        const char* defaultValue;
        const char* fixedValue;
        const char* ns;
        const char* typeNs;
    } cases[] = {
        {"", "", "", ""},
        {"5", "", "urn:a", "urn:types"},
        {"", "true", "urn:a", ""},
        {"", "", "", "urn:types"},
        {"a long default value beyond any short string", "", "urn:a", "urn:a"},
    };
    for (const auto& c : cases) {
        Element declaration("e", SharedText(c.typeNs), 7, 1, 1, true, c.defaultValue, c.fixedValue);
        declaration.setNamespace(SharedText(c.ns));
        Element reference("other", SharedText("urn:x"), 9, 0, 3, false, "d", "f");
        reference.setNamespace(SharedText("urn:x"));
        reference.assignDeclaration(declaration);
        Element copied = declaration;
        Element assigned("z", SharedText("urn:z"), 1, 1, 1, false, "zd", "");
        assigned = copied;
        copied = Element("y", SharedText("urn:y"), 2, 1, 1, false, "", "yf");
        for (const Element* element : {&declaration, &reference, &assigned}) {
            EXPECT_EQ("e", element->getName());
            EXPECT_EQ(c.defaultValue, element->getDefaultValue());
            EXPECT_EQ(c.fixedValue, element->getFixedValue());
            EXPECT_EQ(c.ns, element->getNamespace());
            EXPECT_EQ(c.typeNs, element->getTypeNamespace());
            EXPECT_EQ(7, element->getType());
        }
        EXPECT_EQ(0, reference.getMin());
        EXPECT_EQ(3, reference.getMax());
        EXPECT_EQ("yf", copied.getFixedValue());
        EXPECT_EQ("", copied.getDefaultValue());
    }
}

} // namespace
