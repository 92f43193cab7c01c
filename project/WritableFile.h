#ifndef KELVANE_PROJECT_WRITABLEFILE_H
#define KELVANE_PROJECT_WRITABLEFILE_H

#include <string>

// Makes an existing file writable, clearing its read-only state when it has
// one. False when no such file exists or it cannot be made writable.
bool makeFileWritable(const std::string& path);

#endif
