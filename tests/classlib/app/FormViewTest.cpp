// Form views made from dialog templates in the program's resources: inside MDI children for a
// document and inside a plain parent without one; their controls exchange values with the members,
// refused values keep the focus, commands reach the form and then its document.
#include "classlib/WindowTestSupport.h"
#include "classlib/app/BoxCountingApp.h"
#include "classlib/app/res/AppTestResources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_formLog;

class CFormApp : public classlib_test::CBoxCountingApp {
public:
    CFormApp() : CBoxCountingApp("FormApp") {}
};

}  // namespace

// Created by name, so at namespace scope.
class CFormDoc : public CDocument {
    DECLARE_DYNCREATE(CFormDoc)

protected:
    void OnBrowse() { g_formLog.push_back("doc:browse"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CFormDoc, CDocument)
BEGIN_MESSAGE_MAP(CFormDoc, CDocument)
    ON_COMMAND(IDC_FORM_BROWSE, OnBrowse)
END_MESSAGE_MAP()

class COptionsForm : public CFormView {
    DECLARE_DYNCREATE(COptionsForm)
public:
    COptionsForm() : CFormView(IDD_FORM) {}
    CString m_strPath = "C:\\tools\\vcvars32.bat";
    int m_nCount = 3;
    int m_nAuto = BST_CHECKED;
    CEdit m_editPath;
    int m_nInitialUpdates = 0;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_FORM_PATH, m_editPath);
        DDX_Text(pDX, IDC_FORM_PATH, m_strPath);
        DDX_Text(pDX, IDC_FORM_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, 10);
        DDX_Check(pDX, IDC_FORM_AUTO, m_nAuto);
    }
    void OnInitialUpdate() override {
        ++m_nInitialUpdates;
        CFormView::OnInitialUpdate();
    }

protected:
    void OnAutoClicked() { g_formLog.push_back("form:auto " + std::to_string(IsDlgButtonChecked(IDC_FORM_AUTO))); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(COptionsForm, CFormView)
BEGIN_MESSAGE_MAP(COptionsForm, CFormView)
    ON_BN_CLICKED(IDC_FORM_AUTO, OnAutoClicked)
END_MESSAGE_MAP()

namespace {

class CTemplateForm : public CFormView {
public:
    explicit CTemplateForm(UINT nIDTemplate) : CFormView(nIDTemplate) {}
};

std::string ItemText(const CWnd* pWnd, int nID) {
    char text[128] = {};
    ::GetDlgItemTextA(pWnd->m_hWnd, nID, text, sizeof text);
    return text;
}

struct FormMdi {
    CFormApp app;
    CMDIFrameWnd* pMain = new CMDIFrameWnd;
    CMultiDocTemplate* pTemplate =
        new CMultiDocTemplate(0, RUNTIME_CLASS(CFormDoc), RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(COptionsForm));
    FormMdi() {
        EXPECT_TRUE(pMain->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        app.m_pMainWnd = pMain;
        app.AddDocTemplate(pTemplate);
        g_formLog.clear();
    }
    ~FormMdi() {
        pMain->DestroyWindow();
        classlib_test::PumpPending();
    }
    COptionsForm* Open() {
        CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
        if (!pDoc) return nullptr;
        POSITION pos = pDoc->GetFirstViewPosition();
        return static_cast<COptionsForm*>(pDoc->GetNextView(pos));
    }
};

TEST(FormView, AFormInAChildFrameShowsItsDocumentAndExchangesData) {
    FormMdi mdi;
    COptionsForm* pForm = mdi.Open();
    ASSERT_NE(pForm, nullptr);
    EXPECT_NE(pForm->GetDocument(), nullptr);
    EXPECT_EQ(pForm->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    EXPECT_TRUE(pForm->GetStyle() & WS_CHILD);
    EXPECT_EQ(pForm->GetExStyle() & (WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT), static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT))
        << "the view's border, and the tab key enters the form";
    EXPECT_EQ(pForm->GetParentFrame()->GetActiveView(), pForm);

    // The initial update put the members into the controls once.
    EXPECT_EQ(pForm->m_nInitialUpdates, 1);
    EXPECT_EQ(ItemText(pForm, IDC_FORM_PATH), "C:\\tools\\vcvars32.bat");
    EXPECT_EQ(ItemText(pForm, IDC_FORM_COUNT), "3");
    EXPECT_EQ(pForm->IsDlgButtonChecked(IDC_FORM_AUTO), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(pForm->m_editPath.m_hWnd, ::GetDlgItem(pForm->m_hWnd, IDC_FORM_PATH));

    struct Row {
        const char* count;
        BOOL bTaken;
        int nCount;
    };
    const Row rows[] = {{"7", TRUE, 7}, {"0", FALSE, 0}, {"abc", FALSE, 0}, {"10", TRUE, 10}};
    for (const Row& row : rows) {
        mdi.app.m_nBoxes = 0;
        ::SetDlgItemTextA(pForm->m_hWnd, IDC_FORM_COUNT, row.count);
        ::SetDlgItemTextA(pForm->m_hWnd, IDC_FORM_PATH, row.count);
        EXPECT_EQ(pForm->UpdateData(TRUE), row.bTaken) << row.count;
        EXPECT_EQ(pForm->m_nCount, row.nCount) << row.count;
        EXPECT_EQ(mdi.app.m_nBoxes, row.bTaken ? 0 : 1) << row.count;
        if (!row.bTaken) {
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(pForm->m_hWnd, IDC_FORM_COUNT)) << row.count;
        }
    }
    EXPECT_STREQ(pForm->m_strPath, "10") << "values before the refused one were taken";

    // A click on the check box reaches the form; the button nobody in the form handles reaches
    // the document.
    ::SendDlgItemMessageA(pForm->m_hWnd, IDC_FORM_AUTO, BM_CLICK, 0, 0);
    ::SendDlgItemMessageA(pForm->m_hWnd, IDC_FORM_BROWSE, BM_CLICK, 0, 0);
    EXPECT_EQ(g_formLog, (std::vector<std::string>{"form:auto 0", "doc:browse"}));
}

TEST(FormView, TheTabKeyMovesBetweenTheControlsAndTheFocusComesBack) {
    FormMdi mdi;
    ::SetActiveWindow(mdi.pMain->m_hWnd);   // hidden: showing a top-level window waits for a window manager
    COptionsForm* pForm = mdi.Open();
    ASSERT_NE(pForm, nullptr);
    const HWND hWndPath = ::GetDlgItem(pForm->m_hWnd, IDC_FORM_PATH);
    const HWND hWndBrowse = ::GetDlgItem(pForm->m_hWnd, IDC_FORM_BROWSE);
    const HWND hWndCount = ::GetDlgItem(pForm->m_hWnd, IDC_FORM_COUNT);

    pForm->SetFocus();
    EXPECT_EQ(::GetFocus(), hWndPath) << "the first control that takes the focus";
    struct Key {
        UINT nKey;
        HWND hWndFrom;
        HWND hWndTo;
    };
    const Key keys[] = {{VK_TAB, hWndPath, hWndBrowse}, {VK_TAB, hWndBrowse, hWndCount}};
    for (const Key& key : keys) {
        ::SetFocus(key.hWndFrom);
        MSG msg = {key.hWndFrom, WM_KEYDOWN, key.nKey, 0, 0, {0, 0}};
        EXPECT_TRUE(pForm->PreTranslateMessage(&msg));
        EXPECT_EQ(::GetFocus(), key.hWndTo);
    }
    MSG other = {mdi.pMain->m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(pForm->PreTranslateMessage(&other)) << "keys for windows outside the form stay theirs";

    // Another view takes the focus; coming back gives it to the control that had it.
    COptionsForm* pSecond = mdi.Open();
    ASSERT_NE(pSecond, nullptr);
    static_cast<CMDIChildWnd*>(pForm->GetParentFrame())->MDIActivate();
    EXPECT_EQ(::GetFocus(), hWndCount);
}

TEST(FormView, TemplatesThatCannotMakeAChildFormAreRefused) {
    CFormApp app;
    CWnd parent;
    ASSERT_TRUE(classlib_test::CreateTopLevel(parent));
    const classlib_test::HandleCounts before = classlib_test::CountHandles();
    for (UINT nID : {static_cast<UINT>(IDD_POPUP_FORM), 999u}) {
        CTemplateForm* pForm = new CTemplateForm(nID);
        EXPECT_FALSE(pForm->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 100, 100), &parent, AFX_IDW_PANE_FIRST))
            << nID;
        EXPECT_EQ(pForm->m_hWnd, nullptr);
        delete pForm;
    }
    EXPECT_EQ(classlib_test::CountHandles(), before);
    parent.DestroyWindow();
}

TEST(FormView, AFormWithoutFrameOrDocumentTakesItsCommands) {
    // As a page inside a dialog's tab: the parent is no frame and there is no document.
    CFormApp app;
    CWnd parent;
    ASSERT_TRUE(classlib_test::CreateTopLevel(parent));
    auto* pForm = static_cast<COptionsForm*>(RUNTIME_CLASS(COptionsForm)->CreateObject());
    ASSERT_TRUE(pForm->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(5, 6, 205, 106), &parent, 77));
    EXPECT_EQ(pForm->GetDocument(), nullptr);
    EXPECT_EQ(pForm->GetDlgCtrlID(), 77);
    EXPECT_EQ(pForm->GetExStyle() & WS_EX_CLIENTEDGE, 0u) << "no border asked, none given";
    CRect rect;
    pForm->GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(5, 6, 205, 106)) << "the size asked, not the template's";
    pForm->SendMessage(WM_INITIALUPDATE);
    EXPECT_EQ(ItemText(pForm, IDC_FORM_COUNT), "3");
    g_formLog.clear();
    ::SendDlgItemMessageA(pForm->m_hWnd, IDC_FORM_BROWSE, BM_CLICK, 0, 0);
    ::SendDlgItemMessageA(pForm->m_hWnd, IDC_FORM_AUTO, BM_CLICK, 0, 0);
    EXPECT_EQ(g_formLog, (std::vector<std::string>{"form:auto 0"}));
    parent.DestroyWindow();   // the form deletes itself with its window
}

TEST(FormView, OpeningAndClosingFormsLeavesNoHandles) {
    auto cycle = [] {
        FormMdi mdi;
        for (int i = 0; i < 3; ++i) mdi.Open();
        mdi.app.CloseAllDocuments(FALSE);
    };
    cycle();
    const classlib_test::HandleCounts before = classlib_test::CountHandles();
    cycle();
    EXPECT_EQ(classlib_test::CountHandles(), before);
}

}  // namespace
