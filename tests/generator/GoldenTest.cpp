// Small documents written for the tests, with the exact text their
// generated sections must have (golden/<case>/).

#include "GeneratorTestSupport.h"

using namespace gentest;

namespace {

const std::string GoldenFolder = KELVANE_SOURCE_DIR "/tests/generator/golden/";

class GoldenTest : public GeneratorTest {};

TEST_F(GoldenTest, ShopStructs)
{
    parseLocation(GoldenFolder + "shop/shop.wsdl");
    ASSERT_FALSE(parser_->hasError()) << diagnostics_.str();
    view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
    const std::string text = emitStructs("shop");
    const std::string expected = testsupport::readBytes(GoldenFolder + "shop/structs.txt");
    EXPECT_EQ(text, expected);
    if (std::getenv("KELVANE_WRITE_GOLDEN") != nullptr)
        testsupport::writeBytes(GoldenFolder + "shop/structs.txt", text);
    if (canCompileC()) {
        const CompileResult compiled = compileStructs(text);
        EXPECT_EQ(compiled.status, 0) << compiled.output;
    }
}

} // namespace
