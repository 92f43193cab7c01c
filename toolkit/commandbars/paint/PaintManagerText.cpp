// Captions: control captions with mnemonics, embossing and composited glass text, the caption
// strip of a floating bar, and key tips.
#include "toolkit/commandbars/paint/PaintManager.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/keytips/CommandBarKeyboardTip.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/common/DCScopes.h"

#include <algorithm>
#include <vector>

namespace {

// The DC's pixels under rcBuffer go into a buffered paint so that the themed text can be
// composited on them; a glow size of 0 draws the text in the DC's colour without a glow.
void DrawThemedComposedText(CKLVWinThemeWrapper& theme, CDC* pDC, const CString& str, RECT* pRect, UINT nFormat,
                            int nGlowSize, const RECT& rcBuffer) {
    HDC hBufferDC = nullptr;
    BP_PAINTPARAMS params = {};
    params.cbSize = sizeof(params);
    HPAINTBUFFER hBuffer =
        CKLVWinThemeWrapper::BeginBufferedPaint(pDC->GetSafeHdc(), &rcBuffer, BPBF_TOPDOWNDIB, &params, &hBufferDC);
    if (!hBuffer) {
        pDC->DrawText(str, pRect, nFormat);
        return;
    }
    const int cx = rcBuffer.right - rcBuffer.left, cy = rcBuffer.bottom - rcBuffer.top;
    ::BitBlt(hBufferDC, rcBuffer.left, rcBuffer.top, cx, cy, pDC->GetSafeHdc(), rcBuffer.left, rcBuffer.top, SRCCOPY);
    HGDIOBJ hOldFont = ::SelectObject(hBufferDC, ::GetCurrentObject(pDC->GetSafeHdc(), OBJ_FONT));
    const int nChars = ::MultiByteToWideChar(CP_ACP, 0, str, str.GetLength(), nullptr, 0);
    std::vector<WCHAR> text(static_cast<size_t>(nChars) + 1);
    ::MultiByteToWideChar(CP_ACP, 0, str, str.GetLength(), text.data(), nChars);
    DTTOPTS options = {};
    options.dwSize = sizeof(options);
    options.dwFlags = DTT_COMPOSITED | (nGlowSize ? DTT_GLOWSIZE : DTT_TEXTCOLOR);
    options.crText = pDC->GetTextColor();
    options.iGlowSize = nGlowSize;
    theme.DrawThemeTextEx(hBufferDC, 0, 0, text.data(), nChars, nFormat, pRect, &options);
    ::SelectObject(hBufferDC, hOldFont);
    CKLVWinThemeWrapper::EndBufferedPaint(hBuffer, TRUE);
}

}  // namespace

void CKLVPaintManager::DrawComposedText(CDC* pDC, const CString& str, RECT* pRect, UINT nFormat, BOOL bComposed) {
    CKLVWinThemeWrapper theme;
    if (!bComposed || !theme.OpenThemeData(nullptr, L"GLOBALS") || !theme.IsAppThemed()) {
        pDC->DrawText(str, pRect, nFormat);
        return;
    }
    DrawThemedComposedText(theme, pDC, str, pRect, nFormat, 0, *pRect);
}

BOOL CKLVPaintManager::DrawGlowingText(CDC* pDC, const CString& str, RECT* pRect, UINT nFormat, int nGlowSize) {
    CKLVWinThemeWrapper theme;
    if (!theme.OpenThemeData(nullptr, L"WINDOW") || !theme.IsAppThemed()) return FALSE;
    // The glow spreads past the text: the buffer takes in the pixels around it.
    CRect rcBuffer(*pRect);
    rcBuffer.InflateRect(glowMargin, glowMargin);
    DrawThemedComposedText(theme, pDC, str, pRect, nFormat, nGlowSize, rcBuffer);
    return TRUE;
}

void CKLVPaintManager::DrawControlCaption(CDC* pDC, CKLVControlFace* pControl, const CString& strCaption,
                                          const CString& strCaptionNoMnemonics, CRect rc, bool bVertical,
                                          bool bCenter) {
    const BOOL bEmbossed = !pControl->GetEnabled() && m_bEmbossedDisabledText;
    CKLVCommandBarFace* pBar = pControl->GetBarFace();
    const BOOL bCues = m_nShowKeyboardCues != -1 ? m_nShowKeyboardCues != 0 : (!pBar || pBar->IsKeyboardCuesVisible());
    const UINT nFormat = DT_SINGLELINE | (bCenter ? DT_CENTER : 0);
    auto drawEmbossed = [&](UINT nEmbossFormat) {
        if (!bEmbossed) return;
        const COLORREF clrText = pDC->SetTextColor(GetThemeColor(COLOR_BTNHIGHLIGHT));
        CRect rcEmbossed = rc + CPoint(1, 1);
        pDC->DrawText(strCaptionNoMnemonics, rcEmbossed, nEmbossFormat);
        pDC->SetTextColor(clrText);
    };
    if (bVertical) {
        drawEmbossed(nFormat | DT_NOCLIP | DT_NOPREFIX);
        pDC->DrawText(strCaptionNoMnemonics, rc, nFormat | DT_NOCLIP | DT_NOPREFIX);
        return;
    }
    drawEmbossed(nFormat | DT_NOPREFIX | DT_VCENTER);
    // Ribbon captions on a composited frame ask for glass text once the ribbon exists.
    if (bCues)
        DrawComposedText(pDC, strCaption, rc, nFormat | DT_VCENTER, FALSE);
    else
        DrawComposedText(pDC, strCaptionNoMnemonics, rc, nFormat | DT_NOPREFIX | DT_VCENTER, FALSE);
}

CSize CKLVPaintManager::DrawCommandBarCaption(CDC* pDC, CKLVCommandBarFace* pBar, BOOL bDraw) {
    if (!pBar || pBar->GetPosition() != CKLVCommandBarFace::barFloating) return CSize(0, 0);
    CKLVFontDC font(pDC, &m_fontSmCaption);
    const int h = std::max(static_cast<int>(pDC->GetTextExtent(" ", 1).cy), 15);
    const CRect rcClient = pBar->GetFaceClientRect();
    const CRect rcCaption(3, 3, rcClient.Width() - 3, h + 3);
    if (bDraw) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->FillSolidRect(rcCaption, m_clrFloatingCaption);
        pDC->SetTextColor(m_clrFloatingCaptionText);
        CRect rcText(5, 3, rcCaption.right - 2 * rcCaption.Height(), rcCaption.bottom);
        pDC->DrawText(pBar->GetTitle(), rcText, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    }
    return rcCaption.Size();
}

void CKLVPaintManager::DrawKeyboardTip(CDC* pDC, CKLVCommandBarKeyboardTip* pTip, BOOL bSetRegion) {
    if (bSetRegion) return;
    CRect rc;
    pTip->GetClientRect(&rc);
    CKLVFontDC font(pDC, &m_fontToolTip);
    pDC->FillSolidRect(rc, GetThemeColor(COLOR_INFOBK));
    pDC->Draw3dRect(rc, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNSHADOW));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetThemeColor(pTip->m_bEnabled ? COLOR_INFOTEXT : COLOR_GRAYTEXT));
    pDC->DrawText(pTip->m_strCaption, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
