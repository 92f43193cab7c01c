#ifndef KELVANE_XML_XMLCHARCLASSES_H
#define KELVANE_XML_XMLCHARCLASSES_H

// Byte classes of the XML pull parser; internal to xml/.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace XmlChars {

// Character classes for the scanners that take whole runs of bytes straight
// from the source buffer. A run always stops at CR and LF so that line
// counting and CR/LF folding stay in the one-character path.
enum : std::uint16_t {
    kTextStop = 1 << 0,     // content text
    kDQuoteStop = 1 << 1,   // attribute value in double quotes
    kSQuoteStop = 1 << 2,   // attribute value in single quotes
    kNameChar = 1 << 3,
    kNameStart = 1 << 4,
    kCommentStop = 1 << 5,
    kCDataStop = 1 << 6,
    kPIStop = 1 << 7,
    kDoctypeStop = 1 << 8,
    kNameStop = 1 << 9,     // anything but a name character
    kBlankStop = 1 << 10,   // anything skip() stops at, and CR and LF
    kEntityStop = 1 << 11,  // the end of an entity name, or a reason to look closer
};

constexpr bool isForbiddenControl(int c)
{
    return c >= 0 && c < ' ' && c != '\t' && c != '\n' && c != '\r';
}

constexpr std::array<std::uint16_t, 256> makeClasses()
{
    std::array<std::uint16_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        std::uint16_t bits = 0;
        bool lineBreak = c == '\r' || c == '\n';
        bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (lineBreak || c == '&' || c == 0) {
            bits |= kTextStop | kDQuoteStop | kSQuoteStop;
        }
        // "]]>" may not appear in text; a tab in a value reads as a space.
        if (c == ']' || c == '>') {
            bits |= kTextStop;
        }
        if (c == '\t') {
            bits |= kDQuoteStop | kSQuoteStop;
        }
        if (c == '<') {
            bits |= kTextStop | kDoctypeStop | kDQuoteStop | kSQuoteStop;
        }
        if (c == '"') {
            bits |= kDQuoteStop | kDoctypeStop;
        }
        if (c == '\'') {
            bits |= kSQuoteStop | kDoctypeStop;
        }
        if (c == '-' || c == '?') {
            bits |= kDoctypeStop;
        }
        if (alpha || c == '_' || c == ':' || c >= 192) {
            bits |= kNameStart;
        }
        // Every byte of a multi-byte UTF-8 character may continue a name; its
        // trailing bytes lie in 0x80-0xBF.
        if (alpha || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == ':' || c == '.' || c >= 0x80) {
            bits |= kNameChar;
        }
        if (c > ' ' || lineBreak) {
            bits |= kBlankStop;
        }
        if (!(bits & kNameChar)) {
            bits |= kNameStop;
        }
        if (lineBreak) {
            bits |= kCommentStop | kCDataStop | kPIStop | kDoctypeStop;
        }
        if (c == '-') {
            bits |= kCommentStop;
        }
        if (c == ']' || c == 0) {
            bits |= kCDataStop;
        }
        if (c == '?') {
            bits |= kPIStop;
        }
        if (c == '>') {
            bits |= kDoctypeStop;
        }
        if (c == ';' || c == '&' || c == '<' || c <= ' ') {
            bits |= kEntityStop;
        }
        // Control characters XML forbids stop every run; read() refuses them.
        if (isForbiddenControl(c)) {
            bits = static_cast<std::uint16_t>(bits | kTextStop | kDQuoteStop | kSQuoteStop | kCommentStop |
                                              kCDataStop | kPIStop | kDoctypeStop | kBlankStop | kEntityStop);
        }
        t[c] = bits;
    }
    return t;
}

inline constexpr std::array<std::uint16_t, 256> kClass = makeClasses();

inline bool hasClass(int c, std::uint16_t mask)
{
    return c >= 0 && (kClass[c] & mask) != 0;
}

