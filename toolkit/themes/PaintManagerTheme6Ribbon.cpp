// Theme 6's ribbon body: the bar's face, the group area, the groups and their collapsed buttons,
// the option, scroll and quick access buttons and the popups of groups and wrapped controls.
// The ribbon's parts are read through their faces only: this library is linked into programs
// that have no ribbon.
#include "toolkit/themes/PaintManagerTheme6.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/themes/RibbonContextTab.h"
#include "toolkit/themes/RibbonFaces.h"
#include "toolkit/themes/ThemeResourceImage.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManagerIcon.h"

#include <algorithm>

namespace {

const CRect kMargins2(2, 2, 2, 2);
const CRect kMargins5(5, 5, 5, 5);
const CRect kMargins8(8, 8, 8, 8);
const UINT kGroupCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
const COLORREF kGroupPopupFace = 0xFFDBBF;
enum { collapsedMinWidth = 42, smallIconLimit = 20, iconTop = 4, smallIconTop = 9, iconFrameTop = 2 };

// The image name for a tab: the context's colour put into the pattern, or the plain name.
CString TabImage(const CKLVRibbonContextTab* pTab, LPCTSTR lpszContextPattern, LPCTSTR lpszPlain) {
    if (!pTab || !pTab->GetContextColor()) return lpszPlain;
    return KLVContextImageName(lpszContextPattern, pTab->GetContextColor());
}

CKLVRibbonContextTab* TabOf(const CKLVRibbonGroupFace* pGroup) { return pGroup ? pGroup->GetContextTab() : nullptr; }

// Pressed 2, selected 1, else 0: the option and scroll buttons.
int PressButtonPart(const CKLVControl* pControl) {
    if (pControl->GetPressed()) return 2;
    return pControl->GetSelected() ? 1 : 0;
}

// A popup button of the quick access tool bar, over glass where it lies in a composited caption.
void DrawQuickAccessButton(CDC* pDC, CKLVControl* pControl, LPCTSTR lpszImage) {
    const int nPart = CKLVPaintManagerTheme6::PopupButtonPart(pControl->GetPopuped(), pControl->GetSelected());
    const CRect rc = pControl->GetRect();
    KLVDrawSkinPart(pDC, {lpszImage, nPart, 4}, rc, kMargins2,
                    CKLVPaintManagerTheme6::SkinModeAt(pControl->GetParent(), rc));
}

}  // namespace

int CKLVPaintManagerTheme6::PopupButtonPart(BOOL bPopuped, BOOL bSelected) {
    if (bPopuped) return 2;
    return bSelected ? 1 : 0;
}

int CKLVPaintManagerTheme6::CollapsedGroupWidth() const { return std::max(2 * m_nTextHeight - 3, int(collapsedMinWidth)); }

void CKLVPaintManagerTheme6::FillRibbonGroupsArea(CDC* pDC, CKLVRibbonContextTab* pTab, CRect rc) {
    const CString strImage = TabImage(pTab, "CONTEXTTAB%sCLIENT", "RIBBONGROUPS");
    KLVDrawSkinPart(pDC, {strImage, 0, 1}, rc, kMargins8);
}

void CKLVPaintManagerTheme6::FillRibbonBar(CDC* pDC, CKLVRibbonBarFace* pRibbon) {
    CRect rc = pRibbon->GetRibbonClientRect();
    rc.top = GetRibbonFrame(pRibbon) ? m_nRibbonCaptionHeight : pRibbon->GetCaptionRect().bottom;
    pDC->FillSolidRect(rc, m_clrRibbonFace);
    const BOOL bQuickAccessBelow = pRibbon->IsQuickAccessVisible() && pRibbon->IsQuickAccessBelow();
    if (bQuickAccessBelow) KLVDrawSkinPart(pDC, {"RIBBONQUICKACCESSFRAME", 0, 1}, pRibbon->GetQuickAccessRect(), CRect(3, 3, 3, 3));
    if (pRibbon->GetGroupsAreaHeight() > 0 && pRibbon->IsTabRowShown()) return;
    if (bQuickAccessBelow) return;
    pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, m_clrMinimizedEdgeShadow);
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, m_clrMinimizedEdgeHighlight);
}

void CKLVPaintManagerTheme6::DrawRibbonGroup(CDC* pDC, CKLVRibbonGroupFace* pGroup) {
    if (!pGroup->IsVisible()) return;
    CKLVRibbonContextTab* pTab = TabOf(pGroup);
    const BOOL bContext = pTab && pTab->GetContextColor();
    const int nPart = pGroup->IsHighlighted() ? 1 : 0;
    const CRect rc = pGroup->GetRect();
    const CRect rcBody(rc.left, rc.top, rc.right, rc.bottom - m_nGroupCaptionHeight);
    const CRect rcCaption(rc.left, rcBody.bottom, rc.right, rc.bottom);
    KLVDrawSkinPart(pDC, {bContext ? "CONTEXTTABGROUPCLIENT" : "RIBBONGROUPCLIENT", nPart, 2}, rcBody, kMargins5);
    KLVDrawSkinPart(pDC, {bContext ? "CONTEXTTABGROUPCAPTION" : "RIBBONGROUPCAPTION", nPart, 2}, rcCaption, kMargins5);

    CString strCaption = pGroup->GetGroupCaption();
    CKLVDrawHelpers::StripMnemonicsString(strCaption);
    CKLVFontDC font(pDC, &m_fontGroup, m_clrGroupCaptionText);
    pDC->SetBkMode(TRANSPARENT);
    CRect rcText = rcCaption;
    rcText.OffsetRect(0, -1);
    pDC->DrawText(strCaption, rcText, kGroupCaptionFormat);
}

