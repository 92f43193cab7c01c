#include "schema/SharedTextPool.h"

#include <string>

namespace Schema {

SharedText SharedTextPool::intern(std::string_view text)
{
    if (text.empty())
        return SharedText();
    const auto found = texts_.find(text);
    if (found != texts_.end())
        return found->second;
    SharedText shared{std::string(text)};
    texts_.emplace(std::string_view(shared.str()), shared);
    return shared;
}

} // namespace Schema
