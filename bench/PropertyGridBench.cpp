// Flattening a property grid's item tree into list-box rows, expanding every item and
// collapsing every item again (the first category first: each above all the others), over
// 1,000, 10,000 and 100,000 items (ten categories, each item with no children). All should grow
// linearly: the time per item stays about flat, and the last lines give expanding's and
// collapsing's time per item at 100,000 over that at 10,000 (about 1 when linear).
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <chrono>
#include <cstdio>
#include <iterator>

namespace {

constexpr int kCategories = 10;
constexpr int kCounts[] = {1000, 10000, 100000};

template <class F>
double Seconds(F&& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_POPUP, CRect(0, 0, 400, 400), nullptr, 0);
    std::printf("%8s %18s %18s %18s %10s\n", "items", "flatten us/item", "expand us/item", "collapse us/item",
                "ratio");
    double expandPerItem[std::size(kCounts)] = {};
    double collapsePerItem[std::size(kCounts)] = {};
    for (size_t n = 0; n < std::size(kCounts); ++n) {
        const int nCount = kCounts[n];
        CKLVPropertyGrid grid;
        grid.Create(CRect(0, 0, 300, 300), &parent, 1);
        CKLVPropertyGridView& view = grid.GetGridView();
        view.BeginUpdate();
        for (int c = 0; c < kCategories; ++c) {
            CKLVPropertyGridItem* pCategory = grid.AddCategory("Category");
            for (int i = 0; i < nCount / kCategories; ++i) {
                CString strCaption;
                strCaption.Format("Item %d", i);
                pCategory->AddChildItem(new CKLVPropertyGridItem(strCaption, "value"));
            }
        }
        view.EndUpdate();
        const double expand = Seconds([&] {
            for (int c = kCategories - 1; c >= 0; --c) view.GetCategories()->GetAt(c)->Expand();
        });
        const double flatten = Seconds([&] { view.SetPropertySort(KLVGridSortCategorized, TRUE, TRUE); });
        const double collapse = Seconds([&] {
            for (int c = 0; c < kCategories; ++c) view.GetCategories()->GetAt(c)->Collapse();
        });
        std::printf("%8d %18.3f %18.3f %18.3f %10.2f\n", nCount, flatten * 1e6 / nCount, expand * 1e6 / nCount,
                    collapse * 1e6 / nCount, expand / flatten);
        expandPerItem[n] = expand / nCount;
        collapsePerItem[n] = collapse / nCount;
        grid.DestroyWindow();
    }
    std::printf("expand_per_item_ratio_100k_vs_10k=%.2f  (target: about 1)\n", expandPerItem[2] / expandPerItem[1]);
    std::printf("collapse_per_item_ratio_100k_vs_10k=%.2f  (target: about 1)\n",
                collapsePerItem[2] / collapsePerItem[1]);
    parent.DestroyWindow();
    return 0;
}
