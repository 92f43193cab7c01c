#ifndef KELVANE_TOOLS_KVGEN_STAGEDFILESINK_H
#define KELVANE_TOOLS_KVGEN_STAGEDFILESINK_H

#include "tools/kvgen/HashedReader.h"
#include "tools/kvgen/WrittenFiles.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

// The text of one generated file on its way into the staging folder,
// fingerprinted as it comes and compared with the project's file that it
// would replace. While the project's file holds every byte so far, nothing
// is written: a run that regenerates what the project holds reads each file
// once and writes none. At the first block that differs, the staged file is
// made of the project's bytes up to there (checked against the fingerprint
// of what came) and the text from there on.
class CStagedFileSink : private std::streambuf {
public:
    enum Outcome {
        Written,        // the staged file holds the text
        Same,           // the project's file holds exactly the text; no staged file was made
        PresentChanged, // the project's file changed while it was compared: the text must come again, uncompared
        Failed,         // the staged file could not be written
    };

    // present is the project's file; an empty path, or one that names no
    // readable file, has the text written straight away.
    CStagedFileSink(std::filesystem::path staged, const std::filesystem::path& present);
    CStagedFileSink(const CStagedFileSink&) = delete;
    CStagedFileSink& operator=(const CStagedFileSink&) = delete;

    // Where the text goes.
    std::ostream& stream() { return stream_; }
    // Called once, after the whole text went into the stream.
    Outcome finish();
    // The text's fingerprint (CFileHash::Words).
    std::uint64_t hash() const { return hash_.value(); }
    // Why the staged file could not be written, as the system said it
    // ("No space left on device"); empty unless finish() said Failed.
    std::string failure() const;

private:
    std::streamsize xsputn(const char* text, std::streamsize size) override;
    int_type overflow(int_type c) override;

    bool presentHolds(const char* text, std::size_t size);
    void startWriting();
    void openStaged();
    void noteFailure();

    std::filesystem::path stagedPath_;
    std::filesystem::path presentPath_;
    std::optional<CHashedReader> present_; // while it holds every byte so far
    std::ofstream staged_;                 // once the text differs from the project's file
    CFileHash hash_{CFileHash::Words};
    std::uint64_t size_ = 0;
    bool presentChanged_ = false;
    int cause_ = 0; // errno where writing first failed
    std::ostream stream_;
};

#endif
