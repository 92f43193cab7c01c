// Helpers of the pane theme tests: a colour scheme forced for a scope, and themes made and
// refreshed as the manager makes them.
#pragma once

#include "toolkit/common/ColorManager.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <memory>

namespace dockingpane_test {

// Forces a colour scheme while it lives.
class ForcedScheme {
public:
    explicit ForcedScheme(int nScheme) : m_nSaved(GetColorManager()->m_nTheme) {
        GetColorManager()->m_nTheme = nScheme;
        RefreshColors();
    }
    ~ForcedScheme() {
        GetColorManager()->m_nTheme = m_nSaved;
        RefreshColors();
    }

private:
    int m_nSaved;
};

struct ThemeDeleter {
    void operator()(CKLVDockingPaneTheme* pTheme) const { pTheme->InternalRelease(); }
};
using ThemePtr = std::unique_ptr<CKLVDockingPaneTheme, ThemeDeleter>;

inline ThemePtr MakeTheme(int nTheme) {
    ThemePtr pTheme(CKLVDockingPaneTheme::CreateTheme(nTheme));
    pTheme->RefreshMetrics();
    return pTheme;
}

}  // namespace dockingpane_test
