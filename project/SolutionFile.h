#ifndef KELVANE_PROJECT_SOLUTIONFILE_H
#define KELVANE_PROJECT_SOLUTIONFILE_H

#include "generator/model/ProjectRecord.h"

#include <string>

// The solution file "<location>\<name>.zbq": five lines, CR LF between them,
// none after the last, holding one project element with the record's name,
// numbers and WSDL path. The location is not stored: it is the folder the
// file is read from. Stored files rely on these exact bytes.

// Appends value as the text of a double-quoted attribute of a file read
// back by ConfigReader.h; false when it holds a control byte no XML file can
// carry (out then holds part of it).
bool appendAttributeValue(std::string& out, const std::string& value);

// The path the record's solution file is written to.
std::string solutionFilePath(const CProjectRecord& record);

// The file's whole text. Values are escaped so that they read back as they
// are held; false when a value holds a control byte no XML file can carry.
bool formatSolution(const CProjectRecord& record, std::string& text);

// Creates or replaces the record's solution file. 0, EINVAL for a record
// whose name is no valid project name or whose values cannot be written, or
// the C runtime's error number of the failed open or write.
int saveSolution(const CProjectRecord& record);

// Reads the solution file at path into record: a root "solution" with at
// least one "project" child carrying the five attributes, the last such
// child winning; the location becomes the file's folder. 0, or the code of
// what made the file invalid (see ConfigReader.h; EINVAL also for a name
// that is no valid project name). record is changed only on success.
int loadSolution(const std::string& path, CProjectRecord& record);

#endif
