// The "_api.c" Generate Code writes for a large corpus document (about 3 MB) in a tab of the
// program: its background parse ends, the screen shows the schema's colours and fold nodes,
// Collapse All hides every block's rows; and the colours left by a burst of typing equal those
// of a fresh parse of the same text.
#include "AppTestHost.h"

#include "app/QuorlinView.h"
#include "support/TestFiles.h"
#include "toolkit/syntaxedit/lexer/LexTestSupport.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexParser.h"
#include "toolkit/syntaxedit/text/SyntaxEditTestSupport.h"
#include "toolkit/syntaxedit/text/SyntaxEditNotificationSinkMT.h"

#include <filesystem>

using namespace apptest;

namespace {

// Counts the parser's pass ends (code 3) as the user interface thread receives them.
class CParseEnds {
public:
    explicit CParseEnds(CKLVNotificationConnection* pConnection) { m_sink.Advise(pConnection, 3, &CParseEnds::OnEnd); }
    ~CParseEnds() { m_sink.UnadviseAll(); }
    int m_nEnds = 0;

private:
    void OnEnd(KLV_NOTIFYCODE, WPARAM, LPARAM) { ++m_nEnds; }
    CKLVNotificationSinkMT<CParseEnds> m_sink{this};
};

// Waits for a pass end counted after nEndsBefore and a parser with nothing left to do.
bool ParseEnded(CKLVSyntaxEditLexParser& parser, const CParseEnds& ends, int nEndsBefore) {
    return PumpUntilDoneOrHung([&] { return ends.m_nEnds > nEndsBefore && parser.IsIdle(); });
}

class LargeFileTest : public AppTest {
protected:
    LargeFileTest() {
        std::filesystem::copy_file(std::string(KELVANE_CORPUS_DIR) + "/wsdl/savon/edialog.wsdl", Folder() + "edialog.wsdl");
        CProjectRecord& project = UseProject(CProjectRecord::Windows, "edialog");
        project.wsdlPath = Folder() + "edialog.wsdl";
        testsupport::writeBytes(Folder() + "edialog_api.c", "");
        EXPECT_TRUE(Frame().openDocument(Folder() + "edialog_api.c"));
    }
    // Generate Code into the tab, then a bounded wait for its whole first colouring.
    void GenerateAndColour() {
        CquorlinView* pView = Frame().GetTabView(0);
        ASSERT_NE(pView, nullptr);
        m_pCtrl = pView->GetEditCtrl();
        m_pParser = dynamic_cast<CKLVSyntaxEditLexParser*>(m_pCtrl->GetBuffer()->GetLexParser());
        ASSERT_NE(m_pParser, nullptr);
        m_pEnds = std::make_unique<CParseEnds>(m_pParser->GetConnection());
        Command(ID_GENERATE_CODE);
        ASSERT_GT(m_pCtrl->GetRowCount(), 50000) << OutputText();
        ASSERT_TRUE(ParseEnded(*m_pParser, *m_pEnds, 0)) << "the first colouring of the whole file ends";
        ASSERT_NE(m_pParser->GetLexTextSchema(), nullptr);
    }
    CKLVSyntaxEditCtrl* m_pCtrl = nullptr;
    CKLVSyntaxEditLexParser* m_pParser = nullptr;
    std::unique_ptr<CParseEnds> m_pEnds;

