// Narrowing a ribbon bar on a hidden frame whose selected tab holds 5, 20 and 80 groups (six
// captioned buttons each), from roomy to far too small, so that every group is reduced step by
// step, collapses to its popup button and the rest scrolls. Each step is the ribbon's whole
// committed layout. Prints the time per layout and its growth against the 5-group tab, per group
// added: a growth near 1 means the layout stays linear in the groups. The last columns say how
// many groups ended collapsed and whether the groups scrolled at the narrowest width.
#include "BenchTiming.h"

#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/frame/MDIFrameWnd.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonControlTab.h"
#include "toolkit/ribbon/RibbonGroup.h"
#include "toolkit/ribbon/RibbonGroupScroller.h"
#include "toolkit/ribbon/RibbonTab.h"

#include <cstdio>
#include <iterator>

namespace {

constexpr int kCounts[] = {5, 20, 80};
constexpr int kControlsPerGroup = 6;
constexpr int kNarrowest = 260;   // just above the width that hides the ribbon

// A hidden frame with command bars in theme 6 whose menu bar is a ribbon with one tab of groups.
class CBenchRibbon {
public:
    explicit CBenchRibbon(int nGroups) {
        CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CKLVRibbonBar);
        m_pFrame->InitCommandBars();
        m_pFrame->LoadFrame(128, WS_OVERLAPPEDWINDOW);
        m_pFrame->MoveWindow(0, 0, 800, 600);
        CKLVCommandBars* pCommandBars = m_pFrame->GetCommandBars();
        pCommandBars->SetPaintManager(CKLVPaintManager::CreateThemeObject(6));
        pCommandBars->EnableDocking();
        pCommandBars->GetOptions()->animateType = CKLVPopupBar::animateNone;
        m_pRibbon = static_cast<CKLVRibbonBar*>(pCommandBars->SetMenu("Ribbon", 0));
        m_pTab = m_pRibbon->AddTab("Home");
        for (int g = 0; g < nGroups; ++g) AddGroup(g);
        m_pRibbon->GetControlTab()->SetSelectedItem(m_pTab);
    }
    ~CBenchRibbon() {
        CKLVCommandBars::m_pMenuBarClass = RUNTIME_CLASS(CKLVMenuBar);
        m_pFrame->DestroyWindow();
    }
    CBenchRibbon(const CBenchRibbon&) = delete;
    CBenchRibbon& operator=(const CBenchRibbon&) = delete;

    // One committed layout at every width from the widest down to the narrowest; the count.
    int Narrow(int nWidest) const {
        int nLayouts = 0;
        const int nStep = (nWidest - kNarrowest) / 40;
        for (int nWidth = nWidest; nWidth >= kNarrowest; nWidth -= nStep, ++nLayouts)
            m_pRibbon->CalcDynamicLayout(nWidth, CKLVControls::modeHorz | CKLVControls::modeCommit);
        return nLayouts;
    }
    int CollapsedGroups() const {
        int nCollapsed = 0;
        CKLVRibbonGroups* pGroups = m_pTab->GetGroups();
        for (int i = 0; i < pGroups->GetCount(); ++i)
            nCollapsed += pGroups->GetAt(i)->GetSize() == CKLVRibbonGroup::sizePopup ? 1 : 0;
        return nCollapsed;
    }
    BOOL Scrolls() const { return m_pRibbon->GetScroller()->IsRightVisible() || m_pRibbon->GetScroller()->IsLeftVisible(); }

private:
    void AddGroup(int g) const {
        CKLVRibbonGroup* pGroup = m_pTab->GetGroups()->Insert(new CKLVRibbonGroup);
        pGroup->m_nId = 100 + g;
        pGroup->m_strCaption.Format("Group %d", g);
        for (int c = 0; c < kControlsPerGroup; ++c) {
            CKLVControl* pControl = m_pRibbon->GetControls()->Append(new CKLVControlButton);
            CString strCaption;
            strCaption.Format("Command %d", g * kControlsPerGroup + c);
            pControl->SetCaption(strCaption);
            pGroup->AddControl(pControl);
        }
    }

    CKLVMDIFrameWnd* m_pFrame = new CKLVMDIFrameWnd;
    CKLVRibbonBar* m_pRibbon = nullptr;
    CKLVRibbonTab* m_pTab = nullptr;
};

}  // namespace

int main() {
    std::printf("%8s %14s %18s %10s %10s %8s\n", "groups", "us/layout", "growth vs 5/group", "layouts", "collapsed",
                "scrolls");
    double firstPerGroup = 0;
    double perLayouts[std::size(kCounts)] = {};
    for (size_t i = 0; i < std::size(kCounts); ++i) {
        const int nCount = kCounts[i];
        CBenchRibbon ribbon(nCount);
        const int nWidest = nCount * 300;
        int nLayouts = 0;
        const double seconds = BestSeconds([&] { nLayouts = ribbon.Narrow(nWidest); });
        const double perLayout = seconds * 1e6 / nLayouts;
        perLayouts[i] = perLayout;
        if (!firstPerGroup) firstPerGroup = perLayout / nCount;
        std::printf("%8d %14.2f %18.2f %10d %10d %8s\n", nCount, perLayout, perLayout / nCount / firstPerGroup, nLayouts,
                    ribbon.CollapsedGroups(), ribbon.Scrolls() ? "yes" : "no");
    }
    const size_t nLast = std::size(kCounts) - 1;
    std::printf("ratio %d/%d groups per layout: %.2f (%d is linear)\n", kCounts[nLast], kCounts[0],
                perLayouts[nLast] / perLayouts[0], kCounts[nLast] / kCounts[0]);
    return 0;
}
