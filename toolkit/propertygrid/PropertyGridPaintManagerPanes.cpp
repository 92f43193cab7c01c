// The grid window's own painting (help pane and verb links) and the faces of the in-place list
// entries and buttons.
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <vssym32.h>

#include <algorithm>

namespace {

const UINT kSingleLine = DT_SINGLELINE | DT_NOPREFIX;

// Where a caption too wide for the rest of the line is cut: after the last space, comma or
// hyphen before the estimate; 0 when there is none.
int FindBreak(const CString& strText, int nEstimate) {
    for (int i = std::min(nEstimate, strText.GetLength()) - 1; i >= 0; --i) {
        const char ch = strText[i];
        if (ch == ' ' || ch == ',' || ch == '-') return i + 1;
    }
    return 0;
}

}  // namespace

void CKLVPropertyGridPaintManager::FillPropertyGrid(CDC* pDC) {
    CRect rcClient;
    m_pGrid->GetClientRect(&rcClient);
    pDC->FillSolidRect(&rcClient, m_clrFace);
    pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrHelpBack = m_pMetrics->m_clrHelpBack;
    if (m_pGrid->IsHelpVisible()) {
        CRect rcHelp = m_pGrid->GetHelpRect();
        pDC->FillSolidRect(&rcHelp, clrHelpBack);
        DrawBorder(pDC, rcHelp, FALSE);
        CKLVPropertyGridItem* pItem = m_pGrid->HasGridView() ? m_pGrid->GetSelectedItem() : nullptr;
        if (pItem) {
            CKLVFontDC font(pDC, &m_pMetrics->m_fntBold, m_pMetrics->m_clrHelpFore);
            CRect rcCaption = rcHelp;
            rcCaption.DeflateRect(6, 3);
            pDC->DrawText(pItem->GetCaption(), &rcCaption, kSingleLine);
            const CString strDescription = pItem->GetDescription();
            if (!strDescription.IsEmpty()) {
                CRect rcMeasure = rcCaption;
                pDC->DrawText(pItem->GetCaption(), &rcMeasure, kSingleLine | DT_CALCRECT);
                font.SetFont(&m_pMetrics->m_fntNormal);
                CRect rcText(rcCaption.left, rcCaption.top + rcMeasure.Height() + 6, rcCaption.right, rcHelp.bottom - 3);
                pDC->DrawText(strDescription, &rcText, DT_WORDBREAK | DT_NOPREFIX);
            }
        }
    }
    if (m_pGrid->IsVerbsVisible()) {
        CRect rcVerbs = m_pGrid->GetVerbsRect();
        pDC->FillSolidRect(&rcVerbs, clrHelpBack);
        DrawBorder(pDC, rcVerbs, FALSE);
        LayoutVerbs(pDC, rcVerbs, TRUE);
    }
}

int CKLVPropertyGridPaintManager::LayoutVerbs(CDC* pDC, CRect rcVerbs, BOOL bDraw, CPoint ptHit) {
    CKLVPropertyGridVerbs* pVerbs = m_pGrid->GetVerbs();
    CRect rc = rcVerbs;
    rc.DeflateRect(6, 4);
    CKLVFontDC font(pDC, &m_fntVerbUnderline);
    const int nLineHeight = pDC->GetTextExtent("XXX", 3).cy;
    const BOOL bFocus = ::GetFocus() == m_pGrid->GetSafeHwnd();
    int x = rc.left, y = rc.top;
    for (int i = 0; i < pVerbs->GetCount(); ++i) {
        CKLVPropertyGridVerb* pVerb = pVerbs->GetAt(i);
        CString strRest = pVerb->m_strCaption;
        do {
            CString strPart = strRest;
            const int nWidth = pDC->GetTextExtent(strRest).cx;
            const int nRoom = static_cast<int>(rc.right) - x;
            if (nWidth > nRoom) {
                const int nEstimate = nWidth > 0 ? static_cast<int>(static_cast<long long>(strRest.GetLength()) *
                                                                     std::max(nRoom, 0) / nWidth)
                                                 : 0;
                int nSplit = FindBreak(strRest, nEstimate);
                if (nSplit == 0 && x != rc.left) {
                    x = rc.left;
                    y += nLineHeight;
                    continue;
                }
                // On an empty line the estimate is taken as it is, but never less than one
                // character, so that every turn of the loop moves on.
                if (nSplit == 0) nSplit = std::max(1, nEstimate);
                strPart = strRest.Left(nSplit);
            }
            strRest = strRest.Mid(strPart.GetLength());
            const CRect rcPart(x, y, x + pDC->GetTextExtent(strPart).cx, y + nLineHeight);
            pVerb->m_rcPart = rcPart;
            if (bDraw) {
                font.SetColor(m_pMetrics->m_clrVerbFace);
                CRect rcText = rcPart;
                pDC->DrawText(strPart, &rcText, kSingleLine);
            } else if (rcPart.PtInRect(ptHit)) {
                return i;
            }
            x = rcPart.right;
            if (!strRest.IsEmpty()) {
                x = rc.left;
                y += nLineHeight;
            }
        } while (!strRest.IsEmpty());
        if (bDraw && bFocus && i == m_pGrid->m_nFocusedVerb) {
            CRect rcFocus = pVerb->m_rcPart;
            rcFocus.top += 1;
            pDC->SetTextColor(m_pMetrics->m_clrHelpBack);
            pDC->SetBkColor(0);
            pDC->DrawFocusRect(&rcFocus);
        }
        if (i + 1 < pVerbs->GetCount()) {
            if (bDraw) {
                CKLVFontDC comma(pDC, &m_fntVerbNormal, m_pMetrics->m_clrHelpFore);
                CRect rcComma(x, y, x + 8, y + nLineHeight);
                pDC->DrawText(",", 1, &rcComma, kSingleLine);
            }
            x += 8;
        }
    }
    return -1;
}

