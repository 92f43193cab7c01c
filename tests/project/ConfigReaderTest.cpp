#include "project/ConfigReader.h"

#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

const std::string kSolution =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<solution>\r\n<project name=\"demo\" library_type=\"0\" "
    "auth_type=\"1\" target_platform=\"0\" wsdl_path=\"C:\\w.wsdl\" >\r\n</project>\r\n</solution>";

std::string nested(int depth)
{
    return depth == 0 ? std::string() : "<e>" + nested(depth - 1) + "</e>";
}

class ConfigReaderTest : public ::testing::Test {
protected:
    int load(const std::string& bytes)
    {
        testsupport::writeBytes("c.xml", bytes);
        return xcfg_load(doc_, "c.xml");
    }

    testsupport::ScopedWorkingFolder folder_;
    xcfg_doc doc_;
};

TEST_F(ConfigReaderTest, LoadResults)
{
    const struct {
        std::string bytes;
        int rc;
    } cases[] = {
        {"", XCFG_REJECTED},
        {"<a/><b/>", XCFG_REJECTED},
        {"<!DOCTYPE a [<!ENTITY x \"xx\">]><a>&x;</a>", XCFG_REJECTED},
        {"<!DOCTYPE a [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><a>&x;</a>", XCFG_REJECTED},
        {"<!DOCTYPE a SYSTEM \"http://127.0.0.1:1/a.dtd\"><a/>", XCFG_REJECTED},
        {nested(xcfg_doc::kMaxDepth), XCFG_OK},
        {nested(xcfg_doc::kMaxDepth + 1), XCFG_REJECTED},
        {"<a v=\"&#x263A;\"/>", EILSEQ},
        {"<a v=\"" + std::string(xcfg_doc::kMaxBytes, 'v') + "\"/>", EFBIG},
    };
    for (const auto& c : cases)
        EXPECT_EQ(load(c.bytes), c.rc) << c.bytes.substr(0, 60);
    for (std::size_t length = 1; length < kSolution.size(); ++length)
        EXPECT_EQ(load(kSolution.substr(0, length)), XCFG_REJECTED) << length;
    EXPECT_EQ(xcfg_load(doc_, "missing.xml"), ENOENT);
    EXPECT_EQ(xcfg_check_root(doc_, "a"), XCFG_NO_ROOT);
}

TEST_F(ConfigReaderTest, TreeTextsAndLookUps)
{
    ASSERT_EQ(load("<r>\n <p n=\"1\">x<b/>y</p>\t<q><z>&#13;a&amp;b&lt;c&#13;</z></q><p n=\"2\"/></r>"), XCFG_OK);
    EXPECT_EQ(xcfg_check_root(doc_, "r"), XCFG_OK);
    EXPECT_EQ(xcfg_check_root(doc_, "R"), EINVAL);
    const struct {
        int count;
        std::initializer_list<const char*> names;
        const char* text;
    } cases[] = {
        {1, {"p"}, "x"}, {2, {"p", "b"}, "y"}, {2, {"q", "z"}, "\ra&b<c\r"}, {0, {"r"}, ""},
        {3, {"p", "b", "x"}, nullptr}, {1, {"z"}, nullptr}, {-1, {"p"}, nullptr}, {2, {"p"}, nullptr},
    };
    for (const auto& c : cases) {
        const xcfg_node* out = doc_.root;
        std::string text = "none";
        EXPECT_EQ(xcfg_find_node(out, doc_.root, c.count, c.names), c.text ? XCFG_OK : XCFG_NOT_FOUND);
        xcfg_get_str(out, nullptr, text);
        EXPECT_EQ(text, c.text ? c.text : "none") << *c.names.begin() << c.count;
    }
    const xcfg_node* p = nullptr;
    std::string n;
    ASSERT_EQ(xcfg_find_node(p, doc_.root->child->next, 0, {"p"}), XCFG_OK);
    EXPECT_EQ(xcfg_get_str(p, "n", n), XCFG_OK);
    EXPECT_EQ(n, "2");
    EXPECT_EQ(xcfg_get_str(p, "N", n), XCFG_NOT_FOUND);
}

TEST_F(ConfigReaderTest, Integers)
{
    const struct {
        const char* value;
        int rc;
        int result;
    } cases[] = {
        {"0", XCFG_OK, 0}, {"2147483647", XCFG_OK, 2147483647}, {"2147483648", E2BIG, -5},
        {"00000000001", E2BIG, -5}, {"", XCFG_NOT_FOUND, -5}, {"-1", EINVAL, -5}, {" 1", EINVAL, -5},
        {"0x1", EINVAL, -5},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(load(std::string("<a v=\"") + c.value + "\"/>"), XCFG_OK);
        int out = -5;
        EXPECT_EQ(xcfg_get_int(doc_.root, "v", out), c.rc) << c.value;
        EXPECT_EQ(out, c.result) << c.value;
    }
}

// expat's own allocations fail in turn: the load reports it and frees all.
int allocationsLeft = 0;
void* failingMalloc(std::size_t size) { return allocationsLeft-- > 0 ? std::malloc(size) : nullptr; }
void* failingRealloc(void* block, std::size_t size) { return allocationsLeft-- > 0 ? std::realloc(block, size) : nullptr; }

TEST_F(ConfigReaderTest, AllocationFailureIsReported)
{
    const XML_Memory_Handling_Suite memory = {failingMalloc, failingRealloc, std::free};
    allocationsLeft = 1000;
    XML_ParserFree(XML_ParserCreate_MM(nullptr, &memory, nullptr));
    const int toCreate = 1000 - allocationsLeft;
    testsupport::writeBytes("c.xml", kSolution);
    int rc = ENOMEM;
    for (int budget = 0; budget < 1000 && rc != XCFG_OK; ++budget) {
        allocationsLeft = budget;
        rc = xcfg_load(doc_, "c.xml", &memory);
        EXPECT_EQ(rc, budget < toCreate ? XCFG_REJECTED : rc == XCFG_OK ? XCFG_OK : ENOMEM) << budget;
    }
    EXPECT_EQ(xcfg_check_root(doc_, "solution"), XCFG_OK);
}

}  // namespace
