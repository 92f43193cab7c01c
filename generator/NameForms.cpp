#include "generator/NameForms.h"

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
