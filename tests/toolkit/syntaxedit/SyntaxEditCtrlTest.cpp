// The edit control's operations: the generator's replacement with its notifications and undo,
// the worked numbers of its conversions, margins and pages, its settings in the profile, the
// clipboard, hit tests and row selection, and the parser's events reaching the control.
#include "SyntaxEditCtrlTestSupport.h"

#include "toolkit/syntaxedit/SyntaxEditScreenSchemaCache.h"

#include <cstring>
#include <functional>

TEST_F(EditCtrlTest, GeneratorReplacementNotifiesAndUndoesInTwoSteps) {
    Open("old 1\nold 2\nold 3\n");
    m_ctrl.SelectAll();
    m_ctrl.DeleteSelection(TRUE);
    m_ctrl.InsertText("new 1\nnew 2", 1, 1, FALSE, TRUE);
    m_ctrl.SetCurPos(1, 1, FALSE, TRUE);
    EXPECT_EQ(Text(), "new 1|new 2");
    const std::vector<int> expected = {KLVSEN_CARETMOVED,  KLVSEN_CANEDIT,   KLVSEN_TEXTCHANGED, KLVSEN_MODIFIED,
                                       KLVSEN_CARETMOVED,  KLVSEN_CANEDIT,   KLVSEN_TEXTCHANGED, KLVSEN_CARETMOVED,
                                       KLVSEN_LAYOUT};
    EXPECT_EQ(NotifyRecorder::Codes(), expected);
    const auto& log = NotifyRecorder::Log();
    EXPECT_EQ(log[2].nValue1, 1);   // deletion: rows 1 to 4, rows deleted and text changed
    EXPECT_EQ(log[2].nValue2, 4);
    EXPECT_EQ(log[3].nValue1, 1);   // modified
    EXPECT_EQ(log[6].nValue2, 2);   // insertion ends on row 2
    EXPECT_EQ(log.back().nValue1, 3);
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "old 1|old 2|old 3|");
}

TEST_F(EditCtrlTest, WithoutParentWindowEveryEditIsRefused) {
    Open("keep\n", FALSE);
    m_ctrl.InsertText("x", 1, 1);
    m_ctrl.SelectAll();
    EXPECT_FALSE(m_ctrl.DeleteSelection());
    m_ctrl.UpperCaseSelection();
    EXPECT_EQ(Text(), "keep|");
}

TEST_F(EditCtrlTest, ConversionsAtATabAndSelectionEnds) {
    Open("a\tb\nabc\tx\n");
    struct Case {
        const char* pszText;
        int nValue;
        int nCharPosToColumn, nColumnToCharPos, nAlignColumn;
    };
    const Case cases[] = {
        {"a\tb", 1, 1, 1, 1},  {"a\tb", 2, 2, 2, 2},  {"a\tb", 3, 5, 2, 5},  {"a\tb", 4, 6, 2, 5},
        {"a\tb", 9, 6, 4, 6},  {"abc\tx", 5, 5, 5, 5}, {"", 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszText) + " at " + std::to_string(c.nValue));
        EXPECT_EQ(m_ctrl.CharPosToColumn(c.pszText, c.nValue), c.nCharPosToColumn);
        EXPECT_EQ(m_ctrl.ColumnToCharPos(c.pszText, c.nValue), c.nColumnToCharPos);
        EXPECT_EQ(m_ctrl.AlignColumn(c.pszText, c.nValue), c.nAlignColumn);
    }
    CString strOut;
    EXPECT_EQ(m_ctrl.ExpandTabs(&m_dc, "a\tb", 3, 0, strOut), 5);
    EXPECT_STREQ(strOut, "a   b");
    strOut.Empty();
    EXPECT_EQ(m_ctrl.ExpandTabs(&m_dc, "a\tb", 3, 1, strOut), 4);   // from the second cell

    ASSERT_TRUE(m_ctrl.SetSelection(1, 1, 2, 3, FALSE));
    EXPECT_TRUE(m_ctrl.IsInSelection(2, 3));   // a stream's last row includes its end column
    EXPECT_FALSE(m_ctrl.IsInSelection(2, 4));
    ASSERT_TRUE(m_ctrl.SetSelection(2, 1, 2, 3, FALSE));
    EXPECT_FALSE(m_ctrl.IsInSelection(2, 3));  // a one-row selection does not
    EXPECT_TRUE(m_ctrl.IsInSelection(2, 2));
    EXPECT_FALSE(m_ctrl.SetSelection(0, 1, 2, 1, FALSE));
}

