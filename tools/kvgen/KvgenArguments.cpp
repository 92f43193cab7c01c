#include "tools/kvgen/KvgenArguments.h"

#include "generator/model/Identifier.h"
#include "project/ProjectFiles.h"

#include <algorithm>
#include <utility>

const char* const KvgenUsage =
    "usage: kvgen [OPTION]... NAME WSDL\n"
    "       kvgen --list [--timeout=S] [--schemas=DIR] [--catalog=FILE] WSDL\n"
    "       kvgen --version | --help\n"
    "\n"
    "Reads the WSDL 1.1 document WSDL (a file name, an http, https or ftp\n"
    "address, or - for the standard input) and writes the project NAME into DIR\n"
    "(default: the current folder): NAME_api.h, NAME_api.c, NAME_api_demo.c,\n"
    "Makefile, Make.rules, CMakeLists.txt, the solution file NAME.zbq and the\n"
    "support library under lib/ (libxml2/ too for Windows), so that make (or\n"
    "cmake) there builds the library and the demo. The files are written to a\n"
    "temporary folder first and moved into place only when all were written.\n"
    "A file changed since kvgen last wrote it is not replaced.\n"
    "Progress and the files written go to the output, errors and warnings to\n"
    "the error output.\n"
    "Exit status: 0 done, 1 the document or a file failed, 2 wrong arguments.\n"
    "\n"
    "NAME               project name: ASCII letters, digits and '_', not starting\n"
    "                   with a digit\n"
    "--target=T         unix (default) or windows: the platform the code is for\n"
    "--auth=A           none (default), basic or digest: the HTTP authentication\n"
    "                   the operations' calls answer (NAME_client_set_credentials\n"
    "                   sets the user and password)\n"
    "--out=DIR          the project folder, made when missing\n"
    "--timeout=S        the most seconds one download may take (default: 60;\n"
    "                   0: no limit)\n"
    "--catalog=FILE     an XML catalog that maps the addresses of documents to\n"
    "                   local copies; may be given again. Then the files that\n"
    "                   XML_CATALOG_FILES names (separated by blanks), then the\n"
    "                   catalog of the built-in schemas\n"
    "--force            replace files changed since kvgen last wrote them\n"
    "--text-length=N    text members become fixed arrays, of N bytes where the\n"
    "                   schema gives no length or maxLength; a longer text\n"
    "                   fails its message (default: each text is allocated\n"
    "                   with its length)\n"
    "--schemas=DIR      folder of the built-in schemas (default: soap-schemas of\n"
    "                   the program's run-time folders)\n"
    "--list             print the services, ports and operations of WSDL (with\n"
    "                   their SOAP action and style, and the tokens a port's\n"
    "                   WS-SecurityPolicy asks for) and write nothing\n"
    "-q, --quiet        print nothing but errors and warnings\n"
    "-v, --verbose      print also the files left as they were and where each\n"
    "                   catalog sent a document\n"
    "-h, --help         print this text\n"
    "--version          print kvgen's version\n"
    "Long options may be shortened to any prefix that names one of them; --\n"
    "ends the options.\n";

namespace {

// The longest project name whose files a file system still holds: the
// longest of them, NAME_api_demo.c, adds 11 bytes to it, and a file name
// may have 255.
const std::size_t LongestProjectName = 255 - 11;

enum class Option { Help, Version, List, Force, Quiet, Verbose, Schemas, Out, Timeout, TextLength, Target, Auth, Catalog };

struct OptionSpec {
    const char* name;  // the long name, without "--"
    char letter;       // the short name, or 0
    Option option;
    const char* value; // what its value must be, or null for a flag
};

const OptionSpec Options[] = {
    {"help", 'h', Option::Help, nullptr},
    {"version", 0, Option::Version, nullptr},
    {"list", 0, Option::List, nullptr},
    {"force", 0, Option::Force, nullptr},
    {"quiet", 'q', Option::Quiet, nullptr},
    {"verbose", 'v', Option::Verbose, nullptr},
    {"schemas", 0, Option::Schemas, "a folder"},
    {"out", 0, Option::Out, "a folder"},
    {"timeout", 0, Option::Timeout, "a number of seconds"},
    {"text-length", 0, Option::TextLength, "a number of bytes"},
    {"target", 0, Option::Target, "unix or windows"},
    {"auth", 0, Option::Auth, "none, basic or digest"},
    {"catalog", 0, Option::Catalog, "a file"},
};

// A whole number (of seconds, of bytes), 0 or more, of at most six digits.
bool readCount(const std::string& text, int& count)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    count = std::stoi(text);
    return true;
}

