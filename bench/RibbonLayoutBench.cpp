// Laying out a ribbon tab of 5, 20 and 80 groups (six captioned controls each) while the bar
// narrows from roomy to far too small, so that every group is reduced step by step and the rest
// scrolls. Prints the time per layout and its growth against the 5-group tab, per group added:
// a growth near the group count ratio means the reduction stays linear in the groups.
#include "BenchTiming.h"
#include "classlib/Dc.h"
#include "toolkit/commandbars/Control.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"
#include "toolkit/ribbon/RibbonGroups.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kCounts[] = {5, 20, 80};
constexpr int kControlsPerGroup = 6;

struct BenchTab {
    explicit BenchTab(int nGroups) {
        m_groups.SetScroller(&m_scroller);
        for (int g = 0; g < nGroups; ++g) {
            CKLVRibbonGroup* pGroup = m_groups.Insert(new CKLVRibbonGroup);
            pGroup->m_strCaption.Format("Group %d", g);
            for (int c = 0; c < kControlsPerGroup; ++c) {
                m_controls.push_back(std::make_unique<CKLVControl>());
                CString strCaption;
                strCaption.Format("Command %d", g * kControlsPerGroup + c);
                m_controls.back()->SetCaption(strCaption);
                pGroup->AddControl(m_controls.back().get());
            }
        }
    }
    // One layout at every width from the widest the groups need down to 200 pixels.
    int Narrow(CDC* pDC, int nWidest) {
        int nLayouts = 0;
        for (int nWidth = nWidest; nWidth >= 200; nWidth -= nWidest / 40, ++nLayouts)
            m_groups.Reposition(pDC, nWidth, CRect(4, 3, 6, 3));
        return nLayouts;
    }

    CKLVRibbonGroups m_groups;
    CKLVRibbonGroupScroller m_scroller;
    std::vector<std::unique_ptr<CKLVControl>> m_controls;
};

}  // namespace

int main() {
    CClientDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    std::printf("%8s %14s %18s\n", "groups", "us/layout", "growth vs 5/group");
    double firstPerGroup = 0;
    for (int nCount : kCounts) {
        BenchTab tab(nCount);
        const int nWidest = nCount * 300;
        int nLayouts = 0;
        const double seconds = BestSeconds([&] { nLayouts = tab.Narrow(&dc, nWidest); });
        const double perLayout = seconds * 1e6 / nLayouts;
        if (!firstPerGroup) firstPerGroup = perLayout / nCount;
        std::printf("%8d %14.2f %18.2f\n", nCount, perLayout, perLayout / nCount / firstPerGroup);
    }
    return 0;
}
