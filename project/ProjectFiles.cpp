#include "project/ProjectFiles.h"

#include "generator/model/Identifier.h"
#include "generator/model/NameForms.h"

#include <fstream>
#include <iterator>

#ifdef _WIN32
const char kPathSeparator = '\\';
#else
const char kPathSeparator = '/';
#endif

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 in any case: with any
// extension they open a device instead of a file.
bool isDeviceName(const std::string& name)
{
    const std::string upper = upperName(name);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL")
        return true;
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0)
           && upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

std::string joinProjectPath(const std::string& folder, const std::string& file)
{
    if (folder.empty() || isSeparator(folder.back()))
        return folder + file;
    return folder + kPathSeparator + file;
}

std::string folderOfPath(const std::string& path)
{
    const std::size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

bool isValidProjectName(const std::string& name)
{
    return isCIdentifier(name) && !isDeviceName(name);
}

bool writeDocumentFile(const std::string& path, const std::function<void(std::ostream&)>& write)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    write(file);
    file.close();
    return !file.fail();
}

bool writeDocumentFile(const std::string& path, const std::string& text)
{
    return writeDocumentFile(path, [&](std::ostream& file) {
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    });
}

bool readDocumentFile(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}
