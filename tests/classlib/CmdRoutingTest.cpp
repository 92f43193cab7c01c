// Command routing through nested command targets (frame -> view -> document), update requests
// with CCmdUI, handler look-up, reflected update codes, and the reference count.
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

enum : UINT {
    ID_OPEN = 100,
    ID_SAVE = 101,
    ID_CUT = 102,
    ID_PASTE = 103,
    ID_DISABLED = 104,
    ID_RENAME = 105,
    ID_ZOOM_FIRST = 200,
    ID_ZOOM_LAST = 209,
    ID_UNHANDLED = 400
};

std::vector<std::string> g_calls;

// The innermost target: asked first.
class CRouteDoc : public CCmdTarget {
public:
    BOOL m_bDirty = FALSE;

protected:
    void OnSave() { g_calls.push_back("doc:save"); }
    void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bDirty); }
    void OnUpdateCut(CCmdUI* pCmdUI) { pCmdUI->ContinueRouting(); }   // the view decides
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteDoc, CCmdTarget)
    ON_COMMAND(ID_SAVE, OnSave)
    ON_UPDATE_COMMAND_UI(ID_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_CUT, OnUpdateCut)
END_MESSAGE_MAP()

// Asks an inner target before its own map, as a frame asks its view and a view its document.
class CForwardingTarget : public CCmdTarget {
public:
    explicit CForwardingTarget(CCmdTarget* pInner) : m_pInner(pInner) {}
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (m_pInner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
        return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

private:
    CCmdTarget* m_pInner;
};

class CRouteView : public CForwardingTarget {
public:
    using CForwardingTarget::CForwardingTarget;
    UINT m_nZoom = ID_ZOOM_FIRST + 3;

protected:
    void OnCut() { g_calls.push_back("view:cut"); }
    void OnUpdateCut(CCmdUI* pCmdUI) {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(1);
    }
    void OnZoom(UINT nID) { g_calls.push_back("view:zoom " + std::to_string(nID)); }
    void OnUpdateZoom(CCmdUI* pCmdUI) { pCmdUI->SetRadio(pCmdUI->m_nID == m_nZoom); }
    void OnUpdateRename(CCmdUI* pCmdUI) { pCmdUI->SetText("Re&name Now"); }
    void OnRename() { g_calls.push_back("view:rename"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteView, CForwardingTarget)
    ON_COMMAND(ID_CUT, OnCut)
    ON_UPDATE_COMMAND_UI(ID_CUT, OnUpdateCut)
    ON_COMMAND_RANGE(ID_ZOOM_FIRST, ID_ZOOM_LAST, OnZoom)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ZOOM_FIRST, ID_ZOOM_LAST, OnUpdateZoom)
    ON_COMMAND(ID_RENAME, OnRename)
    ON_UPDATE_COMMAND_UI(ID_RENAME, OnUpdateRename)
END_MESSAGE_MAP()

class CRouteFrame : public CForwardingTarget {
public:
    using CForwardingTarget::CForwardingTarget;

protected:
    void OnOpen() { g_calls.push_back("frame:open"); }
    BOOL OnPaste(UINT nID) {
        g_calls.push_back("frame:paste " + std::to_string(nID));
        return FALSE;   // not handled after all
    }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnDisabled() { g_calls.push_back("frame:disabled"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRouteFrame, CForwardingTarget)
    ON_COMMAND(ID_OPEN, OnOpen)
    ON_COMMAND_EX(ID_PASTE, OnPaste)
    ON_COMMAND(ID_DISABLED, OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

// Records what an update handler sets (-1: never set).
class CRecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_nEnabled = bOn ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    void SetText(LPCTSTR lpszText) override { m_strText = lpszText; }
    int m_nEnabled = -1;
    int m_nCheck = -1;
    std::string m_strText;
};

struct Chain {
    CRouteDoc doc;
    CRouteView view{&doc};
    CRouteFrame frame{&view};
    Chain() { g_calls.clear(); }
};

TEST(CmdRouting, CommandsReachTheFirstTargetThatHandlesThem) {
    struct Case {
        UINT nID;
        BOOL bHandled;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {ID_OPEN, TRUE, {"frame:open"}},
        {ID_SAVE, TRUE, {"doc:save"}},
        {ID_CUT, TRUE, {"view:cut"}},
        {ID_ZOOM_FIRST + 2, TRUE, {"view:zoom 202"}},
        {ID_ZOOM_LAST, TRUE, {"view:zoom 209"}},
        {ID_ZOOM_LAST + 1, FALSE, {}},
        {ID_PASTE, FALSE, {"frame:paste 103"}},   // an _EX handler that answers FALSE
        {ID_UNHANDLED, FALSE, {}},
    };
    for (const Case& c : cases) {
        Chain chain;
        EXPECT_EQ(chain.frame.OnCmdMsg(c.nID, CN_COMMAND, nullptr, nullptr), c.bHandled) << c.nID;
        EXPECT_EQ(g_calls, c.calls) << c.nID;
    }
}

TEST(CmdRouting, UpdateRequestsSetStateAndDisableCommandsWithoutHandler) {
    struct Case {
        UINT nID;
        BOOL bDirty;
        BOOL bHandled;   // an update handler answered
        int nEnabled;
        int nCheck;
    };
    const Case cases[] = {
        {ID_OPEN, FALSE, FALSE, 1, -1},              // no update handler, a command handler: enabled
        {ID_UNHANDLED, FALSE, FALSE, 0, -1},         // neither: disabled
        {ID_SAVE, FALSE, TRUE, 0, -1},               // the document disables
        {ID_SAVE, TRUE, TRUE, 1, -1},
        {ID_CUT, FALSE, TRUE, 1, 1},                 // the document passes it on to the view
        {ID_ZOOM_FIRST + 3, FALSE, TRUE, 1, 1},      // range handler checks; range command enables
        {ID_ZOOM_FIRST + 4, FALSE, TRUE, 1, 0},
        {ID_DISABLED, FALSE, TRUE, 0, -1},
        {ID_PASTE, FALSE, FALSE, 1, -1},
    };
    for (const Case& c : cases) {
        Chain chain;
        chain.doc.m_bDirty = c.bDirty;
        CRecordingCmdUI state;
        state.m_nID = c.nID;
        EXPECT_EQ(state.DoUpdate(&chain.frame, TRUE), c.bHandled) << c.nID;
        EXPECT_EQ(state.m_nEnabled, c.nEnabled) << c.nID;
        EXPECT_EQ(state.m_nCheck, c.nCheck) << c.nID;
        EXPECT_TRUE(g_calls.empty()) << "an update request runs no command";
    }
}

// A control-like target that answers its own update request (routed with id 0 and the
// reflected code) before the request goes to its owner.
class CSelfUpdating : public CCmdTarget {
public:
    int m_nUpdates = 0;

protected:
    void OnUpdateSelf(CCmdUI* pCmdUI) {
        ++m_nUpdates;
        pCmdUI->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfUpdating, CCmdTarget)
    ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
END_MESSAGE_MAP()

TEST(CmdRouting, ReflectedUpdateCodeReachesOnlyTheReflectEntry) {
    CSelfUpdating target;
    CRecordingCmdUI state;
    state.m_nID = 55;
    EXPECT_TRUE(target.OnCmdMsg(0, static_cast<int>(0xBD11FFFF), &state, nullptr));
    EXPECT_EQ(target.m_nUpdates, 1);
    EXPECT_EQ(state.m_nEnabled, 0);
    // The plain update code of id 0 and the reflected code of another message are not it.
    EXPECT_FALSE(target.OnCmdMsg(0, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(0, static_cast<int>(MAKELONG(0xFFFF, WM_NOTIFY + WM_REFLECT_BASE)), &state, nullptr));
    EXPECT_EQ(target.m_nUpdates, 1);
}

TEST(CmdRouting, MenuItemsTakeTheirStateFromUpdateHandlers) {
    Chain chain;
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const UINT ids[] = {ID_OPEN, ID_SAVE, ID_CUT, ID_UNHANDLED, ID_RENAME};
    for (UINT nID : ids) menu.AppendMenu(MF_STRING, nID, "item");

    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nIndexMax = static_cast<UINT>(menu.GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = menu.GetMenuItemID(static_cast<int>(state.m_nIndex));
        state.DoUpdate(&chain.frame, TRUE);
    }
    struct Expected {
        UINT nID;
        bool bGrayed;
        bool bChecked;
    };
    const Expected expected[] = {
        {ID_OPEN, false, false}, {ID_SAVE, true, false}, {ID_CUT, false, true}, {ID_UNHANDLED, true, false},
        {ID_RENAME, false, false}};
    for (const Expected& e : expected) {
        UINT nState = menu.GetMenuState(e.nID, MF_BYCOMMAND);
        EXPECT_EQ((nState & MF_GRAYED) != 0, e.bGrayed) << e.nID;
        EXPECT_EQ((nState & MF_CHECKED) != 0, e.bChecked) << e.nID;
    }
    CString strText;
    menu.GetMenuString(ID_RENAME, strText, MF_BYCOMMAND);
    EXPECT_STREQ(strText, "Re&name Now");
    EXPECT_EQ(menu.GetMenuItemID(4), static_cast<UINT>(ID_RENAME));   // the id survives the new text
}

TEST(CmdRouting, ControlsTakeTheirStateFromUpdateHandlers) {
    Chain chain;
    CWnd parent;
    ASSERT_TRUE(classlib_test::CreateTopLevel(parent));
    CButton check;
    ASSERT_TRUE(check.Create("Cut", WS_VISIBLE | BS_CHECKBOX, CRect(0, 0, 80, 20), &parent, 1));

    CCmdUI state;
    state.m_pOther = &check;
    state.m_nID = ID_CUT;
    state.DoUpdate(&chain.frame, TRUE);
    EXPECT_TRUE(check.IsWindowEnabled());
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);

    state.m_nID = ID_SAVE;
    state.DoUpdate(&chain.frame, TRUE);
    EXPECT_FALSE(check.IsWindowEnabled());
    parent.DestroyWindow();
}

// Deletes itself at the last release and says so.
class CCountedTarget : public CCmdTarget {
public:
    explicit CCountedTarget(std::atomic<int>* pFinalReleases) : m_pFinalReleases(pFinalReleases) {}
    void OnFinalRelease() override {
        ++*m_pFinalReleases;
        CCmdTarget::OnFinalRelease();
    }

private:
    std::atomic<int>* m_pFinalReleases;
};

TEST(CmdTargetReferences, CountIsExactUnderConcurrentUse) {
    std::atomic<int> nFinalReleases{0};
    auto* pTarget = new CCountedTarget(&nFinalReleases);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([pTarget] {
            for (int i = 0; i < 20000; ++i) {
                pTarget->InternalAddRef();
                pTarget->InternalRelease();
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(pTarget->GetRefCount(), 1);
    EXPECT_EQ(nFinalReleases, 0);
    pTarget->InternalRelease();
    EXPECT_EQ(nFinalReleases, 1);
}

// Counts its final releases and stays alive (a member or stack object).
class CKeptTarget : public CCmdTarget {
public:
    int m_nFinalReleases = 0;
    void OnFinalRelease() override { ++m_nFinalReleases; }
};

// A target with a COM interface part whose count is the target's.
class CComTarget : public CCmdTarget {
public:
    struct XUnknown : IUnknown {
        CComTarget* m_pOwner = nullptr;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** ppv) override {
            return m_pOwner->ExternalQueryInterface(&iid, ppv);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return m_pOwner->ExternalAddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_pOwner->ExternalRelease(); }
    } m_xUnknown;
    CComTarget() { m_xUnknown.m_pOwner = this; }
    LPUNKNOWN GetInterface(const IID& iid) override { return iid == IID_IUnknown ? &m_xUnknown : nullptr; }
};

}  // namespace
