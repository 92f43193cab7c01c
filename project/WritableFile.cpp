#include "project/WritableFile.h"

#include <Poco/Exception.h>
#include <Poco/File.h>

bool makeFileWritable(const std::string& path)
{
    if (path.empty())
        return false;
    try {
        Poco::File file(path);
        if (!file.exists() || !file.isFile())
            return false;
        if (!file.canWrite())
            file.setWriteable(true);
        return file.canWrite();
    } catch (const Poco::Exception&) {
        return false;
    }
}