CSize CKLVPaintManagerTheme6::DrawRibbonGroupPopupButton(CDC* pDC, CKLVControl* pControl, BOOL bDraw) {
    const CKLVRibbonGroupFace* pGroup = CKLVRibbonGroupFace::Of(pControl);
    if (pGroup) return DrawCollapsedGroupButton(pDC, pControl, pGroup, bDraw);
    // A group's button put on the quick access tool bar.
    if (bDraw) {
        const int nPart = PopupButtonPart(pControl->GetPopuped(), pControl->GetSelected());
        KLVDrawSkinPart(pDC, {"RIBBONGROUPQUICKACCESS", nPart, 3}, pControl->GetRect(), kMargins2, skinKeyed);
    }
    return DrawControlToolBarParent(pDC, pControl, bDraw);
}

CSize CKLVPaintManagerTheme6::DrawCollapsedGroupButton(CDC* pDC, CKLVControl* pControl, const CKLVRibbonGroupFace* pGroup,
                                                       BOOL bDraw) {
    const CSize sz(CollapsedGroupWidth(), 3 * m_nControlHeight);
    if (!bDraw) return sz;
    const CRect rc = pControl->GetRect();
    const CString strImage = TabImage(TabOf(pGroup), "CONTEXTTAB%sGROUPBUTTON", "RIBBONGROUPBUTTON");
    KLVDrawSkinPart(pDC, {strImage, PopupButtonPart(pControl->GetPopuped(), pControl->GetSelected()), 3}, rc, kMargins5);

    int nTextTop = rc.top + iconTop;
    if (CKLVImageManagerIcon* pIcon = pControl->GetImage(32)) {
        const CSize szIcon(pIcon->GetWidth(), pIcon->GetHeight());
        int nIconTop = rc.top + iconTop;
        if (szIcon.cx < smallIconLimit) {
            const KLVSkinPart frame = {"RIBBONGROUPBUTTONICON", 0, 1};
            const CSize szFrame = KLVSkinPartSize(frame);
            KLVDrawSkinPartAt(pDC, frame, CPoint(rc.left + (rc.Width() - szFrame.cx) / 2, rc.top + iconFrameTop));
            nIconTop = rc.top + smallIconTop;
            nTextTop = std::max<int>(nTextTop, rc.top + iconFrameTop + szFrame.cy);
        }
        pIcon->Draw(pDC, CPoint(rc.left + (rc.Width() - szIcon.cx) / 2, nIconTop));
        nTextTop = std::max<int>(nTextTop, nIconTop + szIcon.cy);
    }
    const CRect rcText(rc.left, nTextTop, rc.right, rc.bottom - m_nGroupCaptionHeight - 2);
    const CString strCaption = pControl->GetCaption();
    CString strPlain = strCaption;
    CKLVDrawHelpers::StripMnemonicsString(strPlain);
    CKLVFontDC font(pDC, GetCommandBarFont(pControl->GetParent()), GetControlTextColor(pControl));
    pDC->SetBkMode(TRANSPARENT);
    DrawControlCaption(pDC, pControl, strCaption, strPlain, rcText, false, true);
    return sz;
}

CSize CKLVPaintManagerTheme6::DrawRibbonOptionButton(CDC* pDC, CKLVControl* pControl, BOOL bDraw) {
    if (bDraw) KLVDrawSkinPart(pDC, {"RIBBONOPTIONBUTTON", PressButtonPart(pControl), 4}, pControl->GetRect(),
                               CRect(3, 2, 2, 2), skinKeyed);
    return CSize(15, 14);
}

void CKLVPaintManagerTheme6::FillRibbonGroupPopup(CDC* pDC, CKLVRibbonGroupFace* pGroup, CKLVCommandBar* pPopupBar) {
    CRect rc;
    pPopupBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, kGroupPopupFace);
    rc.InflateRect(3, 3);
    FillRibbonGroupsArea(pDC, TabOf(pGroup), rc);
}

void CKLVPaintManagerTheme6::DrawQuickAccessCustomizeButton(CDC* pDC, CKLVControl* pControl) {
    DrawQuickAccessButton(pDC, pControl, "RIBBONQUICKACCESSBUTTON");
}

void CKLVPaintManagerTheme6::DrawQuickAccessMoreButton(CDC* pDC, CKLVControl* pControl) {
    DrawQuickAccessButton(pDC, pControl, "RIBBONQUICKACCESSMORE");
}

void CKLVPaintManagerTheme6::DrawRibbonScrollButton(CDC* pDC, CKLVControl* pControl, BOOL bLeft) {
    const int nPart = PressButtonPart(pControl);
    const CRect rc = pControl->GetRect();
    KLVDrawSkinPart(pDC, {bLeft ? "RIBBONGROUPSSCROLLLEFT" : "RIBBONGROUPSSCROLLRIGHT", nPart, 3}, rc,
                    CRect(4, 6, 3, 6), skinKeyed);
    KLVDrawSkinPartCentred(pDC, {bLeft ? "RIBBONGROUPSSCROLLLEFTGLYPH" : "RIBBONGROUPSSCROLLRIGHTGLYPH", nPart, 3}, rc);
}
