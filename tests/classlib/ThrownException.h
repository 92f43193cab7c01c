// Test helpers for the library's pointer exceptions: run a call, catch what it throws, free it.
#pragma once

#include "classlib/Exceptions.h"

#include <optional>

// The cause of the E the call threw (E has m_cause), or nothing when it threw none.
template <class E, class F>
std::optional<int> ThrownCause(F&& call) {
    try {
        call();
    } catch (E* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return std::nullopt;
}

// TRUE when the call threw an E (which is then freed).
template <class E, class F>
bool Throws(F&& call) {
    try {
        call();
    } catch (E* e) {
        e->Delete();
        return true;
    }
    return false;
}
