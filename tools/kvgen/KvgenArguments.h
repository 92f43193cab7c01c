#ifndef KELVANE_TOOLS_KVGEN_KVGENARGUMENTS_H
#define KELVANE_TOOLS_KVGEN_KVGENARGUMENTS_H

#include "generator/model/ProjectRecord.h"
#include "net/FetchUri.h"

#include <string>

// kvgen's command line, read whole before anything is done.
struct KvgenArguments {
    enum Action { Generate, List, ShowHelp, ShowVersion };
    Action action = Generate;
    std::string schemas;
    std::string out = ".";
    bool windowsTarget = false;
    bool force = false;
    int timeout = kDefaultFetchTimeoutSeconds;
    int textLength = CProjectRecord().textLength;
    std::string name;
    std::string wsdl;
};

extern const char* const KvgenUsage;

// Reads argv into args. False with the argument at fault and the rule it
// broke in error ("--target mac: must be unix or windows").
bool readKvgenArguments(int argc, char** argv, KvgenArguments& args, std::string& error);

// Why a project name cannot be used, or empty when it can.
std::string projectNameProblem(const std::string& name);

#endif
