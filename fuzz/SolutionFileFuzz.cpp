// The configuration reader and the solution file on any bytes: a file that
// loads is written again and must read back as the same record (what we
// write reads back equal); every node of the configuration tree answers its
// look-ups. A failed check aborts, and so counts as a finding.

#include "fuzz/FuzzFile.h"
#include "project/ConfigReader.h"
#include "project/SolutionFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void walk(const xcfg_node* node, int depth)
{
    for (; node != nullptr; node = node->next) {
        if (depth > xcfg_doc::kMaxDepth)
            std::abort();
        std::string text;
        int number = 0;
        xcfg_get_str(node, nullptr, text);
        for (const xcfg_attr& attribute : node->attrs) {
            xcfg_get_str(node, attribute.name.c_str(), text);
            xcfg_get_int(node, attribute.name.c_str(), number);
        }
        walk(node->child, depth + 1);
    }
}

bool sameRecord(const CProjectRecord& a, const CProjectRecord& b)
{
    return a.name == b.name && a.wsdlPath == b.wsdlPath && a.authType == b.authType &&
        a.targetPlatform == b.targetPlatform && a.libraryType == b.libraryType;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CFuzzFile file(data, size, "fz.zbq");
    xcfg_doc doc;
    xcfg_load(doc, file.path().c_str());
    walk(doc.root, 0);

    CProjectRecord record;
    if (loadSolution(file.path(), record) != 0)
        return 0;
    std::string text;
    if (!formatSolution(record, text))
        return 0;
    const CFuzzFile again(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), "again.zbq");
    CProjectRecord reread;
    if (loadSolution(again.path(), reread) != 0 || !sameRecord(record, reread))
        std::abort();
    return 0;
}
