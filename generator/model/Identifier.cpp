#include "generator/model/Identifier.h"

#include "generator/model/PlatformMacros.h"
#include "generator/model/WordSet.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

// C99 and C11 keywords, and the words gcc takes as keywords in gnu99.
const char* const Keywords[] = {
    "_Alignas", "_Alignof", "_Atomic", "_Bool", "_Complex", "_Generic", "_Imaginary", "_Noreturn",
    "_Static_assert", "_Thread_local", "asm", "auto", "break", "case", "char", "const", "continue",
    "default", "do", "double", "else", "enum", "extern", "float", "for", "goto", "if", "inline", "int",
    "long", "register", "restrict", "return", "short", "signed", "sizeof", "static", "struct", "switch",
    "typedef", "typeof", "union", "unsigned", "void", "volatile", "while",
    // Macros of the C library and of the Windows headers the generated
    // code includes: a member of that name would be replaced.
    "errno", "EOF", "NULL", "BUFSIZ", "stdin", "stdout", "stderr", "assert", "small", "near", "far",
    "interface", "ERROR", "DELETE", "IN", "OUT", "OPTIONAL", "CONST", "VOID", "TRUE", "FALSE", "WINAPI",
    "CALLBACK", "PASCAL", "min", "max", "_declspec", "h_addr", "s_addr", "INVALID_SOCKET"};

// Every name of the service is mapped byte by byte, some of them several times.
struct CIdentifierBytes {
    bool table[256] = {};
    constexpr CIdentifierBytes()
    {
        for (int c = 'a'; c <= 'z'; ++c)
            table[c] = table[c - 'a' + 'A'] = true;
        for (int c = '0'; c <= '9'; ++c)
            table[c] = true;
        table[static_cast<unsigned char>('_')] = true;
    }
    bool operator[](char c) const { return table[static_cast<unsigned char>(c)]; }
};
constexpr CIdentifierBytes IdentifierByte;

bool startsWithDigit(std::string_view text)
{
    return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

} // namespace

bool isCKeyword(std::string_view word)
{
    // Every name of the service passes here, often several times.
    static const CWordSet keywords(std::begin(Keywords), std::end(Keywords));
    return keywords.contains(word) || isPlatformMacro(word);
}

bool isCIdentifier(std::string_view text)
{
    if (text.empty() || startsWithDigit(text) || isCKeyword(text))
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return IdentifierByte[c]; });
}

bool sanitisesTo(std::string_view name, std::string_view identifier)
{
    return isCIdentifier(name) ? name == identifier : sanitiseIdentifier(name) == identifier;
}

std::string sanitiseIdentifier(std::string_view name)
{
    if (name == "return")
        return "return_msg";
    std::string result(name);
    for (char& c : result) {
        if (!IdentifierByte[c])
            c = '_';
    }
    if (result.empty() || startsWithDigit(result))
        result.insert(result.begin(), '_');
    else if (isCKeyword(result))
        // "inline" must not become mingw's macro "_inline".
        result = isCKeyword("_" + result) || result[0] == '_' ? result + "_" : "_" + result;
    return result;
}

std::string CNameScope::claimVariant(const std::string& base)
{
    return firstFreeVariant(base, nextSuffix_, [this](const std::string& candidate) { return taken_.add(candidate); });
}

std::vector<std::string> CNameScope::assign(const std::vector<std::string>& names)
{
    return assign(std::vector<std::string_view>(names.begin(), names.end()));
}

std::vector<std::string> CNameScope::assign(const std::vector<std::string_view>& names)
{
    // Names that are identifiers already keep their spelling first (pass 1);
    // then mapped names whose form is still free (pass 2); the rest get
    // suffixes. Placed names leave their pass (0).
    std::vector<std::string> result(names.size());
    std::vector<std::size_t> hashes(names.size());
    std::vector<unsigned char> pass(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        result[i] = sanitiseIdentifier(names[i]);
        hashes[i] = CTextPool::hashOf(result[i]);
        pass[i] = result[i] == names[i] ? 1 : 2;
    }
    for (unsigned char current = 1; current <= 2; ++current) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::size_t next = i + LookAhead;
            if (next < names.size() && pass[next] == current)
                taken_.prefetch(hashes[next]);
            if (pass[i] == current && taken_.add(result[i], hashes[i]))
                pass[i] = 0;
        }
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (pass[i] != 0) {
            result[i] = claimVariant(result[i]);
        }
    }
    return result;
}

// assign() of a single name: its form when that is free, else the first
// free variant.
std::string CNameScope::claim(std::string_view name)
{
    std::string identifier = sanitiseIdentifier(name);
    if (!taken_.add(identifier)) {
        identifier = claimVariant(identifier);
    }
    return identifier;
}
