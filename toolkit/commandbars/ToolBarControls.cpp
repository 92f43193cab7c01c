#include "toolkit/commandbars/ToolBarControls.h"

#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"

IMPLEMENT_DYNCREATE(CKLVControlToolBarClose, CKLVControlButton)
IMPLEMENT_DYNCREATE(CKLVControlToolBarOptions, CKLVControlPopup)

namespace {

enum { kindToolBarExpand = 0, kindCaptionClose = 2 };

}  // namespace

void CKLVControlToolBarClose::Draw(CDC* pDC) {
    GetPaintManager()->DrawSpecialControl(pDC, kindCaptionClose, this, m_pParent, TRUE, nullptr);
}

void CKLVControlToolBarClose::OnExecute() {
    if (m_pParent) m_pParent->SetVisible(FALSE);
}

CKLVControlToolBarOptions::CKLVControlToolBarOptions() {
    m_dwFlags = optionsFlags;
    auto* pBar = new CKLVPopupBar;
    SetCommandBar(pBar);
    pBar->InternalRelease();
}

BOOL CKLVControlToolBarOptions::OnSetPopup(BOOL bPopup) {
    auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, m_pParent);
    CKLVCommandBarsLink* pCommandBars = pToolBar ? pToolBar->GetOwnerLink() : nullptr;
    if (bPopup && pCommandBars && m_pCommandBar && !m_pCommandBar->GetTrackingMode()) {
        m_pCommandBar->GetControls()->RemoveAll();
        pCommandBars->AddHiddenControls(pToolBar, m_pCommandBar);
        pCommandBars->AddExpandCustomizeControls(pToolBar, m_pCommandBar);
    }
    return CKLVControlPopup::OnSetPopup(bPopup);
}

void CKLVControlToolBarOptions::Draw(CDC* pDC) {
    GetPaintManager()->DrawSpecialControl(pDC, kindToolBarExpand, this, m_pParent, TRUE, &m_bHiddenControls);
}

CKLVControlToolBarAddRemoveItem::CKLVControlToolBarAddRemoveItem(CKLVControl* pTarget) : m_pTarget(pTarget) {
    m_pTarget->InternalAddRef();
    m_bCloseSubMenuOnClick = FALSE;
}

CKLVControlToolBarAddRemoveItem::~CKLVControlToolBarAddRemoveItem() { m_pTarget->InternalRelease(); }

void CKLVControlToolBarAddRemoveItem::OnExecute() {
    const BOOL bHide = !(m_pTarget->GetHideFlags() & hideCustomize);
    m_pTarget->SetHideFlag(hideCustomize, bHide);
    m_bChecked = !bHide;
    if (CKLVCommandBar* pBar = m_pTarget->GetParent()) {
        pBar->OnRecalcLayout();
        pBar->RedrawWithParents();
    }
    RedrawParent(FALSE);
}

void CKLVControlToolBarResetItem::OnExecute() {
    if (CKLVCommandBarsLink* pLink = m_pToolBar->GetCommandBarsLink()) pLink->ClosePopups();
    m_pToolBar->ResetToolBar(TRUE);
}
