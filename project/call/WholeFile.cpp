#include "project/call/WholeFile.h"

#include <filesystem>
#include <fstream>
#include <system_error>

bool replaceWholeFile(const std::string& path, const std::string& bytes, std::string& why)
{
    const std::string partial = path + ".partial";
    std::error_code error;
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
            why = partial + ": could not be written";
            out.close();
            std::filesystem::remove(partial, error);
            return false;
        }
    }
    std::filesystem::rename(partial, path, error);
    if (error) {
        why = path + ": " + error.message();
        std::filesystem::remove(partial, error);
        return false;
    }
    return true;
}