inline bool isName(const char* s, std::size_t length)
{
    if (length == 0 || !hasClass(static_cast<unsigned char>(s[0]), kNameStart)) {
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!hasClass(static_cast<unsigned char>(s[i]), kNameChar)) {
            return false;
        }
    }
    return true;
}

// The first byte from p on, before end, of one of the stop classes; end when none is.
inline const unsigned char* findStop(const unsigned char* p, const unsigned char* end, std::uint16_t stopMask)
{
    while (end - p >= 4) {
        if (kClass[p[0]] & stopMask) {
            return p;
        }
        if (kClass[p[1]] & stopMask) {
            return p + 1;
        }
        if (kClass[p[2]] & stopMask) {
            return p + 2;
        }
        if (kClass[p[3]] & stopMask) {
            return p + 3;
        }
        p += 4;
    }
    while (p < end && !(kClass[*p] & stopMask)) {
        ++p;
    }
    return p;
}

// The same for a value in the quotes given ('"' or '\''), whose stops are
// the quote, '&', '<' and every byte below a space: sixteen bytes are
// compared at a time where the processor allows it.
inline const unsigned char* findValueStop(const unsigned char* p, const unsigned char* end, unsigned char quote)
{
#if defined(__SSE2__)
    const __m128i quotes = _mm_set1_epi8(static_cast<char>(quote));
    const __m128i ampersands = _mm_set1_epi8('&');
    const __m128i lessThans = _mm_set1_epi8('<');
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i stops = _mm_or_si128(_mm_cmpeq_epi8(bytes, quotes), _mm_cmpeq_epi8(bytes, ampersands));
        stops = _mm_or_si128(stops, _mm_cmpeq_epi8(bytes, lessThans));
        stops = _mm_or_si128(stops, _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes));
        const int found = _mm_movemask_epi8(stops);
        if (found != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(found));
        }
        p += 16;
    }
#endif
    return findStop(p, end, quote == '"' ? kDQuoteStop : kSQuoteStop);
}

inline std::uint64_t load64(const char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// The first byte from p on, before end, that is no space; end when all are.
// Indentation comes in long runs of spaces: sixteen, or eight, are compared at a time.
inline const unsigned char* skipSpaces(const unsigned char* p, const unsigned char* end)
{
#if defined(__SSE2__)
    const __m128i spaces = _mm_set1_epi8(' ');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned others = ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, spaces))) & 0xFFFFu;
        if (others != 0) {
            return p + __builtin_ctz(others);
        }
        p += 16;
    }
#endif
    constexpr std::uint64_t kEightSpaces = 0x2020202020202020ull;
    while (end - p >= 8 && load64(reinterpret_cast<const char*>(p)) == kEightSpaces) {
        p += 8;
    }
    while (p < end && *p == ' ') {
        ++p;
    }
    return p;
}

inline std::uint64_t load32(const char* p)
{
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    return word;
}

// Equal bytes, for the short names of tags and attributes, without a library call.
inline bool sameBytes(const char* a, const char* b, std::size_t n)
{
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            if (load64(a + i) != load64(b + i)) {
                return false;
            }
        }
        return load64(a + n - 8) == load64(b + n - 8);
    }
    if (n >= 4) {
        return load32(a) == load32(b) && load32(a + n - 4) == load32(b + n - 4);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

inline bool hasPrefix(const std::string& s, const char* literal, std::size_t length)
{
    return s.size() >= length && std::memcmp(s.data(), literal, length) == 0;
}

// Replaces the contents of s, reusing its storage; cheaper than assign(),
// which must allow for the source lying inside s.
inline void setBytes(std::string& s, const char* bytes, std::size_t count)
{
    s.clear();
    s.append(bytes, count);
}

inline void setBytes(std::string& s, std::string_view bytes)
{
    setBytes(s, bytes.data(), bytes.size());
}

} // namespace XmlChars

#endif
