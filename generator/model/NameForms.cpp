#include "generator/model/NameForms.h"

#include <cstdio>

std::string upperName(const std::string& name)
{
    std::string upper = name;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string cStringBody(const std::string& text)
{
    std::string body;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            body += '\\';
            body += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            char octal[5];
            std::snprintf(octal, sizeof(octal), "\\%03o", byte);
            body += octal;
        } else {
            body += c;
        }
    }
    return body;
}

std::string cStringLiteral(const std::string& text)
{
    return "\"" + cStringBody(text) + "\"";
}

std::string xmlEscaped(const std::string& text)
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
