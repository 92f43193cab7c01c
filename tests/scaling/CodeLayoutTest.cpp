// kvgen's link lays the functions a run executes (tools/kvgen/kvgen.order,
// written by scripts/kvgen-code-order) side by side at the front of its
// code, so that a run makes their pages resident and few others. A list
// gone stale as the code changed, or a link that stopped honouring it, costs
// every run memory and fails nothing else: these checks fail instead.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Function {
    unsigned long long start = 0;
    unsigned long long size = 0;
};

// kvgen's functions by name (the first of a name that several files define
// locally), from nm.
std::map<std::string, Function> kvgenFunctions()
{
    std::map<std::string, Function> functions;
    FILE* nm = popen("nm -S --defined-only '" KELVANE_KVGEN "'", "r");
    if (nm == nullptr)
        return functions;
    char line[8192];
    while (std::fgets(line, sizeof line, nm) != nullptr) {
        std::istringstream words(line);
        std::string start, size, kind, name;
        if (words >> start >> size >> kind >> name && kind.size() == 1 && std::string("tTwW").find(kind) != std::string::npos)
            functions.emplace(name, Function{std::stoull(start, nullptr, 16), std::stoull(size, nullptr, 16)});
    }
    pclose(nm);
    return functions;
}

std::vector<std::string> listedNames()
{
    std::vector<std::string> names;
    std::ifstream list(KELVANE_KVGEN_ORDER);
    for (std::string name; std::getline(list, name);) {
        if (!name.empty())
            names.push_back(name);
    }
    return names;
}

class CodeLayoutTest : public testing::Test {
protected:
    void SetUp() override
    {
#ifndef KELVANE_KVGEN_ORDERED
        GTEST_SKIP() << "kvgen is linked without lld here: its code is not ordered";
#endif
        functions_ = kvgenFunctions();
        ASSERT_FALSE(functions_.empty()) << "nm listed no function of " KELVANE_KVGEN;
        names_ = listedNames();
        ASSERT_FALSE(names_.empty()) << KELVANE_KVGEN_ORDER " lists nothing";
    }

    std::map<std::string, Function> functions_;
    std::vector<std::string> names_;
};

// Functions renamed, split or gone leave their names behind; past a tenth the
// list wants writing again.
TEST_F(CodeLayoutTest, ListNamesKvgensFunctions)
{
    std::size_t found = 0;
    for (const std::string& name : names_)
        found += functions_.count(name);
    EXPECT_GE(found * 10, names_.size() * 9)
        << found << " of the " << names_.size() << " listed functions are kvgen's: run scripts/kvgen-code-order";
}

// The listed functions come first and fill their span but for alignment: a
// link that ignores the list strews them over the whole program.
TEST_F(CodeLayoutTest, ListedFunctionsLieTogetherFirst)
{
    unsigned long long lowest = ~0ULL, listedLow = ~0ULL, listedHigh = 0, listedSize = 0;
    for (const auto& function : functions_)
        lowest = std::min(lowest, function.second.start);
    for (const std::string& name : names_) {
        const auto at = functions_.find(name);
        if (at == functions_.end())
            continue;
        listedLow = std::min(listedLow, at->second.start);
        listedHigh = std::max(listedHigh, at->second.start + at->second.size);
        listedSize += at->second.size;
    }
    ASSERT_GT(listedSize, 0u);
    const struct {
        const char* what;
        unsigned long long value, most;
    } checks[] = {
        {"bytes before the first listed function", listedLow - lowest, 4096},
        {"span of the listed functions, per mille of their size", (listedHigh - listedLow) * 1000 / listedSize, 1050},
    };
    for (const auto& check : checks)
        EXPECT_LE(check.value, check.most) << check.what;
}

// The link keeps code that is the same byte for byte once (the instances of
// one template over different pointers, say), under each of its names. The
// compiler folds some within a file, and constructors and destructors come
// under two names anyway; those aside, a tenth of kvgen's names share their
// code with another when the link folds, under a fiftieth when it does not.
TEST_F(CodeLayoutTest, IdenticalCodeIsKeptOnce)
{
    std::map<unsigned long long, std::set<std::string>> namesAt;
    for (const auto& function : functions_) {
        std::string name = function.first;
        // _ZN1AC1Ev and _ZN1AC2Ev (D0, D1, D2 likewise) are one function's names.
        for (std::size_t at = name.find_first_of("CD"); at != std::string::npos; at = name.find_first_of("CD", at + 1)) {
            if (at + 2 < name.size() && name[at + 1] >= '0' && name[at + 1] <= '4' && name[at + 2] == 'E')
                name[at + 1] = '*';
        }
        namesAt[function.second.start].insert(name);
    }
    std::size_t folded = 0;
    for (const auto& at : namesAt)
        folded += at.second.size() - 1;
    EXPECT_GE(folded * 20, functions_.size())
        << folded << " of kvgen's " << functions_.size() << " function names share their code with another";
}

} // namespace
