// The place in a source file that a compiler's or the generator's message names: gcc's
// "file:line:col: ..." (and "file:line: ..."), Visual C++'s "file(line,col): ..." and
// "file(line): ...". What the Output pane's error keys and double-click go to.
#pragma once

#include <string>

struct CSourceLocation {
    std::string strFile;   // as the message writes it
    int nLine = 0;         // 1 and up
    int nColumn = 0;       // 1 and up; 0 when the message gives none
};

// FALSE for a line that names no place (a summary, a command line, "In function ...").
bool ParseSourceLocation(const std::string& strLine, CSourceLocation& location);

// The file as a Windows path: a relative one under strFolder (which ends in a backslash), a
// Unix one (Wine's compiler) on Wine's drive of the root, slashes made backslashes.
std::string ResolveSourcePath(const std::string& strFile, const std::string& strFolder);
