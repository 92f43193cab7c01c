#include "tools/kvgen/KvgenArguments.h"

#include "generator/model/Identifier.h"
#include "project/ProjectFiles.h"

#include <vector>

const char* const KvgenUsage =
    "usage: kvgen [--target unix|windows] [--out DIR] [--timeout S] [--force] [--schemas DIR]\n"
    "             [--text-length N] NAME WSDL\n"
    "       kvgen --list [--timeout S] [--schemas DIR] WSDL\n"
    "       kvgen --version | --help\n"
    "\n"
    "Reads the WSDL 1.1 document WSDL (a file name or an http, https or ftp\n"
    "address) and writes the project NAME into DIR (default: the current folder):\n"
    "NAME_api.h, NAME_api.c, NAME_api_demo.c, Makefile, Make.rules, the solution\n"
    "file NAME.zbq and the support library under lib/ (libxml2/ too for Windows),\n"
    "so that make there builds the library and the demo. The files are written\n"
    "to a temporary folder first and moved into place only when all were\n"
    "written. A file changed since kvgen last wrote it is not replaced.\n"
    "Progress goes to the output, errors and warnings to the error output.\n"
    "Exit status: 0 done, 1 the document or a file failed, 2 wrong arguments.\n"
    "\n"
    "NAME           project name: letters, digits and '_', not starting with a digit\n"
    "--target T     unix (default) or windows: the platform the code is for\n"
    "--out DIR      the project folder, made when missing\n"
    "--timeout S    the most seconds one download may take (default: 60; 0: no limit)\n"
    "--force        replace files changed since kvgen last wrote them\n"
    "--text-length N  the bytes a text member holds where the schema gives it no\n"
    "               length or maxLength (default: 128)\n"
    "--schemas DIR  folder of the built-in schemas (default: soap-schemas of the\n"
    "               program's run-time folders)\n"
    "--list         print the services, ports and operations of WSDL (with their\n"
    "               SOAP action and style) and write nothing\n";

namespace {

// A whole number (of seconds, of bytes), 0 or more, of at most six digits.
bool readSeconds(const std::string& text, int& seconds)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    seconds = std::stoi(text);
    return true;
}

// The value an option needs: what it must be, for the message when it is missing.
const char* valueNeeded(const std::string& option)
{
    if (option == "--schemas" || option == "--out")
        return "a folder";
    if (option == "--timeout")
        return "a number of seconds";
    if (option == "--text-length")
        return "a number of bytes";
    if (option == "--target")
        return "unix or windows";
    return nullptr;
}

bool readOption(const std::string& option, const std::string& value, KvgenArguments& args, std::string& error)
{
    if (option == "--schemas") {
        args.schemas = value;
    } else if (option == "--out") {
        args.out = value;
    } else if (option == "--timeout") {
        if (!readSeconds(value, args.timeout)) {
            error = "--timeout " + value + ": must be a whole number of seconds, 0 or more";
            return false;
        }
    } else if (option == "--text-length") {
        if (!readSeconds(value, args.textLength) || args.textLength == 0) {
            error = "--text-length " + value + ": must be a whole number of bytes, 1 or more";
            return false;
        }
    } else if (value == "unix" || value == "windows") {
        args.windowsTarget = value == "windows";
    } else {
        error = "--target " + value + ": must be unix or windows";
        return false;
    }
    return true;
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
    error = "NAME '" + args.name + "': " + problem;
    return false;
}

}  // namespace

std::string projectNameProblem(const std::string& name)
{
    if (name.empty())
        return "must not be empty";
    if (name[0] >= '0' && name[0] <= '9')
        return "must start with a letter or '_'";
    const std::size_t bad = name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_");
    if (bad != std::string::npos)
        return "may hold only letters, digits and '_' ('" + name.substr(bad, 1) + "' is not one of them)";
    if (isCKeyword(name))
        return "is a C keyword";
    if (!isValidProjectName(name))
        return "is a device name on Windows";
    return std::string();
}

bool readKvgenArguments(int argc, char** argv, KvgenArguments& args, std::string& error)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            args.action = KvgenArguments::ShowHelp;
            return true;
        }
        if (argument == "--version") {
            args.action = KvgenArguments::ShowVersion;
            return true;
        }
        if (argument == "--list") {
            args.action = KvgenArguments::List;
        } else if (argument == "--force") {
            args.force = true;
        } else if (const char* value = valueNeeded(argument)) {
            if (i + 1 >= argc) {
                error = argument + ": needs " + value;
                return false;
            }
            if (!readOption(argument, argv[++i], args, error))
                return false;
        } else if (argument.size() > 1 && argument[0] == '-') {
            error = argument + ": unknown option";
            return false;
        } else {
            positional.push_back(argument);
        }
    }
    return readPositional(positional, args, error);
}
