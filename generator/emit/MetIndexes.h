#ifndef KELVANE_GENERATOR_EMIT_METINDEXES_H
#define KELVANE_GENERATOR_EMIT_METINDEXES_H

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <vector>

// Which objects of a numbered list (the message keys, the layout's structs,
// the view's messages) an emitter has met: a flag per index, where a set of
// their names or addresses reads a node that may lie anywhere in memory.
class CMetIndexes {
public:
    // True the first time an index is given, false every time after. An
    // index that would wrap the count of flags throws std::length_error.
    bool firstTime(std::size_t index)
    {
        if (index >= met_.size())
            grow(index);
        if (met_[index])
            return false;
        met_[index] = true;
        return true;
    }
    bool met(std::size_t index) const { return index < met_.size() && met_[index]; }

private:
    // Room for index, doubling the flags held so far where that is more.
    void grow(std::size_t index)
    {
        if (index >= met_.max_size())
            throw std::length_error("CMetIndexes: index beyond any list");
        met_.resize(std::max(index + 1, 2 * met_.size()), false);
    }

    std::vector<bool> met_;
};

#endif
