#pragma once

// A resolver that knows one reference, for tests of settling.

#include "schema/QualifiedName.h"

#include <functional>

namespace schematest {

template <typename Declaration>
std::function<const Declaration*(const Schema::QualifiedName&)> resolving(const Schema::QualifiedName& reference,
                                                                         const Declaration& declaration)
{
    return [reference, declaration](const Schema::QualifiedName& name) -> const Declaration* {
        return name.matches(reference) ? &declaration : nullptr;
    };
}

} // namespace schematest
