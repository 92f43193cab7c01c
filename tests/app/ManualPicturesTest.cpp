// The user guide's pictures of the real screens: the program walked from File New to Run Demo on
// the example service, each screen captured as the display shows it. Runs only when
// KELVANE_MANUAL_PICTURES names the folder the pictures go to (scripts/manual-pictures sets it
// and turns them into the guide's PNG files); a plain test run skips it.
#include "AppTestHost.h"

#include "app/CompilerSearch.h"
#include "app/QuorlinView.h"
#include "app/ServiceCallWindow.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace apptest;

namespace {

std::string PictureFolder() {
    const char* lpszFolder = std::getenv("KELVANE_MANUAL_PICTURES");
    if (!lpszFolder || !*lpszFolder) return std::string();
    std::string folder = lpszFolder;
    if (folder[0] == '/') folder = "Z:" + folder;   // a Unix path, as the script gives it
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

// The window as the screen shows it, into a 24-bit BMP file.
bool CaptureWindow(HWND hWnd, const std::string& strPath) {
    ::ShowWindow(hWnd, SW_SHOW);
    ::SetForegroundWindow(hWnd);
    classlib_test::PumpPending();
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    classlib_test::PumpPending();
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    const int nStride = (cx * 3 + 3) & ~3;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
    ::BitBlt(hMemory, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY);
    ::GdiFlush();
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(nStride * cy);
    std::ofstream out(strPath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.write(static_cast<const char*>(pBits), nStride * cy);
    ::SelectObject(hMemory, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemory);
    ::ReleaseDC(nullptr, hScreen);
    return static_cast<bool>(out);
}

class ManualPicturesTest : public AppTest {
protected:
    void Capture(HWND hWnd, const char* lpszName) {
        EXPECT_TRUE(CaptureWindow(hWnd, PictureFolder() + lpszName + ".bmp")) << lpszName;
    }
    bool BuildEnds() const {
        return PumpUntilDoneOrHung([&] { return !Frame().IsBuildRunning(); }, 600000);
    }
};

TEST_F(ManualPicturesTest, FromFileNewToRunDemo) {
    if (PictureFolder().empty()) GTEST_SKIP() << "KELVANE_MANUAL_PICTURES is not set";
    const std::string gcc = FindDefaultGcc();
    ASSERT_FALSE(gcc.empty()) << "no mingw-w64 gcc on this machine";
    Frame().m_nCompilerKind = CMainFrame::compilerMingwGcc;
    Frame().m_strGccPath = gcc.c_str();
    Frame().SetWindowPos(nullptr, 0, 0, 1000, 720, SWP_NOZORDER);
    Frame().SetForegroundWindow();
    const std::string location = Folder() + "calc\\";
    std::filesystem::create_directory(location);
    InNextDialog("New Project", [&](CWnd& dlg) {
        SetControlText(dlg, IDC_WSDL_FILE, (Frame().applicationFolder() + "example\\calculator.wsdl").c_str());
        SetControlText(dlg, IDC_NAME, "calc");
        SelectEntry(dlg, IDC_TARGET_PLATFORM, "Windows");
        SetControlText(dlg, IDC_LOCATION, location.c_str());
        Capture(dlg.GetSafeHwnd(), "new-project");
        Click(dlg, IDOK);
    });
    Command(ID_FILE_NEW_PROJECT);
    ASSERT_NE(Frame().GetProject(), nullptr);
    Command(ID_GENERATE_CODE);
    // The generated header in front, the Output pane below it.
    for (int i = 0; i < Frame().tabCount(); ++i) {
        if (Frame().tabCaption(i).rfind("calc_api.h", 0) == 0) Frame().MDIActivate(Frame().GetTabView(i)->GetParentFrame());
    }
    Capture(Frame().GetSafeHwnd(), "generated");
    Command(ID_COMPILE);
    ASSERT_TRUE(BuildEnds());
    Command(ID_COMPILE_DEMO);
    ASSERT_TRUE(BuildEnds());
    Command(ID_RUN_DEMO);
    ASSERT_TRUE(BuildEnds());
    EXPECT_NE(OutputText().find("exited with code 0"), std::string::npos) << OutputText();
    Capture(Frame().GetSafeHwnd(), "run-demo");
    // The call window after Add was sent to the demo serving as the mock service.
    Command(ID_CALL_SERVICE);
    CServiceCallWindow* pCall = Frame().GetServiceCallWindow();
    ASSERT_TRUE(pCall && pCall->GetSafeHwnd());
    pCall->StartOrStopMock();
    ASSERT_TRUE(PumpUntilDoneOrHung([&] { return pCall->Mock().ServingPort() != 0; }));
    const std::string endpoint = "http://127.0.0.1:" + std::to_string(pCall->Mock().ServingPort()) + "/calculator";
    pCall->SetDlgItemText(IDC_CALL_ENDPOINT, endpoint.c_str());
    pCall->Send();
    ASSERT_TRUE(PumpUntilDoneOrHung([&] { return !pCall->IsSending(); }));
    Capture(pCall->GetSafeHwnd(), "call-service");
    pCall->Close();
    Frame().ShowHelpPage("first-project.html");
    if (HWND hHelp = Frame().GetHelpWindow().GetSafeHwnd()) Capture(hHelp, "help-window");
}

}  // namespace
