// kelvane.exe started as a user starts it, its main window captured from the screen with GDI
// (kept as kelvane-screenshot.bmp beside the test log) and its parts found where they belong.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

struct FoundWindows {
    DWORD dwProcessId = 0;
    HWND hFrame = nullptr;
};

BOOL CALLBACK FindFrame(HWND hWnd, LPARAM lParam) {
    auto* pFound = reinterpret_cast<FoundWindows*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    char szTitle[64] = "";
    ::GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    if (dwProcessId == pFound->dwProcessId && ::IsWindowVisible(hWnd) && std::string(szTitle).rfind("Kelvane", 0) == 0) {
        pFound->hFrame = hWnd;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    std::string text;
    std::string className;
    HWND hFound = nullptr;
};

BOOL CALLBACK FindChild(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<ChildSearch*>(lParam);
    char szText[64] = "";
    char szClass[64] = "";
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if ((pSearch->text.empty() || pSearch->text == szText) &&
        (pSearch->className.empty() || ::lstrcmpiA(pSearch->className.c_str(), szClass) == 0)) {
        pSearch->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDescendant(HWND hParent, const std::string& text, const std::string& className = std::string()) {
    ChildSearch search{text, className};
    ::EnumChildWindows(hParent, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

// The screen's pixels of a rectangle, top row first.
struct Capture {
    RECT rc{};
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>((y - rc.top) * (rc.right - rc.left) + (x - rc.left))]; }
};

Capture CaptureScreen(const RECT& rc) {
    Capture capture;
    capture.rc = rc;
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
    ::BitBlt(hMemory, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    const auto* pPixels = static_cast<const DWORD*>(pBits);
    for (int i = 0; i < cx * cy; ++i) {
        const DWORD bgra = pPixels[i];
        capture.pixels.push_back(RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF));
    }
    // Kept for the eye: a top-down 32-bit bitmap file.
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + cx * cy * 4), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream out("kelvane-screenshot.bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.write(static_cast<const char*>(pBits), static_cast<std::streamsize>(cx) * cy * 4);
    ::SelectObject(hMemory, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemory);
    ::ReleaseDC(nullptr, hScreen);
    return capture;
}

size_t ColoursIn(const Capture& capture, const RECT& rc) {
    std::set<COLORREF> colours;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) colours.insert(capture.At(x, y));
    return colours.size();
}

// The program's process, ended however the test ends: closed through its window when it has
// one, else stopped.
struct ProgramProcess {
    PROCESS_INFORMATION info{};
    HWND hFrame = nullptr;
    ~ProgramProcess() {
        if (!info.hProcess) return;
        if (hFrame) ::PostMessageA(hFrame, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) ::TerminateProcess(info.hProcess, 1);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
};

struct Part {
    const char* lpszName;
    HWND hWnd;
    RECT rc;
};

// The frame's parts, top to bottom; an empty list while one is missing.
std::vector<Part> FindParts(HWND hFrame) {
    HWND hOutput = FindDescendant(hFrame, std::string(), "Edit");
    std::vector<Part> parts = {{"menu bar", FindDescendant(hFrame, "Menu Bar"), {}},
                               {"tool bar", FindDescendant(hFrame, "Standard"), {}},
                               {"output pane", hOutput ? ::GetParent(hOutput) : nullptr, {}},
                               {"status bar", ::GetDlgItem(hFrame, 0xE801), {}}};
    for (Part& part : parts) {
        if (!part.hWnd) return {};
        ::GetWindowRect(part.hWnd, &part.rc);
    }
    return parts;
}

bool AllPainted(const Capture& capture, const std::vector<Part>& parts) {
    for (const Part& part : parts) {
        RECT rcInside;
        if (!::IntersectRect(&rcInside, &part.rc, &capture.rc) || ColoursIn(capture, rcInside) < 2) return false;
    }
    return !parts.empty();
}

TEST(Screenshot, TheProgramShowsMenuToolBarOutputPaneAndStatusBar) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    ProgramProcess process;
    std::string commandLine = "\"" KELVANE_EXE_PATH "\"";
    ASSERT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process.info));
    ::WaitForInputIdle(process.info.hProcess, 120000);
    FoundWindows found{process.info.dwProcessId};
    // The program lays out and paints in its own time: each round lets it run through what is
    // queued (a message sent to it returns once it takes messages again) and looks again, until
    // every part shows and two captures in a row are the same (the painting is done), bounded.
    std::vector<Part> parts;
    Capture capture;
    std::vector<COLORREF> previous;
    RECT rcFrame{};
    for (int nRound = 0; nRound < 300; ++nRound) {
        if (!found.hFrame) ::EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&found));
        if (found.hFrame) {
            if (nRound == 0 || !process.hFrame) {
                process.hFrame = found.hFrame;
                ::SetWindowPos(found.hFrame, HWND_TOP, 0, 0, 800, 600, SWP_SHOWWINDOW);
            }
            DWORD_PTR dwIgnored = 0;
            ::SendMessageTimeoutA(found.hFrame, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &dwIgnored);
            ::GetWindowRect(found.hFrame, &rcFrame);
            parts = FindParts(found.hFrame);
            capture = CaptureScreen(rcFrame);
            if (AllPainted(capture, parts) && capture.pixels == previous) break;
            previous = capture.pixels;
        }
        if (::WaitForSingleObject(process.info.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    ASSERT_NE(found.hFrame, nullptr) << "no main window";
    ASSERT_EQ(parts.size(), 4u) << "a part of the frame is missing";

    for (const Part& part : parts) {
        EXPECT_TRUE(::IsWindowVisible(part.hWnd)) << part.lpszName;
        EXPECT_GT(part.rc.right - part.rc.left, 0) << part.lpszName;
        EXPECT_GT(part.rc.bottom - part.rc.top, 0) << part.lpszName;
        RECT rcInside;
        EXPECT_TRUE(::IntersectRect(&rcInside, &part.rc, &rcFrame) && ::EqualRect(&rcInside, &part.rc)) << part.lpszName;
        EXPECT_GT(ColoursIn(capture, part.rc), 1u) << part.lpszName << " is of one colour";
    }
    // Top to bottom: menu bar, tool bar, output pane, status bar.
    for (size_t i = 1; i < parts.size(); ++i)
        EXPECT_GE(parts[i].rc.top, parts[i - 1].rc.bottom) << parts[i].lpszName << " below " << parts[i - 1].lpszName;
    // No tab and no project: the MDI client holds no child and the title names no solution.
    HWND hClient = FindDescendant(found.hFrame, std::string(), "MDIClient");
    ASSERT_NE(hClient, nullptr);
    EXPECT_EQ(::GetWindow(hClient, GW_CHILD), nullptr);
    char szTitle[64] = "";
    ::GetWindowTextA(found.hFrame, szTitle, sizeof(szTitle));
    EXPECT_STREQ(szTitle, "Kelvane");

    ::PostMessageA(found.hFrame, WM_CLOSE, 0, 0);
    process.hFrame = nullptr;
    EXPECT_EQ(::WaitForSingleObject(process.info.hProcess, 60000), WAIT_OBJECT_0);
    DWORD dwExitCode = 1;
    ::GetExitCodeProcess(process.info.hProcess, &dwExitCode);
    EXPECT_EQ(dwExitCode, 0u);
}

}  // namespace
