#include "project/call/WholeFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

bool readWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

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