TEST_F(EditCtrlTest, MarginWidthsAndPrintedPages) {
    struct Case {
        int nRows;
        int nDigits;
    };
    for (const Case& c : {Case{0, 1}, Case{9, 1}, Case{10, 2}, Case{100, 3}}) {
        std::string text;
        for (int i = 0; i < c.nRows; ++i) text += "row\n";
        if (c.nRows) text.pop_back();
        m_ctrl.DestroyWindow();
        Open(text);
        SCOPED_TRACE(c.nRows);
        CClientDC dc(&m_ctrl);
        CFont* pOld = dc.SelectObject(GetPaintManager()->GetLineNumberFont());
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        dc.SelectObject(pOld);
        EXPECT_EQ(m_ctrl.GetLineNumberWidth(), (c.nDigits + 1) * tm.tmAveCharWidth + 2);
        EXPECT_EQ(m_ctrl.GetTextLeftOffset(), 20 + m_ctrl.GetLineNumberWidth() + 10 + 4);
    }
    m_ctrl.SetSelMargin(FALSE, FALSE);
    EXPECT_EQ(m_ctrl.GetTextLeftOffset(), m_ctrl.GetLineNumberWidth() + 10 + 4);
    const int nRowsPerPage = m_ctrl.GetPrintRowsPerPage(51 * m_ctrl.GetRowHeight());
    EXPECT_EQ(nRowsPerPage, 50);
    EXPECT_EQ(m_ctrl.GetPageFirstRow(2, nRowsPerPage), 51);
}

// A screen chain that counts the chains still held.
struct CountedChain : IKLVSyntaxEditSchemaHandle {
    explicit CountedChain(int& nLive) : m_nLive(nLive) { ++m_nLive; }
    ~CountedChain() override { --m_nLive; }
    int& m_nLive;
};

TEST(SyntaxEditScreenSchemaCache, RangesGrowAroundEntriesAndEditsCutThem) {
    int nLive = 0;
    {
        CKLVSyntaxEditScreenSchemaCache cache;
        std::vector<std::pair<int, int>> parsed;
        auto parse = [&parsed, &nLive](int nFirst, int nLast) -> CKLVSchemaHandlePtr {
            parsed.emplace_back(nFirst, nLast);
            return std::make_unique<CountedChain>(nLive);
        };
        IKLVSyntaxEditSchemaHandle* pFirst = cache.Add(100, 31, {}, 0, parse);
        ASSERT_TRUE(pFirst);
        cache.Add(95, 31, {}, 0, parse);
        EXPECT_EQ(parsed, (std::vector<std::pair<int, int>>{{100, 131}, {64, 99}}));
        EXPECT_EQ(cache.Find(120, 0), pFirst);
        int nFirst = 0, nLast = 0;
        cache.CalcRange(200, 31, {210}, nFirst, nLast);   // a collapsed block ends the range
        EXPECT_EQ(nLast, 210);
        cache.DropFrom(110);
        ASSERT_EQ(cache.GetEntries().size(), 2u);
        EXPECT_EQ(cache.GetEntries()[0].nLastRow, 109);
        cache.DropFrom(90);
        ASSERT_EQ(cache.GetEntries().size(), 1u);
        EXPECT_EQ(nLive, 1) << "a dropped entry frees its chain";
        EXPECT_EQ(cache.GetEntries()[0].nFirstRow, 64);
        EXPECT_EQ(cache.GetEntries()[0].nLastRow, 89);
        EXPECT_EQ(cache.Add(300, 31, {}, 0, [](int, int) { return CKLVSchemaHandlePtr(); }), nullptr);
        EXPECT_EQ(cache.GetEntries().size(), 1u);
    }
    EXPECT_EQ(nLive, 0) << "the cache frees its chains";
}

TEST(SyntaxEditPaintManager, SplitSegmentAtTheSelection) {
    struct Case {
        int a, b, s, e;
        int parts[3][2];   // {first, last} of each produced part; {-1, -1}: not produced
    };
    const Case cases[] = {
        {2, 10, 4, 6, {{2, 4}, {4, 6}, {6, 10}}},   {2, 10, 0, 3, {{-1, -1}, {2, 3}, {3, 10}}},
        {2, 10, 4, 12, {{2, 4}, {4, 10}, {-1, -1}}}, {2, 10, 10, 12, {{2, 10}, {-1, -1}, {-1, -1}}},
        {2, 10, 0, 12, {{-1, -1}, {2, 10}, {-1, -1}}}, {5, 10, 0, 5, {{5, 10}, {-1, -1}, {-1, -1}}},
    };
    for (const Case& c : cases) {
        CKLVSyntaxEditTextSegment seg, parts[3];
        seg.nFirstCol = c.a;
        seg.nLastCol = c.b;
        BOOL bProduced[3];
        CKLVSyntaxEditPaintManager::SplitSegment(seg, c.s, c.e, parts, bProduced);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "[" << c.a << "," << c.b << ") by [" << c.s << "," << c.e << ") part " << i);
            EXPECT_EQ(bProduced[i] != FALSE, c.parts[i][0] >= 0);
            if (bProduced[i]) {
                EXPECT_EQ(std::make_pair(parts[i].nFirstCol, parts[i].nLastCol),
                          std::make_pair(c.parts[i][0], c.parts[i][1]));
            }
        }
    }
}

