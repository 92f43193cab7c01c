#ifndef KELVANE_GENERATOR_MODEL_SHORTTEXT_H
#define KELVANE_GENERATOR_MODEL_SHORTTEXT_H

#include <cstddef>
#include <ostream>
#include <string_view>

// A text in the room of one pointer: its characters, ended by a NUL, stand
// elsewhere and outlive it (a string literal, or a copy its owner keeps
// with the NUL, as CTextArena::keepTerminated makes). It reads as a
// std::string_view wherever one is asked for, so that records naming many
// texts, made by the thousand, hold half the room a view would take. Its
// size is counted on each read: the texts it holds are short names.
// Nothing converts a view or a string to it unseen, since neither need end
// in a NUL nor outlive it.
class CShortText {
public:
    constexpr CShortText() = default;
    // text: null for the empty text.
    constexpr CShortText(const char* text) : text_(text) {}

    operator std::string_view() const { return view(); }
    std::string_view view() const { return text_ == nullptr ? std::string_view() : std::string_view(text_); }
    // Never null: the empty text's is "".
    const char* data() const { return text_ == nullptr ? "" : text_; }
    std::size_t size() const { return view().size(); }
    bool empty() const { return text_ == nullptr || *text_ == '\0'; }
    std::string_view substr(std::size_t position, std::size_t count = std::string_view::npos) const
    {
        return view().substr(position, count);
    }

    friend bool operator==(CShortText a, CShortText b) { return a.view() == b.view(); }
    friend bool operator==(CShortText a, std::string_view b) { return a.view() == b; }
    friend bool operator==(std::string_view a, CShortText b) { return a == b.view(); }
    friend bool operator==(CShortText a, const char* b) { return a.view() == std::string_view(b); }
    friend bool operator==(const char* a, CShortText b) { return std::string_view(a) == b.view(); }
    friend bool operator!=(CShortText a, CShortText b) { return !(a == b); }
    friend bool operator!=(CShortText a, std::string_view b) { return !(a == b); }
    friend bool operator!=(std::string_view a, CShortText b) { return !(a == b); }
    friend bool operator!=(CShortText a, const char* b) { return !(a == b); }
    friend bool operator!=(const char* a, CShortText b) { return !(a == b); }
    friend bool operator<(CShortText a, CShortText b) { return a.view() < b.view(); }
    friend std::ostream& operator<<(std::ostream& out, CShortText text) { return out << text.view(); }

private:
    const char* text_ = nullptr;
};

#endif
