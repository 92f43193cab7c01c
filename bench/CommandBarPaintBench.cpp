// Repainting a shown 40-control tool bar from its off-screen image against drawing every control
// afresh on each paint. The cached repaint is one copy, so the ratio should stay well above 1.
#include "BenchTiming.h"
#include "support/FlatPaintManagerTheme.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"

#include <cstdio>

namespace {

constexpr int kControls = 40;
constexpr int kPaints = 200;

double PaintSeconds(CKLVCommandBar& bar) {
    return BestSeconds([&] {
        for (int i = 0; i < kPaints; ++i) {
            ::InvalidateRect(bar.GetSafeHwnd(), nullptr, FALSE);
            ::UpdateWindow(bar.GetSafeHwnd());
        }
    });
}

}  // namespace

int main() {
    CKLVFlatTestTheme::Register();
    CKLVCommandBar bar;
    bar.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "bench", WS_POPUP, CRect(0, 0, 1000, 26), nullptr, 0);
    for (int i = 0; i < kControls; ++i) {
        CKLVControl* pControl = bar.GetControls()->Add(CKLVControl::typeButton, 100 + i);
        if (!pControl) {
            // The control classes register themselves in the library that builds them.
            std::fprintf(stderr, "commandbar_paint_bench: no control class makes buttons (is the controls library linked?)\n");
            return 1;
        }
        pControl->SetCaption("Item");
        pControl->m_nStyle = CKLVControl::styleCaption;
        pControl->m_bBeginGroup = i % 5 == 0;
    }
    CClientDC dc(&bar);
    DWORD dwMode = CKLVControls::modeHorzDock | CKLVControls::modeCommit;
    bar.GetControls()->CalcDynamicSize(&dc, 1000, dwMode, CRect(2, 2, 2, 2));
    bar.ShowWindow(SW_SHOWNOACTIVATE);

    bar.EnableDoubleBuffer(FALSE);
    const double afresh = PaintSeconds(bar);
    bar.EnableDoubleBuffer(TRUE);
    bar.Redraw();
    ::UpdateWindow(bar.GetSafeHwnd());
    const double cached = PaintSeconds(bar);
    std::printf("%8s %16s %16s %8s\n", "controls", "afresh us/paint", "cached us/paint", "ratio");
    std::printf("%8d %16.1f %16.1f %8.2f\n", kControls, afresh * 1e6 / kPaints, cached * 1e6 / kPaints, afresh / cached);
    bar.DestroyWindow();
    return 0;
}
