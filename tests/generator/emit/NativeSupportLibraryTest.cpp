// The support library compiled once per test process: a library that does not compile says so and
// where, and libraries built side by side never share or remove each other's objects.

#include "GeneratorTestSupport.h"

#if defined(KELVANE_C_COMPILER) && !defined(KELVANE_WIN_C_COMPILER)

#include <memory>
#include <sstream>

using namespace gentest;

namespace {

// Source files written into the current folder; their absolute names as a command line's list.
std::string writeSources(const std::vector<std::pair<std::string, std::string>>& files)
{
    std::string list;
    for (const auto& [name, text] : files) {
        testsupport::writeBytes(name, text);
        list += " " + (std::filesystem::current_path() / name).string();
    }
    return list;
}

size_t wordCount(const std::string& text)
{
    std::istringstream words(text);
    size_t count = 0;
    for (std::string word; words >> word;)
        ++count;
    return count;
}

TEST(NativeSupportLibraryTest, BuildsOrSaysWhyNot)
{
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;
        bool built;
        size_t objects;
        const char* said; // in the messages
    } cases[] = {
        {"two sources", {{"one.c", "int one(void) { return 1; }\n"}, {"two.c", "int two(void) { return 2; }\n"}}, true, 2, ""},
        {"an error", {{"one.c", "int one(void) { return 1; }\n"}, {"bad.c", "int bad(void)\n{ return nothing; }\n"}},
         false, 0, "bad.c:2:"},
        {"a warning, as the programs' flags make it an error", {{"warn.c", "int warn(void) { int unused; return 0; }\n"}},
         false, 0, "warn.c:1:"},
        {"a source that is not there", {}, false, 0, "missing.c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScopedWorkingFolder folder;
        std::string sources = writeSources(c.files);
        if (c.files.empty())
            sources = " " + (std::filesystem::current_path() / "missing.c").string();
        const NativeSupportLibrary library(nativeCompiler(false), sources);
        EXPECT_EQ(library.built(), c.built) << library.messages();
        EXPECT_EQ(wordCount(library.objects()), c.objects) << library.objects();
        EXPECT_NE(library.messages().find(c.said), std::string::npos) << library.messages();
        if (!c.built)
            EXPECT_NE(library.messages().find("the support library did not compile"), std::string::npos);
    }
}

TEST(NativeSupportLibraryTest, LibrariesSideBySideKeepTheirOwnObjects)
{
    testsupport::ScopedWorkingFolder folder;
    const std::string sources = writeSources({{"one.c", "int one(void) { return 1; }\n"}});
    auto first = std::make_unique<NativeSupportLibrary>(nativeCompiler(false), sources);
    const NativeSupportLibrary second(nativeCompiler(false), sources);
    ASSERT_TRUE(first->built()) << first->messages();
    ASSERT_TRUE(second.built()) << second.messages();
    EXPECT_NE(first->folder(), second.folder());
    EXPECT_NE(first->objects(), second.objects());
    const std::filesystem::path gone = first->folder();
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(gone));
    EXPECT_TRUE(std::filesystem::exists(second.folder() / "one.o"));
}

} // namespace

#endif
