#include "toolkit/dockingpane/DockingPaneTheme.h"

#include "toolkit/common/NonClientMetrics.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/dockingpane/DockingDefines.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneCaptionButton.h"
#include "toolkit/dockingpane/DockingPaneTabbedContainer.h"
#include "toolkit/dockingpane/DockingPaneTheme2.h"
#include "toolkit/dockingpane/DockingPaneTheme4.h"
#include "toolkit/dockingpane/DockingPaneThemes.h"

#include <algorithm>

namespace {

// The height of " " in a font, measured on the desktop.
int SpaceHeight(CFont* pFont) {
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, AfxGetSafeHandle(pFont));
    SIZE sz = {};
    ::GetTextExtentPoint32A(hDC, " ", 1, &sz);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
    return sz.cy;
}

}  // namespace

CKLVDockingPaneTheme::CKLVDockingPaneTheme() {
    m_tabPanel.SetLayout(CKLVTabPainter::layoutSizeToFit);
    m_tabPanel.SetPosition(CKLVTabPainter::positionBottom);
    m_tabAutoHide.SetLayout(CKLVTabPainter::layoutCompressed);
}

CKLVDockingPaneTheme::~CKLVDockingPaneTheme() = default;

CKLVDockingPaneTheme* CKLVDockingPaneTheme::CreateTheme(int nTheme) {
    switch (nTheme) {
    case 1: return new CKLVDockingPaneTheme1;
    case 2: return new CKLVDockingPaneTheme2;
    case 3: return new CKLVDockingPaneTheme3;
    case 4: return new CKLVDockingPaneTheme4;
    case 5: return new CKLVDockingPaneTheme5;
    case 6: return new CKLVDockingPaneTheme6;
    case 7: return new CKLVDockingPaneTheme7;
    case 8: return new CKLVDockingPaneTheme8;
    case 9: return new CKLVDockingPaneTheme9;
    case 10: return new CKLVDockingPaneTheme10;
    default: return new CKLVDockingPaneTheme0;
    }
}

COLORREF CKLVDockingPaneTheme::GetColor(int nIndex) const {
    return nIndex >= 0 && nIndex < nColorCount ? m_arrColor[nIndex] : static_cast<COLORREF>(nIndex);
}

void CKLVDockingPaneTheme::RefreshMetrics() {
    RefreshColors();
    for (int i = 0; i < nColorCount; i++) m_arrColor[i] = GetColorManager()->GetColor(i);

    m_clrSplitterGripper.SetStandardValue(GetColor(COLOR_BTNSHADOW));
    m_clrSplitter.SetStandardValue(GetColor(COLOR_BTNFACE));
    m_clrSplitterGradient.SetStandardValue(GetColor(COLOR_BTNFACE),
                                           BlendColors(GetColor(COLOR_BTNFACE), GetColor(COLOR_WINDOW), 205));

    if (m_bUseSystemCaptionFont) {
        CKLVNonClientMetrics ncm;
        if (!m_bBoldCaption) ncm.lfSmCaptionFont.lfWeight = FW_NORMAL;
        SetCaptionFont(ncm.lfSmCaptionFont, TRUE);
    }

    m_tabPanel.RefreshMetrics();
    m_tabAutoHide.RefreshMetrics();
    m_nTabRowHeight = std::max(24, SpaceHeight(m_tabPanel.GetFont()) + 10);

    m_themeExplorer.OpenThemeData(nullptr, L"EXPLORERBAR");
    m_themeButton.OpenThemeData(nullptr, L"BUTTON");
    m_themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
    m_themeWindow.OpenThemeData(nullptr, L"WINDOW");
    m_bUseResourceColors = FALSE;
}

void CKLVDockingPaneTheme::SetCaptionFont(LOGFONTA lf, BOOL bUseSystemFont) {
    m_bUseSystemCaptionFont = bUseSystemFont;
    if (m_bUseTahoma && lf.lfCharSet <= 2 && bUseSystemFont && CKLVDrawHelpers::FontExists("Tahoma"))
        lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    m_fntCaption.DeleteObject();
    m_fntCaption.CreateFontIndirect(&lf);

    lf.lfEscapement = 2700;
    lf.lfOrientation = 900;
    if (lf.lfHeight >= -10 && lf.lfHeight <= -1) lf.lfHeight = -11;
    lstrcpynA(lf.lfFaceName, CKLVDrawHelpers::GetDefaultFontName(), LF_FACESIZE);
    m_fntCaptionVertical.DeleteObject();
    m_fntCaptionVertical.CreateFontIndirect(&lf);

    m_nCaptionHeight = m_nCaptionTextMargin + std::max(13, SpaceHeight(&m_fntCaption));
}

