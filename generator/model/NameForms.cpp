#include "generator/model/NameForms.h"

#include <cstdio>
#include <utility>

std::string upperName(std::string_view name)
{
    return upperName(std::string(name));
}

std::string upperName(std::string&& name)
{
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return std::move(name);
}

namespace {

// Bytes a C string literal cannot hold as they are.
struct CEscapedBytes {
    bool table[256] = {};
    constexpr CEscapedBytes()
    {
        for (int byte = 0; byte < 0x20; ++byte)
            table[byte] = true;
        table[0x7f] = table[static_cast<unsigned char>('\\')] = table[static_cast<unsigned char>('"')] = true;
    }
    bool operator[](char c) const { return table[static_cast<unsigned char>(c)]; }
};
constexpr CEscapedBytes Escaped;

} // namespace

// Runs of plain bytes go in whole.
void appendStringBody(std::string_view text, std::string& out)
{
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at != end) {
        const char* run = at;
        while (at != end && !Escaped[*at])
            ++at;
        out.append(run, static_cast<std::size_t>(at - run));
        if (at == end)
            break;
        if (*at == '\\' || *at == '"') {
            out += '\\';
            out += *at;
        } else {
            char octal[5];
            std::snprintf(octal, sizeof(octal), "\\%03o", static_cast<unsigned char>(*at));
            out += octal;
        }
        ++at;
    }
}

std::string cStringBody(std::string_view text)
{
    std::string body;
    body.reserve(text.size());
    appendStringBody(text, body);
    return body;
}

std::string cStringLiteral(std::string_view text)
{
    std::string literal;
    literal.reserve(text.size() + 2);
    literal += '"';
    appendStringBody(text, literal);
    literal += '"';
    return literal;
}

std::string xmlEscaped(std::string_view text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}
