// The ribbon as its frame's caption: it integrates the frame it is created in, tells the frame
// when it comes or goes, and lays out the frame's caption buttons and title in its caption band.
#include "toolkit/ribbon/RibbonBar.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/themes/PaintManagerTheme5.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/ribbon/RibbonCaptionControls.h"
#include "toolkit/ribbon/RibbonControls.h"

#include <algorithm>
#include <vector>

namespace {

enum { titlePadding = 20, captionTextGapAfterCustomize = 2, captionTextGapNoCustomize = 12 };
enum { captionTextIndentWithoutQuickAccess = 70, captionTextBottomGap = 3 };

// The rectangle of the width centred across the span, never wider than it.
CRect CentredAcross(const CRect& rcSpan, int nWidth, int nTop, int nBottom) {
    nWidth = std::max(std::min(nWidth, rcSpan.Width()), 0);
    const int nLeft = rcSpan.left + (rcSpan.Width() - nWidth) / 2;
    return CRect(nLeft, nTop, nLeft + nWidth, nBottom);
}

}  // namespace

void CKLVRibbonBar::OnCreatedHook() {
    CKLVMenuBar::OnCreatedHook();
    CWnd* pSite = GetSite();
    if (!pSite || !pSite->GetSafeHwnd()) return;
    if (m_pFrameIntegration && m_pFrameIntegration->GetFrame() == pSite) return;
    m_pFrameIntegration = std::make_unique<CKLVFrameIntegration>(pSite, GetCommandBars(), this);
    // The frame takes its caption from the ribbon from its next frame calculation on.
    m_pFrameIntegration->PostRecalcFrame();
}

void CKLVRibbonBar::ReleaseFrame() {
    if (!m_pFrameIntegration) return;
    CWnd* pFrame = m_pFrameIntegration->GetFrame();
    const HWND hFrame = pFrame ? pFrame->GetSafeHwnd() : nullptr;
    m_pFrameIntegration.reset();
    if (!hFrame) return;
    // Unhooked, the frame's non-client area is the system's again: no theme region, the
    // standard caption.
    ::SetWindowRgn(hFrame, nullptr, TRUE);
    ::SetWindowPos(hFrame, nullptr, 0, 0, 0, 0, CKLVFrameIntegration::recalcFrameFlags);
}

BOOL CKLVRibbonBar::IsCaptionOwnerVisible() const { return IsVisible() && m_bRibbonVisible; }

BOOL CKLVRibbonBar::IsFrameThemed() const { return m_pFrameIntegration && m_pFrameIntegration->IsActive(); }

int CKLVRibbonBar::GetFrameBorder() const { return m_pFrameIntegration ? m_pFrameIntegration->GetBorderSize() : 0; }

void CKLVRibbonBar::SetVisible(BOOL bVisible) {
    const BOOL bWasVisible = IsVisible();
    CKLVMenuBar::SetVisible(bVisible);
    if (IsVisible() != bWasVisible) OnRibbonVisibilityChanged();
}

void CKLVRibbonBar::OnRibbonVisibilityChanged() {
    if (m_pFrameIntegration) m_pFrameIntegration->PostRecalcFrame();
}

CKLVControl* CKLVRibbonBar::FindCaptionButton(UINT nSysCommand) const {
    for (int i = 0; i < GetControlCount(); ++i) {
        CKLVControl* pControl = GetControl(i);
        if (pControl->IsKindOf(RUNTIME_CLASS(CKLVRibbonControlCaptionButton)) &&
            pControl->GetId() == static_cast<int>(nSysCommand))
            return pControl;
    }
    return nullptr;
}

void CKLVRibbonBar::LayoutCaptionButtons(CDC* pDC) {
    const BOOL bQuickAccessAbove = m_bQuickAccessVisible && !m_bQuickAccessBelow;
    if (!bQuickAccessAbove) {
        m_rcCaptionText.left += captionTextIndentWithoutQuickAccess;
    } else if (m_pCustomizePopup->IsVisible()) {
        m_rcCaptionText.left = m_rcQuickAccess.right + m_pCustomizePopup->GetSize(pDC).cx + captionTextGapAfterCustomize;
    } else {
        m_rcCaptionText.left = m_rcQuickAccess.right + captionTextGapNoCustomize;
    }
    m_rcCaptionText.top += GetFrameBorder();
    m_rcCaptionText.bottom -= captionTextBottomGap;

    // Where the frame draws its own caption, the ribbon shows none of its buttons.
    const std::vector<KLVFrameCaptionCommand> commands = m_pFrameIntegration->IsCaptionStandard()
                                                             ? std::vector<KLVFrameCaptionCommand>()
                                                             : m_pFrameIntegration->GetCaptionCommands();
    const int nSide = std::max(m_rcCaptionText.Height(), 0);
    for (const KLVFrameCaptionCommand& command : commands) {
        CKLVControl* pButton = FindCaptionButton(command.nId);
        if (!pButton) {
            pButton = m_pControls->Append(new CKLVRibbonControlCaptionButton(command.nId));
            pButton->m_bTemporary = TRUE;
        }
        pButton->SetEnabled(command.bEnabled);
        pButton->SetRect(CRect(m_rcCaptionText.right - nSide, m_rcCaptionText.top, m_rcCaptionText.right,
                               m_rcCaptionText.top + nSide));
        m_rcCaptionText.right -= nSide;
    }
    static const UINT kAllCommands[] = {SC_CLOSE, SC_RESTORE, SC_MAXIMIZE, SC_MINIMIZE};
    for (UINT nId : kAllCommands) {
        const BOOL bWanted = std::any_of(commands.begin(), commands.end(),
                                         [nId](const KLVFrameCaptionCommand& command) { return command.nId == nId; });
        if (CKLVControl* pButton = FindCaptionButton(nId); pButton && !bWanted)
            static_cast<CKLVRibbonControls*>(m_pControls)->RemovePart(pButton);
    }
}

void CKLVRibbonBar::LayoutTitle(CDC* pDC) {
    CWnd* pFrame = m_pFrameIntegration->GetFrame();
    if (m_pFrameIntegration->IsCaptionStandard()) {
        m_rcTitle.SetRectEmpty();
        return;
    }
    CString strTitle;
    if (pFrame) pFrame->GetWindowText(strTitle);
    auto* pTheme = dynamic_cast<CKLVPaintManagerTheme5*>(GetPaintManager());
    CKLVFontDC font(pDC, pTheme ? static_cast<CFont*>(&pTheme->m_fontCaption) : &GetPaintManager()->m_fontRegular);
    const int nWidth = pDC->GetTextExtent(strTitle).cx + titlePadding;
    const int nTop = m_rcCaptionText.top, nBottom = m_rcCaptionText.bottom;
    m_rcTitle = CentredAcross(m_rcTitle, nWidth, nTop, nBottom);
    if (!m_bQuickAccessVisible || m_bQuickAccessBelow) return;
    int nQuickAccessEnd = m_rcQuickAccess.right;
    if (m_pCustomizePopup->IsVisible()) nQuickAccessEnd = std::max<int>(nQuickAccessEnd, m_pCustomizePopup->GetRect().right);
    if (m_rcTitle.left < nQuickAccessEnd) m_rcTitle = CentredAcross(m_rcCaptionText, nWidth, nTop, nBottom);
}
