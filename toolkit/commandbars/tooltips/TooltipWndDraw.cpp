// Measuring and drawing an owner-drawn tip: title, image and word-wrapped text inside the
// margins, and the backgrounds of the plain, scheme and resource-theme styles.
#include "toolkit/commandbars/tooltips/TooltipWnd.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/tooltips/RichEditTextHost.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManagerIcon.h"
#include "toolkit/common/ResourceImages.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// Room around the content inside the margins, on each side.
const int kContentInset = 3;
// Images up to this height sit on the first line; taller ones stand beside the text.
const int kSmallImageHeight = 16;

const UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX;
// The title's icon is drawn at the small icon size.
const int kTitleIconSize = 16;

COLORREF ResourceColor(LPCTSTR lpszKey, COLORREF clrDefault) {
    const COLORREF clr = KLVResourceImages()->LookupColor("Window", lpszKey);
    return clr == COLORREF(-1) ? clrDefault : clr;
}

void FillGradientFramed(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, COLORREF clrFrame) {
    GetDrawHelpers()->GradientFill(pDC, rc, clrFrom, clrTo, FALSE);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
}

}  // namespace

CString CKLVTooltipWnd::GetToolText(const Tool& tool) const {
    if (!tool.bCallback) return tool.strText;
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = tool.uId;
    info.hdr.code = TTN_GETDISPINFOA;
    info.uFlags = tool.uFlags;
    HWND hWndAsk = ::GetParent(tool.hwnd) ? ::GetParent(tool.hwnd) : tool.hwnd;
    ::SendMessageA(hWndAsk, WM_NOTIFY, tool.uId, reinterpret_cast<LPARAM>(&info));
    CString strText = info.lpszText && !IS_INTRESOURCE(info.lpszText) ? info.lpszText : info.szText;
    if (info.lpszText && IS_INTRESOURCE(info.lpszText))
        strText.LoadString(info.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText)));
    // Texts the host added lost their mnemonics there already; an asked-for text loses them here.
    if (!(m_pHost->GetTooltipWindowStyle() & CKLVTooltipHost::tipNoPrefix))
        CKLVDrawHelpers::StripMnemonicsString(strText);
    return strText;
}

HICON CKLVTooltipWnd::GetTitleIcon() const {
    switch (m_nTitleIcon) {
    case TTI_NONE: return nullptr;
    case TTI_INFO: return ::LoadIconA(nullptr, IDI_INFORMATION);
    case TTI_WARNING: return ::LoadIconA(nullptr, IDI_WARNING);
    case TTI_ERROR: return ::LoadIconA(nullptr, IDI_ERROR);
    default: return reinterpret_cast<HICON>(m_nTitleIcon);
    }
}

COLORREF CKLVTooltipWnd::GetTextColor() const {
    const COLORREF clr = m_pHost->GetTipTextColor();
    return clr != COLORREF(-1) ? clr : ::GetSysColor(COLOR_INFOTEXT);
}

COLORREF CKLVTooltipWnd::GetBackColor() const {
    const COLORREF clr = m_pHost->GetTipBkColor();
    return clr != COLORREF(-1) ? clr : ::GetSysColor(COLOR_INFOBK);
}

CSize CKLVTooltipWnd::Measure(CDC* pDC, const CString& strText) { return MeasureContent(pDC, strText); }

CSize CKLVTooltipWnd::MeasureBodyText(CDC* pDC, const CString& strText, int cxMax) {
    CKLVFontDC font(pDC, m_pHost->GetNormalFont());
    CRect rc(0, 0, cxMax, 0);
    pDC->DrawText(strText, rc, kTextFormat | DT_CALCRECT);
    return rc.Size();
}

CSize CKLVTooltipWnd::MeasureContent(CDC* pDC, const CString& strText) {
    if (strText.IsEmpty() && m_strTitle.IsEmpty()) return CSize(0, 0);
    const CRect rcMargin = m_pHost->GetMargin();
    const int cxMax = m_pHost->GetMaxTipWidth() - rcMargin.left - rcMargin.right - 2 * kContentInset;
    CSize size = MeasureBodyText(pDC, strText, cxMax);
    const BOOL bSmallImage = m_pImage && m_pImage->GetHeight() <= kSmallImageHeight;
    if (m_pImage) {
        if (!bSmallImage) size.cx += m_pImage->GetWidth() + 5;
        else if (m_strTitle.IsEmpty()) size.cx += m_pImage->GetWidth() + 3;
        size.cy = std::max<LONG>(size.cy, m_pImage->GetHeight());
    }
    if (!m_strTitle.IsEmpty()) {
        CKLVFontDC font(pDC, m_pHost->GetBoldFont());
        CRect rcTitle(0, 0, cxMax - 25, 0);
        pDC->DrawText(m_strTitle, rcTitle, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        size.cy += rcTitle.Height() + 20;
        size.cx += 25;
        const int cxTitle = rcTitle.Width() + 4 + (bSmallImage ? m_pImage->GetWidth() + 1
                                                   : GetTitleIcon() ? kTitleIconSize + 1 : 0);
        size.cx = std::max<LONG>(size.cx, cxTitle);
    }
    size.cx += rcMargin.left + rcMargin.right + 2 * kContentInset;
    size.cy += rcMargin.top + rcMargin.bottom + 2 * kContentInset;
    return size;
}

void CKLVTooltipWnd::OnPaintTip() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    DrawBackground(&dc, rc);
    const CRect rcMargin = m_pHost->GetMargin();
    rc.DeflateRect(rcMargin.left + kContentInset, rcMargin.top + kContentInset, rcMargin.right + kContentInset,
                   rcMargin.bottom + kContentInset);
    DrawContent(&dc, rc, GetToolText(m_current));
}

