#ifndef KELVANE_SCHEMA_SHAREDTEXTPOOL_H
#define KELVANE_SCHEMA_SHAREDTEXTPOOL_H

#include "schema/SharedText.h"

#include <string_view>
#include <unordered_map>

namespace Schema {

// Hands out one SharedText per distinct text, so that every declaration of a
// namespace shares a single string. The texts outlive the pool while any
// copy holds them.
class SharedTextPool {
public:
    SharedText intern(std::string_view text);

private:
    // Keys view the string each value holds, which stays where it is.
    std::unordered_map<std::string_view, SharedText> texts_;
};

} // namespace Schema

#endif
