#include "project/ProjectLayout.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Copies the file or the tree from into to, replacing files of the same
// names, folder by folder and file by file (the library's copy of a whole
// tree refuses folders that exist on some systems). False with the failing
// path in failure.
bool copyTree(const fs::path& from, const fs::path& to, std::string& failure)
{
    std::error_code error;
    const auto copyFile = [&](const fs::path& source, const fs::path& target) {
        fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
        if (error)
            failure = "cannot copy " + source.generic_string() + " to " + target.generic_string() + ": " + error.message();
        return !error;
    };
    if (!fs::is_directory(from, error))
        return copyFile(from, to);
    for (fs::recursive_directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
        const fs::path target = to / it->path().lexically_relative(from);
        if (it->is_directory(error))
            fs::create_directories(target, error);
        else if (!copyFile(it->path(), target))
            return false;
    }
    if (error)
        failure = "cannot copy " + from.generic_string() + " to " + to.generic_string() + ": " + error.message();
    return !error;
}

bool makeFolder(const fs::path& folder, std::string& failure)
{
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error)
        return true;
    failure = "cannot create " + folder.generic_string() + ": " + error.message();
    return false;
}

// The support library's C sources, which stand beside its include folder.
bool copySources(const fs::path& from, const fs::path& to, std::string& failure)
{
    std::error_code error;
    int copied = 0;
    for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() != ".c")
            continue;
        if (!copyTree(it->path(), to / it->path().filename(), failure))
            return false;
        ++copied;
    }
    if (copied > 0)
        return true;
    failure = "the support library's sources (*.c) are missing in " + from.generic_string();
    return false;
}

}  // namespace

CProjectLayout copyProjectLibraries(const std::string& appFolder, const std::string& projectFolder,
                                    bool windowsTarget)
{
    CProjectLayout layout;
    const fs::path app(appFolder);
    const fs::path project(projectFolder);
    const fs::path library = project / "lib";
    const fs::path headers = app / "lib" / "include";
    if (!fs::is_directory(headers)) {
        layout.failure = "the support library's folder " + headers.generic_string() + " is missing";
        return layout;
    }
    if (!makeFolder(library / "include", layout.failure) || !copyTree(headers, library / "include", layout.failure)
        || !makeFolder(library / "src", layout.failure) || !copySources(app / "lib", library / "src", layout.failure))
        return layout;
    if (!makeFolder(library / "bin" / (windowsTarget ? "win32" : "redhat"), layout.failure))
        return layout;
    if (windowsTarget) {
        const fs::path xml2 = app / "libxml2";
        if (fs::is_directory(xml2 / "include") && fs::is_directory(xml2 / "lib")) {
            if (!makeFolder(project / "libxml2", layout.failure) || !copyTree(xml2, project / "libxml2", layout.failure))
                return layout;
        } else {
            layout.warning = "no libxml2 for Windows in " + xml2.generic_string()
                + ": put its headers into libxml2/include and libxml2.a into libxml2/lib of the project";
        }
    }
    layout.copied = true;
    return layout;
}
