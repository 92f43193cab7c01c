#include "tools/kvgen/ProjectStaging.h"

#include "tools/kvgen/WrittenFiles.h"

#include <cstring>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// True when both files hold the same bytes; false when either cannot be read.
bool sameBytes(const fs::path& one, const fs::path& other)
{
    std::error_code error;
    const std::uintmax_t size = fs::file_size(one, error);
    if (error || fs::file_size(other, error) != size || error)
        return false;
    std::ifstream left(one, std::ios::binary);
    std::ifstream right(other, std::ios::binary);
    std::vector<char> leftPiece(65536);
    std::vector<char> rightPiece(leftPiece.size());
    const auto pieceSize = static_cast<std::streamsize>(leftPiece.size());
    while (left && right) {
        left.read(leftPiece.data(), pieceSize);
        right.read(rightPiece.data(), pieceSize);
        if (left.gcount() != right.gcount() ||
            std::memcmp(leftPiece.data(), rightPiece.data(), static_cast<std::size_t>(left.gcount())) != 0)
            return false;
    }
    return !left.bad() && !right.bad() && left.eof() && right.eof();
}

} // namespace

CProjectStaging::CProjectStaging(const fs::path& projectFolder) : project_(projectFolder)
{
    std::error_code error;
    if (!fs::exists(project_, error)) {
        madeProject_ = fs::create_directories(project_, error);
        if (error) {
            failure_ = "cannot create the folder " + project_.generic_string() + ": " + error.message();
            return;
        }
    }
    staging_ = project_ / (".kvgen-" + std::to_string(getpid()));
    fs::remove_all(staging_, error);
    if (!fs::create_directory(staging_, error) || error)
        failure_ = "cannot write into " + project_.generic_string() + ": " + error.message();
}

CProjectStaging::~CProjectStaging()
{
    std::error_code ignored;
    if (!staging_.empty())
        fs::remove_all(staging_, ignored);
    if (madeProject_ && fs::is_empty(project_, ignored))
        fs::remove(project_, ignored);
}

std::string CProjectStaging::folder() const
{
    return staging_.generic_string() + "/";
}

std::vector<fs::path> CProjectStaging::writtenFiles() const
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(staging_, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error))
            files.push_back(it->path().lexically_relative(staging_));
    }
    return files;
}

std::vector<std::string> CProjectStaging::keptFiles() const
{
    CWrittenFiles record;
    record.load(project_);
    std::vector<std::string> kept;
    for (const fs::path& file : writtenFiles()) {
        const fs::path target = project_ / file;
        std::error_code error;
        if (!fs::exists(target, error))
            continue;
        if (sameBytes(target, staging_ / file))
            continue; // replacing it changes nothing
        std::uint64_t now = 0;
        std::uint64_t written = 0;
        const bool readable = CWrittenFiles::hashFile(target, now);
        const bool recorded = record.find(file.generic_string(), written);
        if (readable && recorded && now == written)
            continue;
        kept.push_back(target.generic_string()
                       + (recorded ? ": changed since kvgen wrote it" : ": not written by kvgen"));
    }
    return kept;
}

bool CProjectStaging::commit()
{
    CWrittenFiles record;
    record.load(project_);
    for (const fs::path& file : writtenFiles()) {
        const fs::path target = project_ / file;
        std::error_code error;
        std::uint64_t hash = 0;
        if (CWrittenFiles::hashFile(staging_ / file, hash))
            record.set(file.generic_string(), hash);
        fs::create_directories(target.parent_path(), error);
        if (!error)
            fs::rename(staging_ / file, target, error);
        if (error) {
            failure_ = "cannot move " + file.generic_string() + " into " + project_.generic_string() + ": "
                + error.message();
            return false;
        }
    }
    if (!record.save(project_)) {
        failure_ = "cannot write " + (project_ / CWrittenFiles::FileName).generic_string();
        return false;
    }
    // Folders without files (where the library's build goes) are made too.
    std::error_code error;
    for (fs::recursive_directory_iterator it(staging_, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error))
            fs::create_directories(project_ / it->path().lexically_relative(staging_), error);
    }
    return true;
}
