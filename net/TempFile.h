#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

// A file of the current folder that receives one download. It is always a new
// file: a name that is taken is never opened, another one is drawn. Bytes go
// in unchanged (binary mode). Unless kept, the file is removed when the
// object goes, so that a failed download leaves nothing behind.
class TempFile {
public:
    using NameSource = std::function<std::string()>;

    static const char* const kSuffix;

    // Eight letters drawn with the C library's generator, then kSuffix.
    static std::string randomName();

    // Throws std::runtime_error when no new file can be created.
    explicit TempFile(const NameSource& nextName = randomName);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& name() const { return name_; }
    bool write(const char* data, std::size_t count);
    // Closes the file and keeps it; false when any byte did not reach it.
    bool keep();

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::unique_ptr<std::FILE, Closer> file_;
    std::string name_;
    bool failed_ = false;
    bool kept_ = false;
};
