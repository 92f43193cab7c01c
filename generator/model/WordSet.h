#ifndef KELVANE_GENERATOR_MODEL_WORDSET_H
#define KELVANE_GENERATOR_MODEL_WORDSET_H

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// A fixed set of words (string literals that outlive it). Every name of a
// service is asked about, often several times, and nearly all are answered
// without hashing: by a length longer than any word's, or by a first or last
// byte that no word of that length has.
class CWordSet {
public:
    template <class Iterator>
    CWordSet(Iterator first, Iterator last) : words_(first, last)
    {
        for (std::string_view word : words_)
            longest_ = std::max(longest_, word.size());
        firstBytes_.resize(longest_ + 1);
        lastBytes_.resize(longest_ + 1);
        for (std::string_view word : words_) {
            if (word.empty())
                continue; // never asked for: contains() answers false
            firstBytes_[word.size()].set(static_cast<unsigned char>(word.front()));
            lastBytes_[word.size()].set(static_cast<unsigned char>(word.back()));
        }
    }
    bool contains(std::string_view word) const
    {
        if (word.empty() || word.size() > longest_)
            return false;
        return firstBytes_[word.size()].test(static_cast<unsigned char>(word.front())) &&
               lastBytes_[word.size()].test(static_cast<unsigned char>(word.back())) && words_.count(word) != 0;
    }

private:
    std::unordered_set<std::string_view> words_;
    std::size_t longest_ = 0;
    // By length: the bytes that words of that length begin and end with.
    std::vector<std::bitset<256>> firstBytes_;
    std::vector<std::bitset<256>> lastBytes_;
};

#endif
