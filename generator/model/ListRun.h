#ifndef KELVANE_GENERATOR_MODEL_LISTRUN_H
#define KELVANE_GENERATOR_MODEL_LISTRUN_H

#include <cstddef>

// Items that stand side by side in a list kept elsewhere, from first to
// end: what an index hands out instead of a vector of its own per entry.
// Valid while that list neither grows nor goes.
template <class T>
class CListRun {
public:
    using Iterator = const T*;
    CListRun() = default;
    CListRun(Iterator first, Iterator end) : first_(first), end_(end) {}
    Iterator begin() const { return first_; }
    Iterator end() const { return end_; }
    bool empty() const { return first_ == end_; }
    std::size_t size() const { return static_cast<std::size_t>(end_ - first_); }
    const T& front() const { return *first_; }
    const T& operator[](std::size_t i) const { return first_[i]; }

private:
    Iterator first_ = nullptr;
    Iterator end_ = nullptr;
};

#endif
