#include "tools/kvgen/ProjectStaging.h"

#include "tools/kvgen/WrittenFiles.h"

#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// One file read a block at a time into a fingerprint; at its end (or when it
// could not be opened) reads give nothing.
class CHashedReader {
public:
    CHashedReader(const fs::path& path, CFileHash::Kind kind) : file_(path, std::ios::binary), hash_(kind) {}
    bool opened() const { return file_.is_open(); }
    bool failed() const { return file_.bad(); }
    std::uint64_t hash() const { return hash_.value(); }

    // The next block, hashed; empty at the end.
    const char* next(std::size_t& size)
    {
        size = 0;
        if (file_) {
            file_.read(block_.data(), static_cast<std::streamsize>(block_.size()));
            size = static_cast<std::size_t>(file_.gcount());
            hash_.add(block_.data(), size);
        }
        return block_.data();
    }

private:
    std::ifstream file_;
    CFileHash hash_;
    std::vector<char> block_ = std::vector<char>(1 << 16);
};

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

CProjectStaging::Compared CProjectStaging::compare(const fs::path& file, const CWrittenFiles& record) const
{
    Compared compared;
    compared.file = file;
    CWrittenFiles::Entry entry;
    compared.recorded = record.find(file.generic_string(), entry);
    CHashedReader written(staging_ / file, CFileHash::Words);
    CHashedReader present(project_ / file, entry.kind);
    std::error_code error;
    compared.replaces = fs::exists(project_ / file, error);
    // One that cannot be read is never taken for the written bytes.
    bool same = compared.replaces && present.opened();
    for (;;) {
        std::size_t writtenSize = 0, presentSize = 0;
        const char* writtenBytes = written.next(writtenSize);
        const char* presentBytes = present.next(presentSize);
        same = same && writtenSize == presentSize && std::memcmp(writtenBytes, presentBytes, writtenSize) == 0;
        if (writtenSize == 0 && presentSize == 0)
            break;
    }
    compared.hash = written.hash();
    compared.same = same && !written.failed() && !present.failed();
    compared.recordedAsIs =
        compared.recorded && present.opened() && !present.failed() && present.hash() == entry.hash;
    return compared;
}

const std::vector<CProjectStaging::Compared>& CProjectStaging::compared()
{
    if (!compared_) {
        CWrittenFiles record;
        record.load(project_);
        compared_.emplace();
        for (const fs::path& file : writtenFiles())
            compared_->push_back(compare(file, record));
    }
    return *compared_;
}

std::vector<std::string> CProjectStaging::keptFiles()
{
    std::vector<std::string> kept;
    for (const Compared& file : compared()) {
        if (!file.replaces || file.same || file.recordedAsIs)
            continue; // replacing it changes nothing, or nothing of the user's
        kept.push_back((project_ / file.file).generic_string()
                       + (file.recorded ? ": changed since kvgen wrote it" : ": not written by kvgen"));
    }
    return kept;
}

bool CProjectStaging::commit()
{
    CWrittenFiles record;
    record.load(project_);
    for (const Compared& file : compared()) {
        record.set(file.file.generic_string(), file.hash);
        if (file.same)
            continue; // left alone: its time stays, and make rebuilds nothing
        const fs::path target = project_ / file.file;
        std::error_code error;
        fs::create_directories(target.parent_path(), error);
        if (!error)
            fs::rename(staging_ / file.file, target, error);
        if (error) {
            failure_ = "cannot move " + file.file.generic_string() + " into " + project_.generic_string() + ": "
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
