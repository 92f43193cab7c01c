#ifndef KELVANE_GENERATOR_EMIT_RUNSTEPS_H
#define KELVANE_GENERATOR_EMIT_RUNSTEPS_H

#include <cstddef>
#include <functional>
#include <vector>

// A step of a run that may fail: it returns false, or throws.
using CRunStep = std::function<bool()>;

// Steps run one after the other, stopping at the first that fails. The
// index of the step that returned false; steps.size() when none did. The
// exception of a step that threw leaves as it is.
std::size_t runInOrder(const std::vector<CRunStep>& steps);

// Steps run at the same time (the first on the calling thread, each other
// on a thread of its own where one can be had), with the outcome runInOrder
// gives: the first step in order that failed decides, whatever the others
// did. Returns when every step has ended. The steps must share nothing that
// they change, and a step that follows one that failed runs all the same:
// it must do no harm the caller cannot undo.
std::size_t runTogether(const std::vector<CRunStep>& steps);

#endif