TEST_F(EditCtrlTest, SettingsAndColoursRoundTripThroughTheProfile) {
    const struct {
        BOOL (CKLVSyntaxEditCtrl::*pfnSet)(BOOL, BOOL);
        BOOL (CKLVSyntaxEditCtrl::*pfnGet)() const;
    } settings[] = {
        {&CKLVSyntaxEditCtrl::SetSyntaxColor, &CKLVSyntaxEditCtrl::GetSyntaxColor},
        {&CKLVSyntaxEditCtrl::SetAutoIndent, &CKLVSyntaxEditCtrl::GetAutoIndent},
        {&CKLVSyntaxEditCtrl::SetSelMargin, &CKLVSyntaxEditCtrl::GetSelMargin},
        {&CKLVSyntaxEditCtrl::SetLineNumbers, &CKLVSyntaxEditCtrl::GetLineNumbers},
        {&CKLVSyntaxEditCtrl::SetWideCaret, &CKLVSyntaxEditCtrl::GetWideCaret},
        {&CKLVSyntaxEditCtrl::SetTabWithSpace, &CKLVSyntaxEditCtrl::GetTabWithSpace},
    };
    for (const auto& setting : settings) {
        const BOOL bFlipped = !(m_ctrl.*setting.pfnGet)();
        EXPECT_TRUE((m_ctrl.*setting.pfnSet)(bFlipped, TRUE));
        CKLVSyntaxEditCtrl reader;
        EXPECT_EQ((reader.*setting.pfnGet)(), bFlipped);
    }
    EXPECT_TRUE(m_ctrl.SetScrollBars(FALSE, TRUE, TRUE));
    CKLVSyntaxEditCtrl reader;
    EXPECT_FALSE(reader.GetHorzScrollBar());
    EXPECT_TRUE(reader.GetVertScrollBar());

    CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
    const struct {
        BOOL (CKLVSyntaxEditPaintManager::*pfnSet)(COLORREF, BOOL);
        CKLVColorValue CKLVSyntaxEditTextColors::*pColor;
        LPCTSTR lpszKey;
    } colours[] = {
        {&CKLVSyntaxEditPaintManager::SetTextColor, &CKLVSyntaxEditTextColors::crText, "ColorText"},
        {&CKLVSyntaxEditPaintManager::SetBackColor, &CKLVSyntaxEditTextColors::crBack, "ColorBack"},
        {&CKLVSyntaxEditPaintManager::SetHiliteTextColor, &CKLVSyntaxEditTextColors::crSelText, "ColorHiliteText"},
        {&CKLVSyntaxEditPaintManager::SetHiliteBackColor, &CKLVSyntaxEditTextColors::crSelBack, "ColorHiliteBack"},
        {nullptr, &CKLVSyntaxEditTextColors::crInactiveSelText, "ColorInactiveHiliteColorText"},
        {nullptr, &CKLVSyntaxEditTextColors::crInactiveSelBack, "ColorInactiveHiliteColorBack"},
        {nullptr, &CKLVSyntaxEditTextColors::crLineNumberText, "ColorLineNumberText"},
        {nullptr, &CKLVSyntaxEditTextColors::crLineNumberBack, "ColorLineNumberBack"},
    };
    for (const auto& colour : colours) {
        SCOPED_TRACE(colour.lpszKey);
        const COLORREF clrCustom = RGB(1, 2, 3);
        if (colour.pfnSet)
            EXPECT_TRUE((pPaint->*colour.pfnSet)(clrCustom, TRUE));
        else
            m_app.WriteProfileInt("Settings", colour.lpszKey, static_cast<int>(clrCustom));
        pPaint->RefreshSettings();
        EXPECT_EQ(static_cast<COLORREF>(pPaint->GetColors().*colour.pColor), clrCustom);
        const COLORREF clrStandard = (pPaint->GetColors().*colour.pColor).GetStandardColor();
        m_app.WriteProfileInt("Settings", colour.lpszKey, static_cast<int>(clrStandard));
        pPaint->RefreshSettings();
        EXPECT_EQ((pPaint->GetColors().*colour.pColor).GetCustomColor(), COLORREF(-1));
    }
}

// Another control's options sheet writes the profile; this open control takes every value,
// the tab size its buffer keeps among them, when it loads its settings again.
TEST_F(EditCtrlTest, LoadingSettingsAgainTakesWhatAnotherControlSaved) {
    Open("\tx\n");
    ASSERT_EQ(m_ctrl.GetTabSize(), 4);
    CKLVSyntaxEditCtrl writer;
    BufferPtr other = MakeBuffer("");
    ASSERT_TRUE(writer.Create(&m_parent, FALSE, FALSE, other.get()));
    const struct {
        int nTabSize;
        BOOL bLineNumbers;
    } cases[] = {{7, FALSE}, {1, TRUE}, {64, FALSE}};
    for (const auto& c : cases) {
        EXPECT_TRUE(writer.SetTabSize(c.nTabSize, TRUE));
        EXPECT_TRUE(writer.SetLineNumbers(c.bLineNumbers, TRUE));
        EXPECT_TRUE(m_ctrl.LoadSettings());
        EXPECT_EQ(m_ctrl.GetTabSize(), c.nTabSize);
        EXPECT_EQ(m_ctrl.GetLineNumbers(), c.bLineNumbers) << c.nTabSize;
    }
    writer.DestroyWindow();
}