bool readAuthType(const std::string& text, int& authType)
{
    static const std::pair<const char*, int> Kinds[] = {
        {"none", CProjectRecord::AuthNone}, {"basic", CProjectRecord::AuthBasic}, {"digest", CProjectRecord::AuthDigest}};
    for (const auto& kind : Kinds) {
        if (text == kind.first) {
            authType = kind.second;
            return true;
        }
    }
    return false;
}

// The option a long name (without "--" and value) names: the one of that
// name, else the only one it is a prefix of.
const OptionSpec* findLong(const std::string& name, std::string& error)
{
    std::vector<const OptionSpec*> candidates;
    for (const OptionSpec& spec : Options) {
        if (name == spec.name)
            return &spec;
        if (!name.empty() && std::string(spec.name).compare(0, name.size(), name) == 0)
            candidates.push_back(&spec);
    }
    if (candidates.size() == 1)
        return candidates[0];
    if (candidates.empty()) {
        error = "--" + name + ": unknown option";
        return nullptr;
    }
    error = "--" + name + ": ambiguous option (could be";
    for (const OptionSpec* spec : candidates)
        error += std::string(" --") + spec->name;
    error += ")";
    return nullptr;
}

const OptionSpec* findShort(char letter)
{
    for (const OptionSpec& spec : Options) {
        if (spec.letter == letter)
            return &spec;
    }
    return nullptr;
}

// A flag sets its field; false only for a value out of its rule.
bool apply(const OptionSpec& spec, const std::string& value, KvgenArguments& args, std::string& error)
{
    const std::string written = std::string("--") + spec.name + " " + value;
    switch (spec.option) {
    case Option::Help: args.action = KvgenArguments::ShowHelp; break;
    case Option::Version: args.action = KvgenArguments::ShowVersion; break;
    case Option::List: args.action = KvgenArguments::List; break;
    case Option::Force: args.force = true; break;
    case Option::Quiet: args.verbosity = KvgenArguments::Quiet; break;
    case Option::Verbose: args.verbosity = KvgenArguments::Verbose; break;
    case Option::Schemas: args.schemas = value; break;
    case Option::Out: args.out = value; break;
    case Option::Catalog: args.catalogs.push_back(value); break;
    case Option::Timeout:
        if (!readCount(value, args.timeout)) {
            error = written + ": must be a whole number of seconds, 0 or more";
            return false;
        }
        break;
    case Option::TextLength:
        if (!readCount(value, args.textLength) || args.textLength == 0) {
            error = written + ": must be a whole number of bytes, 1 or more";
            return false;
        }
        break;
    case Option::Target:
        if (value != "unix" && value != "windows") {
            error = written + ": must be unix or windows";
            return false;
        }
        args.windowsTarget = value == "windows";
        break;
    case Option::Auth:
        if (!readAuthType(value, args.authType)) {
            error = written + ": must be none, basic or digest";
            return false;
        }
        break;
    }
    return true;
}

// The name as a message shows it: whole when short, else its start.
std::string shownName(const std::string& name)
{
    const std::size_t shown = 40;
    if (name.size() <= shown + 3)
        return name;
    std::size_t end = shown;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end; // never half a character
    return name.substr(0, end) + "...";
}

// The character that starts at bad, whole: all bytes of a UTF-8 sequence,
// or a byte that starts none as \xNN.
std::string characterAt(const std::string& text, std::size_t bad)
{
    const unsigned char lead = static_cast<unsigned char>(text[bad]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (bad + i >= text.size() || (static_cast<unsigned char>(text[bad + i]) & 0xC0) != 0x80)
            length = 0;
    }
    if (length > 0)
        return text.substr(bad, length);
    static const char digits[] = "0123456789ABCDEF";
    return std::string("\\x") + digits[lead >> 4] + digits[lead & 15];
}

