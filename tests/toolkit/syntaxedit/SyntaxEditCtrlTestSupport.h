// An edit control in a parent window that records every WM_NOTIFY it receives, over a buffer
// made from text, with an application object whose "Settings" start empty.
#pragma once

#include "toolkit/syntaxedit/text/SyntaxEditTestSupport.h"
#include "support/PaintCanvas.h"
#include "support/ScopedProfileKey.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <string>
#include <vector>

struct RecordedNotify {
    int nCode;
    int nValue1;   // the first payload field (rows, flags, values)
    int nValue2;
    BOOL bValidDC; // -948: the DC handle it carries is a DC
};

class NotifyRecorder {
public:
    static std::vector<RecordedNotify>& Log() {
        static std::vector<RecordedNotify> s_log;
        return s_log;
    }
    static std::vector<int> Codes() {
        std::vector<int> arCodes;
        for (const RecordedNotify& n : Log()) arCodes.push_back(n.nCode);
        return arCodes;
    }
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
        if (nMsg != WM_NOTIFY) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
        const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
        RecordedNotify n{static_cast<int>(pHdr->code), 0, 0, FALSE};
        if (n.nCode == KLVSEN_DRAWMARKS) {
            const auto* pDraw = reinterpret_cast<const KLVSE_NMDRAWMARKS*>(pHdr);
            n.nValue1 = pDraw->nRow;
            n.bValidDC = ::GetObjectType(pDraw->hDC) == OBJ_MEMDC || ::GetObjectType(pDraw->hDC) == OBJ_DC;
        } else if (n.nCode == KLVSEN_PARSEREVENT) {
            const auto* pEvent = reinterpret_cast<const KLVSE_NMPARSEREVENT*>(pHdr);
            n.nValue1 = static_cast<int>(pEvent->dwCode);
            n.nValue2 = static_cast<int>(pEvent->pParam1);
        } else if (n.nCode != KLVSEN_CANEDIT) {
            const auto* pRows = reinterpret_cast<const KLVSE_NMROWS*>(pHdr);
            n.nValue1 = pRows->nRow1;
            if (n.nCode == KLVSEN_TEXTCHANGED || n.nCode == KLVSEN_CARETMOVED) n.nValue2 = pRows->nRow2;
        }
        Log().push_back(n);
        return n.nCode == KLVSEN_MARGINCLICK ? s_lMarginClickAnswer : 0;
    }
    // What the parent answers a click in the selection margin.
    static inline LRESULT s_lMarginClickAnswer = 0;
};

// A parser whose codes the test sends itself, over the schema the test gives.
class FakeLinkParser : public IKLVSyntaxEditLexParser {
public:
    ~FakeLinkParser() override { m_pConnection->InternalRelease(); }
    void Close() override {}
    void BreakParse() override { s_requests += "break "; }
    IKLVSyntaxEditTextSchema* GetTextSchema() override { return s_pSchema; }
    void SetTextSchema(IKLVSyntaxEditTextSchema*) override {}
    CKLVSyntaxEditParseOptions GetOptions(LPCSTR) override { return s_options; }
    void StartParseInThread(IKLVSyntaxEditTextSource*, const CKLVSyntaxEditPosition*, const CKLVSyntaxEditPosition*,
                            int, BOOL) override {
        ++s_nThreadParses;
    }
    void OnTextChanged(const CKLVSyntaxEditPosition&, const CKLVSyntaxEditPosition&, int,
                       IKLVSyntaxEditTextSource*) override {
        s_requests += "changed ";
    }
    void LockText() override { s_requests += "lock "; }
    void UnlockText() override { s_requests += "unlock "; }
    BOOL BeginRequests() override {
        s_requests += "( ";
        return TRUE;
    }
    void EndRequests() override { s_requests += ") "; }
    CKLVNotificationConnection* GetConnection() override { return m_pConnection; }
    void StopParserThread() override { ++s_nStops; }
    void GetWordLists(CStringArray& arWords) override {
        ++s_nWordListCalls;
        arWords.RemoveAll();
        for (const std::string& word : s_words) arWords.Add(word.c_str());
    }
    CKLVNotificationConnection* m_pConnection = new CKLVNotificationConnection;
    static inline int s_nStops = 0;
    // The requests in the order they came; "(" and ")" enclose one edit's.
    static inline std::string s_requests;
    static inline int s_nThreadParses = 0;
    static inline int s_nWordListCalls = 0;
    static inline std::vector<std::string> s_words;
    static inline IKLVSyntaxEditTextSchema* s_pSchema = nullptr;
    static inline CKLVSyntaxEditParseOptions s_options;
};

// A buffer whose parser is a FakeLinkParser over the schema.
inline BufferPtr MakeBufferWithSchema(const std::string& text, IKLVSyntaxEditTextSchema* pSchema) {
    FakeLinkParser::s_pSchema = pSchema;
    const KLV_SYNTAXEDIT_LEXER_FACTORY factory = {[] { return static_cast<IKLVSyntaxEditLexParser*>(new FakeLinkParser); },
                                                  nullptr};
    KLVSetSyntaxEditLexerFactory(&factory);
    BufferPtr buffer = MakeBuffer(text);
    KLVSetSyntaxEditLexerFactory(nullptr);
    return buffer;
}

