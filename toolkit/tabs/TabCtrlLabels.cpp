// The tab control's labels: the font, shortened labels when the tabs do not fit, labels padded
// for a bold selection, and the tooltips that give the full labels.
#include "toolkit/tabs/TabCtrlBase.h"

#include "classlib/Dc.h"

#include <algorithm>

namespace {

const char kEllipsis[] = "...";

BOOL EndsWithEllipsis(const CString& str) { return str.GetLength() >= 3 && str.Right(3) == kEllipsis; }

// The control's font selected into its DC while it lives.
class CControlFontDC {
public:
    explicit CControlFontDC(CWnd* pWnd) : m_dc(pWnd) {
        HFONT hFont = reinterpret_cast<HFONT>(pWnd->SendMessage(WM_GETFONT));
        m_hOld = ::SelectObject(m_dc.GetSafeHdc(), hFont ? hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    }
    ~CControlFontDC() { ::SelectObject(m_dc.GetSafeHdc(), m_hOld); }
    CControlFontDC(const CControlFontDC&) = delete;
    CControlFontDC& operator=(const CControlFontDC&) = delete;
    CDC* operator->() { return &m_dc; }
    CDC* Get() { return &m_dc; }

private:
    CClientDC m_dc;
    HGDIOBJ m_hOld;
};

int TextWidth(CDC* pDC, const CString& str) { return pDC->GetTextExtent(str, str.GetLength()).cx; }

// The tool record of a tab: the control's window, the tab's index as id.
TOOLINFOA TabTool(HWND hWndTabs, int nTab, LPCTSTR lpszText) {
    TOOLINFOA info = {};
    info.cbSize = sizeof(info);
    info.hwnd = hWndTabs;
    info.uId = static_cast<UINT_PTR>(nTab);
    info.lpszText = const_cast<LPSTR>(lpszText);
    return info;
}

}  // namespace

void CKLTabCtrlBase::UpdateFont() {
    if (!m_pTabCtrl || !m_pTabCtrl->GetSafeHwnd()) return;
    CKLVAuxData* pAuxData = KLVAuxData();
    CFont& font = (m_pTabCtrl->GetStyle() & TCS_VERTICAL) ? pAuxData->fontVert : pAuxData->font;
    m_pTabCtrl->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
}

CString CKLTabCtrlBase::PadLabel(LPCTSTR lpszLabel) {
    CString strLabel(lpszLabel);
    if (!m_pTabCtrl || !m_pTabCtrl->GetSafeHwnd()) return strLabel;
    CKLVAuxData* pAuxData = KLVAuxData();
    const BOOL bVertical = (m_pTabCtrl->GetStyle() & TCS_VERTICAL) != 0;
    CClientDC dc(m_pTabCtrl);
    HGDIOBJ hOld = dc.SelectObject((bVertical ? pAuxData->fontVertBold : pAuxData->fontBold).GetSafeHandle());
    const int nTarget = TextWidth(&dc, strLabel);
    dc.SelectObject((bVertical ? pAuxData->fontVert : pAuxData->font).GetSafeHandle());
    int nWidth = TextWidth(&dc, strLabel);
    BOOL bFront = TRUE;
    while (nWidth < nTarget) {
        strLabel = bFront ? " " + strLabel : strLabel + " ";
        bFront = !bFront;
        const int nNewWidth = TextWidth(&dc, strLabel);
        // A space that adds no width would never reach the target.
        if (nNewWidth <= nWidth) break;
        nWidth = nNewWidth;
    }
    dc.SelectObject(hOld);
    return strLabel;
}

int CKLTabCtrlBase::GetMinTabWidth() const {
    CControlFontDC dc(m_pTabCtrl);
    TEXTMETRICA tm = {};
    dc->GetTextMetrics(&tm);
    return (tm.tmAveCharWidth * 3 + 6) * 2;
}

int CKLTabCtrlBase::LabelWidth(CDC* pDC, const CString& strLabel, BOOL bImage) const {
    return TextWidth(pDC, strLabel) + 12 + (strLabel.GetLength() == 1 ? 1 : 0) + (bImage ? 22 : 0);
}

void CKLTabCtrlBase::SetAutoCondense(BOOL bAutoCondense) {
    m_bAutoCondense = bAutoCondense;
    Condense();
}

void CKLTabCtrlBase::Condense() {
    if (!m_pTabCtrl || !m_pTabCtrl->GetSafeHwnd()) return;
    const int nCount = m_pTabCtrl->GetItemCount();
    if (nCount == 0) return;
    const int nMin = GetMinTabWidth();
    CControlFontDC dc(m_pTabCtrl);
    const DWORD dwStyle = m_pTabCtrl->GetStyle();
    const BOOL bImages = m_pTabCtrl->GetImageList() != nullptr;

    struct Tab {
        CString strLabel;
        int nWidth;
        BOOL bAtMinimum;
    };
    std::vector<Tab> tabs;
    int nTotal = 4 + ((dwStyle & (TCS_VERTICAL | TCS_MULTILINE)) ? 1 : 0);
    for (int i = 0; i < nCount; ++i) {
        CKLTabCtrlItem* pRecord = FindRecord(i);
        const CString strLabel = pRecord ? pRecord->strLabel : m_pTabCtrl->GetItemText(i);
        tabs.push_back({strLabel, LabelWidth(dc.Get(), strLabel, bImages), FALSE});
        nTotal += tabs.back().nWidth;
    }
    CRect rcClient;
    m_pTabCtrl->GetClientRect(&rcClient);
    const int nAvailable = (dwStyle & TCS_VERTICAL) ? rcClient.Height() : rcClient.Width();
    if (nAvailable == 0) return;

    while (m_bAutoCondense && nTotal > nAvailable) {
        auto itWidest = tabs.end();
        for (auto it = tabs.begin(); it != tabs.end(); ++it)
            if (!it->bAtMinimum && (itWidest == tabs.end() || it->nWidth > itWidest->nWidth)) itWidest = it;
        if (itWidest == tabs.end()) break;   // nothing can shrink further
        Tab& tab = *itWidest;
        CString strLabel = tab.strLabel;
        if (!EndsWithEllipsis(strLabel)) strLabel += kEllipsis;
        int nWidth = LabelWidth(dc.Get(), strLabel, bImages);
        for (;;) {
            if (strLabel == kEllipsis) {
                tab.bAtMinimum = TRUE;
                break;
            }
            const CString strShorter = strLabel.Left(strLabel.GetLength() - 4) + kEllipsis;
            const int nShorter = LabelWidth(dc.Get(), strShorter, bImages);
            // Never narrower than the minimum: the last character stays when it would go below.
            if (nShorter < nMin) {
                tab.bAtMinimum = TRUE;
                break;
            }
            strLabel = strShorter;
            nWidth = nShorter;
            if (nShorter == nMin) tab.bAtMinimum = TRUE;
            if (nShorter < tab.nWidth || tab.bAtMinimum) break;
        }
        // A label that could not get narrower stays as it was.
        if (nWidth < tab.nWidth) {
            nTotal -= tab.nWidth - nWidth;
            tab.strLabel = strLabel;
            tab.nWidth = nWidth;
        } else {
            tab.bAtMinimum = TRUE;
        }
    }

    for (int i = 0; i < nCount; ++i) SetLabel(i, tabs[i].strLabel);
}

void CKLTabCtrlBase::SetLabel(int nTab, const CString& strLabel) {
    CKLTabCtrlItem* pRecord = FindRecord(nTab);
    if (pRecord && pRecord->strShownLabel == strLabel && m_pTabCtrl->GetItemText(nTab) == strLabel) return;
    if (pRecord) pRecord->strShownLabel = strLabel;
    m_pTabCtrl->SetItemText(nTab, strLabel);
}

// ---------------------------------------------------------------------------------------------
// Tooltips: one tool a tab, its id the tab's index.

CToolTipCtrl* CKLTabCtrlBase::GetToolTips() const { return m_pTabCtrl ? m_pTabCtrl->GetToolTips() : nullptr; }

void CKLTabCtrlBase::SetToolTips(CToolTipCtrl* pWndTip) {
    if (m_pTabCtrl) m_pTabCtrl->SetToolTips(pWndTip);
}

BOOL CKLTabCtrlBase::AddToolTip(int nTab, LPCTSTR lpszText) {
    CToolTipCtrl* pTips = GetToolTips();
    if (!pTips || !pTips->GetSafeHwnd()) return FALSE;
    TOOLINFOA info = TabTool(m_pTabCtrl->GetSafeHwnd(), nTab, lpszText);
    m_pTabCtrl->GetItemRect(nTab, &info.rect);
    return static_cast<BOOL>(pTips->SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CKLTabCtrlBase::UpdateTipText(LPCTSTR lpszText, int nTab) {
    CKLTabCtrlItem* pRecord = FindRecord(nTab);
    if (!pRecord) return FALSE;
    pRecord->strToolTip = lpszText;
    CToolTipCtrl* pTips = GetToolTips();
    if (!pTips || !pTips->GetSafeHwnd()) return TRUE;
    TOOLINFOA info = TabTool(m_pTabCtrl->GetSafeHwnd(), nTab, lpszText);
    pTips->SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return TRUE;
}

BOOL CKLTabCtrlBase::UpdateTipText(LPCTSTR lpszText, CWnd* pPage) { return UpdateTipText(lpszText, FindIndex(pPage)); }

void CKLTabCtrlBase::ResetToolTips() {
    CToolTipCtrl* pTips = GetToolTips();
    if (!pTips || !pTips->GetSafeHwnd()) return;
    // The tools follow the tabs' indexes and rectangles after every insertion or deletion.
    for (int nTool = static_cast<int>(pTips->SendMessage(TTM_GETTOOLCOUNT)); nTool >= 0; --nTool) {
        TOOLINFOA info = TabTool(m_pTabCtrl->GetSafeHwnd(), nTool, nullptr);
        pTips->SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    for (const auto& pRecord : m_lstItems) AddToolTip(pRecord->nIndex, pRecord->strToolTip);
}

BOOL CKLTabCtrlBase::EnableToolTips(BOOL bEnable) {
    CToolTipCtrl* pTips = GetToolTips();
    if (!pTips || !pTips->GetSafeHwnd()) return FALSE;
    pTips->SendMessage(TTM_ACTIVATE, bEnable);
    return TRUE;
}
