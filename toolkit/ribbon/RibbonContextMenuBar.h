// The popup bar of the ribbon's context menu. It remembers the control it was opened for, so that
// its commands (add to or remove from the quick access tool bar) reach that control whenever they
// run; its commands go to the ribbon, which carries them out.
#pragma once

#include "toolkit/commandbars/popups/PopupBar.h"

class CKLVRibbonContextMenuBar : public CKLVPopupBar {
    DECLARE_DYNCREATE(CKLVRibbonContextMenuBar)
public:
    CKLVRibbonContextMenuBar() = default;
    ~CKLVRibbonContextMenuBar() override;

    // Holds a reference on the control for as long as the menu lives.
    void SetTarget(CKLVControl* pControl);
    CKLVControl* GetTarget() const { return m_pTarget; }

private:
    CKLVControl* m_pTarget = nullptr;
};
