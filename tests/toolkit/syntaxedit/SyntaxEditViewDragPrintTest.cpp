// Syntax views in a small MDI program: OLE drops of text between views and texts (the drag loop
// played through the target's drop-target calls, started by a press in the selection), files
// passed to the main window, and printing.
#include "SyntaxEditMdiHost.h"
#include "toolkit/syntaxedit/text/SyntaxEditTestSupport.h"

#include <shlobj.h>

#include <cstring>

namespace {

class DropTest : public ::testing::Test {
protected:
    CRecordingSyntaxView* OpenView(CMultiDocTemplate* pTemplate, const std::string& text) {
        CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
        EXPECT_NE(pDoc, nullptr);
        SyntaxMdiHost::SetText(pDoc, text);
        return SyntaxMdiHost::Views(pDoc).front();
    }
    static std::string Text(CKLVSyntaxEditView* pView) { return Rows(*pView->GetEditCtrl()->GetBuffer()); }
    // The client point inside a text cell (row and display column, 1-based) of a view's control.
    static CPoint Cell(CKLVSyntaxEditView* pView, int nRow, int nCol) {
        CKLVSyntaxEditCtrl* pCtrl = pView->GetEditCtrl();
        return CPoint(pCtrl->GetTextLeftOffset() + (nCol - 1) * pCtrl->GetCharWidth() + 1,
                      (nRow - pCtrl->GetTopRow()) * pCtrl->GetRowHeight() + 2);
    }
    // Presses the button inside the source's selection: the view runs the drag.
    static void DragFrom(CKLVSyntaxEditView* pSource, int nRow, int nCol) {
        const CPoint pt = Cell(pSource, nRow, nCol);
        pSource->GetEditCtrl()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    static void DropAt(CKLVSyntaxEditView* pTarget, int nRow, int nCol, DWORD dwKeyState = 0) {
        CRecordingSyntaxView::s_pDropTarget = pTarget;
        CRecordingSyntaxView::s_ptDrop = Cell(pTarget, nRow, nCol);
        CRecordingSyntaxView::s_dwKeyState = dwKeyState;
    }

    SyntaxMdiHost m_host;
};

TEST_F(DropTest, TextDroppedIntoAnotherFramesViewMovesOrWithCtrlCopies) {
    const struct {
        DWORD dwKeyState;
        std::string source, target;
    } cases[] = {{0, "hello ", "abcworld"}, {MK_CONTROL, "hello world", "abcworld"}};
    for (const auto& c : cases) {
        CRecordingSyntaxView* pSource = OpenView(m_host.pPlain, "hello world");
        CRecordingSyntaxView* pTarget = OpenView(m_host.pPlain, "abc");
        pSource->GetEditCtrl()->SetSelection(1, 7, 1, 12);
        DropAt(pTarget, 1, 4, c.dwKeyState);
        DragFrom(pSource, 1, 8);
        EXPECT_EQ(Text(pSource), c.source) << c.dwKeyState;
        EXPECT_EQ(Text(pTarget), c.target) << c.dwKeyState;
        EXPECT_TRUE(pTarget->GetDocument()->IsModified());
        CKLVSyntaxEditCommand* pStep = pTarget->GetEditCtrl()->GetBuffer()->GetUndoManager()->GetLastCommand();
        ASSERT_NE(pStep, nullptr);
        EXPECT_STREQ(pStep->GetCommandText(), "Paste");
        EXPECT_NE(::GetCapture(), pSource->GetEditCtrl()->m_hWnd) << "the press ended with the drag";
    }
}

TEST_F(DropTest, ADropWithinTheSameTextMovesThroughTheSourceAndInsideTheSelectionChangesNothing) {
    CRecordingSyntaxView* pView = OpenView(m_host.pSplit, "hello world\r\nline");
    const std::vector<CRecordingSyntaxView*> views = SyntaxMdiHost::Views(pView->GetDocument());
    CRecordingSyntaxView* pOther = views[1];
    CKLVSyntaxEditCtrl* pCtrl = pView->GetEditCtrl();
    pCtrl->SetSelection(1, 7, 1, 12);
    DropAt(pView, 1, 9);
    DragFrom(pView, 1, 8);
    EXPECT_EQ(Text(pView), "hello world|line");
    EXPECT_FALSE(pCtrl->CanUndo());
    // Into another pane of the same document: the source carries the move out as one step.
    pCtrl->SetSelection(1, 7, 1, 12);
    DropAt(pOther, 2, 1);
    DragFrom(pView, 1, 8);
    EXPECT_EQ(Text(pView), "hello |worldline");
    EXPECT_FALSE(pCtrl->IsSelectionExist());
    pCtrl->Undo();
    EXPECT_EQ(Text(pView), "hello world|line");
}

TEST_F(DropTest, DroppedTextIsReadWithinItsBlockAndFilesGoToTheMainWindow) {
    CRecordingSyntaxView* pView = OpenView(m_host.pPlain, "");
    // A block without a terminator: its bytes and nothing after them.
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 5);
    std::memcpy(::GlobalLock(hText), "abcde", 5);
    ::GlobalUnlock(hText);
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, hText);
    COleDataObject data;
    data.Attach(source.GetDataObject());
    const CPoint pt = Cell(pView, 1, 1);
    ASSERT_EQ(pView->OnDragEnter(&data, 0, pt), DROPEFFECT_MOVE);
    EXPECT_TRUE(pView->OnDrop(&data, DROPEFFECT_MOVE, pt));
    EXPECT_EQ(Text(pView), "abcde");