    // The first row at or after nFrom whose text, tabs and blanks skipped, starts with the prefix.
    static int FindRow(CKLVSyntaxEditCtrl& ctrl, const char* lpszPrefix, int nFrom = 1) {
        for (int nRow = nFrom; nRow <= ctrl.GetRowCount(); ++nRow) {
            CString strRow = ctrl.GetRowText(nRow);
            if (strRow.TrimLeft().Find(lpszPrefix) == 0) return nRow;
        }
        return -1;
    }
    // Paints the control with nRow as its first screen row into a bitmap of its size.
    struct CScreen {
        CScreen(CKLVSyntaxEditCtrl& ctrl, int nRow) {
            ctrl.SetTopRow(nRow);
            ctrl.GetClientRect(&rcClient);
            CClientDC screen(&ctrl);
            dc.CreateCompatibleDC(&screen);
            bitmap.CreateCompatibleBitmap(&screen, rcClient.Width(), rcClient.Height());
            pOld = dc.SelectObject(&bitmap);
            ctrl.Draw(&dc);
        }
        ~CScreen() { dc.SelectObject(pOld); }
        int Count(const CRect& rc, COLORREF color) {
            int nCount = 0;
            for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, rcClient.bottom); ++y)
                for (int x = std::max<int>(rc.left, 0); x < std::min<int>(rc.right, rcClient.right); ++x)
                    nCount += dc.GetPixel(x, y) == color;
            return nCount;
        }
        CRect rcClient;
        CDC dc;
        CBitmap bitmap;
        CBitmap* pOld = nullptr;
    };
    // The first screen row's cells of nLength characters from character position nPos, with a
    // cell either side (columns may count from one).
    static CRect Cells(CKLVSyntaxEditCtrl& ctrl, int nRow, int nPos, int nLength) {
        const int nCol = ctrl.CharPosToColumn(ctrl.GetRowText(nRow), nPos);
        const int nCharWidth = std::max(ctrl.GetCharWidth(), 1);
        return CRect(ctrl.GetTextLeftOffset() + (nCol - 1) * nCharWidth, 0,
                     ctrl.GetTextLeftOffset() + (nCol + nLength + 1) * nCharWidth, ctrl.GetRowHeight());
    }
};

TEST_F(LargeFileTest, AGeneratedFileOfSeveralMegabytesIsColouredAndFolded) {
    ASSERT_NO_FATAL_FAILURE(GenerateAndColour());
    CKLVSyntaxEditCtrl& ctrl = *m_pCtrl;
    CKLVSyntaxEditLexTextSchema* pSchema = m_pParser->GetLexTextSchema();

    // A comment, a keyword and a string, each in its colour on the screen.
    const int nComment = FindRow(ctrl, "//");
    const int nKeyword = FindRow(ctrl, "static ");
    const int nString = FindRow(ctrl, "case '&': result = mystrcat(");
    const struct {
        int nRow;
        const char* lpszToken;
        COLORREF color;
    } probes[] = {{nComment, "//", RGB(0x00, 0x80, 0x00)},
                  {nKeyword, "static", RGB(0x00, 0x00, 0xFF)},
                  {nString, "\"&amp;", RGB(0xA3, 0x15, 0x15)}};
    for (const auto& probe : probes) {
        ASSERT_GT(probe.nRow, 0) << probe.lpszToken;
        const int nPos = ctrl.GetRowText(probe.nRow).Find(probe.lpszToken);
        CScreen screen(ctrl, probe.nRow);
        EXPECT_GT(screen.Count(Cells(ctrl, probe.nRow, nPos, 2), probe.color), 0)
            << probe.lpszToken << " on row " << probe.nRow << ": " << std::string(ctrl.GetRowText(probe.nRow));
    }

    // A fold node beside a block's first row, drawn in the margin.
    std::vector<CKLVSyntaxEditCollapsedBlock> regions;
    pSchema->GetFoldRegions(nullptr, -1, regions);
    ASSERT_GT(regions.size(), 100u);
    {
        CScreen screen(ctrl, regions.front().lcStart.nLine);
        CRect rcNode;
        ctrl.GetNodeRect(1, rcNode);
        ASSERT_FALSE(rcNode.IsRectEmpty());
        EXPECT_GT(screen.Count(rcNode, ::GetSysColor(COLOR_BTNSHADOW)), 0);
    }

    // Collapse All hides the rows after each block's first, up to its last; Expand All shows all.
    const int nRows = ctrl.GetRowCount();
    Command(ID_COLLAPSE_ALL);
    auto hidden = [&](int nRow) { return ctrl.GetVisibleRowNumber(nRow) == ctrl.GetVisibleRowNumber(nRow - 1); };
    for (size_t i = 0; i < regions.size(); i += regions.size() / 50) {
        const CKLVSyntaxEditCollapsedBlock& block = regions[i];
        for (int nRow = block.lcStart.nLine + 1; nRow <= block.lcEnd.nLine; ++nRow)
            EXPECT_TRUE(hidden(nRow)) << "row " << nRow << " of the block from " << block.lcStart.nLine;
    }
    EXPECT_LT(ctrl.GetVisibleRowNumber(-1), nRows / 2);
    Command(ID_EXPAND_ALL);
    EXPECT_EQ(ctrl.GetVisibleRowNumber(-1), nRows);
}

