#ifndef KELVANE_SCHEMA_SHAREDTEXT_H
#define KELVANE_SCHEMA_SHAREDTEXT_H

#include <memory>
#include <string>

namespace Schema {

// A text that never changes once made, held once by all its copies: the
// namespaces written on thousands of declarations of a large schema take
// one string each instead of one per declaration. An empty text holds
// nothing at all.
class SharedText {
public:
    SharedText() = default;
    // Made from a string, a text is held by no pool: callers that mean to
    // share it ask their pool (SharedTextPool) instead.
    explicit SharedText(const char* text) : SharedText(std::string(text)) {}
    explicit SharedText(std::string text)
        : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text)))
    {
    }

    const std::string& str() const { return text_ ? *text_ : none(); }
    bool empty() const { return text_ == nullptr; }
    // Whether the two hold the very same string (not merely equal ones).
    bool sameAs(const SharedText& other) const { return text_ == other.text_; }

private:
    static const std::string& none()
    {
        static const std::string nothing;
        return nothing;
    }

    std::shared_ptr<const std::string> text_;
};

} // namespace Schema

#endif