    DROPFILES header{};
    header.pFiles = sizeof header;
    const char names[] = "C:\\a.c\0";
    HGLOBAL hDrop = ::GlobalAlloc(GMEM_MOVEABLE, sizeof header + sizeof names);
    auto* pBytes = static_cast<BYTE*>(::GlobalLock(hDrop));
    std::memcpy(pBytes, &header, sizeof header);
    std::memcpy(pBytes + sizeof header, names, sizeof names);
    ::GlobalUnlock(hDrop);
    COleDataSource files;
    files.CacheGlobalData(CF_HDROP, hDrop);
    COleDataObject fileData;
    fileData.Attach(files.GetDataObject());
    EXPECT_EQ(pView->OnDragEnter(&fileData, 0, pt), DROPEFFECT_COPY);
    EXPECT_TRUE(pView->OnDrop(&fileData, DROPEFFECT_COPY, pt));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageA(&msg, m_host.pMain->m_hWnd, WM_DROPFILES, WM_DROPFILES, PM_REMOVE));
    char name[MAX_PATH] = {};
    ::DragQueryFileA(reinterpret_cast<HDROP>(msg.wParam), 0, name, MAX_PATH);
    EXPECT_STREQ(name, "C:\\a.c");
    ::DragFinish(reinterpret_cast<HDROP>(msg.wParam));
}

TEST(SyntaxEditPrint, PagesAreDrawnInHundredthsOfAnInchAndTheScreenStateComesBack) {
    SyntaxMdiHost host;
    CDocument* pDoc = host.pPlain->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    SyntaxMdiHost::SetText(pDoc, NumberedText(300));
    CRecordingSyntaxView* pView = SyntaxMdiHost::Views(pDoc).front();
    CKLVSyntaxEditCtrl* pCtrl = pView->GetEditCtrl();
    pCtrl->SetTopRow(7);
    LOGFONT lfScreen{};
    GetPaintManager()->GetTextFont()->GetLogFont(&lfScreen);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    dc.m_bPrinting = TRUE;
    pView->OnPrepareDC(&dc);
    EXPECT_EQ(::GetMapMode(dc.m_hDC), MM_ANISOTROPIC);
    SIZE ext{};
    ::GetWindowExtEx(dc.m_hDC, &ext);
    EXPECT_EQ(ext.cx, 100);
    EXPECT_EQ(ext.cy, 100);
    CPrintInfo info;
    info.SetMaxPage(3);
    info.m_rectDraw.SetRect(0, 0, 850, 1100);
    EXPECT_EQ(pView->PrintPages(&dc, &info), 3u);
    LOGFONT lfAfter{};
    GetPaintManager()->GetTextFont()->GetLogFont(&lfAfter);
    EXPECT_STREQ(lfAfter.lfFaceName, lfScreen.lfFaceName);
    EXPECT_EQ(pCtrl->GetTopRow(), 7);
    // The page count is asked under the print face; the screen font comes back after.
    CPrintInfo direct;
    direct.m_bDirect = TRUE;
    pView->OnPreparePrinting(&direct);
    EXPECT_GT(direct.GetMaxPage(), 1u);
    EXPECT_EQ(direct.m_nNumPreviewPages, direct.GetMaxPage());
    GetPaintManager()->GetTextFont()->GetLogFont(&lfAfter);
    EXPECT_STREQ(lfAfter.lfFaceName, lfScreen.lfFaceName);
}

}  // namespace
