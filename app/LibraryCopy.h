// File New's copies of the run-time libraries into a new project, made by the program itself and
// checked file by file: the system's copy program, started and not waited for, left a project
// without its lib folder now and then.
#pragma once

#include <string>
#include <vector>

struct CLibraryCopy {
    std::string strFrom;   // a folder
    std::string strTo;     // the folder it becomes, or that its files go into
    bool bWhole = true;    // the folder with everything below it; else its files alone
};

// The support library, libxml2 and libxml2's programs' libraries beside the project's programs.
std::vector<CLibraryCopy> LibraryCopies(const std::string& strAppFolder, const std::string& strLocation);

// Makes the copy, folders made as needed and existing files overwritten, then reads back that
// every file is there with its size. Each failure is a line naming the file and the cause; a
// source folder that does not exist is no failure (a build without libxml2 has none to copy).
std::vector<std::string> MakeLibraryCopy(const CLibraryCopy& copy);
