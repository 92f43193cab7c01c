#pragma once

// A company key under HKEY_CURRENT_USER\Software that belongs to this process alone, for a test
// application's profile. Every test binary of a Wine prefix shares its registry, and two runs of
// one binary there at once (a single binary beside a full suite) would otherwise write and delete
// each other's settings between a test's write and its read. The key is deleted with its whole
// tree when the object goes, and once before, in case an earlier process of the same id left it.

#include <windows.h>

#include <string>

namespace testsupport {

class ScopedProfileKey {
public:
    explicit ScopedProfileKey(const std::string& base)
        : m_name(base + " " + std::to_string(::GetCurrentProcessId()))
    {
        Delete();
    }
    ~ScopedProfileKey() { Delete(); }

    ScopedProfileKey(const ScopedProfileKey&) = delete;
    ScopedProfileKey& operator=(const ScopedProfileKey&) = delete;

    // The name for CWinApp::SetRegistryKey.
    const char* Name() const { return m_name.c_str(); }
    // The path below HKEY_CURRENT_USER.
    std::string Path() const { return "Software\\" + m_name; }

private:
    void Delete() const { ::RegDeleteTreeA(HKEY_CURRENT_USER, Path().c_str()); }

    std::string m_name;
};

}  // namespace testsupport
