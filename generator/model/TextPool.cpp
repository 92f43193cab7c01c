#include "generator/model/TextPool.h"

std::string_view CTextPool::intern(std::string_view text)
{
    if (text.empty())
        return std::string_view();
    const auto found = index_.find(text);
    if (found != index_.end())
        return *found;
    texts_.emplace_back(text);
    return *index_.insert(texts_.back()).first;
}