void CKLVDockingPaneTheme::AdjustCaptionRect(const CKLVDockingPaneTabbedContainer* pPane, CRect& rc) {
    if (!pPane->IsCaptionVisible()) return;
    const int nDepth = m_nCaptionHeight + m_rcCaptionMargin.top + m_rcCaptionMargin.bottom;
    if (pPane->IsCaptionVertical()) rc.left += nDepth;
    else rc.top += nDepth;
}

void CKLVDockingPaneTheme::AdjustClientRect(CKLVDockingPaneTabbedContainer* pPane, CRect& rc, BOOL bApply) {
    // Worked out at the origin: the tab row lives in the container's client co-ordinates.
    const CPoint ptOffset = rc.TopLeft();
    CRect rcClient(0, 0, rc.Width(), rc.Height());
    AdjustCaptionRect(pPane, rcClient);
    if (pPane->IsTabsVisible()) {
        CKLVDockingTabbedContainerTabs* pTabs = pPane->GetTabs();
        if (bApply) {
            CClientDC dc(nullptr);
            m_tabPanel.RepositionTabControl(pTabs, &dc, rcClient);
        }
        m_tabPanel.AdjustClientRect(pTabs, rcClient);
    }
    rc = rcClient + ptOffset;
}

CRect CKLVDockingPaneTheme::GetCaptionGripperRect(const CKLVDockingPaneTabbedContainer*) { return CRect(0, 0, 0, 0); }

CRect CKLVDockingPaneTheme::GetCaptionBand(const CKLVDockingPaneTabbedContainer* pPane, CRect rc) const {
    if (pPane->IsCaptionVertical()) {
        rc.left += m_rcCaptionMargin.top;
        rc.right = rc.left + m_nCaptionHeight;
    } else {
        rc.top += m_rcCaptionMargin.top;
        rc.bottom = rc.top + m_nCaptionHeight;
    }
    return rc;
}

CKLVDockingPane* CKLVDockingPaneTheme::GetOwnerPane(CKLVDockingNode* pOwner) {
    if (!pOwner || pOwner->GetCaptionButtons().empty()) return nullptr;
    return pOwner->GetCaptionButtons().front()->GetOwnerPane();
}

BOOL CKLVDockingPaneTheme::IsOwnerPaneEnabled(CKLVDockingNode* pOwner) {
    const CKLVDockingPane* pPane = GetOwnerPane(pOwner);
    return !pPane || (pPane->GetEnabled() & CKLVDockingPane::enabledActive);
}

CRect CKLVDockingPaneTheme::ExcludeCaptionButtons(CKLVDockingNode* pOwner, CRect rcBand, BOOL bVertical) {
    if (!pOwner) return rcBand;
    for (const auto& pButton : pOwner->GetCaptionButtons()) {
        const CRect rcButton = pButton->GetRect();
        if (rcButton.IsRectEmpty()) continue;
        if (bVertical) rcBand.bottom = std::min(rcBand.bottom, rcButton.top - 2);
        else rcBand.right = std::min(rcBand.right, rcButton.left - 2);
    }
    return rcBand;
}

void CKLVDockingPaneTheme::DrawCaptionIcon(CDC* pDC, CKLVDockingNode* pOwner, CRect& rcCaption, BOOL bVertical) {
    if (!m_bDrawCaptionIcon) return;
    CKLVDockingPane* pPane = GetOwnerPane(pOwner);
    const CSize szIcon = m_tabPanel.m_szIcon;
    CKLVImageManagerIcon* pIcon = pPane ? pPane->GetIcon(szIcon.cx) : nullptr;
    if (!pIcon) return;
    CKLVTabManagerItem item;
    item.m_bEnabled = (pPane->GetEnabled() & CKLVDockingPane::enabledActive) != 0;
    const CPoint pt = bVertical ? CPoint(rcCaption.CenterPoint().x - szIcon.cx / 2, rcCaption.top)
                                : CPoint(rcCaption.left, rcCaption.CenterPoint().y - szIcon.cy / 2);
    item.DrawImage(pDC, CRect(pt, szIcon), pIcon);
    if (bVertical) rcCaption.top += szIcon.cy + 3;
    else rcCaption.left += szIcon.cx + 3;
}