TEST_F(EditCtrlTest, LogFontIsUsedOnlyWhenWholeAndTerminated) {
    CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
    LOGFONT lf{};
    lf.lfHeight = -20;
    strcpy(lf.lfFaceName, "Arial");
    LOGFONT lfUnterminated = lf;
    memset(lfUnterminated.lfFaceName, 'A', LF_FACESIZE);
    struct Case {
        const LOGFONT* pLogFont;
        UINT nBytes;
        LONG lHeight;
    };
    for (const Case& c : {Case{&lf, sizeof lf - 1, -13}, Case{&lfUnterminated, sizeof lf, -13}, Case{&lf, sizeof lf, -20}}) {
        m_app.WriteProfileBinary("Settings", "LogFont", reinterpret_cast<LPBYTE>(const_cast<LOGFONT*>(c.pLogFont)),
                                 c.nBytes);
        LOGFONT lfDefault{};
        lfDefault.lfHeight = -13;
        strcpy(lfDefault.lfFaceName, "Courier");
        pPaint->SetFont(lfDefault, FALSE);
        pPaint->RefreshSettings();
        LOGFONT lfRead{};
        pPaint->GetTextFont()->GetLogFont(&lfRead);
        EXPECT_EQ(lfRead.lfHeight, c.lHeight) << c.nBytes;
    }
    LOGFONT lfDefault{};
    lfDefault.lfHeight = -13;
    strcpy(lfDefault.lfFaceName, "Courier");
    pPaint->SetFont(lfDefault, FALSE);
}

namespace {

std::string ClipboardText(UINT nFormat = CF_TEXT) {
    std::string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HGLOBAL hMem = ::GetClipboardData(nFormat)) {
        if (const char* psz = static_cast<const char*>(::GlobalLock(hMem))) text = psz;
        ::GlobalUnlock(hMem);
    }
    ::CloseClipboard();
    return text;
}

}  // namespace

TEST_F(EditCtrlTest, CopyAndPasteStreamAndColumnSelections) {
    Open("abc\ndef\nghi");
    ASSERT_TRUE(m_ctrl.SetSelection(1, 2, 3, 2, FALSE));
    m_ctrl.Copy();
    EXPECT_EQ(ClipboardText(), "bc\r\ndef\r\ng");
    EXPECT_FALSE(::IsClipboardFormatAvailable(::RegisterClipboardFormatA("MSDEVColumnSelect")));
    m_ctrl.SetCurPos(3, 4);
    m_ctrl.Paste();
    EXPECT_EQ(Text(), "abc|def|ghibc|def|g");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "abc|def|ghi");

    m_ctrl.SetColumnSelection(TRUE);
    ASSERT_TRUE(m_ctrl.SetSelection(1, 2, 3, 3, FALSE));
    m_ctrl.Copy();
    EXPECT_EQ(ClipboardText(), "b\r\ne\r\nh\r\n");
    EXPECT_TRUE(::IsClipboardFormatAvailable(::RegisterClipboardFormatA("MSDEVColumnSelect")));
    m_ctrl.ClearSelection();
    m_ctrl.SetCurPos(1, 1);
    m_ctrl.Paste();
    EXPECT_EQ(Text(), "babc|edef|hghi");
}

TEST_F(EditCtrlTest, PasteReadsNoFurtherThanTheBlock) {
    Open("");
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, 5);
    ASSERT_TRUE(hMem);
    const SIZE_T nSize = ::GlobalSize(hMem);
    memset(::GlobalLock(hMem), 'x', nSize);   // no terminating NUL
    ::GlobalUnlock(hMem);
    ASSERT_TRUE(::SetClipboardData(CF_TEXT, hMem));
    ::CloseClipboard();
    m_ctrl.Paste();
    const std::string text = Text();
    EXPECT_FALSE(text.empty());
    EXPECT_LE(text.size(), nSize);
    EXPECT_EQ(text.find_first_not_of('x'), std::string::npos);
}

TEST_F(EditCtrlTest, CaseChangeOfSeveralRowsUndoesInOneStep) {
    Open("abc\ndef\nghi");
    ASSERT_TRUE(m_ctrl.SetSelection(1, 2, 3, 2, FALSE));
    m_ctrl.UpperCaseSelection();
    EXPECT_EQ(Text(), "aBC|DEF|Ghi");
    m_ctrl.LowerCaseSelection();
    EXPECT_EQ(Text(), "abc|def|ghi");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "aBC|DEF|Ghi");
    m_ctrl.Undo();
    EXPECT_EQ(Text(), "abc|def|ghi");
}

