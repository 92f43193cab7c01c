#include "net/TempFile.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

const char* const TempFile::kSuffix = ".kw-tmp";

namespace {

const int kMaximumAttempts = 100;

// Opens name for writing only when no file of that name exists yet.
std::FILE* createExclusively(const std::string& name)
{
#ifdef _WIN32
    const int descriptor = _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    std::FILE* const file = descriptor < 0 ? nullptr : _fdopen(descriptor, "wb");
    if (descriptor >= 0 && file == nullptr)
        _close(descriptor);
#else
    const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    std::FILE* const file = descriptor < 0 ? nullptr : fdopen(descriptor, "wb");
    if (descriptor >= 0 && file == nullptr)
        close(descriptor);
#endif
    return file;
}

}  // namespace

std::string TempFile::randomName()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const bool seeded = (std::srand(static_cast<unsigned>(std::time(nullptr))), true);
    (void)seeded;
    std::string name;
    for (int i = 0; i < 8; ++i)
        name += kLetters[std::rand() % 52];
    return name + kSuffix;
}

TempFile::TempFile(const NameSource& nextName)
{
    for (int attempt = 0; attempt < kMaximumAttempts; ++attempt) {
        name_ = nextName();
        file_.reset(createExclusively(name_));
        if (file_)
            return;
        if (errno != EEXIST)
            break;
    }
    throw std::runtime_error("cannot create a temporary file");
}

TempFile::~TempFile()
{
    file_.reset();
    if (!kept_)
        std::remove(name_.c_str());
}

bool TempFile::write(const char* data, std::size_t count)
{
    if (!file_ || std::fwrite(data, 1, count, file_.get()) != count)
        failed_ = true;
    return !failed_;
}

bool TempFile::keep()
{
    if (!file_)
        return kept_;
    const bool closed = std::fclose(file_.release()) == 0;
    kept_ = closed && !failed_;
    return kept_;
}
