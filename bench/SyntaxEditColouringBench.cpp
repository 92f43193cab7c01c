// A tab's first colouring of 5 MB of generated C: from loading the file until the parser's pass
// end (code 3) in MB/s, with the number of block posts (code 2) the window thread received and
// the longest the parser's task queue grew. Then the time of a keystroke (the character typed and
// the control repainted) while that colouring runs against one while the parser is idle.
#include "GeneratedCText.h"
#include "LexedEditHost.h"
#include "WinBenchReport.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kKeystrokes = 40;

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// A character typed at the caret, queued behind whatever the window thread has still to handle
// (as a key the user presses is), until the control has taken it and repainted: milliseconds,
// at most the ten seconds it is waited for.
double Keystroke(CLexedEditHost& host) {
    CKLVSyntaxEditCtrl& ctrl = host.Ctrl();
    const int nRow = ctrl.GetCurRow(), nLength = ctrl.GetRowText(nRow).GetLength();
    const double dStart = Now();
    ctrl.PostMessage(WM_CHAR, 'x', 1);
    if (host.PumpUntil([&] { return ctrl.GetRowText(nRow).GetLength() != nLength; }, 10)) ctrl.UpdateWindow();
    return (Now() - dStart) * 1000;
}

struct CLatency {
    std::vector<double> arMs;
    double Mean() const {
        double dSum = 0;
        for (double d : arMs) dSum += d;
        return arMs.empty() ? 0 : dSum / static_cast<double>(arMs.size());
    }
    double Max() const {
        double dMax = 0;
        for (double d : arMs) dMax = std::max(dMax, d);
        return dMax;
    }
};

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CBenchReport report("syntaxedit_colouring_bench");
    const std::string text = MakeApiSource(5u << 20);
    const double dMB = static_cast<double>(text.size()) / (1 << 20);
    CLexedEditHost host(text);
    if (!host.IsValid()) {
        std::fprintf(stderr, "no background parser: the lexer configuration was not found\n");
        return 1;
    }

    // The first colouring, nothing typed meanwhile.
    const double dStart = Now();
    if (!host.Load() || !host.PumpUntil([&] { return host.ParseEndedSince(0); })) {
        std::fprintf(stderr, "the first colouring did not end within the limit\n");
        return 1;
    }
    const double dColour = Now() - dStart;
    std::printf("text_mb=%.2f rows=%d first_colouring_s=%.3f\n", dMB, host.Ctrl().GetRowCount(), dColour);
    report.Figure("first_colouring_mb_per_s", dMB / dColour, "5 MB within a few seconds");
    report.Figure("code2_posts", host.m_nBlockPosts);
    report.Figure("peak_task_queue", host.m_nPeakTasks);

    // Keystrokes while the parser is idle, each reparse awaited before the next.
    host.Ctrl().SetFocus();
    host.Ctrl().SetCurPos(host.Ctrl().GetRowCount() / 2, 1);
    CLatency idle;
    for (int i = 0; i < kKeystrokes; ++i) {
        const int nEnds = host.m_nEnds;
        idle.arMs.push_back(Keystroke(host));
        if (!host.PumpUntil([&] { return host.ParseEndedSince(nEnds); }, 10)) break;
    }

    // Keystrokes while the whole text is coloured afresh.
    const int nEnds = host.m_nEnds;
    host.ResetCounts();
    if (!host.Load()) return 1;
    host.Ctrl().SetCurPos(host.Ctrl().GetRowCount() / 2, 1);
    CLatency busy;
    // A keystroke breaks the running pass (its end is counted) and queues the rest again.
    while (busy.arMs.size() < kKeystrokes && !host.ParseEndedSince(nEnds)) {
        busy.arMs.push_back(Keystroke(host));
        host.PumpFor(0.05);
    }
    if (!host.PumpUntil([&] { return host.ParseEndedSince(nEnds); })) {
        std::fprintf(stderr, "the colouring with keystrokes did not end within the limit\n");
        return 1;
    }
    std::printf("keystrokes_idle=%zu keystrokes_busy=%zu peak_task_queue_typing=%d\n", idle.arMs.size(),
                busy.arMs.size(), host.m_nPeakTasks);
    report.Figure("keystroke_idle_ms", idle.Mean());
    report.Figure("keystroke_busy_ms", busy.Mean(), "under 50 ms during the first colouring");
    report.Figure("keystroke_busy_max_ms", busy.Max(), "under 50 ms");
    report.Figure("keystroke_ratio_busy_vs_idle", busy.Mean() / idle.Mean(), "watched as a trend");
    return 0;
}