// Each keystroke stops the pass the one before started; once the burst has been parsed (pass
// ended, parser idle) the tab's chain must hold every block a fresh parse finds, to the last row.
TEST_F(LargeFileTest, TheColoursAfterABurstOfTypingEqualThoseOfAFreshParse) {
    ASSERT_NO_FATAL_FAILURE(GenerateAndColour());
    CKLVSyntaxEditCtrl& ctrl = *m_pCtrl;
    CKLVSyntaxEditLexTextSchema* pSchema = m_pParser->GetLexTextSchema();
    const int nKeyword = FindRow(ctrl, "static ");
    const int nRows = ctrl.GetRowCount();
    // A burst of typing, a comment opened and closed among it, then the background parse.
    const int nTyped = nKeyword + 3;
    ctrl.SetFocus();
    ctrl.SetCurPos(nTyped, 1);
    const int nEndsBefore = m_pEnds->m_nEnds;
    for (char ch : std::string("int a = 1; /* x \"y\" */ char* s = \"t\"; // z\r{\r}\r"))
        ctrl.SendMessage(WM_CHAR, static_cast<WPARAM>(ch), 1);
    ASSERT_TRUE(ParseEnded(*m_pParser, *m_pEnds, nEndsBefore));

    // The same text, saved and parsed from nothing in a buffer of its own.
    ASSERT_TRUE(Frame().saveTab(0, Folder() + "fresh_api.c"));
    // Every buffer shares one configuration; setting it again would reload it and give every open
    // tab a new schema (freeing the one read above), so the fresh buffer only checks it is the same.
    BufferPtr fresh(new CKLVSyntaxEditBufferManager);
    ASSERT_EQ(fresh->GetConfigFile(), ctrl.GetConfigFile());
    auto* pFreshParser = dynamic_cast<CKLVSyntaxEditLexParser*>(fresh->GetLexParser());
    ASSERT_NE(pFreshParser, nullptr);
    CParseEnds freshEnds(pFreshParser->GetConnection());
    ASSERT_TRUE(fresh->LoadFile((Folder() + "fresh_api.c").c_str()));
    ASSERT_TRUE(ParseEnded(*pFreshParser, freshEnds, 0));
    CKLVSyntaxEditLexTextSchema* pFreshSchema = pFreshParser->GetLexTextSchema();
    ASSERT_NE(pFreshSchema, nullptr);
    ASSERT_NE(pFreshSchema, pSchema) << "each buffer parses with a schema of its own";
    ASSERT_EQ(m_pParser->GetLexTextSchema(), pSchema) << "the tab kept the schema it was parsed with";
    for (const auto& range : {std::pair<int, int>{nTyped - 2, nTyped + 40}, std::pair<int, int>{nRows - 10, nRows}})
        EXPECT_EQ(RunsOf(ctrl.GetBuffer(), pSchema, range.first, range.second),
                  RunsOf(fresh.get(), pFreshSchema, range.first, range.second))
            << "rows " << range.first << " to " << range.second;
    EXPECT_EQ(FoldsOf(pSchema), FoldsOf(pFreshSchema));
}

}  // namespace
