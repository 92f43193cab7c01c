// The context menu of customize mode over a bar's control: the control leaves the bar, or a
// group starts at it.
#include "toolkit/commandbars/manager/CommandBars.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/ResourceManager.h"

namespace {

// A popup menu destroyed with its scope.
class CPopupMenuHandle {
public:
    CPopupMenuHandle() : m_hMenu(::CreatePopupMenu()) {}
    ~CPopupMenuHandle() {
        if (m_hMenu) ::DestroyMenu(m_hMenu);
    }
    CPopupMenuHandle(const CPopupMenuHandle&) = delete;
    CPopupMenuHandle& operator=(const CPopupMenuHandle&) = delete;
    HMENU Get() const { return m_hMenu; }

private:
    HMENU m_hMenu;
};

void AppendItem(HMENU hMenu, UINT nCommand, UINT nStringId, UINT nFlags) {
    CString strText;
    KLVResourceManager()->LoadString(&strText, nStringId);
    ::AppendMenuA(hMenu, MF_STRING | nFlags, nCommand, strText);
}

}  // namespace

void CKLVCommandBars::ShowCustomizeContextMenu(CKLVCommandBar* pBar, CKLVControl* pControl, POINT ptScreen) {
    if (!pBar || !pControl || pControl->GetParent() != pBar || !pControl->GetControls()) return;
    CPopupMenuHandle menu;
    if (!menu.Get()) return;
    AppendItem(menu.Get(), customizeMenuDelete, idsCustomizeDelete, 0);
    // The first control begins no group.
    const UINT nGroupFlags = (pControl->GetBeginGroup() ? MF_CHECKED : 0) | (pControl->GetIndex() == 0 ? MF_GRAYED : 0);
    AppendItem(menu.Get(), customizeMenuBeginGroup, idsCustomizeBeginGroup, nGroupFlags);

    CKLVHeldReference holdBar(pBar);
    CKLVHeldReference holdControl(pControl);
    const UINT nCommand = TrackCustomizeMenu(menu.Get(), ptScreen);
    if (pControl->GetParent() != pBar) return;   // the bar changed meanwhile
    if (nCommand == customizeMenuDelete) {
        SetDragControl(nullptr);
        pBar->GetControls()->Remove(pControl);
    } else if (nCommand == customizeMenuBeginGroup && pControl->GetIndex() > 0) {
        pControl->SetBeginGroup(!pControl->GetBeginGroup());
    } else {
        return;
    }
    m_pOptions->bDirty = TRUE;
    pBar->OnRecalcLayout();
    pBar->Redraw();
}

UINT CKLVCommandBars::TrackCustomizeMenu(HMENU hMenu, POINT ptScreen) {
    HWND hOwner = m_pSite ? m_pSite->GetSafeHwnd() : nullptr;
    return static_cast<UINT>(::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, ptScreen.x,
                                              ptScreen.y, 0, hOwner, nullptr));
}
