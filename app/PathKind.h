// What a path names on disk, asked of the file system each time.
#pragma once

#include <string>

// Whether the path names a file that is there (not a folder).
bool IsExistingFile(const std::string& strPath);
// Whether the path names a folder that is there.
bool IsExistingFolder(const std::string& strPath);
