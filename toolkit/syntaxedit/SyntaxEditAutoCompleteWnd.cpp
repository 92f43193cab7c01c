#include "toolkit/syntaxedit/SyntaxEditAutoCompleteWnd.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <algorithm>

namespace {

const LPCTSTR kClassName = "TarvoshSEAutoCompleteWnd";

}  // namespace

BEGIN_MESSAGE_MAP(CKLVSyntaxEditAutoCompleteWnd, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
    ON_WM_CHAR()
    ON_MESSAGE(WM_VSCROLL, OnVScroll)
    ON_WM_SETCURSOR()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CKLVSyntaxEditAutoCompleteWnd::CKLVSyntaxEditAutoCompleteWnd() {
    WNDCLASSA wc{};
    if (!::GetClassInfoA(AfxGetInstanceHandle(), kClassName, &wc))
        CKLVDrawHelpers::RegisterWndClass(nullptr, kClassName, CS_DBLCLKS | CS_SAVEBITS, nullptr,
                                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
}

CKLVSyntaxEditAutoCompleteWnd::~CKLVSyntaxEditAutoCompleteWnd() {
    if (m_hWnd) DestroyWindow();
}

BOOL CKLVSyntaxEditAutoCompleteWnd::Create(CKLVSyntaxEditCtrl* pEdit) {
    m_pEdit = pEdit;
    if (m_hWnd) return TRUE;
    if (!CreateEx(WS_EX_TOOLWINDOW, kClassName, nullptr, WS_CHILD | WS_DISABLED | WS_DLGFRAME | WS_VSCROLL, 0, 0,
                  kWidth, kWidth, ::GetDesktopWindow(), nullptr))
        return FALSE;
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    m_nFrameHeight = rcWindow.Height() - rcClient.Height();
    CBitmap bitmap;
    if (KLVResourceManager()->LoadBitmap(&bitmap, KLV_IDB_SYNTAXEDIT_AUTOCOMPLETE) &&
        m_imageList.Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 0, 1))
        m_imageList.Add(&bitmap, RGB(255, 255, 255));
    return TRUE;
}

void CKLVSyntaxEditAutoCompleteWnd::SetList(std::vector<CKLVSyntaxEditAutoCompleteItem> arItems) {
    m_arShown.clear();
    m_arItems = std::move(arItems);
    std::stable_sort(m_arItems.begin(), m_arItems.end(),
                     [](const CKLVSyntaxEditAutoCompleteItem& a, const CKLVSyntaxEditAutoCompleteItem& b) {
                         return strcmp(a.strText, b.strText) < 0;
                     });
}

void CKLVSyntaxEditAutoCompleteWnd::Filter(LPCTSTR lpszPrefix) {
    m_arShown.clear();
    const size_t nLength = strlen(lpszPrefix);
    for (const CKLVSyntaxEditAutoCompleteItem& item : m_arItems)
        if (strncmp(item.strText, lpszPrefix, nLength) == 0) m_arShown.push_back(&item);
}

int CKLVSyntaxEditAutoCompleteWnd::FindFirstStartingWith(const CString& strText) const {
    for (size_t i = 0; i < m_arShown.size(); ++i)
        if (strncmp(m_arShown[i]->strText, strText, static_cast<size_t>(strText.GetLength())) == 0)
            return static_cast<int>(i);
    return -1;
}

CString CKLVSyntaxEditAutoCompleteWnd::GetShownText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetShownCount() ? m_arShown[static_cast<size_t>(nIndex)]->strText : CString();
}

BOOL CKLVSyntaxEditAutoCompleteWnd::Show(CPoint pt, LPCTSTR lpszPrefix) {
    if (!m_hWnd || !m_pEdit) return FALSE;
    Filter(lpszPrefix);
    if (m_arShown.empty()) return FALSE;
    m_nTop = 0;
    m_nSelected = std::max(FindFirstStartingWith(lpszPrefix), 0);
    m_pFont = CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    m_clrBack = ::GetSysColor(COLOR_WINDOW);
    m_clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    m_clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    RecalcLayout();
    if (m_nSelected + m_nVisible <= GetShownCount()) m_nTop = m_nSelected;
    SetWindowPos(&wndTopMost, pt.x - 21, pt.y, kWidth, m_nVisible * m_nItemHeight + m_nFrameHeight,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, GetShownCount() - 1, static_cast<UINT>(m_nVisible), m_nTop, 0};
    SetScrollInfo(SB_VERT, &si, TRUE);
    ShowScrollBar(SB_VERT, m_nVisible < GetShownCount());
    // The control keeps the focus and passes the keys on: the list must not take it.
    EnableWindow(TRUE);
    m_bOpen = TRUE;
    m_bPrefix = *lpszPrefix != 0;
    m_bChosen = m_bPrefix;
    m_nStartCol = m_pEdit->GetCurCharPos() - static_cast<int>(strlen(lpszPrefix));
    m_nEndCol = m_pEdit->GetCurCharPos();
    m_strTyped = lpszPrefix;
    Invalidate(TRUE);
    return TRUE;
}

