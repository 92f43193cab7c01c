// Small documents written for the tests, with the exact text their
// generated files must have (golden/<case>/). KELVANE_WRITE_GOLDEN=1 in the
// environment writes the text produced over the golden file, for review.

#include "GeneratorTestSupport.h"

#include "generator/emit/GeneratorRun.h"

#include <sstream>

using namespace gentest;

namespace {

const std::string GoldenFolder = KELVANE_SOURCE_DIR "/tests/generator/emit/golden/";

class GoldenTest : public FixedTextsTest {};

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

// A whole run hands its parser over to the view, which names the C
// entities only once the reader's model is gone: the names must come out
// as when the model stays.
TEST_F(GoldenTest, ShopHeaderOfAWholeRun)
{
    CProjectRecord project;
    project.name = "shop";
    project.wsdlPath = GoldenFolder + "shop/shop.wsdl";
    project.targetPlatform = CProjectRecord::Unix;
    project.textLength = 128;
    std::ostringstream messages;
    CGeneratorRun run(project, testsupport::builtInSchemaFolder(), messages);
    ASSERT_TRUE(run.read()) << messages.str();
    CTextBuffer header;
    run.writeHeader(header);
    EXPECT_EQ(header.text(), testsupport::readBytes(GoldenFolder + "shop/shop_api.h.golden"));
}

} // namespace
