// A compiler's error in the Output pane leads to its line: the message forms of gcc and Visual
// C++ read, a double-click and the error keys going to the place in the file's tab, the pane
// tall enough to read a build and keeping all of its log.
#include "AppTestHost.h"

#include "app/QuorlinView.h"
#include "app/SourceLocation.h"
#include "support/TestFiles.h"

#include <filesystem>

using namespace apptest;

namespace {

TEST(SourceLocation, ReadsTheFormsOfGccAndVisualCpp) {
    struct Case {
        const char* lpszLine;
        bool bPlace;
        const char* lpszFile;
        int nLine, nColumn;
    };
    const Case cases[] = {
        {"calc_api.c:100:19: error: expected ';' before '}' token", true, "calc_api.c", 100, 19},
        {"calc_api.c:7: warning: no column", true, "calc_api.c", 7, 0},
        {"C:\\proj\\calc_api.c:12:3: note: here", true, "C:\\proj\\calc_api.c", 12, 3},
        {"/usr/share/mingw-w64/include/stdio.h:40:5: note: declared", true, "/usr/share/mingw-w64/include/stdio.h", 40, 5},
        {"In file included from calc_api.c:3:", true, "calc_api.c", 3, 0},
        {"                 from calc_api.h:4,", true, "calc_api.h", 4, 0},
        {"C:\\Program Files\\x\\a b.c:2:1: error", true, "C:\\Program Files\\x\\a b.c", 2, 1},
        {"calc_api.c(100,19): error C2143: syntax error: missing ';'", true, "calc_api.c", 100, 19},
        {"calc_api.c(150): warning C4244: conversion", true, "calc_api.c", 150, 0},
        {"C:\\proj\\calc_api.c(9) : error C2065: undeclared", true, "C:\\proj\\calc_api.c", 9, 0},
        // A message about a call with parentheses is gcc's form all the same.
        {"x.c:10:5: error: too few arguments to f(int): see", true, "x.c", 10, 5},
        // Lines that name no place.
        {"calc_api.c: In function 'main':", false, "", 0, 0},
        {"collect2: error: ld returned 1 exit status", false, "", 0, 0},
        {"demo: 2 of 2 calls got their answer", false, "", 0, 0},
        {"12:30:45 build started", false, "", 0, 0},
        {"> x86_64-w64-mingw32-gcc -I Z:\\lib -o calc.dll calc_api.c", false, "", 0, 0},
        {"calc_api.c:0:3: error", false, "", 0, 0},
        {"calc_api.c:99999999999:1: error", false, "", 0, 0},
        {"", false, "", 0, 0},
        {"Successfully Compiled", false, "", 0, 0},
    };
    for (const Case& c : cases) {
        CSourceLocation location;
        location.nLine = -5;
        ASSERT_EQ(ParseSourceLocation(c.lpszLine, location), c.bPlace) << c.lpszLine;
        if (!c.bPlace) {
            EXPECT_EQ(location.nLine, -5) << c.lpszLine;   // left as it was
            continue;
        }
        EXPECT_EQ(location.strFile, c.lpszFile) << c.lpszLine;
        EXPECT_EQ(location.nLine, c.nLine) << c.lpszLine;
        EXPECT_EQ(location.nColumn, c.nColumn) << c.lpszLine;
    }
}

TEST(SourceLocation, AFileIsFoundFromTheProjectFolder) {
    struct Case {
        const char* lpszFile;
        const char* lpszPath;
    };
    const Case cases[] = {
        {"calc_api.c", "C:\\p\\calc_api.c"},
        {"./calc_api.c", "C:\\p\\calc_api.c"},
        {"lib/include/tessaro.h", "C:\\p\\lib\\include\\tessaro.h"},
        {"D:\\other\\x.c", "D:\\other\\x.c"},
        {"d:/other/x.c", "d:\\other\\x.c"},
        {"/usr/include/stdio.h", "Z:\\usr\\include\\stdio.h"},
        {"\\\\server\\share\\x.c", "\\\\server\\share\\x.c"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveSourcePath(c.lpszFile, "C:\\p\\"), c.lpszPath) << c.lpszFile;
}

class ErrorJumpTest : public AppTest {
protected:
    ErrorJumpTest() {
        UseProject(CProjectRecord::Windows);
        std::string source;
        for (int i = 1; i <= 200; ++i) source += "int line" + std::to_string(i) + " = " + std::to_string(i) + ";\r\n";
        testsupport::writeBytes(Folder() + "calc_api.c", source);
        testsupport::writeBytes(Folder() + "calc_api.h", source);
        EXPECT_TRUE(Frame().openDocument(Folder() + "calc_api.h"));
        Frame().GetPaneWindow(IDP_OUTPUT);
    }
    // The tab in front, and its cursor's row and column.
    std::string Place() const {
        CMDIChildWnd* pChild = Frame().MDIGetActive();
        auto* pView = pChild ? dynamic_cast<CquorlinView*>(pChild->GetActiveView()) : nullptr;
        if (!pView) return "none";
        CKLVSyntaxEditCtrl* pEdit = pView->GetEditCtrl();
        return pView->GetDocument()->GetTitle().GetString() + std::string(":") + std::to_string(pEdit->GetCurRow()) +
               ":" + std::to_string(pEdit->GetCurCol());
    }
    std::string SelectedOutputLine() const {
        return Frame().m_wndOutput.GetLineText(Frame().m_wndOutput.GetCaretLine());
    }
    void DoubleClickOutputLine(int nLine) {
        COutputEdit& output = Frame().m_wndOutput;
        const LRESULT nPos = output.SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(output.LineIndex(nLine) + 2));
        output.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, nPos);
        output.SendMessage(WM_LBUTTONUP, 0, nPos);
        output.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, nPos);
        output.SendMessage(WM_LBUTTONUP, 0, nPos);
    }
};

