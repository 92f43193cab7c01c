// Fitting a floating tool bar (rows found by bisection over the wrap width) with 50, 200 and 800
// controls, against a docked layout of the same controls (one wrapping pass). The time per control
// of each should grow only with the logarithm of the count, and the ratio stay about flat.
#include "BenchTiming.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/commandbars/controlbase/Controls.h"

#include <cstdio>

namespace {

constexpr int kCounts[] = {50, 200, 800};

class CFixedButton : public CKLVControlButton {
public:
    explicit CFixedButton(int cx) : m_cx(cx) {}
    CSize GetSize(CDC*) override { return CSize(m_cx, 22); }
    int m_cx;
};

double LayoutSeconds(CKLVCommandBar& bar, CDC& dc, DWORD dwMode) {
    return BestSeconds([&] {
        DWORD dwPass = dwMode;
        bar.GetControls()->CalcDynamicSize(&dc, 600, dwPass, CRect(2, 2, 2, 2));
    });
}

}  // namespace

int main() {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    std::printf("%8s %18s %18s %8s\n", "controls", "floating us/ctl", "docked us/ctl", "ratio");
    for (int nCount : kCounts) {
        CKLVCommandBar bar;
        for (int i = 0; i < nCount; ++i) {
            CKLVControl* pControl = bar.GetControls()->Append(new CFixedButton(16 + i * 7 % 40));
            pControl->m_bBeginGroup = i % 5 == 0;
        }
        const double floating = LayoutSeconds(bar, dc, CKLVControls::modeCommit);
        const double docked = LayoutSeconds(bar, dc, CKLVControls::modeHorzDock | CKLVControls::modeCommit);
        std::printf("%8d %18.3f %18.3f %8.2f\n", nCount, floating * 1e6 / nCount, docked * 1e6 / nCount,
                    floating / docked);
    }
    return 0;
}
