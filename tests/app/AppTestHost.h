// The program started in the test process as it starts itself (the application's InitInstance with
// its main frame), with the message boxes, started processes and shell opens recorded instead of
// shown or run, a profile of its own and a private project folder.
#pragma once

#include "app/MainFrame.h"
#include "app/ProtocolRecords.h"
#include "app/QuorlinApp.h"
#include "app/res/Resource.h"
#include "classlib/WindowMessages.h"
#include "classlib/WindowTestSupport.h"
#include "support/ScopedProfileKey.h"
#include "support/ScopedWorkingFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace apptest {

// Pumps messages until done() holds. The limit is a watchdog against work that never ends, in
// real time: a count of pump slices is no measure of time (a background parser's notifications
// wake the pump early), and how long a parse takes depends on the machine's load.
inline bool PumpUntilDoneOrHung(const std::function<bool()>& done, ULONGLONG nWatchdogMs = 180000) {
    const ULONGLONG nEnd = ::GetTickCount64() + nWatchdogMs;
    while (!done() && ::GetTickCount64() < nEnd) classlib_test::PumpUntil(done, 100);
    return done();
}

struct Recorded {
    std::vector<std::string> boxes;                         // text of each message box
    std::vector<std::pair<std::string, UINT>> processes;    // command line and show command
    std::vector<std::string> shellOpens;
    std::string strShellOpenFailure;                        // what a shell open reports; empty: opened
    std::vector<std::string> htmlHelps;                     // help files opened in the viewer
    BOOL bProcessesStart = TRUE;                            // what a started process reports
    int nBoxAnswer = IDOK;                                  // the button each message box returns
};
Recorded& Record();

class CTestApp : public CquorlinApp {
public:
    using CquorlinApp::OpenCommandLineFile;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override {
        Record().boxes.push_back(lpszPrompt);
        return IDOK;
    }
};

class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;

    CMainFrame& Frame() const { return *m_pFrame; }
    // Whether the frame's update rule enables the command: 1, 0, or -1 when it leaves it alone.
    int Enabled(UINT nID) const;
    void Command(UINT nID) const { m_pFrame->SendMessage(WM_COMMAND, nID); }
    // The key pressed on the focus window (or on hTarget), with the modifier keys held as asked, and
    // taken by the application's message loop, which pre-translates it as it does every message.
    void PressKey(UINT nVirtKey, bool bCtrl = false, bool bShift = false, bool bAlt = false, HWND hTarget = nullptr);
    // What the message loop does when it falls idle: the frame and its windows update.
    void IdleUpdate() const { m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE); }
    // A project of this folder made current without File New.
    CProjectRecord& UseProject(int nPlatform, const std::string& name = "calc");
    std::string Folder() const;   // the project folder, ending in a backslash
    std::vector<std::string> TabCaptions() const;
    std::string OutputText() const;
    // The open project generated as the command-line generator does, into a folder of its own
    // under the project's; that folder, ending in a backslash.
    std::string GenerateAsKvgen();

    // The solution tree, made as its docking pane makes it.
    COfficeTreeCtrl& Tree() const;
    // A protocol record that lives as long as the frame (nothing in the program makes one).
    CProtocolRecord& AddProtocol(const char* lpszName);
    // A tree item under hParent (the root when null) with its item data: kind, record and label.
    HTREEITEM AddTreeItem(const char* lpszText, int nKind, CProtocolRecord* pRecord, HTREEITEM hParent = nullptr,
                          const char* lpszLabel = "");
    // Selects the item as the user does: the tree tells its selection handler.
    void SelectTreeItem(HTREEITEM hItem) const;
    void RemoveTreeItems();

    testsupport::ScopedWorkingFolder m_folder;
    testsupport::ScopedProfileKey m_profileKey{"KelvaneAppTests"};
    CTestApp m_app;
    CMainFrame* m_pFrame = nullptr;
    CProjectRecord m_project;
    // Outlive the frame, whose tree refers to them until it goes.
    std::vector<std::unique_ptr<CProtocolRecord>> m_protocols;
    std::vector<std::unique_ptr<CSolutionTreeItem>> m_treeData;
};

// Runs action inside the next modal loop the test starts, on the dialog that loop shows.
void InNextDialog(const char* lpszCaption, std::function<void(CWnd&)> action);
// A control's text as the user set it: the text set, then EN_CHANGE told to the dialog.
void SetControlText(CWnd& dlg, int nID, const char* lpszText);
void Click(CWnd& dlg, int nID);
// Selects the combo box entry with this text as the user does (CBN_SELCHANGE told).
void SelectEntry(CWnd& dlg, int nID, const char* lpszText);

}  // namespace apptest
