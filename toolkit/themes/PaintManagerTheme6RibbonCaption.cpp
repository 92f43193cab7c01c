// Theme 6's ribbon caption band: the band itself or the frame's caption the ribbon owns, the
// quick access area, the system button, the context headers and the title. The glass paths run
// only while the frame integration reports composition; everything else is drawn opaque.
#include "toolkit/themes/PaintManagerTheme6.h"

#include "classlib/Wnd.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/themes/FrameIntegration.h"
#include "toolkit/themes/RibbonFaces.h"
#include "toolkit/themes/ThemeResourceImage.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ImageManagerIcon.h"
#include "toolkit/tabs/TabColors.h"
#include "toolkit/tabs/TabPainter.h"

#include <algorithm>

namespace {

const CRect kCaptionMargins(0, 5, 0, 3);
const UINT kHeaderFormat = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
const UINT kGlassTitleFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
enum { glowSize = 8, quickAccessAreaLead = 15, frameIconLeft = 10, headerTextIndent = 6, largeIcon = 32 };
enum { systemButtonLargeLimit = 54 };

BOOL HasVisibleQuickAccess(CKLVRibbonBarFace* pRibbon) {
    if (!pRibbon->IsQuickAccessVisible() || pRibbon->IsQuickAccessBelow()) return FALSE;
    CKLVControls* pControls = pRibbon->GetQuickAccessControlList();
    for (int i = 0; pControls && i < pControls->GetCount(); ++i)
        if (pControls->GetAt(i)->IsVisible()) return TRUE;
    return FALSE;
}

BOOL IsMaximized(CWnd* pFrame) { return pFrame && (pFrame->GetStyle() & WS_MAXIMIZE); }

void DrawIconCentred(CDC* pDC, CKLVImageManagerIcon* pIcon, CRect rc) {
    pIcon->Draw(pDC, CPoint(rc.left + (rc.Width() - pIcon->GetWidth()) / 2, rc.top + (rc.Height() - pIcon->GetHeight()) / 2));
}

// The ribbon bar a command bar is; null for any other bar.
CKLVRibbonBarFace* RibbonOf(CKLVCommandBar* pBar) {
    return pBar && pBar->IsRibbonBar() ? dynamic_cast<CKLVRibbonBarFace*>(pBar) : nullptr;
}

}  // namespace

CKLVFrameIntegration* CKLVPaintManagerTheme6::GetRibbonFrame(CKLVRibbonBarFace* pRibbon) {
    CKLVFrameIntegration* pFrame = pRibbon ? pRibbon->GetFrameIntegration() : nullptr;
    return pFrame && pFrame->HasFrame() && !pFrame->IsCaptionStandard() ? pFrame : nullptr;
}

BOOL CKLVPaintManagerTheme6::IsInRibbonCaption(CKLVCommandBar* pBar, CRect rc) {
    CKLVRibbonBarFace* pRibbon = RibbonOf(pBar);
    if (!pRibbon) return FALSE;
    CRect rcCommon;
    const CRect rcCaption = pRibbon->GetCaptionRect();
    return GetRibbonFrame(pRibbon) && rcCommon.IntersectRect(&rc, &rcCaption);
}

KLVSkinDrawMode CKLVPaintManagerTheme6::SkinModeAt(CKLVCommandBar* pBar, CRect rc) {
    if (!IsInRibbonCaption(pBar, rc)) return skinKeyed;
    return GetRibbonFrame(RibbonOf(pBar))->m_bCompositionActive ? skinOverGlass : skinKeyed;
}

LPCTSTR CKLVPaintManagerTheme6::SystemButtonImage(CSize szButton) {
    const BOOL bLarge = szButton.cx > systemButtonLargeLimit && szButton.cy > systemButtonLargeLimit;
    return bLarge ? "FRAMESYSTEMBUTTON52" : "FRAMESYSTEMBUTTON";
}

