#include "tools/kvgen/ProjectStaging.h"

#include "project/ProjectFiles.h"
#include "tools/kvgen/HashedReader.h"
#include "tools/kvgen/StagedFileSink.h"
#include "tools/kvgen/WrittenFiles.h"

#include <algorithm>
#include <cstring>
#include <optional>
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

// Both are files of one size: only then can they hold the same bytes.
bool sameSize(const fs::path& one, const fs::path& other)
{
    std::error_code error;
    const std::uintmax_t size = fs::file_size(one, error);
    return !error && fs::file_size(other, error) == size && !error;
}

// The path without "." and ".." steps and without a separator at its end.
fs::path folderPath(const fs::path& folder)
{
    const fs::path normal = folder.lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

// The outermost of the folders that making folder makes: empty when it
// stands already.
fs::path outermostMissing(const fs::path& folder)
{
    fs::path missing;
    std::error_code error;
    for (fs::path at = folderPath(folder); !at.empty() && !fs::exists(at, error); at = at.parent_path()) {
        if (error || at == at.parent_path())
            break;
        missing = at;
    }
    return missing;
}

// The folder as a message names it: "calc.h" for "./calc.h".
std::string shown(const fs::path& path)
{
    const fs::path normal = path.lexically_normal();
    return (normal.empty() ? fs::path(".") : normal).generic_string();
}

} // namespace

CProjectStaging::CProjectStaging(const fs::path& projectFolder) : project_(projectFolder)
{
    std::error_code error;
    if (!fs::exists(project_, error)) {
        const fs::path missing = outermostMissing(project_);
        fs::create_directories(project_, error);
        if (error) {
            failure_ = "cannot create the folder " + project_.generic_string() + ": " + error.message();
            // What was made before the failure goes again.
            if (!missing.empty())
                fs::remove_all(missing, error);
            return;
        }
        madeFrom_ = missing;
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
    // Empty folders the run made, from the project's up to the outermost.
    if (madeFrom_.empty())
        return;
    for (fs::path at = folderPath(project_); fs::is_empty(at, ignored) && fs::remove(at, ignored);
         at = at.parent_path()) {
        if (at == madeFrom_)
            break;
    }
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

bool CProjectStaging::write(const std::string& path, const std::function<void(std::ostream&)>& text)
{
    const fs::path file = fs::path(path).lexically_relative(staging_);
    if (file.empty() || *file.begin() == "..")
        return writeDocumentFile(path, text);
    // A second round only when the project's file changed while compared.
    for (const fs::path& present : {project_ / file, fs::path()}) {
        CStagedFileSink sink(staging_ / file, present);
        text(sink.stream());
        const CStagedFileSink::Outcome outcome = sink.finish();
        if (outcome == CStagedFileSink::PresentChanged)
            continue;
        if (outcome == CStagedFileSink::Failed) {
            const std::lock_guard<std::mutex> recording(streamedLock_);
            writeFailures_.push_back(shown(project_ / file) + ": " + sink.failure());
            return false;
        }
        const std::lock_guard<std::mutex> recording(streamedLock_);
        streamed_[file.generic_string()] = Streamed{sink.hash(), outcome == CStagedFileSink::Same};
        return true;
    }
    return false;
}

CProjectStaging::Compared CProjectStaging::compare(const fs::path& file, const CWrittenFiles& record) const
{
    Compared compared;
    compared.file = file;
    CWrittenFiles::Entry entry;
    compared.recorded = record.find(file.generic_string(), entry);
    const fs::path present = project_ / file;
    std::error_code error;
    compared.replaces = fs::exists(present, error);
    const auto streamed = streamed_.find(file.generic_string());
    if (streamed != streamed_.end()) {
        compared.hash = streamed->second.hash;
        compared.same = streamed->second.same;
    } else {
        compareWritten(compared);
    }
    // Whether the project's file is as kvgen wrote it matters only when it
    // is to be replaced by other bytes.
    if (!compared.same && compared.recorded && compared.replaces) {
        CHashedReader recorded(present, entry.kind);
        recorded.drain();
        compared.recordedAsIs = recorded.opened() && !recorded.failed() && recorded.hash() == entry.hash;
    }
    return compared;
}

// A file written whole into the staging folder, read back beside the
// project's file of its name.
void CProjectStaging::compareWritten(Compared& compared) const
{
    const fs::path present = project_ / compared.file;
    CHashedReader written(staging_ / compared.file, CFileHash::Words);
    // The project's file is read beside the written one only while it may
    // still hold the same bytes; one that cannot be read never does.
    std::optional<CHashedReader> same;
    if (compared.replaces && sameSize(staging_ / compared.file, present)) {
        same.emplace(present, std::nullopt);
        if (!same->opened())
            same.reset();
    }
    for (;;) {
        std::size_t writtenSize = 0;
        const char* writtenBytes = written.next(writtenSize);
        if (same) {
            std::size_t presentSize = 0;
            const char* presentBytes = same->next(presentSize);
            if (writtenSize != presentSize || std::memcmp(writtenBytes, presentBytes, writtenSize) != 0 ||
                same->failed())
                same.reset();
        }
        if (writtenSize == 0)
            break;
    }
    compared.hash = written.hash();
    compared.same = same.has_value() && !written.failed();
}

std::vector<CProjectStaging::Compared>& CProjectStaging::compared()
{
    if (!compared_) {
        CWrittenFiles record;
        record.load(project_);
        compared_.emplace();
        for (const fs::path& file : writtenFiles())
            compared_->push_back(compare(file, record));
        // Streamed files that the project holds already were never staged.
        for (const auto& streamed : streamed_) {
            if (streamed.second.same)
                compared_->push_back(compare(streamed.first, record));
        }
    }
    return *compared_;
}

std::vector<std::string> CProjectStaging::keptFiles()
{
    std::vector<std::string> kept;
    for (const Compared& file : compared()) {
        if (!file.userChanged())
            continue; // replacing it changes nothing, or nothing of the user's
        kept.push_back((project_ / file.file).generic_string()
                       + (file.recorded ? ": changed since kvgen wrote it" : ": not written by kvgen"));
    }
    return kept;
}

std::vector<CProjectStaging::CommittedFile> CProjectStaging::committedFiles()
{
    std::vector<CommittedFile> files;
    for (const Compared& file : compared()) {
        if (!file.kept)
            files.push_back(CommittedFile{shown(project_ / file.file), !file.same});
    }
    std::sort(files.begin(), files.end(),
              [](const CommittedFile& one, const CommittedFile& other) { return one.path < other.path; });
    return files;
}

std::vector<std::string> CProjectStaging::writeFailures() const
{
    return writeFailures_;
}

bool CProjectStaging::commit(Changed changed)
{
    CWrittenFiles record;
    record.load(project_);
    for (Compared& file : compared()) {
        file.kept = changed == KeepChanged && file.userChanged();
        if (file.kept)
            continue; // the user's, and its record as it was: still changed next time
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