CRect CKLVDockingPaneTheme::PlaceCaptionButtons(CDC* pDC, CKLVDockingNode* pOwner, CRect rcBand, COLORREF clr,
                                                int nButtonSize, int nGap, BOOL bVertical) {
    DrawCaptionButtons(pDC, pOwner, rcBand, clr, nButtonSize, nGap, bVertical);
    rcBand = ExcludeCaptionButtons(pOwner, rcBand, bVertical);
    if (bVertical) rcBand.DeflateRect(1, 4, 0, 2);
    else rcBand.DeflateRect(4, 1, 2, 0);
    return rcBand;
}

int CKLVDockingPaneTheme::DrawMeasuredTitle(CDC* pDC, CKLVDockingNode* pOwner, CRect rcText, const CString& strTitle,
                                            BOOL bVertical, BOOL bIcon) {
    pDC->SetTextColor(GetColor(IsOwnerPaneEnabled(pOwner) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    pDC->SetBkMode(TRANSPARENT);
    if (bIcon) DrawCaptionIcon(pDC, pOwner, rcText, bVertical);
    return (bVertical ? rcText.top : rcText.left) + DrawCaptionText(pDC, strTitle, rcText, bVertical, TRUE);
}

void CKLVDockingPaneTheme::DrawCaptionTitle(CDC* pDC, CKLVDockingNode* pOwner, CRect rcBand, const CString& strTitle,
                                            COLORREF clrText, BOOL bVertical) {
    if (!IsOwnerPaneEnabled(pOwner)) clrText = GetColor(COLOR_GRAYTEXT);
    CRect rcText = ExcludeCaptionButtons(pOwner, rcBand, bVertical);
    if (bVertical) {
        rcText.top += 4;
        rcText.left += 1;
    } else {
        rcText.left += 4;
        rcText.top += 1;
    }
    DrawCaptionIcon(pDC, pOwner, rcText, bVertical);
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    DrawCaptionText(pDC, strTitle, rcText, bVertical);
}

int CKLVDockingPaneTheme::DrawCaptionText(CDC* pDC, const CString& strTitle, CRect rcText, BOOL bVertical, BOOL bCalc) {
    CFont* pFont = GetCaptionFont(bVertical);
    CFont* pOld = pDC->SelectObject(pFont);
    int nLength = 0;
    if (!bVertical) {
        pDC->DrawText(strTitle, &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        if (bCalc) {
            CRect rcCalc = rcText;
            pDC->DrawText(strTitle, &rcCalc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            nLength = rcCalc.Width();
        }
    } else {
        CSize sz = pDC->GetTextExtent(strTitle);
        nLength = sz.cx;
        // The rotated text starts at its top right and runs down.
        const int y = rcText.top + std::max(0, (rcText.Height() - static_cast<int>(sz.cx)) / 2);
        CRect rcDraw(rcText.right - (rcText.Width() - sz.cy) / 2, y, rcText.right + sz.cx, rcText.bottom);
        pDC->DrawText(strTitle, &rcDraw, DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    pDC->SelectObject(pOld);
    return nLength;
}

void CKLVDockingPaneTheme::DrawTabbedContainer(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) {
    pDC->FillSolidRect(&rc, GetColor(COLOR_BTNFACE));
    pDC->SetBkMode(TRANSPARENT);
    if (pPane->IsTabsVisible()) {
        CRect rcTabs = rc;
        AdjustCaptionRect(pPane, rcTabs);
        m_tabPanel.RepositionTabControl(pPane->GetTabs(), pDC, rcTabs);
        m_tabPanel.DrawTabControl(pPane->GetTabs(), pDC, rcTabs);
    }
    if (pPane->IsCaptionVisible()) DrawCaption(pDC, pPane, rc);
}