const char* const s_log =
    "Compiling calc.dll\r\n"
    "> x86_64-w64-mingw32-gcc -shared -o calc.dll calc_api.c\r\n"
    "calc_api.c: In function 'f':\r\n"
    "calc_api.c:100:19: error: expected ';' before '}' token\r\n"
    "calc_api.h(7,3): error C2143: syntax error\r\n"
    "demo: 2 of 2 calls got their answer\r\n"
    "calc_api.c(150): warning C4244: conversion\r\n"
    "Compiling failed: gcc exited with code 1";

TEST_F(ErrorJumpTest, ADoubleClickAndTheErrorKeysGoToThePlacesBothCompilersName) {
    Frame().setOutput(s_log);
    DoubleClickOutputLine(3);
    EXPECT_EQ(Place(), "calc_api.c:100:19");
    EXPECT_EQ(TabCaptions().size(), 2u);   // the file opened in a tab of its own
    // From there on the keys, wherever the focus is: the tab's editor now has it.
    struct Step {
        bool bShift;
        const char* lpszPlace;
        const char* lpszLine;
    };
    const Step steps[] = {
        {false, "calc_api.h:7:3", "calc_api.h(7,3): error C2143: syntax error"},
        {false, "calc_api.c:150:1", "calc_api.c(150): warning C4244: conversion"},
        {false, "calc_api.c:150:1", "calc_api.c(150): warning C4244: conversion"},   // past the last: stays
        {true, "calc_api.h:7:3", "calc_api.h(7,3): error C2143: syntax error"},
        {true, "calc_api.c:100:19", "calc_api.c:100:19: error: expected ';' before '}' token"},
        {true, "calc_api.c:100:19", "calc_api.c:100:19: error: expected ';' before '}' token"},
    };
    for (const Step& step : steps) {
        PressKey(VK_F4, false, step.bShift);
        EXPECT_EQ(Place(), step.lpszPlace) << step.lpszLine;
        EXPECT_EQ(SelectedOutputLine(), step.lpszLine);
    }
    EXPECT_EQ(TabCaptions().size(), 2u);
    // The pane's cursor put on a line: F4 from there.
    Frame().m_wndOutput.SetFocus();
    Frame().m_wndOutput.SelectLine(6);
    PressKey(VK_F4);
    EXPECT_EQ(Place(), "calc_api.c:150:1");
    // New output starts the keys afresh.
    Frame().setOutput(s_log);
    Frame().SetFocus();
    PressKey(VK_F4);
    EXPECT_EQ(Place(), "calc_api.c:100:19");
    Frame().setOutput(s_log);
    PressKey(VK_F4, false, true);
    EXPECT_EQ(Place(), "calc_api.c:150:1");
    EXPECT_TRUE(Record().boxes.empty());
}

TEST_F(ErrorJumpTest, ALineWithoutAPlaceGoesNowhereAndAMissingFileIsSaid) {
    Frame().setOutput("demo: 2 of 2 calls got their answer\r\nmissing.c:3:1: error: gone\r\n");
    const std::string before = Place();
    EXPECT_FALSE(Frame().GoToOutputLine(0));
    EXPECT_EQ(Place(), before);
    EXPECT_TRUE(Frame().GoToOutputLine(1));
    EXPECT_EQ(Place(), before);
    ASSERT_EQ(Record().boxes.size(), 1u);
    EXPECT_EQ(Record().boxes[0].find(Folder() + "missing.c cannot be opened: error 2"), 0u) << Record().boxes[0];
    EXPECT_FALSE(Frame().GoToOutputLine(7));   // past the end
}

TEST_F(ErrorJumpTest, ThePaneShowsALongLogWholeAndManyLinesOfIt) {
    std::string log;
    for (int i = 0; i < 6000; ++i) log += "calc_api.c:" + std::to_string(i + 1) + ":1: warning: line " + std::to_string(i) + "\r\n";
    Frame().setOutput("");
    for (size_t at = 0; at < log.size(); at += 4096) Frame().appendOutput(log.substr(at, 4096));
    COutputEdit& output = Frame().m_wndOutput;
    EXPECT_EQ(static_cast<size_t>(output.GetWindowTextLength()), log.size());
    EXPECT_EQ(output.GetLineText(0), "calc_api.c:1:1: warning: line 0");
    EXPECT_EQ(output.GetLineText(5999), "calc_api.c:6000:1: warning: line 5999");
    // The first error of a long log still leads to its place.
    EXPECT_TRUE(Frame().GoToOutputLine(0));
    EXPECT_EQ(Place(), "calc_api.c:1:1");
    CClientDC dc(&output);
    CFont* pOld = dc.SelectObject(output.GetFont());
    TEXTMETRIC metrics{};
    dc.GetTextMetrics(&metrics);
    dc.SelectObject(pOld);
    CRect rcClient;
    output.GetClientRect(&rcClient);
    EXPECT_GE(rcClient.Height() / metrics.tmHeight, 10) << rcClient.Height() << " / " << metrics.tmHeight;
}

}  // namespace
