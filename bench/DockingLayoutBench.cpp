// One layout pass of the docking panes (the frame's WM_SIZEPARENT to the pane manager) over 10,
// 100 and 1,000 panes docked in nested splitter containers (rows of 25 panes stacked below the
// client area), each pass at a new frame size so that every window moves. The time per pane
// should stay about flat: the 1,000/100 ratio of the pass times near 10.
#include "BenchTiming.h"

#include "classlib/FrameWnd.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneManager.h"

#include <cstdio>
#include <memory>

namespace {

constexpr int kCounts[] = {10, 100, 1000};
constexpr int kRowLength = 25;
int g_nLastPaneHeight = 0;   // shows that the last pane was laid out

// Seconds per layout pass over nCount panes.
double PassSeconds(int nCount) {
    auto* pFrame = new CFrameWnd;
    pFrame->Create(nullptr, "bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1200, 1000));
    double seconds = 0;
    {
        CKLVDockingPaneManager manager;
        manager.InstallDockingPanes(pFrame);
        manager.SetTheme(9);
        // A new row below the others every 25 panes, else beside the pane before.
        CKLVDockingPane* pPrevious = nullptr;
        for (int i = 0; i < nCount; ++i) {
            const BOOL bNewRow = i % kRowLength == 0;
            pPrevious = manager.CreatePane(1000 + i, CRect(0, 0, 40, 20), bNewRow ? klvDockBottom : klvDockRight,
                                           bNewRow ? nullptr : pPrevious);
        }
        pFrame->RecalcLayout();
        int nPass = 0;
        const int nPasses = 5;
        // The request the frame sends its bars, at two sizes in turn so that every window moves.
        seconds = BestSeconds([&] {
            for (int i = 0; i < nPasses; ++i, ++nPass) {
                AFX_SIZEPARENTPARAMS layout = {};
                layout.bStretch = TRUE;
                layout.rect = CRect(0, 0, 1200 + nPass % 2 * 40, 1000 + nPass % 2 * 30);
                layout.hDWP = ::BeginDeferWindowPos(8);
                manager.SendMessage(WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
                ::EndDeferWindowPos(layout.hDWP);
            }
        }) / nPasses;
        g_nLastPaneHeight = pPrevious ? pPrevious->GetContainer()->GetPaneWindowRect().Height() : 0;
    }
    pFrame->DestroyWindow();
    return seconds;
}

}  // namespace

int main() {
    std::printf("%8s %16s %16s %16s\n", "panes", "ms/pass", "us/pane", "last pane high");
    double perPass[3] = {};
    for (int i = 0; i < 3; ++i) {
        perPass[i] = PassSeconds(kCounts[i]);
        std::printf("%8d %16.3f %16.2f %16d\n", kCounts[i], perPass[i] * 1e3, perPass[i] * 1e6 / kCounts[i],
                    g_nLastPaneHeight);
    }
    std::printf("ratio 1000/100 panes: %.2f (10 is linear)\n", perPass[2] / perPass[1]);
    return 0;
}
