#include "toolkit/commandbars/manager/CommandMenu.h"

#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/common/ImageManager.h"

void CKLVCommandMenu::AddCommand(UINT nID, BOOL bBeginGroup) {
    CItem item;
    item.nID = nID;
    item.bPromptFromResource = TRUE;
    item.bBeginGroup = bBeginGroup;
    m_items.push_back(item);
}

void CKLVCommandMenu::AddItem(UINT nID, const CString& strCaption, HICON hIcon) {
    CItem item;
    item.nID = nID;
    item.strCaption = strCaption;
    item.hIcon = hIcon;
    m_items.push_back(item);
}

UINT CKLVCommandMenu::Track(CKLVCommandBars* pCommandBars, CPoint ptScreen, CWnd* pSite) const {
    CKLVPopupBar* pPopup = CKLVPopupBar::CreatePopupBar(pCommandBars);
    CKLVImageManager* pImages = nullptr;
    if (m_bOwnImages) {
        pImages = new CKLVImageManager;
        pPopup->SetImageManager(pImages);
    }
    CKLVControls* pControls = pPopup->GetControls();
    for (const CItem& item : m_items) {
        CKLVControl* pControl = pControls->Add(CKLVControl::typeButton, static_cast<int>(item.nID));
        if (pImages && item.hIcon) pImages->SetIcon(CKLVImageManagerIconHandle(item.hIcon, FALSE), item.nID);
        if (item.bPromptFromResource)
            pControl->SetPromptFromResource(item.nID);
        else
            pControl->SetCaption(item.strCaption);
        if (item.bBeginGroup) pControl->SetBeginGroup(TRUE);
    }
    const UINT nCommand = CKLVCommandBars::TrackPopupMenu(pPopup, TPM_RETURNCMD, ptScreen.x, ptScreen.y, pSite);
    pPopup->InternalRelease();
    return nCommand;
}
