#pragma once

// Runs work with callgrind's instrumentation on, in every thread, when the
// process runs under callgrind started with --instr-atstart=no: the count it
// gives is then that of the work alone. Elsewhere the work just runs.
#include <valgrind/callgrind.h>

template <class Work>
void countWork(Work work)
{
    CALLGRIND_START_INSTRUMENTATION;
    work();
    CALLGRIND_STOP_INSTRUMENTATION;
}
