// The reader's and the emitters' work grows linearly with the document:
// each case's work is counted at N and at 4N (ScalingWork.cpp does it). A
// chain of types each holding the one before, one type of many members,
// many types, operations, schemas imported by one schema, WSDL documents
// imported by one, attributes on one type.

#include "InstructionCount.h"
#include "support/ScopedWorkingFolder.h"

#include <ostream>
#include <string>

namespace {

struct WorkCase {
    const char* name;
    int n;
};

void PrintTo(const WorkCase& work, std::ostream* out)
{
    *out << work.name << " at " << work.n;
}

// Sizes at which a cost growing with the square outweighs the linear work
// at 4N, yet each run under callgrind takes a few seconds at most.
const WorkCase Cases[] = {
    {"emit_chained_types", 300},
    {"emit_wide_type", 400},
    {"read_types", 400},
    {"read_operations", 400},
    {"read_imported_schemas", 200},
    {"read_imported_documents", 200},
    {"read_attributes", 400},
};

std::uint64_t countAt(const WorkCase& work, int n)
{
    testsupport::ScopedWorkingFolder folder;
    return scaling::countedInstructions(std::string(KELVANE_SCALING_WORK) + " " + work.name + " " + std::to_string(n) + " .");
}

class WorkScalingTest : public testing::TestWithParam<WorkCase> {};

TEST_P(WorkScalingTest, GrowsLinearly)
{
    const WorkCase& work = GetParam();
    scaling::expectLinear(work.name, countAt(work, work.n), countAt(work, 4 * work.n));
}

INSTANTIATE_TEST_SUITE_P(ReadingAndEmitting, WorkScalingTest, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<WorkCase>& info) { return std::string(info.param.name); });

} // namespace
