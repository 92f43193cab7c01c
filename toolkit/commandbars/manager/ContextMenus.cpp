#include "toolkit/commandbars/manager/ContextMenus.h"

#include "toolkit/commandbars/popups/PopupBar.h"

void CKLVContextMenus::Add(CKLVCommandBar* pBar) {
    CKLVCommandBarList::Add(pBar);
    if (auto* pPopupBar = DYNAMIC_DOWNCAST(CKLVPopupBar, pBar)) pPopupBar->m_bContextMenu = TRUE;
}
