#include "tools/kvgen/StagedFileSink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

CStagedFileSink::CStagedFileSink(fs::path staged, const fs::path& present)
    : stagedPath_(std::move(staged)), stream_(this)
{
    std::error_code error;
    if (!present.empty() && fs::is_regular_file(present, error)) {
        present_.emplace(present, std::nullopt);
        presentPath_ = present;
    }
    if (present_ && !present_->opened())
        present_.reset();
    if (!present_)
        openStaged();
}

std::streamsize CStagedFileSink::xsputn(const char* text, std::streamsize size)
{
    // A block at a time, so that the bytes before a differing block are
    // known to match and the fingerprint up to there is at hand.
    for (auto left = static_cast<std::size_t>(size); left > 0;) {
        const std::size_t block = std::min(left, CHashedReader::BlockSize);
        if (present_ && !presentHolds(text, block))
            startWriting();
        if (staged_.is_open()) {
            staged_.write(text, static_cast<std::streamsize>(block));
            noteFailure();
        }
        hash_.add(text, block);
        size_ += block;
        text += block;
        left -= block;
    }
    return size;
}

CStagedFileSink::int_type CStagedFileSink::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        const char one = traits_type::to_char_type(c);
        xsputn(&one, 1);
    }
    return traits_type::not_eof(c);
}

CStagedFileSink::Outcome CStagedFileSink::finish()
{
    if (present_) {
        // Every byte matched: the same file unless the project's is longer.
        std::size_t more = 0;
        present_->next(more, 1);
        if (more == 0 && !present_->failed()) {
            present_.reset();
            return Same;
        }
        startWriting();
    }
    if (presentChanged_)
        return PresentChanged;
    staged_.close();
    noteFailure();
    return staged_.fail() ? Failed : Written;
}

void CStagedFileSink::noteFailure()
{
    if (cause_ == 0 && staged_.fail())
        cause_ = errno != 0 ? errno : EIO;
}

std::string CStagedFileSink::failure() const
{
    return cause_ != 0 ? std::generic_category().message(cause_) : std::string();
}

bool CStagedFileSink::presentHolds(const char* text, std::size_t size)
{
    std::size_t read = 0;
    const char* bytes = present_->next(read, size);
    return read == size && std::memcmp(bytes, text, size) == 0 && !present_->failed();
}

// The bytes so far are the project's file's first ones: copied from it, and
// checked against what came, since a user may have saved it meanwhile.
void CStagedFileSink::startWriting()
{
    present_.reset();
    openStaged();
    CHashedReader prefix(presentPath_, CFileHash::Words);
    std::uint64_t copied = 0;
    while (copied < size_) {
        std::size_t read = 0;
        const char* bytes = prefix.next(read, static_cast<std::size_t>(std::min<std::uint64_t>(size_ - copied, CHashedReader::BlockSize)));
        if (read == 0)
            break;
        staged_.write(bytes, static_cast<std::streamsize>(read));
        copied += read;
    }
    if (copied != size_ || prefix.failed() || prefix.hash() != hash_.value()) {
        presentChanged_ = true;
        staged_.close();
    }
}

void CStagedFileSink::openStaged()
{
    errno = 0;
    staged_.open(stagedPath_, std::ios::binary | std::ios::trunc);
    noteFailure();
}
