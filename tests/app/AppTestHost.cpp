#include "AppTestHost.h"

#include "app/ErrorBox.h"
#include "project/FakeProjectHost.h"
#include "support/DeferredAction.h"
#include "support/FlatPaintManagerTheme.h"
#include "toolkit/tabs/TabManagerItem.h"

#include <cstring>
#include <memory>

namespace apptest {

Recorded& Record() {
    static Recorded s_record;
    return s_record;
}

namespace {

int WINAPI RecordBox(HWND, LPCSTR lpszText, LPCSTR, UINT) {
    Record().boxes.push_back(lpszText);
    return Record().nBoxAnswer;
}

BOOL RecordProcess(LPCSTR lpszCommandLine, UINT nShowCmd) {
    Record().processes.emplace_back(lpszCommandLine, nShowCmd);
    return Record().bProcessesStart;
}

std::string RecordShellOpen(HWND, LPCSTR lpszTarget) {
    Record().shellOpens.emplace_back(lpszTarget);
    return Record().strShellOpenFailure;
}

BOOL RecordHtmlHelp(HWND, LPCSTR lpszChmPath) {
    Record().htmlHelps.emplace_back(lpszChmPath);
    return TRUE;
}

}  // namespace

AppTest::AppTest() {
    Record() = Recorded{};
    g_pfnAppMessageBox = RecordBox;
    CMainFrame::s_pfnStartProcess = RecordProcess;
    CMainFrame::s_pfnShellOpen = RecordShellOpen;
    CMainFrame::s_pfnHtmlHelp = RecordHtmlHelp;
    CKLVFlatTestTheme::Register();
    CKLVPaintManager::RegisterTheme(4, &CKLVFlatTestTheme::Create);
    m_app.m_nCmdShow = SW_SHOWNORMAL;
    EXPECT_TRUE(m_app.InitInstance());
    // The profile of these tests, with no recent solutions.
    m_app.SetRegistryKey(m_profileKey.Name());
    while (m_app.m_pRecentFileList && !(*m_app.m_pRecentFileList)[0].IsEmpty()) m_app.m_pRecentFileList->Remove(0);
    m_pFrame = m_app.GetMainFrame();
    m_pFrame->SetWindowPos(nullptr, 0, 0, 900, 700, SWP_NOZORDER);
    classlib_test::PumpPending();
    m_pFrame->RecalcLayout();
}

AppTest::~AppTest() {
    if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd())) {
        RemoveTreeItems();
        m_pFrame->DestroyWindow();
    }
    classlib_test::PumpPending();
    m_app.m_pMainWnd = nullptr;
    g_pfnAppMessageBox = ::MessageBoxA;
}

void AppTest::PressKey(UINT nVirtKey, bool bCtrl, bool bShift, bool bAlt, HWND hTarget) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    BYTE saved[256];
    std::memcpy(saved, state, sizeof(saved));
    state[VK_CONTROL] = state[VK_LCONTROL] = bCtrl ? 0x80 : 0;
    state[VK_SHIFT] = state[VK_LSHIFT] = bShift ? 0x80 : 0;
    state[VK_MENU] = state[VK_LMENU] = bAlt ? 0x80 : 0;
    ::SetKeyboardState(state);
    const UINT nMessage = bAlt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const LPARAM lParam = 1 | (bAlt ? (1 << 29) : 0);
    // With another program in front (tests side by side on one display) this one may hold no focus:
    // the key then goes to the frame.
    if (!hTarget) hTarget = ::GetFocus();
    if (!hTarget) hTarget = m_pFrame->GetSafeHwnd();
    ::PostMessageA(hTarget, nMessage, nVirtKey, lParam);
    for (int i = 0; i < 200; ++i) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) break;
        m_app.PumpMessage();
    }
    ::SetKeyboardState(saved);
}

int AppTest::Enabled(UINT nID) const {
    return classlib_test::IsCommandEnabled(m_pFrame, nID);
}

