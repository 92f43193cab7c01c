// Small documents written for the tests, with the exact text their
// generated files must have (golden/<case>/). KELVANE_WRITE_GOLDEN=1 in the
// environment writes the text produced over the golden file, for review.

#include "GeneratorTestSupport.h"

using namespace gentest;

namespace {

const std::string GoldenFolder = KELVANE_SOURCE_DIR "/tests/generator/emit/golden/";

class GoldenTest : public GeneratorTest {};

TEST_F(GoldenTest, ShopHeader)
{
    parseLocation(GoldenFolder + "shop/shop.wsdl");
    ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
    view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
    const std::string text = emitHeader("shop");
    EXPECT_EQ(text, testsupport::readBytes(GoldenFolder + "shop/shop_api.h.golden"));
    if (std::getenv("KELVANE_WRITE_GOLDEN") != nullptr)
        testsupport::writeBytes(GoldenFolder + "shop/shop_api.h.golden", text);
    if (canCompileC()) {
        const CompileResult compiled = compileHeader();
        EXPECT_EQ(compiled.status, 0) << compiled.output;
    }
}

} // namespace