TEST_F(EditCtrlTest, HitTestGivesRowColumnPositionAndFlags) {
    Open("ab\tc\r\nxyz\r\n");
    const int cw = m_ctrl.GetCharWidth();
    const struct {
        int x, y;
        int row, col, pos;
        DWORD flags;
    } cases[] = {
        {CellX(0) + 1, RowY(0) + 1, 1, 1, 1, 0},
        {CellX(1) + cw - 1, RowY(0) + 1, 1, 3, 3, 0},    // past half a cell: the next column
        {CellX(2) + 1, RowY(0) + 1, 1, 3, 3, 0},         // inside the tab: before it
        {CellX(4) + 1, RowY(0) + 1, 1, 5, 4, 0},
        {CellX(9) + 1, RowY(1) + 1, 2, 10, 4, 0},        // beyond the row end
        {2, RowY(1) + 1, 2, 0, 1, CKLVSyntaxEditCtrl::klvHitLeftOfText},
        {CellX(0) + 1, RowY(9) + 1, 3, 1, 1, CKLVSyntaxEditCtrl::klvHitRowClamped},
        {CellX(0) + 1, -1, 1, 1, 1, CKLVSyntaxEditCtrl::klvHitRowClamped},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        int nRow = 0, nCol = 0, nPos = 0;
        EXPECT_EQ(m_ctrl.HitTest(CPoint(c.x, c.y), nRow, nCol, nPos), c.flags);
        EXPECT_EQ(nRow, c.row);
        EXPECT_EQ(nCol, c.col);
        EXPECT_EQ(nPos, c.pos);
    }
    m_ctrl.SetSelection(1, 1, 1, 3, FALSE);
    m_ctrl.HitTestSelection(CPoint(CellX(1) + 1, RowY(0) + 1));
    EXPECT_TRUE(m_ctrl.IsPressedInSelection());
    EXPECT_EQ(m_ctrl.GetDropPosition(), CPoint(-1, -1));
    m_ctrl.HitTestSelection(CPoint(CellX(1) + 1, RowY(1) + 1));
    EXPECT_FALSE(m_ctrl.IsPressedInSelection());
    EXPECT_EQ(m_ctrl.GetDropPosition(), CPoint(2, 2)) << "column 2 of row 2";
}

TEST_F(EditCtrlTest, SelectRowTakesWholeRowsOrMovesTheCaret) {
    Open("ab\r\nxyz\r\nq\r\n");
    m_ctrl.SelectRow(2, TRUE);
    CPoint ptStart, ptEnd;
    ASSERT_TRUE(m_ctrl.GetSelection(ptStart, ptEnd));
    EXPECT_EQ(ptStart, CPoint(1, 2));
    EXPECT_EQ(ptEnd, CPoint(1, 3));
    EXPECT_TRUE(m_ctrl.IsRowSelectionMode());
    EXPECT_EQ(m_ctrl.GetCurRow(), 2);
    EXPECT_EQ(m_ctrl.GetCurCharPos(), 1);
    EXPECT_EQ(m_ctrl.GetCurCol(), 4) << "the end column of the row";
    CString strText;
    m_ctrl.GetSelectedText(strText);
    EXPECT_EQ(strText, "xyz\r\n");
    m_ctrl.SelectRow(3, FALSE);
    EXPECT_FALSE(m_ctrl.IsSelectionExist());
    EXPECT_EQ(m_ctrl.GetCurRow(), 3);
    EXPECT_EQ(m_ctrl.GetCurCol(), 1);
}

TEST_F(EditCtrlTest, SetOverwriteSwitchesTheBufferMode) {
    Open("ab\r\n");
    for (BOOL bOverwrite : {TRUE, TRUE, FALSE, FALSE}) {
        m_ctrl.SetOverwrite(bOverwrite);
        EXPECT_EQ(m_ctrl.GetBuffer()->GetOverwriteFlag(), bOverwrite);
    }
}

namespace {

// A chain handle of the fake schema below.
struct FakeScreenChain : IKLVSyntaxEditSchemaHandle {};

// A schema that parses every screen range and reports blocks as rows held in the parameter.
class FakeLinkSchema : public IKLVSyntaxEditTextSchema {
public:
    CString GetSchName() override { return "fake"; }
    BOOL FindClassForFile(LPCSTR) override { return TRUE; }
    void SetTheme(LPARAM) override {}
    void Parse(IKLVSyntaxEditTextIterator*) override {}
    CKLVSchemaHandlePtr ParseScreenLines(IKLVSyntaxEditTextIterator*, int, int) override {
        return std::make_unique<FakeScreenChain>();
    }
    void GetLineAttributes(IKLVSyntaxEditTextIterator*, int, int, int, const CKLVSyntaxEditTextColors&,
                           std::vector<CKLVSyntaxEditTextSegment>&, IKLVSyntaxEditSchemaHandle*) override {}
    void GetFoldRegions(int, std::vector<CKLVSyntaxEditCollapsedBlock>&, CKLVSchemaHandlePtr&, BOOL) override {}
    // Parameter: first row * 1000 + last row.
    BOOL GetNotifiedBlockRange(WPARAM pBlock, CKLVSyntaxEditPosition& posStart, CKLVSyntaxEditPosition& posEnd) override {
        posStart = CKLVSyntaxEditPosition(static_cast<int>(pBlock / 1000), 0);
        posEnd = CKLVSyntaxEditPosition(static_cast<int>(pBlock % 1000), 0);
        return pBlock != 0;
    }
};

FakeLinkSchema g_linkSchema;

}  // namespace

