#pragma once

#include <string>
#include <vector>

// Sets the catalogs every later fetch consults, in the order kvgen and the
// program share: the user's files, then those of XML_CATALOG_FILES, then the
// catalog.xml of the built-in schemas' folder (ending in a separator). A
// user's file that cannot be read throws XmlCatalog::LoadError and leaves the
// catalogs in use as they were; the lines about the others, left out, are
// returned for the caller to show as warnings.
std::vector<std::string> useStandardFetchCatalogs(const std::vector<std::string>& userFiles,
                                                  const std::string& schemaFolder);
