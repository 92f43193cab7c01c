#pragma once

// Makes a new, empty folder the current one for the life of the object, then
// goes back and deletes it. Code that writes into the current folder is tested
// inside one, so that no test sees another's files or leaves any behind.

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testsupport {

class ScopedWorkingFolder {
public:
    ScopedWorkingFolder() : previous_(std::filesystem::current_path())
    {
        std::random_device seed;
        std::mt19937 random(seed());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path candidate = base / ("kelvane-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate))
                path_ = candidate;
        }
        if (path_.empty())
            throw std::runtime_error("no private test folder");
        std::filesystem::current_path(path_);
    }

    ~ScopedWorkingFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
    ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace testsupport
