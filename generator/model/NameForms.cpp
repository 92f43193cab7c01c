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

const char* cTypeOfBuiltin(int typeId)
{
    switch (typeId) {
    case 5:  // byte
    case 15: // boolean
        return "unsigned char";
    case 6: // positiveInteger
    case 7: // unsignedInt
        return "unsigned int";
    case 8:
        return "long";
    case 9:
        return "unsigned long";
    case 10:
        return "short int";
    case 11:
        return "unsigned short int";
    case 12: // decimal
    case 13: // float
        return "float";
    case 14:
        return "double";
    default: // integer, int
        return "int";
    }
}

const char* numberFormat(int typeId)
{
    switch (typeId) {
    case 5:  // byte
    case 15: // boolean
    case 6:
    case 7:
    case 11:
        return "%u";
    case 8:
        return "%ld";
    case 9:
        return "%lu";
    case 12:
    case 13:
        return "%.9g";
    case 14:
        return "%.17g";
    default:
        return "%d";
    }
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