void CKLVSyntaxEditAutoCompleteWnd::Hide() {
    if (!m_bOpen) return;
    m_bOpen = FALSE;
    ShowWindow(SW_HIDE);
    EnableWindow(FALSE);
    m_bPrefix = FALSE;
    if (m_pEdit && m_pEdit->GetSafeHwnd()) {
        m_pEdit->PostMessage(WM_LBUTTONUP, 0, 0);
        m_pEdit->Invalidate(FALSE);
    }
}

void CKLVSyntaxEditAutoCompleteWnd::RecalcLayout() {
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(m_pFont);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOld);
    m_nItemHeight = tm.tmHeight + 6;
    const int nFit = kWidth / std::max(m_nItemHeight, 1);
    m_nVisible = GetShownCount() * m_nItemHeight <= kWidth ? GetShownCount() : nFit;
}

BOOL CKLVSyntaxEditAutoCompleteWnd::IsTag(TCHAR ch, const CString& strTags, CString& strTyped) {
    strTyped += ch;
    const int nAt = strTags.Find(strTyped);
    if (nAt < 0) {
        strTyped.Empty();
        return FALSE;
    }
    for (int n = nAt; n >= 0; n = strTags.Find(strTyped, n + 1)) {
        const int nAfter = n + strTyped.GetLength();
        if (nAfter == strTags.GetLength() || strTags[nAfter] == '~') return TRUE;
    }
    return FALSE;
}

void CKLVSyntaxEditAutoCompleteWnd::Select(int nIndex) {
    if (GetShownCount() == 0) return;
    m_nSelected = std::clamp(nIndex, 0, GetShownCount() - 1);
    if (m_nSelected < m_nTop)
        SetTop(m_nSelected);
    else if (m_nSelected >= m_nTop + m_nVisible)
        SetTop(m_nSelected - m_nVisible + 1);
    Invalidate(FALSE);
}

void CKLVSyntaxEditAutoCompleteWnd::SetTop(int nTop) {
    if (nTop < 0 || nTop + m_nVisible > GetShownCount()) return;
    m_nTop = nTop;
    if (m_hWnd) {
        SetScrollPos(SB_VERT, m_nTop, TRUE);
        Invalidate(FALSE);
    }
}

int CKLVSyntaxEditAutoCompleteWnd::ItemFromPoint(CPoint pt) const {
    if (m_nItemHeight <= 0 || pt.y < 0) return -1;
    const int nIndex = m_nTop + pt.y / m_nItemHeight;
    return nIndex < GetShownCount() ? nIndex : -1;
}

void CKLVSyntaxEditAutoCompleteWnd::OnLButtonDown(UINT, CPoint pt) {
    const int nIndex = ItemFromPoint(pt);
    if (nIndex >= 0) m_nSelected = nIndex;
    m_bChosen = TRUE;
    Invalidate(FALSE);
}

void CKLVSyntaxEditAutoCompleteWnd::OnRButtonDown(UINT, CPoint pt) {
    const int nIndex = ItemFromPoint(pt);
    if (nIndex >= 0) m_nSelected = nIndex;
    Invalidate(FALSE);
}

void CKLVSyntaxEditAutoCompleteWnd::OnLButtonDblClk(UINT, CPoint) {
    m_bChosen = TRUE;
    InsertSelection();
    Hide();
}

void CKLVSyntaxEditAutoCompleteWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    m_bChosen = TRUE;
    const int nRepeat = std::max(static_cast<int>(nRepCnt), 1);
    switch (nChar) {
    case VK_BACK:
        if (!m_strTyped.IsEmpty()) m_strTyped.Delete(m_strTyped.GetLength() - 1);
        --m_nEndCol;
        if (m_nEndCol <= m_nStartCol) Hide();
        break;
    case VK_RETURN:
        InsertSelection();
        Hide();
        break;
    case VK_CONTROL:
    case VK_MENU:
    case VK_ESCAPE:
    case VK_LEFT:
    case VK_RIGHT:
        Hide();
        break;
    case VK_SPACE:
        if (!m_bPrefix) InsertSelection();
        Hide();
        break;
    case VK_PRIOR:
        Select(m_nSelected > m_nTop ? m_nTop : m_nSelected - (m_nVisible - 1));
        break;
    case VK_NEXT: {
        const int nLastVisible = m_nTop + m_nVisible - 1;
        Select(m_nSelected < nLastVisible ? nLastVisible : m_nSelected + (m_nVisible - 1));
        break;
    }
    case VK_END:
        Select(GetShownCount() - 1);
        break;
    case VK_HOME:
        if (m_nSelected != 0 && GetShownCount() > m_nVisible) Select(0);
        break;
    case VK_UP:
        Select(m_nSelected - nRepeat);
        break;
    case VK_DOWN:
        Select(m_nSelected + nRepeat);
        break;
    default:
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    }
}

