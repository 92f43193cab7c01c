#ifndef KELVANE_GENERATOR_MODEL_IDENTIFIER_H
#define KELVANE_GENERATOR_MODEL_IDENTIFIER_H

#include "generator/model/TextPool.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The one way a WSDL or schema name becomes part of a C identifier. Bytes
// other than ASCII letters, digits and '_' become '_', a leading digit gets
// a '_' before it, an empty name becomes "_", and a C keyword (or a macro of
// the headers generated code includes) standing alone would not compile:
// "return" becomes "return_msg" (generated code and its users expect that
// name), any other gets a '_' before it, or a '_' after it where the form
// with the '_' before it is a macro too or reserved ("inline": "inline_", not
// "_inline"; "_Bool": "_Bool_").
// Different names can map to one form; CNameScope makes them distinct.
std::string sanitiseIdentifier(std::string_view name);
bool isCKeyword(std::string_view word);
// True when text is an identifier as written: the one kind of name
// sanitiseIdentifier leaves as it is.
bool isCIdentifier(std::string_view text);
// sanitiseIdentifier(name) == identifier, without making the form of a
// name that is an identifier already.
bool sanitisesTo(std::string_view name, std::string_view identifier);

// Hands out identifiers that are unique within one scope (the structs of a
// header, the members of one struct). A name that is an identifier already
// keeps its spelling unless an earlier one took it; a mapped name keeps its
// sanitised form when that is free; any other gets "_2", "_3" ... (the first
// free one). The result depends only on the names and their order.
// The first "<base>_<n>" that isFree accepts, trying from the n remembered
// for base in nextSuffix (2 at first). Names once taken stay taken, so every
// suffix before the remembered one is still taken and need not be tried.
template <class IsFree>
std::string firstFreeVariant(const std::string& base, std::unordered_map<std::string, int>& nextSuffix, IsFree isFree)
{
    int& next = nextSuffix.try_emplace(base, 2).first->second;
    std::string candidate;
    for (;; ++next) {
        candidate.assign(base).append("_").append(std::to_string(next));
        if (isFree(candidate)) {
            ++next;
            return candidate;
        }
    }
}

class CNameScope {
public:
    // How many names ahead of the one placed a batch starts its look-ups.
    static constexpr std::size_t LookAhead = 8;

    // Marks fixed names of the generated code as taken.
    void reserve(std::string_view identifier) { taken_.add(identifier); }
    bool isTaken(std::string_view identifier) const { return taken_.contains(identifier); }
    // The same with the identifier's hash worked out before (CTextPool::hashOf),
    // and the look-up of an identifier started ahead of them.
    void reserve(std::string_view identifier, std::size_t hash) { taken_.add(identifier, hash); }
    bool isTaken(std::string_view identifier, std::size_t hash) const { return taken_.contains(identifier, hash); }
    void prefetch(std::size_t hash) const { taken_.prefetch(hash); }
    // Makes room for count identifiers in all.
    void makeRoom(std::size_t count) { taken_.reserve(count); }

    // Identifiers for a batch of names, by the rules above, in their order.
    std::vector<std::string> assign(const std::vector<std::string_view>& names);
    std::vector<std::string> assign(const std::vector<std::string>& names);
    // One name on its own.
    std::string claim(std::string_view name);
    // Forgets every name taken, so that the scope serves the next struct
    // with the room it already has.
    void clear()
    {
        taken_.clear();
        nextSuffix_.clear();
    }

private:
    // Takes the first free "<base>_2", "<base>_3" ... form.
    std::string claimVariant(const std::string& base);

    CTextPool taken_;
    // Per name that needed a variant, the suffix to try next: every one
    // before it was taken, and a scope gives no name back (but by clear()),
    // so that a name that stands many times costs no walk over all of its
    // variants each time.
    std::unordered_map<std::string, int> nextSuffix_;
};

#endif