std::string AppTest::Folder() const {
    std::string folder = m_folder.path().string();
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

CProjectRecord& AppTest::UseProject(int nPlatform, const std::string& name) {
    auto pProject = std::make_unique<CProjectRecord>();
    pProject->name = name;
    pProject->location = Folder();
    pProject->wsdlPath = Folder() + name + ".wsdl";
    pProject->targetPlatform = nPlatform;
    m_pFrame->GetProjectCommands().setProject(std::move(pProject));
    return const_cast<CProjectRecord&>(*m_pFrame->GetProject());
}

std::vector<std::string> AppTest::TabCaptions() const {
    std::vector<std::string> captions;
    for (int i = 0; i < m_pFrame->tabCount(); ++i) captions.push_back(m_pFrame->tabCaption(i));
    return captions;
}

COfficeTreeCtrl& AppTest::Tree() const {
    m_pFrame->GetPaneWindow(IDP_SOLUTION_EXPLORER);
    return m_pFrame->m_wndSolutionExplorer.m_wndTree;
}

CProtocolRecord& AppTest::AddProtocol(const char* lpszName) {
    m_protocols.push_back(std::make_unique<CProtocolRecord>());
    EXPECT_TRUE(CopyRecordText(m_protocols.back()->szName, lpszName));
    return *m_protocols.back();
}

HTREEITEM AppTest::AddTreeItem(const char* lpszText, int nKind, CProtocolRecord* pRecord, HTREEITEM hParent,
                               const char* lpszLabel) {
    COfficeTreeCtrl& tree = Tree();
    auto pData = std::make_unique<CSolutionTreeItem>();
    pData->nKind = nKind;
    pData->pRecord = pRecord;
    pData->strLabel = lpszLabel;
    const HTREEITEM hItem = tree.InsertItem(lpszText, hParent ? hParent : tree.GetRootItem(), TVI_LAST);
    tree.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pData.get()));
    m_treeData.push_back(std::move(pData));
    return hItem;
}

void AppTest::SelectTreeItem(HTREEITEM hItem) const {
    Tree().SelectItem(hItem);
}

// The items the test added go while the frame still stands: their selection handler reaches
// the panes and the tabs.
void AppTest::RemoveTreeItems() {
    if (m_treeData.empty()) return;
    COfficeTreeCtrl& tree = Tree();
    const HTREEITEM hRoot = tree.GetRootItem();
    tree.SelectItem(hRoot);
    while (HTREEITEM hChild = tree.GetChildItem(hRoot)) tree.DeleteItem(hChild);
}

std::string AppTest::OutputText() const {
    CString strText;
    if (m_pFrame->m_wndOutput.GetSafeHwnd()) m_pFrame->m_wndOutput.GetWindowText(strText);
    return static_cast<LPCSTR>(strText);
}

std::string AppTest::GenerateAsKvgen() {
    gentest::FakeProjectHost host;
    host.appFolder = m_pFrame->applicationFolder();
    CProjectCommands commands(host);
    auto pProject = std::make_unique<CProjectRecord>(*m_pFrame->GetProject());
    pProject->location = Folder() + "kvgen\\";
    std::filesystem::create_directory(pProject->location);
    commands.setProject(std::move(pProject));
    EXPECT_TRUE(commands.generateFiles()) << host.output;
    return Folder() + "kvgen\\";
}

namespace {

struct FindDialog {
    const char* lpszCaption;
    HWND hFound = nullptr;
};

BOOL CALLBACK FindCaption(HWND hWnd, LPARAM lParam) {
    auto* pFind = reinterpret_cast<FindDialog*>(lParam);
    char szCaption[128] = "";
    ::GetWindowTextA(hWnd, szCaption, sizeof(szCaption));
    if (std::string(szCaption) == pFind->lpszCaption) {
        pFind->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

namespace {

// Looks for the dialog at each of a bounded number of turns of the loop; the dialog may show
// only after the loop's first messages.
void PostFindDialog(testsupport::CDeferred& deferred, const char* lpszCaption, std::function<void(CWnd&)> action,
                    int nTurnsLeft) {
    deferred.Post([&deferred, lpszCaption, action, nTurnsLeft]() {
        FindDialog find{lpszCaption};
        ::EnumThreadWindows(::GetCurrentThreadId(), FindCaption, reinterpret_cast<LPARAM>(&find));
        if (find.hFound) {
            action(*CWnd::FromHandle(find.hFound));
        } else if (nTurnsLeft > 0) {
            PostFindDialog(deferred, lpszCaption, action, nTurnsLeft - 1);
        } else {
            ADD_FAILURE() << "no dialog " << lpszCaption;
        }
    });
}

}  // namespace

void InNextDialog(const char* lpszCaption, std::function<void(CWnd&)> action) {
    static std::unique_ptr<testsupport::CDeferred> s_pDeferred;
    s_pDeferred = std::make_unique<testsupport::CDeferred>();
    PostFindDialog(*s_pDeferred, lpszCaption, std::move(action), 1000);
}

void SetControlText(CWnd& dlg, int nID, const char* lpszText) {
    ::SetDlgItemTextA(dlg.GetSafeHwnd(), nID, lpszText);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, EN_CHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(dlg.GetSafeHwnd(), nID)));
}

void Click(CWnd& dlg, int nID) {
    ::SendMessageA(::GetDlgItem(dlg.GetSafeHwnd(), nID), BM_CLICK, 0, 0);
}

void SelectEntry(CWnd& dlg, int nID, const char* lpszText) {
    HWND hCombo = ::GetDlgItem(dlg.GetSafeHwnd(), nID);
    const LRESULT nIndex = ::SendMessageA(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(lpszText));
    ASSERT_GE(nIndex, 0) << lpszText;
    ::SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
}

}  // namespace apptest
