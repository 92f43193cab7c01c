// What the list placeholders share: removing last layout's items, inserting this layout's, the
// customise-mode placeholder and the menu text of an entry.
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/controls/ControlLists.h"

namespace klv_control_lists {

void RemoveFollowing(CKLVControl* pPlaceholder, const std::function<BOOL(CKLVControl*)>& match, BOOL bStopAtOther) {
    CKLVControls* pControls = pPlaceholder->GetControls();
    if (!pControls) return;
    int nIndex = pPlaceholder->GetIndex() + 1;
    while (CKLVControl* pControl = pControls->GetAt(nIndex)) {
        if (match(pControl))
            pControls->Remove(pControl);
        else if (bStopAtOther)
            return;
        else
            ++nIndex;
    }
}

CKLVControl* InsertItem(CKLVControl* pPlaceholder, int nPosition, int nId, const CString& strCaption) {
    CKLVControls* pControls = pPlaceholder->GetControls();
    CKLVControl* pItem = pControls->Add(CKLVControl::typeButton, nId, CString(), pPlaceholder->GetIndex() + 1 + nPosition, TRUE);
    if (!pItem) return nullptr;
    pItem->SetCaption(strCaption);
    pItem->SetFlags(CKLVControl::flagListItem);
    return pItem;
}

BOOL ShowInCustomizeMode(CKLVControl* pPlaceholder) {
    if (!pPlaceholder->IsCustomizeMode()) return FALSE;
    pPlaceholder->SetHideFlag(CKLVControl::hideGeneric, FALSE);
    return TRUE;
}

BOOL IsPopupBar(const CKLVCommandBar* pBar) {
    return pBar && pBar->GetType() == CKLVCommandBar::barTypePopup;
}

}  // namespace klv_control_lists

CString CKLVControlRecentFileList::FormatItemCaption(const CString& strText, int nNumber) {
    CString strDoubled;
    const int nLength = strText.GetLength();
    for (int i = 0; i < nLength; ++i) {
        const char ch = strText[i];
        if (::IsDBCSLeadByte(static_cast<BYTE>(ch)) && i + 1 < nLength) {
            strDoubled += ch;
            strDoubled += strText[++i];
        } else {
            if (ch == '&') strDoubled += '&';
            strDoubled += ch;
        }
    }
    CString strCaption;
    if (nNumber <= 0)
        return strDoubled;
    if (nNumber < 10)
        strCaption.Format("&%i %s", nNumber, static_cast<LPCSTR>(strDoubled));
    else if (nNumber == 10)
        strCaption.Format("1&0 %s", static_cast<LPCSTR>(strDoubled));
    else
        strCaption.Format("%i %s", nNumber, static_cast<LPCSTR>(strDoubled));
    return strCaption;
}