void CKLVTooltipWnd::DrawBackground(CDC* pDC, CRect rc) {
    pDC->FillSolidRect(rc, GetBackColor());
    pDC->Draw3dRect(rc, GetTextColor(), GetTextColor());
}

void CKLVTooltipWnd::DrawContent(CDC* pDC, CRect rc, const CString& strText) {
    const BOOL bRTL = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetTextColor());
    CRect rcText = rc;
    const BOOL bSmallImage = m_pImage && m_pImage->GetHeight() <= kSmallImageHeight;
    // Moves the leading edge (the right one for right-to-left) by cx.
    auto Indent = [bRTL](CRect& r, int cx) { (bRTL ? r.right : r.left) += bRTL ? -cx : cx; };
    CRect rcTitle = rc;
    if (bSmallImage) {
        const int x = bRTL ? rc.right - m_pImage->GetWidth() : rc.left;
        m_pImage->Draw(pDC, CPoint(x, rc.top));
        Indent(m_strTitle.IsEmpty() ? rcText : rcTitle, m_pImage->GetWidth() + (m_strTitle.IsEmpty() ? 3 : 1));
    }
    if (!m_strTitle.IsEmpty()) {
        if (HICON hIcon = bSmallImage ? nullptr : GetTitleIcon()) {
            const int x = bRTL ? rc.right - kTitleIconSize : rc.left;
            ::DrawIconEx(pDC->GetSafeHdc(), x, rc.top, hIcon, kTitleIconSize, kTitleIconSize, 0, nullptr, DI_NORMAL);
            Indent(rcTitle, kTitleIconSize + 1);
        }
        CKLVFontDC font(pDC, m_pHost->GetBoldFont());
        CRect rcMeasure = rcTitle;
        pDC->DrawText(m_strTitle, rcMeasure, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        pDC->DrawText(m_strTitle, rcTitle, DT_SINGLELINE | DT_NOPREFIX | (bRTL ? DT_RIGHT | DT_RTLREADING : 0));
        rcText.top += rcMeasure.Height() + 12;
        Indent(rcText, 10);
        (bRTL ? rcText.left : rcText.right) += bRTL ? 15 : -15;
    }
    if (m_pImage && !bSmallImage) {
        const int x = bRTL ? rcText.right - m_pImage->GetWidth() : rcText.left;
        m_pImage->Draw(pDC, CPoint(x, rcText.top));
        Indent(rcText, m_pImage->GetWidth() + 5);
    }
    DrawText(pDC, strText, rcText);
}

void CKLVTooltipWnd::DrawText(CDC* pDC, const CString& strText, CRect rc) {
    CKLVFontDC font(pDC, m_pHost->GetNormalFont());
    const BOOL bRTL = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    pDC->DrawText(strText, rc, kTextFormat | (bRTL ? DT_RIGHT | DT_RTLREADING : 0));
}

CKLVTooltipRichWnd::CKLVTooltipRichWnd(CKLVTooltipHost* pHost)
    : CKLVTooltipWnd(pHost), m_pTextHost(std::make_unique<CKLVRichEditTextHost>()) {}

CKLVTooltipRichWnd::~CKLVTooltipRichWnd() = default;

CSize CKLVTooltipRichWnd::MeasureBodyText(CDC* pDC, const CString& strText, int cxMax) {
    m_pTextHost->SetText(strText);
    const CSize size = m_pTextHost->CalcSize(pDC, cxMax);
    // Without the text services the plain text stands in.
    return size.cx || size.cy || strText.IsEmpty() ? size : CKLVTooltipWnd::MeasureBodyText(pDC, strText, cxMax);
}

void CKLVTooltipRichWnd::DrawText(CDC* pDC, const CString& strText, CRect rc) {
    if (!m_pTextHost->HasTextServices()) {
        CKLVTooltipWnd::DrawText(pDC, strText, rc);
        return;
    }
    m_pTextHost->SetText(strText);
    m_pTextHost->Draw(pDC, rc);
}

void CKLVTooltipThemeWnd::DrawBackground(CDC* pDC, CRect rc) {
    static const COLORREF kFrames[] = {0, 0x800000, 0x385D3F, 0x6F4B4B};
    const int nTheme = GetColorManager()->GetCurrentTheme();
    if (nTheme >= CKLVColorManager::themeBlue && nTheme <= CKLVColorManager::themeSilver)
        FillGradientFramed(pDC, rc, 0x97D4FF, 0xC8F2FF, kFrames[nTheme]);
    else
        FillGradientFramed(pDC, rc, GetBackColor(), 0xFFFFFF, 0);
}

void CKLVTooltipResourceWnd::DrawBackground(CDC* pDC, CRect rc) {
    FillGradientFramed(pDC, rc, ResourceColor("TooltipLight", 0xFFFFFF), ResourceColor("TooltipDark", 0xEFD9C9),
                       ResourceColor("TooltipBorder", 0x767676));
}

std::unique_ptr<CKLVTooltipWnd> CKLVTooltipWnd::CreateForStyle(int nStyle, CKLVTooltipHost* pHost) {
    switch (nStyle) {
    case 3: return std::make_unique<CKLVTooltipRichWnd>(pHost);
    case 4: return std::make_unique<CKLVTooltipThemeWnd>(pHost);
    case 5: return std::make_unique<CKLVTooltipResourceWnd>(pHost);
    default: return std::make_unique<CKLVTooltipWnd>(pHost);
    }
}
