#include "app/SourceLocation.h"

#include <regex>

namespace {

bool ToNumber(const std::string& strDigits, int& nValue) {
    if (strDigits.empty() || strDigits.size() > 9) return false;
    nValue = std::stoi(strDigits);
    return nValue > 0;
}

}  // namespace

bool ParseSourceLocation(const std::string& strLine, CSourceLocation& location) {
    // gcc: a file (a drive letter's colon allowed), then the line and maybe the column, ended by a
    // colon, or by a comma in "In file included from" and the "from" lines of the headers on the
    // way.
    static const std::regex s_gcc(R"(^\s*(?:In file included from |from )?((?:[A-Za-z]:)?[^:(\s][^:]*?):(\d+)(?::(\d+))?[:,](?:\s|$))");
    // Visual C++: file(line) or file(line,col), then a colon.
    static const std::regex s_cl(R"(^\s*((?:[A-Za-z]:)?[^:(\s][^:(]*?)\((\d+)(?:,(\d+))?\)\s*:)");
    std::smatch match;
    if (!std::regex_search(strLine, match, s_cl) && !std::regex_search(strLine, match, s_gcc)) return false;
    CSourceLocation found;
    found.strFile = match[1].str();
    if (!ToNumber(match[2].str(), found.nLine)) return false;
    if (match[3].matched && !ToNumber(match[3].str(), found.nColumn)) return false;
    location = found;
    return true;
}

std::string ResolveSourcePath(const std::string& strFile, const std::string& strFolder) {
    std::string strPath = strFile;
    for (char& c : strPath)
        if (c == '/') c = '\\';
    if (!strFile.empty() && strFile[0] == '/') return "Z:" + strPath;
    const bool bAbsolute = (strPath.size() > 2 && strPath[1] == ':') || strPath.compare(0, 2, "\\\\") == 0;
    if (bAbsolute) return strPath;
    if (strPath.compare(0, 2, ".\\") == 0) strPath.erase(0, 2);
    return strFolder + strPath;
}
