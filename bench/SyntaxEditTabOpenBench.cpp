// Opening four tabs one after the other, each an edit control over its own buffer of the same
// 200 KB of generated C, coloured with a copy of the shared lexer configuration's schema: the
// time from the buffer's making to the first paint, of the fourth tab against the first.
// Three rounds (all tabs closed between them); the first round's first tab also reads the
// configuration.
#include "GeneratedCText.h"
#include "LexedEditHost.h"
#include "WinBenchReport.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kTabs = 4, kRounds = 3;

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CBenchReport report("syntaxedit_tab_open_bench");
    const std::string text = MakeApiSource(200u << 10);
    double dBest[kTabs], dColdFirst = 0;
    std::fill(std::begin(dBest), std::end(dBest), 1e9);
    for (int nRound = 0; nRound < kRounds; ++nRound) {
        std::vector<std::unique_ptr<CLexedEditHost>> tabs;
        for (int nTab = 0; nTab < kTabs; ++nTab) {
            const double dStart = Now();
            tabs.push_back(std::make_unique<CLexedEditHost>(text));
            CLexedEditHost& tab = *tabs.back();
            if (!tab.IsValid() || !tab.Load()) {
                std::fprintf(stderr, "tab %d could not be opened\n", nTab + 1);
                return 1;
            }
            tab.Ctrl().UpdateWindow();
            const double dSeconds = Now() - dStart;
            dBest[nTab] = std::min(dBest[nTab], dSeconds);
            if (nRound == 0 && nTab == 0) dColdFirst = dSeconds;
        }
        // Each tab's first colouring ends before the tabs close, so rounds do not overlap.
        for (auto& pTab : tabs)
            if (!pTab->PumpUntil([&] { return pTab->ParseEndedSince(0); })) {
                std::fprintf(stderr, "a tab's first colouring did not end within the limit\n");
                return 1;
            }
    }
    for (int nTab = 0; nTab < kTabs; ++nTab) std::printf("tab=%d open_ms=%.3f\n", nTab + 1, dBest[nTab] * 1000);
    report.Figure("first_tab_cold_ms", dColdFirst * 1000);
    report.Figure("fourth_tab_ratio_vs_first", dBest[kTabs - 1] / dBest[0], "about 1: a schema copy per tab");
    return 0;
}