void CKLVPropertyGridPaintManager::DrawInplaceListItem(CDC* pDC, CKLVPropertyGridItemConstraint* pConstraint, CRect rc,
                                                       BOOL bSelected) {
    CKLVColorManager* pColors = GetColorManager();
    pDC->SetTextColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    pDC->SetBkMode(TRANSPARENT);
    pDC->FillSolidRect(&rc, pColors->GetColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CRect rcText(rc.left + 2, rc.top, rc.right - 2, rc.bottom);
    if (CKLVImageManagerIcon* pIcon = pConstraint->GetImage()) {
        const int nHeight = std::min(pIcon->GetHeight(), static_cast<int>(rc.Height()));
        pIcon->DrawScaled(pDC, CPoint(rcText.left, rc.top + (rc.Height() - nHeight) / 2), CSize(pIcon->GetWidth(), nHeight));
        rcText.left += pIcon->GetWidth() + 5;
    }
    pDC->DrawText(pConstraint->m_strConstraint, &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void CKLVPropertyGridPaintManager::DrawInplaceButton(CDC* pDC, CKLVPropertyGridInplaceButton* pButton) {
    CKLVColorManager* pColors = GetColorManager();
    const CRect rc = pButton->GetRect();
    const int cx = rc.CenterPoint().x, cy = rc.CenterPoint().y;
    const BOOL bPressed = pButton->IsPressed(), bHot = pButton->IsHot(), bFocused = pButton->IsFocused();
    const BOOL bDropDown = pButton->GetID() == KLV_IDC_PG_COMBOBUTTON;
    const BOOL bThemed = ThemedButtonsUsable();
    if (bThemed) {
        pDC->FillSolidRect(&rc, m_pMetrics->m_clrBack);
        if (bDropDown)
            m_themeCombo.DrawThemeBackground(pDC->GetSafeHdc(), CP_DROPDOWNBUTTON, bPressed && bHot ? 3 : bHot ? 2 : 1, &rc,
                                             nullptr);
        else
            m_themeButton.DrawThemeBackground(pDC->GetSafeHdc(), BP_PUSHBUTTON,
                                              bPressed && bHot ? 3 : bHot ? 2 : bFocused ? 5 : 1, &rc, nullptr);
    } else if (m_nVisualStyle == styleToolkit) {
        const int nState = bPressed && bHot ? 0 : bHot ? 1 : 2;
        const UINT nFill[] = {33, 31, 30}, nFrame[] = {50, 32, COLOR_3DSHADOW};
        pDC->FillSolidRect(&rc, pColors->GetColor(nFill[nState]));
        pDC->Draw3dRect(&rc, pColors->GetColor(nFrame[nState]), pColors->GetColor(nFrame[nState]));
    } else {
        pDC->FillSolidRect(&rc, pColors->GetColor(COLOR_3DFACE));
        if (bPressed && bHot) {
            pDC->Draw3dRect(&rc, pColors->GetColor(COLOR_3DSHADOW), pColors->GetColor(COLOR_3DSHADOW));
        } else {
            pDC->Draw3dRect(&rc, pColors->GetColor(COLOR_3DFACE), pColors->GetColor(COLOR_3DDKSHADOW));
            CRect rcInner = rc;
            rcInner.DeflateRect(1, 1);
            pDC->Draw3dRect(&rcInner, pColors->GetColor(COLOR_WINDOW), pColors->GetColor(COLOR_3DSHADOW));
        }
    }
    const COLORREF clrGlyph = pColors->GetColor(COLOR_BTNTEXT);
    if (bDropDown) {
        if (!bThemed) CKLVDrawHelpers::SolidTriangle(pDC, cx - 3, cy - 1, cx + 3, cy - 1, cx, cy + 2, clrGlyph);
    } else if (CKLVImageManagerIcon* pIcon = pButton->GetImage()) {
        pIcon->Draw(pDC, CPoint(cx - pIcon->GetWidth() / 2, cy - pIcon->GetHeight() / 2));
    } else if (!pButton->m_strCaption.IsEmpty()) {
        CKLVFontDC font(pDC, GetItemFont(pButton->GetItem(), TRUE), clrGlyph);
        CRect rcText = rc;
        pDC->DrawText(pButton->m_strCaption, &rcText, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    } else if (pButton->GetID() == KLV_IDC_PG_EXPANDBUTTON) {
        for (int dx : {-4, 0, 4}) pDC->FillSolidRect(cx + dx, cy + 3, 2, 2, clrGlyph);
    }
    if (bFocused) {
        CRect rcFocus = rc;
        rcFocus.DeflateRect(2, 2);
        pDC->SetTextColor(clrGlyph);
        pDC->SetBkColor(pColors->GetColor(COLOR_3DFACE));
        pDC->DrawFocusRect(&rcFocus);
    }
}