void CKLVSyntaxEditAutoCompleteWnd::OnSysKeyDown(UINT, UINT, UINT) {
    // Alt comes as a system key; like Ctrl it closes the list.
    Hide();
}

void CKLVSyntaxEditAutoCompleteWnd::OnChar(UINT nChar, UINT, UINT) {
    OnTypedChar(nChar);
}

void CKLVSyntaxEditAutoCompleteWnd::OnTypedChar(UINT nChar) {
    if (!m_bOpen) return;
    if (IsCloseTag(static_cast<TCHAR>(nChar))) {
        InsertSelection();
        Hide();
        return;
    }
    // A character that cannot be part of a word ends the word, and the list with it; the
    // text already has the character, so the typed range would no longer match it.
    if (nChar >= 256 || (!isalnum(static_cast<int>(nChar)) && nChar != '_')) {
        Hide();
        return;
    }
    m_strTyped += static_cast<char>(nChar);
    ++m_nEndCol;
    const int nIndex = FindFirstStartingWith(m_strTyped);
    if (nIndex >= 0) {
        m_bChosen = TRUE;
        Select(nIndex);
        if (m_bPrefix && GetShownText(nIndex) == m_strTyped) {
            InsertSelection();
            Hide();
        }
        return;
    }
    if (m_bPrefix) {
        Hide();
    } else {
        m_bChosen = FALSE;
        Invalidate(FALSE);
    }
}

void CKLVSyntaxEditAutoCompleteWnd::InsertSelection() {
    if (!m_pEdit || !m_bChosen || m_nSelected < 0 || m_nSelected >= GetShownCount()) return;
    CString strText = GetShownText(m_nSelected) + m_strTypedClose;
    m_strTypedClose.Empty();
    m_pEdit->ReplaceRowText(m_nStartCol, m_nEndCol, strText);
}

LRESULT CKLVSyntaxEditAutoCompleteWnd::OnVScroll(WPARAM wParam, LPARAM) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(SB_VERT, &si);
    int nTop = m_nTop;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: nTop -= 1; break;
    case SB_LINEDOWN: nTop += 1; break;
    case SB_PAGEUP: nTop -= m_nVisible - 1; break;
    case SB_PAGEDOWN: nTop += m_nVisible - 1; break;
    case SB_THUMBTRACK: nTop = si.nTrackPos; break;
    case SB_TOP: nTop = si.nMin; break;
    case SB_BOTTOM: nTop = si.nMax; break;
    default: return 0;
    }
    SetTop(nTop);
    return 0;
}

BOOL CKLVSyntaxEditAutoCompleteWnd::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

void CKLVSyntaxEditAutoCompleteWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CFont* pOld = m_pFont ? dc.SelectObject(m_pFont) : nullptr;
    dc.FillSolidRect(&rcClient, m_clrBack);
    const int nImages = m_imageList.GetSafeHandle() ? m_imageList.GetImageCount() : 0;
    for (int i = 0; i < m_nVisible && m_nTop + i < GetShownCount(); ++i) {
        const CKLVSyntaxEditAutoCompleteItem* pItem = m_arShown[static_cast<size_t>(m_nTop + i)];
        const CRect rcRow(0, i * m_nItemHeight, rcClient.right, (i + 1) * m_nItemHeight);
        const BOOL bSelected = m_bChosen && m_nTop + i == m_nSelected;
        CRect rcText(rcRow.left + kTextIndent, rcRow.top, rcRow.right, rcRow.bottom);
        dc.FillSolidRect(&rcText, bSelected ? m_clrHighlight : m_clrBack);
        if (nImages > 0)
            m_imageList.Draw(&dc, std::min(pItem->nImage, nImages - 1),
                             CPoint(rcRow.left, rcRow.top + (m_nItemHeight - kImageSize) / 2), ILD_TRANSPARENT);
        if (bSelected) dc.DrawFocusRect(&rcText);
        rcText.DeflateRect(3, 0);
        dc.SetBkColor(bSelected ? m_clrHighlight : m_clrBack);
        dc.SetTextColor(bSelected ? m_clrHighlightText : m_clrText);
        dc.DrawText(pItem->strText, &rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (pOld) dc.SelectObject(pOld);
}
