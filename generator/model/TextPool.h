#ifndef KELVANE_GENERATOR_MODEL_TEXTPOOL_H
#define KELVANE_GENERATOR_MODEL_TEXTPOOL_H

#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>

// One copy of each text that many entities name (the namespaces of a
// service): an entity holds a view of the pool's copy. The copies never
// move, also when the pool itself is moved, so the views stay valid for the
// pool's life.
class CTextPool {
public:
    // The pool's copy of text; empty for an empty text.
    std::string_view intern(std::string_view text);

private:
    std::deque<std::string> texts_;
    std::unordered_set<std::string_view> index_; // views of texts_
};

#endif
