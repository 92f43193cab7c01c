#ifndef KELVANE_GENERATOR_MODEL_TEXTARENA_H
#define KELVANE_GENERATOR_MODEL_TEXTARENA_H

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// Copies of texts side by side in large blocks: keeping a text allocates
// nothing of its own and costs no room beyond its characters. The copies
// never move, also when the arena itself is moved, so views of them stay
// valid until the arena is cleared or destroyed.
class CTextArena {
public:
    // A copy of text; empty for an empty text.
    std::string_view keep(std::string_view text);
    // A copy of text followed by a NUL, for a CShortText; null for an empty text.
    const char* keepTerminated(std::string_view text);
    // Forgets every copy, keeping the first block for the next ones.
    void clear();

private:
    // Room for size bytes in the last block, or in a new one.
    char* take(std::size_t size);

    struct CBlock {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
    };

    std::vector<CBlock> blocks_;
    std::size_t blockUsed_ = 0; // bytes taken in the last block
};

#endif