bool readPositional(const std::vector<std::string>& positional, KvgenArguments& args, std::string& error)
{
    const std::size_t wanted = args.action == KvgenArguments::List ? 1 : 2;
    const char* what = args.action == KvgenArguments::List ? "--list needs one WSDL" : "NAME and WSDL are needed";
    if (positional.size() < wanted) {
        error = what;
        return false;
    }
    if (positional.size() > wanted) {
        error = positional[wanted] + ": one argument too many (" + what + ")";
        return false;
    }
    args.wsdl = positional.back();
    if (wanted == 1)
        return true;
    args.name = positional[0];
    const std::string problem = projectNameProblem(args.name);
    if (problem.empty())
        return true;
    error = "NAME '" + shownName(args.name) + "': " + problem;
    return false;
}

// One argument that starts with "--" and is not "--" itself; i moves past
// a value taken from the next argument.
bool readLong(int argc, char** argv, int& i, KvgenArguments& args, std::string& error)
{
    const std::string argument = argv[i];
    const std::size_t equals = argument.find('=');
    const OptionSpec* spec = findLong(argument.substr(2, equals == std::string::npos ? equals : equals - 2), error);
    if (spec == nullptr)
        return false;
    const std::string name = std::string("--") + spec->name;
    if (spec->value == nullptr) {
        if (equals != std::string::npos) {
            error = name + ": takes no value";
            return false;
        }
        return apply(*spec, std::string(), args, error);
    }
    std::string value;
    if (equals != std::string::npos)
        value = argument.substr(equals + 1);
    else if (i + 1 < argc)
        value = argv[++i];
    if (value.empty()) {
        error = name + ": needs " + spec->value;
        return false;
    }
    return apply(*spec, value, args, error);
}

// A group of short flags: "-q", "-qh".
bool readShort(const std::string& argument, KvgenArguments& args, std::string& error)
{
    for (std::size_t at = 1; at < argument.size(); ++at) {
        const OptionSpec* spec = findShort(argument[at]);
        if (spec == nullptr) {
            error = "-" + characterAt(argument, at) + ": unknown option";
            return false;
        }
        apply(*spec, std::string(), args, error);
    }
    return true;
}

}  // namespace

std::string projectNameProblem(const std::string& name)
{
    if (name.empty())
        return "must not be empty";
    if (name[0] >= '0' && name[0] <= '9')
        return "must start with a letter or '_'";
    const std::size_t bad = name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_");
    if (bad != std::string::npos && static_cast<unsigned char>(name[bad]) >= 0x80)
        return "may hold only ASCII letters, digits and '_', since it names C functions and types ('"
            + characterAt(name, bad) + "' is not one of them)";
    if (bad != std::string::npos)
        return "may hold only letters, digits and '_' ('" + name.substr(bad, 1) + "' is not one of them)";
    if (name.size() > LongestProjectName)
        return "is " + std::to_string(name.size()) + " characters long; file names hold 255 and NAME_api_demo.c adds 11, so "
            + std::to_string(LongestProjectName) + " at most";
    if (isCKeyword(name))
        return "is a C keyword";
    if (!isValidProjectName(name))
        return "is a device name on Windows";
    return std::string();
}

bool readKvgenArguments(int argc, char** argv, KvgenArguments& args, std::string& error)
{
    std::vector<std::string> positional;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!options || argument == "-" || argument.empty() || argument[0] != '-') {
            positional.push_back(argument);
        } else if (argument == "--") {
            options = false;
        } else if (!(argument[1] == '-' ? readLong(argc, argv, i, args, error) : readShort(argument, args, error))) {
            return false;
        }
        // Help and version are answered whatever else stands on the line.
        if (args.action == KvgenArguments::ShowHelp || args.action == KvgenArguments::ShowVersion)
            return true;
    }
    return readPositional(positional, args, error);
}
