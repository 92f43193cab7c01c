#include "net/FetchCatalogs.h"

#include "net/FetchUri.h"
#include "net/XmlCatalog.h"

std::vector<std::string> useStandardFetchCatalogs(const std::vector<std::string>& userFiles,
                                                  const std::string& schemaFolder)
{
    std::vector<std::string> warnings;
    setFetchCatalog(XmlCatalog::standard(userFiles, schemaFolder, warnings));
    return warnings;
}
