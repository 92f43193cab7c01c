#ifndef KELVANE_GENERATOR_EMIT_METINDEXES_H
#define KELVANE_GENERATOR_EMIT_METINDEXES_H

#include <algorithm>
#include <cstddef>
#include <vector>

// Which objects of a numbered list (the message keys, the layout's structs,
// the view's messages) an emitter has met: a flag per index, where a set of
// their names or addresses reads a node that may lie anywhere in memory.
class CMetIndexes {
public:
    // True the first time an index is given, false every time after.
    bool firstTime(std::size_t index)
    {
        if (index >= met_.size())
            met_.resize(std::max(index + 1, 2 * met_.size()), false);
        if (met_[index])
            return false;
        met_[index] = true;
        return true;
    }
    bool met(std::size_t index) const { return index < met_.size() && met_[index]; }

private:
    std::vector<bool> met_;
};

#endif
