// Laying out a tab row sized to fit (every tab measured, then shortened longest first) over
// 10, 100 and 1,000 tabs, against the normal layout of the same tabs (measured only). The time
// per tab should stay about flat as the row grows, and so should the ratio of the two.
#include "toolkit/tabs/TabManager.h"
#include "toolkit/tabs/TabPainter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kRounds = 5;
constexpr int kCounts[] = {10, 100, 1000};

class BenchRow : public CKLVTabManager {
public:
    BenchRow() : m_pPainter(new CKLVTabPainter) {
        CClientDC screen(nullptr);
        m_dc.CreateCompatibleDC(&screen);
    }
    ~BenchRow() override {
        DeleteAllItems();
        m_pPainter->InternalRelease();
    }
    CKLVTabPainter* GetPaintManager() const override { return m_pPainter; }
    void Reposition() override {
        if (m_bLayout) m_pPainter->RepositionTabControl(this, &m_dc, CRect(0, 0, 800, 100));
    }
    void RedrawControl(const RECT*, BOOL) override {}
    BOOL DrawIcon(CDC*, CPoint, CKLVTabManagerItem*, BOOL, CSize&) override { return FALSE; }

    CKLVTabPainter* m_pPainter;
    CDC m_dc;
    BOOL m_bLayout = FALSE;
};

double BestSeconds(BenchRow& row, int nLayout) {
    row.m_pPainter->SetLayout(nLayout);
    double best = 1e9;
    for (int i = 0; i < kRounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        row.Reposition();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main() {
    std::printf("%8s %16s %16s %8s\n", "tabs", "fit us/tab", "normal us/tab", "ratio");
    for (int nCount : kCounts) {
        BenchRow row;
        for (int i = 0; i < nCount; ++i) row.InsertItem(i)->m_strCaption.Format("Document %d.c", i * 7919 % 100000);
        row.m_bLayout = TRUE;
        const double fit = BestSeconds(row, CKLVTabPainter::layoutSizeToFit);
        const double normal = BestSeconds(row, CKLVTabPainter::layoutNormal);
        std::printf("%8d %16.2f %16.2f %8.2f\n", nCount, fit * 1e6 / nCount, normal * 1e6 / nCount, fit / normal);
    }
    return 0;
}
