// Controls on tool bars and the menu bar: buttons with and without icon and caption, menu-bar
// popups, split buttons, captions below the icon, and the large style with two caption lines.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManagerIcon.h"

#include <algorithm>

namespace {

CString WithoutMnemonics(CString str) {
    CKLVDrawHelpers::StripMnemonicsString(str);
    return str;
}

// What one tool-bar control shows, gathered once for measuring and drawing.
struct ToolBarItem {
    CKLVControlFace* pControl;
    CKLVCommandBarFace* pBar;
    CRect rc;
    int nType;
    int nStyle;
    BOOL bVertical;
    CSize szIcon;
    CSize szButton;
    CKLVImageManagerIcon* pImage;
    BOOL bCaption;
    CString strCaption;
    CSize szText;
};

BOOL IsPopupType(int nType) {
    return nType == CKLVControlFace::typePopup || nType == CKLVControlFace::typeButtonPopup ||
           nType == CKLVControlFace::typeSplitButtonPopup;
}

BOOL ShowsIcon(int nType, int nStyle) {
    if (nStyle == CKLVControlFace::styleAutomatic) return nType != CKLVControlFace::typePopup;
    return nStyle == CKLVControlFace::styleIcon || nStyle == CKLVControlFace::styleIconAndCaption ||
           nStyle == CKLVControlFace::styleCaptionBelow;
}


// Sizes are worked out along a horizontal bar; vertical bars exchange the two directions.
CSize FitCustomSize(CKLVPaintManager& pm, const ToolBarItem& item, CSize szHorizontal) {
    CSize sz;
    if (item.bVertical)
        pm.GetCustomControlSize(sz, item.pControl, szHorizontal.cy, szHorizontal.cx, TRUE);
    else
        pm.GetCustomControlSize(sz, item.pControl, szHorizontal.cx, szHorizontal.cy, FALSE);
    return sz;
}

// The control's background: a split button's frame from the theme, check marks have none.
void DrawFace(CKLVPaintManager& pm, CDC* pDC, const ToolBarItem& item) {
    if (item.nType == CKLVControlFace::typeSplitButtonPopup)
        pm.DrawSplitButtonFrame(pDC, item.pControl, item.rc);
    else if (item.nType != CKLVControlFace::typeCheckBox && item.nType != CKLVControlFace::typeRadioButton)
        pm.DrawControlEntry(pDC, item.pControl);
    pDC->SetTextColor(pm.GetControlTextColor(item.pControl));
    pDC->SetBkMode(TRANSPARENT);
}

BOOL IsEnabled(const ToolBarItem& item) {
    const int nEnabled = item.pControl->GetEnabled();
    return item.nType == CKLVControlFace::typeSplitButtonPopup && nEnabled == 4 ? FALSE : nEnabled != 0;
}

void DrawIcon(CKLVPaintManager& pm, CDC* pDC, const ToolBarItem& item, CPoint pt) {
    CKLVControlFace* p = item.pControl;
    const int cy = item.pImage->GetWidth() > 0 ? item.pImage->GetHeight() * item.szIcon.cx / item.pImage->GetWidth()
                                                : item.szIcon.cy;
    pm.DrawImage(pDC, pt, CSize(item.szIcon.cx, cy), item.pImage, p->GetSelected(), p->GetPressed(), IsEnabled(item),
                 p->GetChecked(), p->GetPopuped(), TRUE);
}

// Vertical fonts run downwards from their origin, their cells extending to its left.
CRect VerticalTextRect(const CRect& rc, int nTop, int cyText) {
    const int x = rc.left + (rc.Width() + cyText) / 2;
    return CRect(x, nTop, rc.right, rc.bottom);
}

CSize DrawToolBarButton(CKLVPaintManager& pm, CDC* pDC, const ToolBarItem& item, BOOL bDraw) {
    CKLVControlFace* pControl = item.pControl;
    const BOOL bIcon = item.pImage != nullptr;
    const BOOL bMark = item.nType == CKLVControlFace::typeCheckBox || item.nType == CKLVControlFace::typeRadioButton;
    const int nGap = pm.m_bWideIconTextGap ? 4 : 3;
    const CSize szButton = bIcon ? item.szButton : CSize(22, 22);
    CSize sz;
    if (item.nType == CKLVControlFace::typePopup && !bIcon)
        sz = CSize(item.szText.cx + 6, item.szText.cy + 6);
    else if (item.nType == CKLVControlFace::typePopup && !item.bCaption)
        sz = CSize(szButton.cx + 7, szButton.cy);
    else if (!item.bCaption)
        sz = szButton;
    else if (bIcon)
        sz = CSize(szButton.cx + item.szText.cx + nGap, std::max<int>(item.szText.cy + 6, szButton.cy));
    else
        sz = CSize(item.szText.cx + 8, std::max<int>(item.szText.cy + 6, szButton.cy));
    if (bMark) sz.cx += 13 + nGap;
    if (item.nType == CKLVControlFace::typeSplitButtonPopup) sz.cx += pm.m_nSplitButtonDropDownWidth + 1;
    sz = FitCustomSize(pm, item, sz);
    if (!bDraw) return sz;

    DrawFace(pm, pDC, item);
    const CRect& rc = item.rc;
    const CRect rcCommand =
        item.nType == CKLVControlFace::typeSplitButtonPopup ? pm.GetSplitButtonCommandRect(pControl) : rc;
    int nLead = item.bVertical ? rc.top : rc.left;
    if (bMark) {
        const CRect rcMark(CPoint(rc.left + 3, rc.top + (rc.Height() - 13) / 2), CSize(13, 13));
        if (item.nType == CKLVControlFace::typeCheckBox)
            pm.DrawCheckBoxMark(pDC, rcMark, TRUE, pControl->GetSelected(), pControl->GetPressed(),
                                pControl->GetChecked(), IsEnabled(item));
        else
            pm.DrawRadioButtonMark(pDC, rcMark, TRUE, pControl->GetSelected(), pControl->GetPressed(),
                                   pControl->GetChecked(), IsEnabled(item));
        nLead += 3 + 13;
    }
    if (bIcon) {
        const BOOL bCentred = !item.bCaption && (item.nType == CKLVControlFace::typeButton ||
                                                 item.nType == CKLVControlFace::typeButtonPopup);
        CPoint pt;
        if (bCentred)
            pt = CPoint(rcCommand.CenterPoint().x - item.szIcon.cx / 2, rcCommand.CenterPoint().y - item.szIcon.cy / 2);
        else if (item.bVertical)
            pt = CPoint(rc.left + (rc.Width() - item.szIcon.cx) / 2, rc.top + 3);
        else
            pt = CPoint(rc.left + 3, rc.top + (rc.Height() - item.szIcon.cy) / 2);
        DrawIcon(pm, pDC, item, pt);
        nLead += 3 + item.szIcon.cx;
    }
    if (item.nType == CKLVControlFace::typePopup && bIcon && !item.bCaption) {
        const int x = rc.right - 7, y = rc.CenterPoint().y;
        CKLVPaintManager::DrawTriangle(pDC, CPoint(x - 2, y - 1), CPoint(x + 2, y - 1), CPoint(x, y + 1),
                                       pDC->GetTextColor());
    }
    if (!item.bCaption) return sz;
    const CString strPlain = WithoutMnemonics(item.strCaption);
    if (item.bVertical) {
        const CRect rcText = VerticalTextRect(rc, bIcon || bMark ? nLead + nGap : rc.top + 4, item.szText.cy);
        pm.DrawControlCaption(pDC, pControl, item.strCaption, strPlain, rcText, true, false);
    } else {
        const BOOL bCenter = !bIcon && !bMark;
        const CRect rcText(bCenter ? rc.left : nLead + nGap, rc.top, rcCommand.right, rc.bottom);
        pm.DrawControlCaption(pDC, pControl, item.strCaption, strPlain, rcText, false, bCenter != FALSE);
    }
    return sz;
}

CSize DrawTextBelowIconControl(CKLVPaintManager& pm, CDC* pDC, const ToolBarItem& item, BOOL bDraw) {
    const BOOL bSplit = item.nType == CKLVControlFace::typeSplitButtonPopup;
    const int cy = (item.bCaption ? item.szText.cy : 0) + item.szIcon.cy;
    const int nIconMargin = pm.m_bNarrowCaptionMargin ? 8 : 10;
    int cx = std::max<int>(item.szText.cx, item.szIcon.cx + nIconMargin) + (bSplit ? 11 : 0);
    cx = std::max(cx, cy);
    const CSize sz = FitCustomSize(pm, item, CSize(cx, cy));
    if (!bDraw) return sz;

    DrawFace(pm, pDC, item);
    const CRect& rc = item.rc;
    const CRect rcCommand = bSplit ? pm.GetSplitButtonCommandRect(item.pControl) : rc;
    DrawIcon(pm, pDC, item, CPoint(rcCommand.CenterPoint().x - item.szIcon.cx / 2, rc.top + 4));
    if (item.bCaption) {
        const CRect rcText(rcCommand.left, rc.top + 4 + item.szIcon.cy, rcCommand.right, rc.bottom);
        pm.DrawControlCaption(pDC, item.pControl, item.strCaption, WithoutMnemonics(item.strCaption), rcText, false,
                              true);
    }
    return sz;
}

CSize DrawLargeToolBarControl(CKLVPaintManager& pm, CDC* pDC, const ToolBarItem& item, BOOL bDraw) {
    CString strLines[2];
    if (pm.m_bTwoLineCaptions)
        CKLVPaintManager::SplitString(item.bCaption ? item.strCaption : CString(), strLines[0], strLines[1]);
    else if (item.bCaption)
        strLines[0] = item.strCaption;
    const BOOL bArrow = IsPopupType(item.nType);
    int cxBlock = 0;
    for (const CString& strLine : strLines) {
        const CString strPlain = strLine.IsEmpty() ? CString(" ") : WithoutMnemonics(strLine);
        cxBlock = std::max<int>(cxBlock, pDC->GetTextExtent(strPlain).cx);
    }
    cxBlock += bArrow ? 8 : 0;
    const int cx = std::max(std::max(2 * pm.GetTextHeight() - 3, 42), cxBlock);
    const int cy = pm.m_nControlHeight > 0 ? 3 * pm.m_nControlHeight
                                           : item.szIcon.cy + pm.GetSplitDropDownWidth() + 7;
    const CSize sz = FitCustomSize(pm, item, CSize(cx, cy));
    if (!bDraw) return sz;

    DrawFace(pm, pDC, item);
    const CRect& rc = item.rc;
    if (item.pImage) DrawIcon(pm, pDC, item, CPoint(rc.CenterPoint().x - item.szIcon.cx / 2, rc.top + 3));
    CRect rcTwoLines(0, 0, 0x7FFF, 0);
    pDC->DrawText("1\n2", 3, rcTwoLines, DT_CALCRECT | DT_WORDBREAK);
    const int cyLine = rcTwoLines.Height() / 2;
    const int nBlockTop = rc.top + 3 + item.szIcon.cy + 2;
    const int nLast = strLines[1].IsEmpty() ? 0 : 1;
    CKLVControlFace* p = item.pControl;
    for (int i = 0; i <= nLast; ++i) {
        const CRect rcLine(rc.left, nBlockTop + i * cyLine, rc.right - (bArrow && i == nLast ? 8 : 0),
                           nBlockTop + (i + 1) * cyLine);
        const CString strPlain = WithoutMnemonics(strLines[i]);
        pm.DrawControlCaption(pDC, p, strLines[i], strPlain, rcLine, false, true);
        if (bArrow && i == nLast) {
            const int x = rcLine.CenterPoint().x + pDC->GetTextExtent(strPlain).cx / 2 + 6;
            pm.DrawExpandArrow(pDC, p, CPoint(x, rcLine.CenterPoint().y), p->GetSelected(), p->GetPopuped(),
                               IsEnabled(item), FALSE);
        }
    }
    return sz;
}

}  // namespace