// A schema whose collapsible blocks the test lists (rows 1-based, columns 0-based).
class ListedFoldSchema : public IKLVSyntaxEditTextSchema {
public:
    CString GetSchName() override { return "folds"; }
    BOOL FindClassForFile(LPCSTR) override { return TRUE; }
    void SetTheme(LPARAM) override {}
    void Parse(IKLVSyntaxEditTextIterator*) override { ++m_nParses; }
    CKLVSchemaHandlePtr ParseScreenLines(IKLVSyntaxEditTextIterator*, int, int) override { return nullptr; }
    void GetLineAttributes(IKLVSyntaxEditTextIterator*, int, int, int, const CKLVSyntaxEditTextColors&,
                           std::vector<CKLVSyntaxEditTextSegment>&, IKLVSyntaxEditSchemaHandle*) override {}
    void GetFoldRegions(int nLine, std::vector<CKLVSyntaxEditCollapsedBlock>& arRegions, CKLVSchemaHandlePtr&,
                        BOOL) override {
        for (const CKLVSyntaxEditCollapsedBlock& block : m_arBlocks)
            if (nLine == -1 || (block.lcStart.nLine <= nLine && nLine <= block.lcEnd.nLine)) arRegions.push_back(block);
    }
    BOOL GetNotifiedBlockRange(WPARAM, CKLVSyntaxEditPosition&, CKLVSyntaxEditPosition&) override { return FALSE; }

    void Add(int nRow1, int nCol1, int nRow2, int nCol2, LPCSTR lpszText = "[..]") {
        CKLVSyntaxEditCollapsedBlock block;
        block.lcStart = CKLVSyntaxEditPosition(nRow1, nCol1);
        block.lcEnd = CKLVSyntaxEditPosition(nRow2, nCol2);
        block.strCollapsedText = lpszText;
        m_arBlocks.push_back(block);
    }
    std::vector<CKLVSyntaxEditCollapsedBlock> m_arBlocks;
    int m_nParses = 0;
};

class EditCtrlTest : public testsupport::PaintCanvas {
protected:
    EditCtrlTest() : PaintCanvas(320, 240) {}

    void SetUp() override {
        PaintCanvas::SetUp();
        m_app.SetRegistryKey(m_profileKey.Name());
        GetPaintManager()->RefreshSettings();
        WNDCLASSA wc{};
        wc.lpfnWndProc = &NotifyRecorder::WndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "KelvaneEditCtrlTestParent";
        ::RegisterClassA(&wc);
        HWND hParent = ::CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                         nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(hParent);
        m_parent.Attach(hParent);
    }

    void TearDown() override {
        NotifyRecorder::s_lMarginClickAnswer = 0;
        m_ctrl.DestroyWindow();
        ::DestroyWindow(m_parent.Detach());
        m_app.WriteProfileString("Settings", nullptr, nullptr);
        GetPaintManager()->RefreshSettings();
        NotifyRecorder::Log().clear();
        PaintCanvas::TearDown();
    }

    // The control over the text, 300 by 200 pixels, without scroll bars of its own.
    void Open(const std::string& text, BOOL bWithParent = TRUE) { OpenBuffer(MakeBuffer(text), bWithParent); }
    // The same over a buffer whose parser has the schema.
    void OpenWithSchema(const std::string& text, IKLVSyntaxEditTextSchema* pSchema, BOOL bVertScroll = FALSE) {
        OpenBuffer(MakeBufferWithSchema(text, pSchema), TRUE, bVertScroll);
    }
    void OpenBuffer(BufferPtr buffer, BOOL bWithParent, BOOL bVertScroll = FALSE) {
        ASSERT_TRUE(m_ctrl.Create(bWithParent ? &m_parent : nullptr, FALSE, bVertScroll, buffer.get()));
        m_ctrl.MoveWindow(0, 0, 300, 200);
        m_ctrl.RecalcLayout();
        NotifyRecorder::Log().clear();
    }

    std::string Text() { return Rows(*m_ctrl.GetBuffer()); }

    // The left pixel of a display cell of the text, and the top of a screen row.
    int CellX(int nCell) const { return m_ctrl.GetTextLeftOffset() + nCell * m_ctrl.GetCharWidth(); }
    int RowY(int nScreenRow) const { return nScreenRow * m_ctrl.GetRowHeight(); }
    // Opaque text output leaves the bottom pixel line of a cell in the background colour.
    COLORREF CellBack(int nCell, int nScreenRow) const {
        return m_dc.GetPixel(CellX(nCell) + 1, RowY(nScreenRow) + m_ctrl.GetRowHeight() - 1);
    }
    void Paint() { m_ctrl.Draw(&m_dc); }

    testsupport::ScopedProfileKey m_profileKey{"KelvaneEditCtrlTests"};
    CWinApp m_app{"KelvaneEditCtrlTest"};
    CWnd m_parent;
    CKLVSyntaxEditCtrl m_ctrl;
};
