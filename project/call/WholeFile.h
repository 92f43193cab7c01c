#ifndef KELVANE_PROJECT_CALL_WHOLEFILE_H
#define KELVANE_PROJECT_CALL_WHOLEFILE_H

#include <string>

// Writes bytes beside path and renames them into its place, so that a file
// half written never takes the place of a whole one; false with why.
bool replaceWholeFile(const std::string& path, const std::string& bytes, std::string& why);

#endif
