#include "DockingInstalledHost.h"

#include "classlib/ThreadState.h"
#include "classlib/ToolTipCtrl.h"

BEGIN_MESSAGE_MAP(CRecordingFrame, CFrameWnd)
    ON_MESSAGE(KLV_WM_DOCKINGPANENOTIFY, OnDockingNotify)
END_MESSAGE_MAP()

std::vector<DockingNote> CRecordingFrame::Notes(WPARAM nCode) const {
    std::vector<DockingNote> notes;
    for (const DockingNote& note : m_notes)
        if (note.nCode == nCode) notes.push_back(note);
    return notes;
}

std::vector<std::pair<INT_PTR, UINT>> CRecordingFrame::PaneActions() const {
    std::vector<std::pair<INT_PTR, UINT>> actions;
    for (const DockingNote& note : Notes(klvDockingPaneAction))
        if (note.nAction != klvActionActivated && note.nAction != klvActionDeactivated)
            actions.emplace_back(note.nAction, note.nPaneID);
    return actions;
}

LRESULT CRecordingFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_onMessage) m_onMessage(message);
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

LRESULT CRecordingFrame::OnDockingNotify(WPARAM wParam, LPARAM lParam) {
    if (m_onNotify) m_onNotify(wParam, lParam);
    DockingNote note{wParam, 0, -1, -1, 0, m_pManager && m_pManager->IsLayoutComputed(), FALSE};
    CKLVDockingPane* pPane = nullptr;
    if (wParam == klvDockingPaneAction) {
        auto* pRecord = reinterpret_cast<CKLVDockingPaneActionRecord*>(lParam);
        note.nPaneID = pRecord->pPane ? pRecord->pPane->GetID() : 0;
        note.nAction = pRecord->nAction;
        note.bCancelSeen = pRecord->bCancel;
        note.lValue1 = pRecord->lValue1;
        if (pRecord->nAction == m_nCancelActions) pRecord->bCancel = TRUE;
        if (m_onAction) {
            m_notes.push_back(note);
            m_onAction(pRecord->nAction);
            return 0;
        }
    } else if (wParam == klvDockingPaneMenu) {
        note.nPaneID = reinterpret_cast<CKLVDockingPaneMenuRecord*>(lParam)->pPane->GetID();
    } else if (wParam == klvDockingPaneShowWindow || wParam == klvDockingPaneClosing) {
        pPane = reinterpret_cast<CKLVDockingPane*>(lParam);
        note.nPaneID = pPane->GetID();
        note.bWindowVisible = pPane->GetChild() && (::GetWindowLongA(pPane->GetChild(), GWL_STYLE) & WS_VISIBLE);
    }
    m_notes.push_back(note);
    if (wParam == klvDockingPaneMenu) return m_lMenuAnswer;
    if (!m_bAnswerLikeApp) return wParam == klvDockingPaneClosing ? m_lCloseAnswer : 0;
    if (wParam == klvDockingPaneShowWindow) {
        if (!pPane->IsAttached()) {
            auto pWnd = std::make_unique<CWnd>();
            pWnd->CreateEx(0, "STATIC", "pane", WS_CHILD, CRect(0, 0, 0, 0), this, 0);
            pPane->Attach(pWnd.get());
            m_paneWindows.push_back(std::move(pWnd));
        }
        return 1;
    }
    if (wParam == klvDockingPaneClosing) {
        pPane->Hide();
        return -1;
    }
    return 0;
}

CRecordingFrame* NewHiddenFrame() {
    auto* pFrame = new CRecordingFrame;
    pFrame->Create(nullptr, "site", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300));
    return pFrame;
}

std::string ToolTipAfterMouseMove(CWnd* pWnd, CPoint pt) {
    MSG msg = {};
    msg.hwnd = pWnd->GetSafeHwnd();
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(pt.x, pt.y);
    msg.pt = pt;
    pWnd->ClientToScreen(&msg.pt);
    CWnd::WalkPreTranslateTree(nullptr, &msg);
    CToolTipCtrl* pToolTip = AfxGetThreadState()->m_pToolTip.get();
    if (!pToolTip || !pToolTip->m_hWnd || pToolTip->SendMessage(TTM_GETTOOLCOUNT) == 0) return std::string();
    char szText[256] = {};
    TOOLINFOA ti = {};
    ti.cbSize = AFX_TOOLINFO_SIZE;
    ti.lpszText = szText;
    pToolTip->SendMessage(TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti));
    return szText;
}

InstalledManagerTest::InstalledManagerTest() {
    EXPECT_TRUE(bInstalled);
    EXPECT_FALSE(manager->InstallDockingPanes(site));
    site->m_pManager = owner->m_pManager = manager.get();
}

InstalledManagerTest::~InstalledManagerTest() {
    manager.reset();
    site->m_pManager = owner->m_pManager = nullptr;
    site->DestroyWindow();
    owner->DestroyWindow();
}

OutputPaneTest::OutputPaneTest() {
    site->m_bAnswerLikeApp = TRUE;
    pOutput = manager->CreatePane(703, CRect(0, 0, 150, 120), klvDockBottom);
    site->RecalcLayout();
    pDockedHolder = static_cast<CKLVDockingPaneTabbedContainer*>(pOutput->GetContainer());
    site->m_notes.clear();
}
