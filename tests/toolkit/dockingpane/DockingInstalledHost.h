// The manager installed in a hidden frame that records the docking notifications it receives;
// with bAnswerLikeApp it also answers them as the application does (a window attached on code
// 1, the pane hidden and the close refused on code 3).
#pragma once

#include "DockingTestHost.h"

#include "classlib/FrameWnd.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct DockingNote {
    WPARAM nCode;
    UINT nPaneID;
    INT_PTR nAction;
    INT_PTR bCancelSeen;
    LPARAM lValue1;
    BOOL bLayoutComputed;   // the manager had laid out when the note came
    BOOL bWindowVisible;    // the pane's window carried WS_VISIBLE when the note came
};

class CRecordingFrame : public CFrameWnd {
public:
    std::vector<DockingNote> m_notes;
    LRESULT m_lCloseAnswer = 0;
    LRESULT m_lMenuAnswer = 0;         // non-zero: the owner showed its menu
    INT_PTR m_nCancelActions = -1;     // the action whose cancel flag the frame sets
    BOOL m_bAnswerLikeApp = FALSE;
    CKLVDockingPaneManager* m_pManager = nullptr;
    std::vector<std::unique_ptr<CWnd>> m_paneWindows;
    std::function<void(INT_PTR)> m_onAction;   // after an action is recorded
    std::function<void(UINT)> m_onMessage;     // before the frame handles a message
    std::function<void(WPARAM, LPARAM)> m_onNotify;   // as a notification arrives

    // The notes with this code.
    std::vector<DockingNote> Notes(WPARAM nCode) const;
    // The reported actions (code, pane id) other than activation changes.
    std::vector<std::pair<INT_PTR, UINT>> PaneActions() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg LRESULT OnDockingNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

CRecordingFrame* NewHiddenFrame();

// Counts the WM_INITIALUPDATE messages it receives.
class CInitialUpdateCounter : public CWnd {
public:
    int m_nCount = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITIALUPDATE) ++m_nCount;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The text of the tool the thread's tool tip holds after the window's pre-translation saw the
// mouse move to the client point; empty when it holds none.
std::string ToolTipAfterMouseMove(CWnd* pWnd, CPoint pt);

class InstalledManagerTest : public ::testing::Test {
protected:
    InstalledManagerTest();
    ~InstalledManagerTest() override;

    CRecordingFrame* site = NewHiddenFrame();
    CRecordingFrame* owner = NewHiddenFrame();
    std::unique_ptr<CKLVDockingPaneManager> manager = std::make_unique<CKLVDockingPaneManager>();
    BOOL bInstalled = manager->InstallDockingPanes(site);
    DockingTreeBuilder tree{manager.get(), manager->GetLayout()};
};

// The installed manager answered like the application, with one pane (703) docked at the bottom
// and the notes of its creation cleared.
class OutputPaneTest : public InstalledManagerTest {
protected:
    OutputPaneTest();

    CKLVDockingPane* pOutput = nullptr;
    CKLVDockingPaneTabbedContainer* pDockedHolder = nullptr;
};
