#include "toolkit/ribbon/RibbonContextMenuBar.h"

#include "toolkit/commandbars/controlbase/Control.h"

IMPLEMENT_DYNCREATE(CKLVRibbonContextMenuBar, CKLVPopupBar)

CKLVRibbonContextMenuBar::~CKLVRibbonContextMenuBar() { SetTarget(nullptr); }

void CKLVRibbonContextMenuBar::SetTarget(CKLVControl* pControl) {
    if (pControl) pControl->InternalAddRef();
    if (m_pTarget) m_pTarget->InternalRelease();
    m_pTarget = pControl;
}
