// The parameters of an HTTP Digest Authorization value, read back for a test's checks.
#pragma once

#include <map>
#include <string>

namespace testsupport {

// The value's parameters by name, quoted strings unquoted and unescaped.
inline std::map<std::string, std::string> digestParameters(const std::string& value)
{
    std::map<std::string, std::string> parameters;
    std::size_t at = value.find(' ');
    while (at != std::string::npos && at < value.size()) {
        const std::size_t equals = value.find('=', at);
        if (equals == std::string::npos)
            break;
        const std::size_t start = value.find_first_not_of(" ,", at);
        std::string& parameter = parameters[value.substr(start, equals - start)];
        at = equals + 1;
        const bool quoted = at < value.size() && value[at] == '"';
        for (at += quoted ? 1 : 0; at < value.size() && (quoted ? value[at] != '"' : value[at] != ','); ++at)
            parameter += value[at] == '\\' && quoted ? value[++at] : value[at];
        at += quoted ? 1 : 0;
    }
    return parameters;
}

}  // namespace testsupport
