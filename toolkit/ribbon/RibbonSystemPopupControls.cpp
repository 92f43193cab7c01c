#include "toolkit/ribbon/RibbonSystemPopupControls.h"

#include "classlib/RecentFileList.h"
#include "classlib/WinApp.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/controls/ControlLists.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManagerIcon.h"
#include "toolkit/common/ResourceImages.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/themes/ThemeResourceImage.h"

#include <algorithm>

KLV_IMPLEMENT_SERIAL(CKLVRibbonControlSystemPopupBarButton, CKLVControlButton)
KLV_IMPLEMENT_SERIAL(CKLVRibbonControlSystemPopupBarListItem, CKLVControlButton)
KLV_IMPLEMENT_SERIAL(CKLVRibbonControlSystemPopupBarListCaption, CKLVControl)
KLV_IMPLEMENT_SERIAL(CKLVRibbonControlSystemRecentFileList, CKLVRibbonControlSystemPopupBarListCaption)

namespace {

const UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER;
const DWORD kListCaptionFlags = 0x9A;

// A "Ribbon" colour of the skin; a key the skin lacks draws nothing.
void DrawSkinLine(CDC* pDC, int x, int y, int cx, LPCTSTR lpszKey) {
    const COLORREF clr = KLVResourceImages()->LookupColor("Ribbon", lpszKey);
    if (clr != COLORREF(-1)) pDC->FillSolidRect(x, y, cx, 1, clr);
}

}  // namespace

CSize CKLVRibbonControlSystemPopupBarButton::GetIconSize() const {
    const int n = GetStyle() == styleCaptionBelow ? largeIcon : smallIcon;
    return CSize(n, n);
}

CSize CKLVRibbonControlSystemPopupBarButton::GetSize(CDC* pDC) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager) return CSize(0, 0);
    CString strCaption = GetCaption();
    CKLVDrawHelpers::StripMnemonicsString(strCaption);
    CKLVFontDC font(pDC, pPaintManager->GetCommandBarFont(GetBarFace()));
    const CSize szText = strCaption.IsEmpty() ? CSize(0, 0) : CSize(pDC->GetTextExtent(strCaption));
    const CSize szIcon = GetIconSize();
    return CSize(iconLeft + szIcon.cx + (szText.cx ? textGap + szText.cx : 0) + textRight,
                 std::max<int>(szIcon.cy, szText.cy) + 2 * iconLeft);
}

void CKLVRibbonControlSystemPopupBarButton::Draw(CDC* pDC) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager) return;
    const CRect rc = GetRect();
    const int nPart = GetPressed() ? 2 : GetSelected() ? 1 : 0;
    KLVDrawSkinPart(pDC, {"RIBBONSYSTEMMENUBUTTON", nPart, faceParts}, rc, CRect(2, 2, 2, 2), skinKeyed);
    const CSize szIcon = GetIconSize();
    int nTextLeft = rc.left + iconLeft;
    if (CKLVImageManagerIcon* pIcon = GetImage(szIcon.cx)) {
        pPaintManager->DrawImage(pDC, CPoint(nTextLeft, rc.top + (rc.Height() - szIcon.cy) / 2), szIcon, pIcon,
                                 GetSelected(), GetPressed(), GetEnabled(), GetChecked(), FALSE, TRUE);
        nTextLeft += szIcon.cx + textGap;
    }
    CString strPlain = GetCaption();
    CKLVDrawHelpers::StripMnemonicsString(strPlain);
    CKLVFontDC font(pDC, pPaintManager->GetCommandBarFont(GetBarFace()), pPaintManager->GetControlTextColor(this));
    pDC->SetBkMode(TRANSPARENT);
    pPaintManager->DrawControlCaption(pDC, this, GetCaption(), strPlain, CRect(nTextLeft, rc.top, rc.right, rc.bottom),
                                      false, false);
}

CSize CKLVRibbonControlSystemPopupBarListItem::GetSize(CDC*) { return CSize(itemWidth, itemHeight); }

void CKLVRibbonControlSystemPopupBarListItem::Draw(CDC* pDC) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager) return;
    pPaintManager->DrawControlEntry(pDC, this);
    CRect rc = GetRect();
    rc.left += captionIndent;
    CKLVFontDC font(pDC, pPaintManager->GetCommandBarFont(GetBarFace()), pPaintManager->GetControlTextColor(this));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(GetCaption(), rc, kCaptionFormat);
}

CKLVRibbonControlSystemPopupBarListCaption::CKLVRibbonControlSystemPopupBarListCaption() {
    SetFlags(kListCaptionFlags);
}

CSize CKLVRibbonControlSystemPopupBarListCaption::GetSize(CDC*) { return CSize(captionWidth, captionHeight); }

void CKLVRibbonControlSystemPopupBarListCaption::Draw(CDC* pDC) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager) return;
    CRect rc = GetRect();
    {
        CKLVFontDC font(pDC, pPaintManager->GetCommandBarFont(GetBarFace(), TRUE),
                        pPaintManager->GetControlTextColor(this));
        pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(GetCaption(), CRect(rc.left + CKLVRibbonControlSystemPopupBarListItem::captionIndent, rc.top,
                                          rc.right, rc.bottom - 2),
                      kCaptionFormat);
    }
    DrawSkinLine(pDC, rc.left, rc.bottom - 2, rc.Width(), "RecentFileListEdgeShadow");
    DrawSkinLine(pDC, rc.left, rc.bottom - 1, rc.Width(), "RecentFileListEdgeHighLight");
}

CRecentFileList* CKLVRibbonControlSystemRecentFileList::GetRecentFileList() {
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pRecentFileList.get() : nullptr;
}

void CKLVRibbonControlSystemRecentFileList::PrepareDynamicLayout(int) {
    CRecentFileList* pList = GetRecentFileList();
    if (!pList) return;
    RemoveFileItems(pList->GetSize());
    if (IsCustomizeMode()) {
        SetHideFlags(0);
        return;
    }
    InsertFileItems(pList);
}

void CKLVRibbonControlSystemRecentFileList::RemoveFileItems(int nCount) {
    const int nFirst = firstRecentFileId, nLast = firstRecentFileId + nCount;
    klv_control_lists::RemoveFollowing(
        this,
        [nFirst, nLast](CKLVControl* pControl) {
            return dynamic_cast<CKLVRibbonControlSystemPopupBarListItem*>(pControl) && pControl->GetId() >= nFirst &&
                   pControl->GetId() <= nLast;
        },
        FALSE);
}

void CKLVRibbonControlSystemRecentFileList::InsertFileItems(CRecentFileList* pList) {
    CKLVControls* pControls = GetControls();
    if (!pControls) return;
    CString strDir;
    for (int i = 0; i < pList->GetSize() && !(*pList)[i].IsEmpty(); ++i) {
        // Names of any length are built whole; only what is shown is limited.
        CString strName;
        if (!pList->GetDisplayName(strName, i, strDir, 0)) break;
        if (strName.GetLength() > maxDisplayName) strName = strName.Left(maxDisplayName);
        auto* pItem = new CKLVRibbonControlSystemPopupBarListItem;
        if (!pControls->Add(pItem, firstRecentFileId + i, CString(), GetIndex() + 1 + i, TRUE)) break;
        pItem->SetCaption(CKLVControlRecentFileList::FormatItemCaption(strName, i + 1));
        pItem->SetFlags(itemFlags);
        pItem->m_strTooltipText = (*pList)[i];
    }
}
