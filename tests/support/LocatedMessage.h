#pragma once

// Diagnostics that say where they point: "document:line:column: message". Matched by hand, as
// the standard library's regular expressions warn of their own state under the sanitizers.

#include <string>
#include <string_view>

namespace testsupport {

// The count of decimal digits text starts with.
inline std::size_t leadingDigits(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9')
        ++n;
    return n;
}

// Whether the line reads "<document>:<line>:<column>: <message>", the document and the message
// not empty; document, when given, is the one named. A line of 0 counts only when lineZero.
inline bool isLocatedLine(std::string_view line, std::string_view document = {}, bool lineZero = false)
{
    for (std::size_t colon = line.find(':', 1); colon != std::string_view::npos; colon = line.find(':', colon + 1)) {
        if (!document.empty() && line.substr(0, colon) != document)
            continue;
        std::string_view rest = line.substr(colon + 1);
        const std::size_t lineDigits = leadingDigits(rest);
        if (lineDigits == 0 || (!lineZero && rest[0] == '0') || rest.size() <= lineDigits || rest[lineDigits] != ':')
            continue;
        rest.remove_prefix(lineDigits + 1);
        const std::size_t columnDigits = leadingDigits(rest);
        if (columnDigits > 0 && rest.substr(columnDigits, 2) == ": " && rest.size() > columnDigits + 2)
            return true;
    }
    return false;
}

// The text's lines, without their line ends; a last line without one counts too.
template <class Visit>
void forEachLine(std::string_view text, Visit visit)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        visit(text.substr(0, end));
        if (end == std::string_view::npos)
            return;
        text.remove_prefix(end + 1);
    }
}

} // namespace testsupport