// An unused screen chain lives as long as the file class says, not a fixed time: a second after
// the first screen was coloured its chain stays under the default lifetime and goes under one of
// one second.
TEST_F(EditCtrlTest, ScreenChainsLiveAsLongAsTheFileClassSays) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "row\r\n";
    OpenWithSchema(text, &g_linkSchema);
    const auto& entries = m_ctrl.GetScreenSchemaCache().GetEntries();
    FakeLinkParser::s_options.nOnScreenSchCacheLifeTime_sec = 180;
    ASSERT_TRUE(m_ctrl.GetScreenSchemaBlocks(1));
    ::Sleep(1100);
    ASSERT_TRUE(m_ctrl.GetScreenSchemaBlocks(250));
    EXPECT_EQ(entries.size(), 2u);
    FakeLinkParser::s_options.nOnScreenSchCacheLifeTime_sec = 1;
    ASSERT_TRUE(m_ctrl.GetScreenSchemaBlocks(250));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_LE(entries[0].nFirstRow, 250);
    EXPECT_GE(entries[0].nLastRow, 250);
    FakeLinkParser::s_options = CKLVSyntaxEditParseOptions();
}

// Parser codes reach the parent as -938 in the order they come; a finished block drops the
// screen chains from its first row, and the end of a pass repaints every row.
TEST_F(EditCtrlTest, ParserEventsReachTheControlThroughTheParsersConnection) {
    OpenWithSchema("a\r\nb\r\nc\r\nd\r\n", &g_linkSchema);
    auto* pParser = static_cast<FakeLinkParser*>(m_ctrl.GetBuffer()->GetLexParser());
    ASSERT_TRUE(pParser);
    ASSERT_TRUE(m_ctrl.GetScreenSchemaBlocks(1));
    ASSERT_EQ(m_ctrl.GetScreenSchemaCache().GetEntries().size(), 1u);
    const int nCachedLast = m_ctrl.GetScreenSchemaCache().GetEntries()[0].nLastRow;
    ASSERT_GT(nCachedLast, 3);
    pParser->m_pConnection->Notify(1, 0, 0, 0);
    pParser->m_pConnection->Notify(2, 3003, 0, 0);
    EXPECT_EQ(m_ctrl.GetScreenSchemaCache().GetEntries().at(0).nLastRow, 2) << "cut before the block's row";
    Paint();
    ASSERT_NE(m_ctrl.GetDirtyRow(), -1);
    pParser->m_pConnection->Notify(3, 0x200, 0, 0);
    EXPECT_EQ(m_ctrl.GetDirtyRow(), -1);
    std::vector<std::pair<int, int>> arEvents;
    for (const RecordedNotify& n : NotifyRecorder::Log())
        if (n.nCode == KLVSEN_PARSEREVENT) arEvents.emplace_back(n.nValue1, n.nValue2);
    EXPECT_EQ(arEvents, (std::vector<std::pair<int, int>>{{1, 0}, {2, 3003}, {3, 0x200}}));
}

// A finished block in view that arrives before its redraw is due waits for timer 200; the timer's
// expiry or the end of the pass repaints every row and leaves no timer running.
TEST_F(EditCtrlTest, ABlockParsedBeforeItsRedrawIsDueWaitsForTimer200) {
    OpenWithSchema("a\r\nb\r\nc\r\nd\r\n", &g_linkSchema);
    auto* pParser = static_cast<FakeLinkParser*>(m_ctrl.GetBuffer()->GetLexParser());
    ASSERT_TRUE(pParser);
    const HWND hWnd = m_ctrl.GetSafeHwnd();
    const auto Notify = [&](DWORD dwCode, WPARAM pBlock) { pParser->m_pConnection->Notify(dwCode, pBlock, 0, 0); };
    const WPARAM kRows1To2 = 1002, kRows500To600 = 500600;   // first row * 1000 + last row
    // Painting seems slow, so parse-driven redraws are spaced far apart and none is due.
    m_ctrl.m_arPaintTimes.assign(10, 1000000u);
    Notify(1, 0);
    Paint();
    Notify(2, kRows1To2);
    EXPECT_NE(m_ctrl.GetDirtyRow(), -1) << "not repainted yet";
    EXPECT_TRUE(::KillTimer(hWnd, 200)) << "the redraw was postponed";
    Notify(2, kRows1To2);
    m_ctrl.SendMessage(WM_TIMER, 200);
    EXPECT_EQ(m_ctrl.GetDirtyRow(), -1);
    EXPECT_FALSE(::KillTimer(hWnd, 200)) << "the expiry kills the timer";

    Paint();
    Notify(2, kRows500To600);
    EXPECT_FALSE(::KillTimer(hWnd, 200)) << "a block out of view postpones nothing";
    EXPECT_NE(m_ctrl.GetDirtyRow(), -1);
    Notify(2, kRows1To2);
    Notify(3, 0);
    EXPECT_EQ(m_ctrl.GetDirtyRow(), -1);
    EXPECT_FALSE(::KillTimer(hWnd, 200)) << "the end of the pass kills it";

    // Once the interval has passed, a block in view repaints at once.
    Paint();
    m_ctrl.m_arPaintTimes.assign(10, 1u);
    m_ctrl.m_dwLastParseRedraw = ::GetTickCount() - 5000;
    Notify(2, kRows1To2);
    EXPECT_EQ(m_ctrl.GetDirtyRow(), -1);
    EXPECT_FALSE(::KillTimer(hWnd, 200));
}

