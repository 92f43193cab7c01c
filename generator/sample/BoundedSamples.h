#ifndef KELVANE_GENERATOR_SAMPLE_BOUNDEDSAMPLES_H
#define KELVANE_GENERATOR_SAMPLE_BOUNDEDSAMPLES_H

#include "generator/model/ValueFacets.h"

#include <string>
#include <string_view>

// A value the facets admit, for the demo to send: a number within the
// range and digits (integers by their type's definition too), the simplest
// text a pattern matches, a text of the length asked (made of name). Empty
// when the facets bound nothing the demo's usual sample could miss, or
// when no obvious value fits them.
std::string boundedSample(const CValueFacets& facets, std::string_view name);

// Whether a number's text lies within the facets' range and digits.
bool numberFits(const CValueFacets& facets, const std::string& number);

// The shortest text the pattern (XML Schema's regular expressions)
// matches, taking the first of alternatives and classes; empty when the
// pattern uses what this does not follow (negated classes, categories).
std::string patternSample(const std::string& pattern, bool& made);

#endif
