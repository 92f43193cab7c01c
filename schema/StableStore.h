#ifndef KELVANE_SCHEMA_STABLESTORE_H
#define KELVANE_SCHEMA_STABLESTORE_H

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace Schema {

// Items appended one by one that stay where they are while more come, as
// indexes point at them. Nothing is allocated before the first item, and
// blocks double from a few items: a description that imports thousands of
// one-type schemas holds a store like this per table of each, where a deque
// took two blocks (more than half a kilobyte) even while empty.
template <typename Item>
class StableStore {
public:
    template <typename... Args>
    Item& emplace_back(Args&&... args)
    {
        if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) {
            blocks_.emplace_back();
            blocks_.back().reserve(blocks_.size() == 1 ? kFirstBlock : std::min(kLastBlock, count_));
        }
        ++count_;
        // Within its capacity a block never moves what it holds.
        return blocks_.back().emplace_back(std::forward<Args>(args)...);
    }

    // Every item in the order it came.
    template <typename Visit>
    void forEach(Visit visit) const
    {
        for (const std::vector<Item>& block : blocks_) {
            for (const Item& item : block)
                visit(item);
        }
    }

    std::size_t size() const { return count_; }

    void clear()
    {
        blocks_.clear();
        count_ = 0;
    }

private:
    static constexpr std::size_t kFirstBlock = 4;
    static constexpr std::size_t kLastBlock = 4096;

    std::vector<std::vector<Item>> blocks_;
    std::size_t count_ = 0;
};

} // namespace Schema

#endif