// The parser's repaints wait for the window thread to have nothing queued: a key pressed after a
// due block is taken before the paint. Only a due block that finds the last one's repaint still
// waiting paints at once.
TEST_F(EditCtrlTest, ParserRepaintsWaitForAnEmptyQueue) {
    OpenWithSchema("a\r\nb\r\nc\r\nd\r\n", &g_linkSchema);
    auto* pParser = static_cast<FakeLinkParser*>(m_ctrl.GetBuffer()->GetLexParser());
    ASSERT_TRUE(pParser);
    m_parent.ShowWindow(SW_SHOWNA);
    m_ctrl.SetFocus();
    const HWND hWnd = m_ctrl.GetSafeHwnd();
    const WPARAM kRows1To2 = 1002;   // first row * 1000 + last row
    const auto Pending = [&] { return ::GetUpdateRect(hWnd, nullptr, FALSE) != FALSE; };
    const auto PaintQueued = [&] {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        return !Pending();
    };
    const auto DueBlock = [&] {
        m_ctrl.m_arPaintTimes.assign(10, 1u);
        m_ctrl.m_dwLastParseRedraw = ::GetTickCount() - 5000;
        pParser->m_pConnection->Notify(2, kRows1To2, 0, 0);
    };
    const struct {
        const char* lpszEvent;
        bool bAfterUnpaintedDueBlock;
        std::function<void()> raise;
        bool bPaintedAtOnce;
    } cases[] = {
        {"a due block", false, DueBlock, false},
        {"a due block after one still unpainted", true, DueBlock, true},
        {"the end of a pass", false, [&] { pParser->m_pConnection->Notify(3, 0, 0, 0); }, false},
        {"the end of a pass after an unpainted block", true, [&] { pParser->m_pConnection->Notify(3, 0, 0, 0); }, false},
        {"the postponed redraw", false, [&] { m_ctrl.SendMessage(WM_TIMER, 200); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszEvent);
        ASSERT_TRUE(PaintQueued());
        if (c.bAfterUnpaintedDueBlock) {
            DueBlock();
            ASSERT_TRUE(Pending());
        }
        c.raise();
        EXPECT_EQ(Pending(), !c.bPaintedAtOnce);
        EXPECT_EQ(m_ctrl.GetDirtyRow() == -1, !c.bPaintedAtOnce) << "a paint leaves no row dirty";
        if (c.bPaintedAtOnce) continue;
        // A key pressed now is taken before the paint, which typing then does.
        m_ctrl.PostMessage(WM_CHAR, 'x', 1);
        MSG msg;
        ASSERT_TRUE(::PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
        ::DispatchMessageA(&msg);
        EXPECT_TRUE(PaintQueued());
    }
    EXPECT_EQ(m_ctrl.GetRowText(1), "xxxxa");
}

TEST_F(EditCtrlTest, AControlGoingAwayStopsTheParsersWorker) {
    BufferPtr buffer = MakeBufferWithSchema("a\r\n", &g_linkSchema);
    FakeLinkParser::s_nStops = 0;
    {
        CKLVSyntaxEditCtrl ctrl;
        ASSERT_TRUE(ctrl.Create(&m_parent, FALSE, FALSE, buffer.get()));
    }
    EXPECT_EQ(FakeLinkParser::s_nStops, 1);
    EXPECT_TRUE(buffer->GetLexParser()) << "the buffer keeps its parser";
}

// Typing leaves a bar alone when its values hold, and sets it when the rows count or the longest
// row changes it, or when something else has set it meanwhile.
TEST_F(EditCtrlTest, TypingKeepsTheScrollBarsInStepWithTheText) {
    std::string text;
    for (int i = 1; i <= 40; ++i) text += "row " + std::to_string(i) + "\r\n";
    BufferPtr buffer = MakeBuffer(text);
    ASSERT_TRUE(m_ctrl.Create(&m_parent, TRUE, TRUE, buffer.get()));
    m_ctrl.MoveWindow(0, 0, 300, 200);
    m_ctrl.RecalcLayout();
    auto bar = [&](int nBar) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        ::GetScrollInfo(m_ctrl.GetSafeHwnd(), nBar, &si);
        return si;
    };
    m_ctrl.SetCurPos(1, 1);
    const int nWidthBefore = bar(SB_HORZ).nMax;
    const struct {
        const char* typed;
        int nOutsideMax;   // a vertical maximum set behind the control's back first, 0 for none
        int nRows;         // the vertical maximum after typing
        bool bWider;       // the horizontal maximum grew
    } steps[] = {
        {"x", 0, 41, false},
        {"\r", 0, 42, false},
        {"y", 7, 42, false},
        {"\r\r", 0, 44, false},
        {"0123456789012345678901234567890123456789012345678901234567890123456789", 0, 44, true},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.typed);
        if (s.nOutsideMax) {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE;
            si.nMin = 1;
            si.nMax = s.nOutsideMax;
            ::SetScrollInfo(m_ctrl.GetSafeHwnd(), SB_VERT, &si, FALSE);
        }
        for (const char* p = s.typed; *p; ++p) m_ctrl.SendMessage(WM_CHAR, static_cast<WPARAM>(*p), 1);
        EXPECT_EQ(bar(SB_VERT).nMax, s.nRows);
        EXPECT_EQ(bar(SB_HORZ).nMax > nWidthBefore, s.bWider) << bar(SB_HORZ).nMax;
    }
}

