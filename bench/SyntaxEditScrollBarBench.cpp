// The horizontal scroll bar's update (the longest row found, the bar set) of an edit control over
// 1 MB and 10 MB of generated C: hbar_scaling= is the 10 MB time over the 1 MB time (1 would
// mean it does not depend on the length of the text, 10 that it reads every row).
#include "BenchTiming.h"
#include "GeneratedCText.h"
#include "PlainEditHost.h"
#include "WinBenchReport.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kUpdates = 50;

double UpdateSeconds(size_t nBytes) {
    const std::string text = MakeApiSource(nBytes);
    CPlainEditHost host(text, TRUE);
    CKLVSyntaxEditCtrl& ctrl = host.Ctrl();
    const double dSeconds = BestSeconds([&] {
        for (int i = 0; i < kUpdates; ++i) ctrl.UpdateHScrollBar();
    }) / kUpdates;
    std::printf("mb=%zu rows=%d hbar_update_ms=%.3f\n", nBytes >> 20, ctrl.GetRowCount(), dSeconds * 1000);
    return dSeconds;
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CBenchReport report("syntaxedit_scrollbar_bench");
    const double d1 = UpdateSeconds(1u << 20);
    const double d10 = UpdateSeconds(10u << 20);
    report.Figure("hbar_1mb_ms", d1 * 1000);
    report.Figure("hbar_10mb_ms", d10 * 1000);
    report.Figure("hbar_scaling", d10 / d1, "watched as a trend (10 reads every row)");
    return 0;
}
