// Moving a new file over a target that someone holds open: held for a moment, the move waits
// it out; held throughout, it fails with the system's error and leaves both files as they were.
#include "toolkit/syntaxedit/text/SyntaxEditFileReplacer.h"

#include "classlib/String.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Content(const CString& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path.GetString(), std::ios::binary).rdbuf();
    return bytes.str();
}

void Write(const CString& path, const char* text) { std::ofstream(path.GetString(), std::ios::binary) << text; }

BOOL Exists(const CString& path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Instead of sleeping, the holder lets go of the target before the retry it was told to.
class CReleasingReplacer : public CKLVSyntaxEditFileReplacer {
public:
    CReleasingReplacer(HANDLE& hHeld, int nReleaseBefore) : m_hHeld(hHeld), m_nReleaseBefore(nReleaseBefore) {}
    std::vector<int> m_arWaits;

protected:
    void WaitBeforeRetry(int nAttempt) override {
        m_arWaits.push_back(nAttempt);
        if (nAttempt == m_nReleaseBefore && m_hHeld != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_hHeld);
            m_hHeld = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE& m_hHeld;
    int m_nReleaseBefore;
};

struct ReplaceCase {
    const char* name;
    DWORD dwShare;        // how the target is held; ~0u: not held
    int nReleaseBefore;   // the retry before which the holder lets go; 0: never
    bool bTarget;         // the target exists
    bool bNew;            // the new file exists
    BOOL bMoved;
    int nWaits;
};

const DWORD kNotHeld = ~0u;
const DWORD kAllShares = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

TEST(SyntaxEditFileReplacer, WaitsOutAHolderForAFewAttemptsOnly) {
    const ReplaceCase cases[] = {
        {"not held", kNotHeld, 0, true, true, TRUE, 0},
        {"no target yet", kNotHeld, 0, false, true, TRUE, 0},
        {"a reader that denies writes, gone before the first retry", FILE_SHARE_READ, 1, true, true, TRUE, 1},
        {"a monitor that shares everything, gone before the third retry", kAllShares, 3, true, true, TRUE, 3},
        {"gone before the last attempt", 0, CKLVSyntaxEditFileReplacer::kAttempts - 1, true, true, TRUE,
         CKLVSyntaxEditFileReplacer::kAttempts - 1},
        {"held throughout", kAllShares, 0, true, true, FALSE, CKLVSyntaxEditFileReplacer::kAttempts - 1},
        {"no new file: nothing to wait for", kNotHeld, 0, true, false, FALSE, 0},
    };
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    const CString strTarget = CString(szTemp) + "kelvane-replace-target.txt";
    const CString strNew = CString(szTemp) + "kelvane-replace-target.new";
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileA(strTarget);
        ::DeleteFileA(strNew);
        if (c.bTarget) Write(strTarget, "old");
        if (c.bNew) Write(strNew, "new");
        HANDLE hHeld = c.dwShare == kNotHeld
                           ? INVALID_HANDLE_VALUE
                           : ::CreateFileA(strTarget, GENERIC_READ, c.dwShare, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_EQ(c.dwShare == kNotHeld, hHeld == INVALID_HANDLE_VALUE);

        CReleasingReplacer replacer(hHeld, c.nReleaseBefore);
        const BOOL bMoved = replacer.MoveOver(strNew, strTarget);
        const DWORD dwError = ::GetLastError();
        if (hHeld != INVALID_HANDLE_VALUE) ::CloseHandle(hHeld);

        EXPECT_EQ(c.bMoved, bMoved);
        EXPECT_EQ(static_cast<size_t>(c.nWaits), replacer.m_arWaits.size());
        for (size_t i = 0; i < replacer.m_arWaits.size(); ++i) EXPECT_EQ(static_cast<int>(i) + 1, replacer.m_arWaits[i]);
        if (bMoved) {
            EXPECT_EQ("new", Content(strTarget));
            EXPECT_FALSE(Exists(strNew));
        } else {
            EXPECT_NE(0u, dwError) << "the system's error is kept";
            EXPECT_EQ(c.bTarget ? "old" : "", Content(strTarget));
            EXPECT_EQ(c.bNew, static_cast<bool>(Exists(strNew))) << "the new file is the caller's to remove";
        }
    }
    ::DeleteFileA(strTarget);
    ::DeleteFileA(strNew);
}
