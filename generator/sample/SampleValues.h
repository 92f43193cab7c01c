#ifndef KELVANE_GENERATOR_SAMPLE_SAMPLEVALUES_H
#define KELVANE_GENERATOR_SAMPLE_SAMPLEVALUES_H

#include "generator/model/ServiceView.h"

#include <string>
#include <string_view>

// The values a sample request carries, the same in the demo's C and in the
// envelope the "call the service" window starts from: an enumeration's first
// value; a value its facets bound (ranges, digits, lengths, simple
// patterns) a fixed one within; booleans true; dates, binary and URI texts
// and the integers held as text a fixed valid value; other numbers count up
// through the message's counter (floating ones n + 0.5); other texts their
// element's name and the counter's next number.
struct CSampleValue {
    enum Kind {
        Given,    // text is the value
        Counted,  // a number: the counter's next
        Numbered, // text is a name the counter's next number follows
    };
    Kind kind = Given;
    std::string text;
    bool floating = false; // Counted: the number and a half
};

// The sample of a value of type whose values finally have the built-in type
// builtin; number: the value is held as a number (not as text); name: what
// a numbered text starts with.
CSampleValue sampleValue(const CTypeRef& type, int builtin, bool number, std::string_view name);

// The text of a counted or numbered value once the counter gave n, at most
// most bytes (-1: any); a given value's text.
std::string sampleText(const CSampleValue& value, int n, int most = -1);

// How far the samples go: a type that holds itself is entered again only
// this deep; while fewer values than the budget are filled, optional
// elements stand and repeated ones stand twice.
constexpr int SampleRecursionDepth = 3;

#endif