void CKLVPaintManagerTheme6::DrawQuickAccessArea(CDC* pDC, CKLVRibbonBarFace* pRibbon, int nTop, BOOL bGlass) {
    if (!HasVisibleQuickAccess(pRibbon)) return;
    const CRect rcQuickAccess = pRibbon->GetQuickAccessRect();
    const CRect rc(rcQuickAccess.left - quickAccessAreaLead, nTop, rcQuickAccess.right, nTop + pRibbon->GetQuickAccessHeight());
    KLVDrawSkinPart(pDC, {bGlass ? "RIBBONQUICKACCESSAREADWM" : "RIBBONQUICKACCESSAREA", 0, 1}, rc, CRect(16, 3, 16, 3),
                    bGlass ? skinOverGlass : skinOpaque);
}

void CKLVPaintManagerTheme6::FillRibbonCaptionBand(CDC* pDC, CKLVRibbonBarFace* pRibbon) {
    CRect rc = pRibbon->GetCaptionRect();
    rc.top -= 1;
    KLVDrawSkinPart(pDC, {"FRAMETOPCENTER", 0, 2}, rc, kCaptionMargins);
    DrawQuickAccessArea(pDC, pRibbon, pRibbon->GetCaptionRect().top, FALSE);
    CKLVRibbonContextHeaderList* pHeaders = pRibbon->GetContextHeaderList();
    if (pHeaders->GetHeaderCount()) DrawRibbonContextHeaders(pDC, pRibbon, pHeaders);
}

void CKLVPaintManagerTheme6::DrawRibbonFrameCaption(CDC* pDC, CKLVRibbonBarFace* pRibbon) {
    CKLVFrameIntegration* pFrame = GetRibbonFrame(pRibbon);
    if (!pFrame) {
        FillRibbonCaptionBand(pDC, pRibbon);
        return;
    }
    const BOOL bGlass = pFrame->m_bCompositionActive;
    const CRect rc = pRibbon->GetCaptionRect();
    if (bGlass) {
        pDC->FillSolidRect(rc, 0);
    } else {
        const int nPart = pFrame->IsActive() ? 0 : 1;
        const KLVSkinPart left = {"FRAMETOPLEFT", nPart, 2}, right = {"FRAMETOPRIGHT", nPart, 2};
        const int cxLeft = KLVSkinPartSize(left).cx, cxRight = KLVSkinPartSize(right).cx;
        KLVDrawSkinPart(pDC, left, CRect(rc.left, rc.top, rc.left + cxLeft, rc.bottom), kCaptionMargins, skinKeyed);
        KLVDrawSkinPart(pDC, right, CRect(rc.right - cxRight, rc.top, rc.right, rc.bottom), kCaptionMargins);
        KLVDrawSkinPart(pDC, {"FRAMETOPCENTER", nPart, 2}, CRect(rc.left + cxLeft, rc.top, rc.right - cxRight, rc.bottom),
                        kCaptionMargins);
    }
    DrawQuickAccessArea(pDC, pRibbon, pFrame->GetBorderSize(), bGlass);
    CKLVControl* pSystemButton = pRibbon->GetSystemButton();
    if (!pSystemButton || !pSystemButton->IsVisible()) {
        if (HICON hIcon = GetFrameSmallIcon(pFrame->GetFrame())) {
            const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
            ::DrawIconEx(pDC->GetSafeHdc(), rc.left + frameIconLeft, (rc.Height() - cy) / 2, hIcon, cx, cy, 0, nullptr,
                         DI_NORMAL);
        }
    }
    CKLVRibbonContextHeaderList* pHeaders = pRibbon->GetContextHeaderList();
    if (pHeaders->GetHeaderCount()) DrawRibbonContextHeaders(pDC, pRibbon, pHeaders);
    DrawRibbonTitle(pDC, pRibbon, pFrame);
}

void CKLVPaintManagerTheme6::DrawRibbonTitle(CDC* pDC, CKLVRibbonBarFace* pRibbon, CKLVFrameIntegration* pFrame) {
    CWnd* pWnd = pFrame->GetFrame();
    CRect rcTitle = pRibbon->GetTitleRect();
    if (!pWnd || rcTitle.IsRectEmpty()) return;
    CString strText;
    pWnd->GetWindowText(strText);
    CKLVFontDC font(pDC, &m_fontCaption);
    // Centred in the title rectangle, but a title wider than it starts at its left edge.
    const int cxText = pDC->GetTextExtent(strText).cx;
    rcTitle.left = std::max(rcTitle.left, rcTitle.left + (rcTitle.Width() - cxText) / 2);
    const BOOL bMaximized = IsMaximized(pWnd);
    if (bMaximized) rcTitle.OffsetRect(0, pFrame->GetBorderSize() / 2);
    if (!pFrame->m_bCompositionActive) {
        DrawFrameCaptionText(pDC, rcTitle, pWnd, pFrame->IsActive(), pFrame);
        return;
    }
    pDC->SetTextColor(pFrame->IsActive() ? m_clrCaptionTextActive : m_clrCaptionTextInactive);
    DrawGlowText(pDC, strText, rcTitle, kGlassTitleFormat, bMaximized);
}

