#ifndef KELVANE_GENERATOR_MODEL_WORDSET_H
#define KELVANE_GENERATOR_MODEL_WORDSET_H

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

// A fixed set of words (string literals that outlive it). Most names of a
// service are longer than any word of such a set: they are answered without
// hashing.
class CWordSet {
public:
    template <class Iterator>
    CWordSet(Iterator first, Iterator last) : words_(first, last)
    {
        for (std::string_view word : words_)
            longest_ = std::max(longest_, word.size());
    }
    bool contains(std::string_view word) const { return word.size() <= longest_ && words_.count(word) != 0; }

private:
    std::unordered_set<std::string_view> words_;
    std::size_t longest_ = 0;
};

#endif