// Each request to a parser on another thread goes through the system's server: the break, the
// text lock around the change of the rows and the notice of an edit are made within one
// BeginRequests, so that the parser is stopped and kept off once per edit.
TEST_F(EditCtrlTest, AnEditMakesItsParserRequestsTogether) {
    const struct {
        const char* what;
        std::function<void(CKLVSyntaxEditCtrl&)> edit;
        const char* requests;
    } cases[] = {
        {"a typed character", [](CKLVSyntaxEditCtrl& c) { c.SendMessage(WM_CHAR, 'x', 1); },
         "( break lock unlock changed ) "},
        {"the Delete key", [](CKLVSyntaxEditCtrl& c) { c.SendMessage(WM_KEYDOWN, VK_DELETE, 0); },
         "( break lock unlock changed ) "},
        {"text put in as a column (a row at a time)",
         [](CKLVSyntaxEditCtrl& c) { c.InsertColumnText("p\r\nq", 1, 2, FALSE, TRUE); },
         "( break lock unlock lock unlock changed ) "},
        {"a character typed over a selection",
         [](CKLVSyntaxEditCtrl& c) {
             c.SetSelection(1, 1, 1, 3, FALSE);
             c.SendMessage(WM_CHAR, 'x', 1);
         },
         "( break lock unlock changed ) ( break lock unlock changed ) "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenWithSchema("abcd\r\nefgh\r\n", &g_linkSchema);
        m_ctrl.SetCurPos(1, 1);
        FakeLinkParser::s_requests.clear();
        c.edit(m_ctrl);
        EXPECT_EQ(FakeLinkParser::s_requests, c.requests);
        m_ctrl.DestroyWindow();
    }
}

// A block in view repaints the rows it covers, with those of the blocks postponed before it; the
// end of a pass and the postponed redraw repaint every row. A key typed meanwhile so paints its
// own rows and few others.
TEST_F(EditCtrlTest, AParsedBlockRepaintsTheRowsItCovers) {
    std::string text;
    for (int i = 1; i <= 12; ++i) text += "row\r\n";
    OpenWithSchema(text, &g_linkSchema);
    auto* pParser = static_cast<FakeLinkParser*>(m_ctrl.GetBuffer()->GetLexParser());
    ASSERT_TRUE(pParser);
    m_parent.ShowWindow(SW_SHOWNA);
    const HWND hWnd = m_ctrl.GetSafeHwnd();
    CRect rcClient;
    m_ctrl.GetClientRect(&rcClient);
    const auto Block = [&](int nFirst, int nLast, bool bDue) {
        m_ctrl.m_arPaintTimes.assign(10, 1u);
        m_ctrl.m_dwLastParseRedraw = bDue ? ::GetTickCount() - 5000 : ::GetTickCount();
        pParser->m_pConnection->Notify(2, static_cast<WPARAM>(nFirst * 1000 + nLast), 0, 0);
    };
    const auto Rows = [&](int nFirst, int nLast) {
        return CRect(rcClient.left, RowY(nFirst - 1), rcClient.right, RowY(nLast));
    };
    const struct {
        const char* what;
        std::function<void()> raise;
        CRect rcInvalid;
    } cases[] = {
        {"a due block", [&] { Block(3, 4, true); }, Rows(3, 4)},
        {"a due block after a postponed one", [&] { Block(7, 7, false), Block(2, 2, true); }, Rows(2, 7)},
        {"the end of a pass", [&] { pParser->m_pConnection->Notify(3, 0, 0, 0); }, rcClient},
        {"the postponed redraw", [&] { Block(5, 5, false), m_ctrl.SendMessage(WM_TIMER, 200); }, rcClient},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_ctrl.UpdateWindow();
        ASSERT_FALSE(::GetUpdateRect(hWnd, nullptr, FALSE));
        c.raise();
        CRect rcInvalid;
        ::GetUpdateRect(hWnd, &rcInvalid, FALSE);
        EXPECT_EQ(rcInvalid, c.rcInvalid);
        EXPECT_EQ(m_ctrl.GetDirtyRow(), -1);
    }
}
