#include "generator/sample/BoundedSamples.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The longest sample text written: the longest string literal every C
// compiler must take. A facet that asks for more (a minLength of millions)
// gets no sample rather than a demo source of that size.
constexpr std::size_t MostSampleLength = 4095;

// A decimal's text taken apart: sign, whole digits without leading zeros,
// fraction digits without trailing zeros.
struct CDecimal {
    bool negative = false;
    std::string whole;
    std::string fraction;
    bool valid = false;

    bool zero() const { return whole.empty() && fraction.empty(); }
};

CDecimal readDecimal(const std::string& text)
{
    CDecimal d;
    std::size_t i = text.find_first_not_of(" \t\r\n");
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    if (i == std::string::npos)
        return d;
    if (text[i] == '+' || text[i] == '-')
        d.negative = text[i++] == '-';
    std::size_t digits = 0;
    for (; i <= end && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
        if (!d.whole.empty() || text[i] != '0')
            d.whole += text[i];
    if (i <= end && text[i] == '.') {
        for (++i; i <= end && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
            d.fraction += text[i];
    }
    while (!d.fraction.empty() && d.fraction.back() == '0')
        d.fraction.pop_back();
    d.valid = digits > 0 && i == end + 1;
    d.negative = d.negative && !d.zero();
    return d;
}

int compareMagnitude(const CDecimal& a, const CDecimal& b)
{
    if (a.whole.size() != b.whole.size())
        return a.whole.size() < b.whole.size() ? -1 : 1;
    if (const int c = a.whole.compare(b.whole))
        return c < 0 ? -1 : 1;
    const int c = a.fraction.compare(b.fraction); // no trailing zeros: the order of texts is that of values
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// -1, 0 or 1 as a is below, at or above b; exponents and special values by
// their double.
int compareNumbers(const std::string& a, const std::string& b)
{
    const CDecimal x = readDecimal(a);
    const CDecimal y = readDecimal(b);
    if (!x.valid || !y.valid) {
        const double p = std::strtod(a.c_str(), nullptr);
        const double q = std::strtod(b.c_str(), nullptr);
        return p < q ? -1 : (p > q ? 1 : 0);
    }
    if (x.negative != y.negative)
        return x.negative ? -1 : 1;
    const int magnitude = compareMagnitude(x, y);
    return x.negative ? -magnitude : magnitude;
}

bool digitsFit(const CValueFacets& facets, const std::string& number)
{
    const CDecimal d = readDecimal(number);
    if (!d.valid)
        return facets.kind == CValueKind::Floating && !facets.hasDigits();
    if (facets.kind == CValueKind::Integer && !d.fraction.empty())
        return false;
    const int fraction = static_cast<int>(d.fraction.size());
    const int total = static_cast<int>(d.whole.size()) + fraction;
    return (facets.fractionDigits < 0 || fraction <= facets.fractionDigits) &&
        (facets.totalDigits < 0 || total <= facets.totalDigits);
}

std::string formatted(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    std::string s = text;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

// Numbers to try, the usual sample first, then the bounds and what lies
// just inside them.
std::vector<std::string> numberCandidates(const CValueFacets& facets)
{
    std::vector<std::string> candidates;
    const bool integer = facets.kind == CValueKind::Integer;
    candidates.push_back(facets.kind == CValueKind::Decimal ? "1.5" : facets.kind == CValueKind::Floating ? "2.5" : "1");
    candidates.push_back("1");
    candidates.push_back(facets.minInclusive);
    candidates.push_back(facets.maxInclusive);
    const int decimals = facets.fractionDigits >= 0 ? std::min(facets.fractionDigits, 6) : 2;
    // Powers of ten this small are exact doubles, and one division rounds
    // their inverse correctly: the maths library, loaded for this alone,
    // costs every run half a megabyte.
    static constexpr double PowersOfTen[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    const double step = integer ? 1.0 : 1.0 / PowersOfTen[decimals];
    double low = NAN;
    double high = NAN;
    if (!facets.minExclusive.empty()) {
        low = std::strtod(facets.minExclusive.c_str(), nullptr);
        candidates.push_back(formatted(integer ? std::floor(low) + 1 : low + step, integer ? 0 : decimals));
    } else if (!facets.minInclusive.empty()) {
        low = std::strtod(facets.minInclusive.c_str(), nullptr);
    }
    if (!facets.maxExclusive.empty()) {
        high = std::strtod(facets.maxExclusive.c_str(), nullptr);
        candidates.push_back(formatted(integer ? std::ceil(high) - 1 : high - step, integer ? 0 : decimals));
    } else if (!facets.maxInclusive.empty()) {
        high = std::strtod(facets.maxInclusive.c_str(), nullptr);
    }
    if (!std::isnan(low) && !std::isnan(high))
        candidates.push_back(formatted(integer ? std::floor((low + high) / 2) : (low + high) / 2, integer ? 0 : decimals));
    if (!std::isnan(low))
        candidates.push_back(formatted(integer ? std::ceil(low) : low, integer ? 0 : decimals));
    if (!std::isnan(high))
        candidates.push_back(formatted(integer ? std::floor(high) : high, integer ? 0 : decimals));
    candidates.push_back("0");
    candidates.push_back("-1");
    return candidates;
}

std::string numberSample(const CValueFacets& facets)
{
    for (const std::string& candidate : numberCandidates(facets)) {
        if (!candidate.empty() && numberFits(facets, candidate))
            return candidate;
    }
    return std::string();
}

bool lengthFits(const CValueFacets& facets, std::size_t length)
{
    const auto n = static_cast<long long>(length);
    return (facets.length < 0 || n == facets.length) && (facets.minLength < 0 || n >= facets.minLength) &&
        (facets.maxLength < 0 || n <= facets.maxLength);
}

// name and a 1, cut or filled with x to the length the facets ask.
std::string textOfLength(const CValueFacets& facets, std::string_view name)
{
    std::string text(name);
    text += '1';
    std::size_t length = text.size();
    if (facets.length >= 0)
        length = static_cast<std::size_t>(facets.length);
    if (facets.maxLength >= 0 && length > static_cast<std::size_t>(facets.maxLength))
        length = static_cast<std::size_t>(facets.maxLength);
    if (facets.minLength >= 0 && length < static_cast<std::size_t>(facets.minLength))
        length = static_cast<std::size_t>(facets.minLength);
    if (length > MostSampleLength)
        return std::string();
    text.resize(length, 'x');
    return lengthFits(facets, text.size()) ? text : std::string();
}

bool isNumberKind(CValueKind kind)
{
    return kind == CValueKind::Integer || kind == CValueKind::Decimal || kind == CValueKind::Floating;
}

// Reads XML Schema's regular expressions far enough to write their
// shortest match.
class CPatternReader {
public:
    explicit CPatternReader(const std::string& pattern) : p_(pattern) {}

    bool read(std::string& out)
    {
        return expression(out) && at_ == p_.size();
    }

private:
    // Groups nest no deeper than this: each is a call, and a document's
    // pattern of endless parentheses must not run the stack out.
    static constexpr int MostDepth = 64;

    // Alternatives: the first is written, the others only read.
    bool expression(std::string& out)
    {
        if (++depth_ > MostDepth || !branch(out))
            return false;
        while (at_ < p_.size() && p_[at_] == '|') {
            ++at_;
            std::string ignored;
            if (!branch(ignored))
                return false;
        }
        --depth_;
        return true;
    }

    bool branch(std::string& out)
    {
        while (at_ < p_.size() && p_[at_] != '|' && p_[at_] != ')') {
            std::string atomText;
            if (!atom(atomText))
                return false;
            int times = 1;
            if (!quantifier(times))
                return false;
            for (int i = 0; i < times && out.size() <= MostSampleLength; ++i)
                out += atomText;
            if (out.size() > MostSampleLength)
                return false; // a sample no one would call simple
        }
        return true;
    }

    bool atom(std::string& out)
    {
        const char c = p_[at_++];
        switch (c) {
        case '(':
            if (!expression(out) || at_ >= p_.size() || p_[at_] != ')')
                return false;
            ++at_;
            return true;
        case '[': return group(out);
        case '\\': return escape(out);
        case '.': out += 'a'; return true;
        case '?': case '*': case '+': case '{': case '}': case ']': return false;
        default: --at_; takeCharacter(out); return true;
        }
    }

    // The character at at_ with the bytes of its UTF-8 sequence, so that
    // a quantifier repeats the whole character and a class gives one.
    void takeCharacter(std::string& out)
    {
        out += p_[at_++];
        while (at_ < p_.size() && (static_cast<unsigned char>(p_[at_]) & 0xC0) == 0x80)
            out += p_[at_++];
    }

    // The smallest number of times the piece stands.
    bool quantifier(int& times)
    {
        if (at_ >= p_.size())
            return true;
        const char c = p_[at_];
        if (c == '?' || c == '*') {
            ++at_;
            times = 0;
        } else if (c == '+') {
            ++at_;
        } else if (c == '{') {
            const std::size_t close = p_.find('}', at_);
            if (close == std::string::npos)
                return false;
            const std::string inside = p_.substr(at_ + 1, close - at_ - 1);
            char* end = nullptr;
            const long least = std::strtol(inside.c_str(), &end, 10);
            if (end == inside.c_str() || least < 0 || least > 1000)
                return false;
            times = static_cast<int>(least);
            at_ = close + 1;
        }
        return true;
    }

    // A class: its first character (the start of its first range); a
    // negated class or a subtraction is not followed.
    bool group(std::string& out)
    {
        if (at_ >= p_.size() || p_[at_] == '^')
            return false;
        std::string first;
        if (p_[at_] == '\\') {
            ++at_;
            if (!escape(first))
                return false;
        } else {
            takeCharacter(first);
        }
        for (; at_ < p_.size(); ++at_) {
            if (p_[at_] == '\\') {
                ++at_;
            } else if (p_[at_] == '[') {
                return false;
            } else if (p_[at_] == ']') {
                ++at_;
                out += first;
                return true;
            }
        }
        return false;
    }

    bool escape(std::string& out)
    {
        if (at_ >= p_.size())
            return false;
        const char c = p_[at_++];
        switch (c) {
        case 'd': out += '1'; return true;
        case 'w': case 'i': case 'c': case 'S': case 'D': out += 'a'; return true;
        case 's': out += ' '; return true;
        case 'W': out += '-'; return true;
        case 'n': out += '\n'; return true;
        case 't': out += '\t'; return true;
        case 'r': out += '\r'; return true;
        case 'p': case 'P': case 'I': case 'C': return false;
        default: out += c; return true; // an escaped meta character stands for itself
        }
    }

    const std::string& p_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

} // namespace

bool numberFits(const CValueFacets& facets, const std::string& number)
{
    if (!facets.minInclusive.empty() && compareNumbers(number, facets.minInclusive) < 0)
        return false;
    if (!facets.maxInclusive.empty() && compareNumbers(number, facets.maxInclusive) > 0)
        return false;
    if (!facets.minExclusive.empty() && compareNumbers(number, facets.minExclusive) <= 0)
        return false;
    if (!facets.maxExclusive.empty() && compareNumbers(number, facets.maxExclusive) >= 0)
        return false;
    return digitsFit(facets, number);
}

std::string patternSample(const std::string& pattern, bool& made)
{
    std::string text;
    made = CPatternReader(pattern).read(text);
    return made ? text : std::string();
}

std::string boundedSample(const CValueFacets& facets, std::string_view name)
{
    const bool number = isNumberKind(facets.kind);
    if (!facets.pattern.empty() && (number || facets.kind == CValueKind::Text)) {
        bool made = false;
        const std::string text = patternSample(facets.pattern, made);
        if (made && (number ? numberFits(facets, text) : lengthFits(facets, text.size())))
            return text;
    }
    if (number)
        return numberSample(facets);
    if (facets.kind == CValueKind::Text && facets.hasLength())
        return textOfLength(facets, name);
    return std::string();
}
