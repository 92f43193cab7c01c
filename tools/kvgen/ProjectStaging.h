#ifndef KELVANE_TOOLS_KVGEN_PROJECTSTAGING_H
#define KELVANE_TOOLS_KVGEN_PROJECTSTAGING_H

#include "tools/kvgen/WrittenFiles.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The files of one kvgen run: written into a temporary folder inside the
// project folder and moved into place only when all were written, so that
// a failed run leaves nothing behind (not even the project folder, nor the
// folders above it, when the run made them). Files changed since kvgen last
// wrote them are kept unless forced; the others are written all the same.
class CProjectStaging {
public:
    // Makes the project folder when missing and a fresh temporary folder in
    // it; failure() says why when that failed.
    explicit CProjectStaging(const std::filesystem::path& projectFolder);
    ~CProjectStaging();
    CProjectStaging(const CProjectStaging&) = delete;
    CProjectStaging& operator=(const CProjectStaging&) = delete;

    bool ready() const { return failure_.empty(); }
    const std::string& failure() const { return failure_; }
    // Where the run writes, ending in a separator.
    std::string folder() const;

    // Writes the file at path, a path in folder(), with what text puts into
    // the stream, as writeDocumentFile does; but the text is compared with
    // the project's file of that name as it comes, and a file the project
    // holds already is never written. Each file once; several files may be
    // written at the same time, from threads of their own. False when it
    // could not be written.
    bool write(const std::string& path, const std::function<void(std::ostream&)>& text);

    // The project's files that a move would replace although they were
    // changed since kvgen last wrote them (or kvgen never wrote them), each
    // with why: "Makefile: changed since kvgen wrote it".
    std::vector<std::string> keptFiles();
    // Moves every written file into the project folder (unless the folder
    // holds its bytes already) and records them; the files keptFiles names
    // stay as they are, and so do their records, unless ReplaceChanged.
    // False with failure() set when a file could not be moved.
    enum Changed { KeepChanged, ReplaceChanged };
    bool commit(Changed changed = KeepChanged);

    // The files of the run as the project folder holds them after commit,
    // sorted by path: the folder's path joined with the file's, and whether
    // the run put new bytes there (else the file held them already). Kept
    // files are not among them.
    struct CommittedFile {
        std::string path;
        bool written = false;
    };
    std::vector<CommittedFile> committedFiles();

    // The files write could not write, each with the system's cause:
    // "out/calc_api.c: No space left on device".
    std::vector<std::string> writeFailures() const;

private:
    // A written file beside the one it would replace, each read once.
    struct Compared {
        std::filesystem::path file; // relative to both folders
        std::uint64_t hash = 0;     // of the written bytes, CFileHash::Words
        bool replaces = false;      // the project holds a file of that name
        bool same = false;          // which holds the written bytes
        bool recorded = false;      // kvgen wrote a file of that name
        bool recordedAsIs = false;  // and it holds the bytes the record says (worked out when not same)
        bool kept = false;          // commit left the user's file in place

        // Replacing it would lose what the user put there.
        bool userChanged() const { return replaces && !same && !recordedAsIs; }
    };

    // What write found out about a file, so that it is not read back.
    struct Streamed {
        std::uint64_t hash = 0;
        bool same = false; // the project holds its bytes: nothing was staged
    };

    std::vector<std::filesystem::path> writtenFiles() const;
    std::vector<Compared>& compared();
    Compared compare(const std::filesystem::path& file, const CWrittenFiles& record) const;
    void compareWritten(Compared& compared) const;

    std::filesystem::path project_;
    std::filesystem::path staging_;
    std::filesystem::path madeFrom_; // the outermost folder the run made, empty when none
    std::string failure_;
    std::mutex streamedLock_; // writes of several threads record here
    std::map<std::string, Streamed> streamed_;
    std::vector<std::string> writeFailures_;
    std::optional<std::vector<Compared>> compared_;
};

#endif
