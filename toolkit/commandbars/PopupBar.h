// The bar a popup control opens. For now the side the controls call: popping up for a control,
// tracking and the root of the bar chain; the popup window itself comes with its issue.
#pragma once

#include "toolkit/commandbars/CommandBar.h"

class CKLVControlPopup;

class CKLVPopupBar : public CKLVCommandBar {
    DECLARE_SERIAL(CKLVPopupBar)
public:
    CKLVPopupBar();

    // Opens the bar for the control; TRUE when it is open.
    virtual BOOL Popup(CKLVControlPopup* pControlPopup, BOOL bSelectFirst);
    CKLVCommandBar* GetParentCommandBar() const override;
    BOOL IsPopupBar() const override { return TRUE; }
    CKLVControlPopup* GetControlPopup() const { return m_pControlPopup; }
    // The first visible default item, else null.
    CKLVControl* GetDefaultItem() const;

    CKLVControlPopup* m_pControlPopup = nullptr;
    // Set while the command bars keep the bar among their context menus.
    BOOL m_bContextMenu = FALSE;
};