CSize CKLVPaintManager::DrawControlToolBarParent(CDC* pDC, CKLVControlFace* pControl, BOOL bDraw) {
    ToolBarItem item{pControl, pControl->GetBarFace(), bDraw ? pControl->GetRect() : CRect(), pControl->GetType(),
                     pControl->GetStyle(), FALSE, GetControlIconSize(pControl), CSize(22, 22), nullptr, FALSE,
                     CString(), CSize(0, 0)};
    switch (item.nType) {
    case CKLVControlFace::typeButton:
    case CKLVControlFace::typePopup:
    case CKLVControlFace::typeButtonPopup:
    case CKLVControlFace::typeSplitButtonPopup:
    case CKLVControlFace::typeLabel:
    case CKLVControlFace::typeCheckBox:
    case CKLVControlFace::typeRadioButton: break;
    default: return CSize(0, 0);
    }
    CKLVFontDC font(pDC, GetCommandBarFont(item.pBar, pControl->IsItemDefault()));
    item.bVertical = item.pBar && IsVerticalDockPosition(item.pBar->GetPosition());
    if (item.pBar) item.szButton = item.pBar->GetButtonSize();
    if (ShowsIcon(item.nType, item.nStyle)) item.pImage = pControl->GetImage(item.szIcon.cx);
    item.bCaption = pControl->IsCaptionVisible();
    item.strCaption = pControl->GetCaption();
    if (item.bCaption) item.szText = pDC->GetTextExtent(WithoutMnemonics(item.strCaption));

    if (item.nStyle == CKLVControlFace::styleCaptionBelow) return DrawLargeToolBarControl(*this, pDC, item, bDraw);
    if (item.pBar && item.pBar->IsTextBelowIcons() && item.pImage) return DrawTextBelowIconControl(*this, pDC, item, bDraw);
    return DrawToolBarButton(*this, pDC, item, bDraw);
}
