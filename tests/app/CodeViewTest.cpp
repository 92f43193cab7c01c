// The code view's own commands on an editor tab: bookmarks with their update rule, case and the
// lexer configuration every view is given.
#include "AppTestHost.h"

#include "app/QuorlinView.h"
#include "support/TestFiles.h"

using namespace apptest;

namespace {

class CodeViewTest : public AppTest {
protected:
    CodeViewTest() {
        testsupport::writeBytes(Folder() + "calc_api.c", "int a;\r\nint b;\r\n");
        EXPECT_TRUE(Frame().openDocument(Folder() + "calc_api.c"));
        m_pView = Frame().GetTabView(0);
    }
    int ViewEnabled(UINT nID) const { return classlib_test::IsCommandEnabled(m_pView, nID); }
    CquorlinView* m_pView = nullptr;
};

TEST_F(CodeViewTest, BookmarkStepsAreEnabledOnlyOnceABookmarkIsSet) {
    ASSERT_NE(m_pView, nullptr);
    EXPECT_EQ(ViewEnabled(ID_NEXT_BOOKMARK), 0);
    EXPECT_EQ(ViewEnabled(ID_PREV_BOOKMARK), 0);
    m_pView->SendMessage(WM_COMMAND, ID_TOGGLE_BOOKMARK);
    EXPECT_TRUE(m_pView->GetEditCtrl()->HasBookmarks());
    EXPECT_EQ(ViewEnabled(ID_NEXT_BOOKMARK), 1);
    EXPECT_EQ(ViewEnabled(ID_PREV_BOOKMARK), 1);
    m_pView->SendMessage(WM_COMMAND, ID_TOGGLE_BOOKMARK);
    EXPECT_EQ(ViewEnabled(ID_NEXT_BOOKMARK), 0);
}

TEST_F(CodeViewTest, CaseCommandsChangeTheSelection) {
    ASSERT_NE(m_pView, nullptr);
    CKLVSyntaxEditCtrl* pCtrl = m_pView->GetEditCtrl();
    pCtrl->SelectAll();
    m_pView->SendMessage(WM_COMMAND, ID_UPPERCASE);
    ASSERT_TRUE(Frame().saveTab(0, Folder() + "calc_api.c"));
    EXPECT_EQ(testsupport::readBytes(Folder() + "calc_api.c"), "INT A;\r\nINT B;\r\n");
    pCtrl->SelectAll();
    m_pView->SendMessage(WM_COMMAND, ID_LOWERCASE);
    ASSERT_TRUE(Frame().saveTab(0, Folder() + "calc_api.c"));
    EXPECT_EQ(testsupport::readBytes(Folder() + "calc_api.c"), "int a;\r\nint b;\r\n");
}

}  // namespace
