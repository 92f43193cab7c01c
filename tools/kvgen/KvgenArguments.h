#ifndef KELVANE_TOOLS_KVGEN_KVGENARGUMENTS_H
#define KELVANE_TOOLS_KVGEN_KVGENARGUMENTS_H

#include "generator/model/ProjectRecord.h"
#include "net/FetchUri.h"

#include <string>
#include <vector>

// kvgen's command line, read whole before anything is done.
struct KvgenArguments {
    enum Action { Generate, List, ShowHelp, ShowVersion };
    enum Verbosity { Quiet, Normal, Verbose };
    Action action = Generate;
    Verbosity verbosity = Normal;
    std::string schemas;
    std::string out = ".";
    bool windowsTarget = false;
    int authType = CProjectRecord::AuthNone;
    bool force = false;
    int timeout = kDefaultFetchTimeoutSeconds;
    int textLength = CProjectRecord().textLength;
    std::vector<std::string> catalogs; // in the order given
    std::string name;
    std::string wsdl; // "-" for the standard input
};

extern const char* const KvgenUsage;

// Reads argv into args the way GNU getopt_long does: options anywhere,
// "--name=value" or "--name value", a long name shortened to any prefix that
// is not ambiguous, short flags grouped ("-qf"), "--" ending the options and
// "-" an argument of its own (the standard input). False with the argument
// at fault and the rule it broke in error ("--target mac: must be unix or
// windows").
bool readKvgenArguments(int argc, char** argv, KvgenArguments& args, std::string& error);

// Why a project name cannot be used, or empty when it can.
std::string projectNameProblem(const std::string& name);

#endif
