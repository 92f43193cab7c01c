// The edit control's paint of one screen of 5 MB of generated C against a plain ExtTextOut of the
// same rows in the same font into a memory DC of the same size:
// - Draw into a memory DC, paged through from top to bottom, the buffer without a lexer
//   (draw_ratio_vs_textout=);
// - 100 Page Downs in a shown control over a coloured buffer, each a full-screen paint with its
//   on-screen parse, read from the control's own timing ring (paint_ratio_vs_textout=), and the
//   same screens drawn into memory (paint_draw_ratio_vs_textout=).
#include "BenchTiming.h"
#include "GeneratedCText.h"
#include "LexedEditHost.h"
#include "PlainEditHost.h"
#include "WinBenchReport.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kPageDowns = 100;

// ExtTextOut of a screen of rows from each top row, the screen cleared first: seconds.
template <class Tops>
double TextOutScreens(CKLVSyntaxEditCtrl& ctrl, CDC& dc, int nPage, Tops forEachTop) {
    return BestSeconds([&] {
        CFont* pOldFont = dc.SelectObject(GetPaintManager()->GetTextFont());
        CString strRow;
        forEachTop([&](int nTop) {
            dc.FillSolidRect(0, 0, 800, 600, RGB(255, 255, 255));
            for (int i = 0; i <= nPage; ++i) {
                ctrl.GetBuffer()->GetLineText(nTop + i, strRow);
                dc.ExtTextOut(ctrl.GetTextLeftOffset(), i * ctrl.GetRowHeight(), 0, nullptr, strRow,
                              static_cast<UINT>(strRow.GetLength()), nullptr);
            }
        });
        dc.SelectObject(pOldFont);
    });
}

// A memory DC with a bitmap of the control's size.
struct CScreenDC {
    CScreenDC() {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, 800, 600);
        pOld = dc.SelectObject(&bitmap);
    }
    ~CScreenDC() { dc.SelectObject(pOld); }
    CDC dc;
    CBitmap bitmap;
    CBitmap* pOld = nullptr;
};

void DrawWithoutLexer(CBenchReport& report, const std::string& text) {
    CPlainEditHost host(text, FALSE);
    CKLVSyntaxEditCtrl& ctrl = host.Ctrl();
    CScreenDC screen;
    const int nRows = ctrl.GetRowCount(), nPage = ctrl.GetVisibleRowCount(), nPages = 200;
    const int nStep = std::max((nRows - nPage) / nPages, 1);
    auto forEachTop = [&](auto paint) {
        for (int nTop = 1; nTop + nPage <= nRows && nTop < nPages * nStep; nTop += nStep) paint(nTop);
    };
    const double control = BestSeconds([&] {
        forEachTop([&](int nTop) {
            ctrl.SetTopRow(nTop);
            ctrl.Draw(&screen.dc);
        });
    });
    const double textout = TextOutScreens(ctrl, screen.dc, nPage, forEachTop);
    std::printf("rows=%d screen_rows=%d pages=%d\n", nRows, nPage, nPages);
    report.Figure("control_draw_ms", control * 1000 / nPages);
    report.Figure("textout_draw_ms", textout * 1000 / nPages);
    report.Figure("draw_ratio_vs_textout", control / textout);
}

bool PageDownsWithLexer(CBenchReport& report, const std::string& text) {
    CLexedEditHost host(text);
    if (!host.IsValid() || !host.Load() || !host.PumpUntil([&] { return host.ParseEndedSince(0); })) {
        std::fprintf(stderr, "the coloured buffer's first parse did not end within the limit\n");
        return false;
    }
    CKLVSyntaxEditCtrl& ctrl = host.Ctrl();
    ctrl.SetFocus();
    ctrl.SetCurPos(1, 1);
    ctrl.UpdateWindow();
    const int nFirstTop = ctrl.GetTopRow();
    const double dWall = BestSeconds([&] {
        for (int i = 0; i < kPageDowns; ++i) {
            // The control leaves the repaint to its view, which answers its layout notification so.
            ctrl.SendMessage(WM_KEYDOWN, VK_NEXT, 1);
            ctrl.UpdateScrollBars();
            ctrl.Invalidate(FALSE);
            ctrl.UpdateWindow();
        }
    }, 1);
    const int nLastTop = ctrl.GetTopRow(), nPage = ctrl.GetVisibleRowCount();
    const double dRingMs = ctrl.GetAveragePaintTime();
    CScreenDC screen;
    auto forEachTop = [&](auto paint) {
        for (int i = 0, nTop = nFirstTop; i < kPageDowns; ++i, nTop += nPage) paint(nTop);
    };
    const double textout = TextOutScreens(ctrl, screen.dc, nPage, forEachTop);
    // The same screens drawn into memory: the paint without the window's own work around it.
    const double draw = BestSeconds([&] {
        forEachTop([&](int nTop) {
            ctrl.SetTopRow(nTop);
            ctrl.Draw(&screen.dc);
        });
    });
    std::printf("page_downs=%d top_row_from=%d top_row_to=%d\n", kPageDowns, nFirstTop, nLastTop);
    report.Figure("page_down_wall_ms", dWall * 1000 / kPageDowns);
    report.Figure("paint_ring_ms", dRingMs, "a full-screen paint under 30 ms");
    report.Figure("paint_draw_ms", draw * 1000 / kPageDowns, "under 30 ms");
    report.Figure("textout_paint_ms", textout * 1000 / kPageDowns);
    if (dRingMs > 0)
        report.Figure("paint_ratio_vs_textout", dRingMs / (textout * 1000 / kPageDowns), "watched as a trend");
    else
        std::printf("paint_ratio_vs_textout=n/a (the ring holds no paint)\n");
    report.Figure("paint_draw_ratio_vs_textout", draw / textout, "watched as a trend");
    return true;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CBenchReport report("syntaxedit_paint_bench");
    const std::string text = MakeApiSource(5u << 20);
    DrawWithoutLexer(report, text);
    return PageDownsWithLexer(report, text) ? 0 : 1;
}
