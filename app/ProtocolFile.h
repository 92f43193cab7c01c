// The protocols of a project, kept in "<location>\<name>.protocols" beside its solution file (whose
// own format holds none): one XML element per protocol, header field, packet and packet field,
// every value an attribute, escaped so that it reads back as it was held.
#pragma once

#include "app/ProtocolRecords.h"
#include "generator/model/ProjectRecord.h"

#include <memory>
#include <string>
#include <vector>

using CProtocolList = std::vector<std::unique_ptr<CProtocolRecord>>;

std::string ProtocolFilePath(const CProjectRecord& project);

// The file's whole text; false when a value holds a control byte no XML file can carry.
bool FormatProtocols(const CProtocolList& protocols, std::string& text);

// Creates or replaces the file; false when a value cannot be written or the file could not be.
bool SaveProtocols(const std::string& path, const CProtocolList& protocols);

// Reads the file into protocols, each located in folder: 0, or the code of what made it invalid
// (ConfigReader.h's codes; EINVAL also for a value too long for its record). protocols changes
// only on success.
int LoadProtocols(const std::string& path, const CString& strFolder, CProtocolList& protocols);
