#ifndef KELVANE_GENERATOR_MODEL_PAIRHASH_H
#define KELVANE_GENERATOR_MODEL_PAIRHASH_H

#include <cstddef>
#include <functional>
#include <utility>

// Hash of a pair of hashable values, for the view's and the layout's
// indexes keyed by (namespace, name) or (object, direction): look-ups that
// stay constant-time however large the service grows.
struct CPairHash {
    template <class First, class Second>
    std::size_t operator()(const std::pair<First, Second>& key) const
    {
        const std::size_t first = std::hash<First>()(key.first);
        return first ^ (std::hash<Second>()(key.second) + 0x9e3779b97f4a7c15ull + (first << 6) + (first >> 2));
    }
};

#endif