void CKLVPaintManagerTheme6::DrawGlowText(CDC* pDC, const CString& strText, CRect rc, UINT nFormat, BOOL bMaximized) {
    pDC->SetBkMode(TRANSPARENT);
    if (!bMaximized && DrawGlowingText(pDC, strText, rc, nFormat, glowSize)) return;
    // A maximised frame's caption lies on dark glass; a system without visual styles has no glow.
    if (bMaximized) pDC->SetTextColor(RGB(255, 255, 255));
    pDC->DrawText(strText, rc, nFormat);
}

void CKLVPaintManagerTheme6::DrawRibbonSystemButton(CDC* pDC, CKLVControl* pControl, CRect rc) {
    CKLVCommandBar* pBar = pControl->GetParent();
    CKLVRibbonBarFace* pRibbon = RibbonOf(pBar);
    if (!pRibbon || !pRibbon->HasCaptionBand() || !pRibbon->IsTabRowShown()) {
        DrawControlToolBarParent(pDC, pControl, TRUE);
        return;
    }
    CKLVImageManagerIcon* pIcon = pControl->GetImage(rc.Width());
    if (pIcon && pIcon->GetWidth() > largeIcon) {
        DrawIconCentred(pDC, pIcon, rc);
        return;
    }
    if (rc.top < 0) rc.OffsetRect(0, -rc.top);
    const int nPart = PopupButtonPart(pControl->GetPopuped(), pControl->GetSelected());
    KLVDrawSkinPartCentred(pDC, {SystemButtonImage(rc.Size()), nPart, 3}, rc, SkinModeAt(pBar, rc));
    if (pIcon) {
        DrawIconCentred(pDC, pIcon, rc);
    } else if (HICON hIcon = GetFrameLargeIcon(pRibbon->GetRibbonSite())) {
        ::DrawIconEx(pDC->GetSafeHdc(), rc.left + (rc.Width() - largeIcon) / 2, rc.top + (rc.Height() - largeIcon) / 2,
                     hIcon, largeIcon, largeIcon, 0, nullptr, DI_NORMAL);
    }
}

void CKLVPaintManagerTheme6::DrawRibbonContextHeaders(CDC* pDC, CKLVRibbonBarFace* pRibbon,
                                                      CKLVRibbonContextHeaderList* pHeaders) {
    if (!m_pRibbonTabPainter) return;
    CKLVFrameIntegration* pFrame = GetRibbonFrame(pRibbon);
    const BOOL bGlass = pFrame && pFrame->m_bCompositionActive;
    const int nTextShift = (pFrame ? pFrame->GetBorderSize() : 0) - 2;
    CKLVFontDC font(pDC, m_pRibbonTabPainter->GetFont(),
                    CKLVTabColors::GetColor(m_pRibbonTabPainter->GetColorSet()->clrNormalText));
    pDC->SetBkMode(TRANSPARENT);
    for (int i = 0; i < pHeaders->GetHeaderCount(); ++i) {
        const KLVRibbonContextHeaderLook header = pHeaders->GetHeaderLook(i);
        const CString strImage = KLVContextImageName("ContextTab%sHeader", header.nColor);
        if (!KLVDrawSkinPart(pDC, {strImage, 0, 1}, header.rcHeader, CRect(1, 1, 1, 1),
                             bGlass ? skinOverGlass : skinOpaque))
            break;
        CRect rcText = header.rcHeader;
        rcText.left += headerTextIndent;
        rcText.top += nTextShift;
        if (bGlass)
            DrawGlowText(pDC, header.strCaption, rcText, kHeaderFormat, IsMaximized(pFrame->GetFrame()));
        else
            pDC->DrawText(header.strCaption, rcText, kHeaderFormat);
    }
}
