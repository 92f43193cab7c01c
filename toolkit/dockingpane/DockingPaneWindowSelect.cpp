#include "toolkit/dockingpane/DockingPaneWindowSelect.h"

#include "classlib/Document.h"
#include "classlib/DocTemplate.h"
#include "classlib/MDIFrameWnd.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ImageManagerIcon.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/res/KLVToolkitRes.h"
#include "toolkit/dockingpane/DockingLayout.h"
#include "toolkit/dockingpane/DockingPane.h"
#include "toolkit/dockingpane/DockingPaneManager.h"
#include "toolkit/dockingpane/DockingPaneTheme.h"

#include <algorithm>

namespace {

const int kLeft = 9;
const int kWindowsLeftBesidePanes = 184;
const COLORREF kHeaderColor = 0x000012;
const int kHandCursor = 9973;

BOOL IsKeyDown(int nKey) { return (::GetKeyState(nKey) & 0x8000) != 0; }

}  // namespace

IMPLEMENT_DYNCREATE(CKLVDockingPaneWindowSelect, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CKLVDockingPaneWindowSelect, CMiniFrameWnd)
    ON_WM_PAINT()
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
    ON_WM_KEYUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CKLVDockingPaneWindowSelect::CKLVDockingPaneWindowSelect() {
    m_hCursorHand = ::LoadCursor(nullptr, IDC_HAND);
    if (!m_hCursorHand) m_hCursorHand = KLVResourceManager()->LoadCursor(kHandCursor);
    m_hCursorArrow = ::LoadCursor(nullptr, IDC_ARROW);
    KLVResourceManager()->LoadString(&m_strPanesHeader, KLV_IDS_ACTIVE_TOOL_WINDOWS);
    KLVResourceManager()->LoadString(&m_strWindowsHeader, KLV_IDS_ACTIVE_FILES);
    LOGFONT lf{};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    lf.lfWeight = FW_NORMAL;
    m_fontNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&lf);
}

CKLVDockingPaneWindowSelect::~CKLVDockingPaneWindowSelect() {
    if (m_hWnd) DestroyWindow();
}

BOOL CKLVDockingPaneWindowSelect::Show() {
    CWnd* pSite = m_pManager ? m_pManager->GetSite() : nullptr;
    if (!pSite) return FALSE;
    const HWND hFocus = ::GetFocus();
    const LPCTSTR lpszClass =
        AfxRegisterWndClass(CS_OWNDC | CS_SAVEBITS | CS_DROPSHADOW, ::LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(WS_EX_TOOLWINDOW, lpszClass, "", WS_POPUP | MFS_SYNCACTIVE, CRect(0, 0, 0, 0), pSite)) return FALSE;
    if (!Reposition()) {
        DestroyWindow();
        return FALSE;
    }
    SetFocus();
    SetCapture();
    const BOOL bDisabled = pSite->IsWindowEnabled();
    if (bDisabled) pSite->EnableWindow(FALSE);
    const int nResult = RunModalLoop(MLF_SHOWONIDLE);
    // The site comes back on every way out of the loop.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (bDisabled) pSite->EnableWindow(TRUE);
    if (::GetActiveWindow() == m_hWnd) pSite->SetActiveWindow();
    if (nResult == 1 && m_pSelected)
        Activate();
    else if (::IsWindow(hFocus))
        ::SetFocus(hFocus);
    DestroyWindow();
    return TRUE;
}

void CKLVDockingPaneWindowSelect::Activate() {
    CKLVWindowSelectItem* pItem = m_pSelected;
    if (pItem->nType == CKLVWindowSelectItem::typePane) {
        m_pManager->ShowPane(pItem->pPane, TRUE);
        return;
    }
    auto* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pManager->GetSite());
    if (pItem->nType != CKLVWindowSelectItem::typeWindow || !pFrame || !::IsWindow(pItem->hWnd)) return;
    ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pItem->hWnd), 0);
    const HWND hFocus = ::GetFocus();
    if (hFocus != pItem->hWnd && !::IsChild(pItem->hWnd, hFocus)) ::SetFocus(pItem->hWnd);
}

CKLVWindowSelectItem* CKLVDockingPaneWindowSelect::AddItem(int nType, int nColumn, int nRow, int nLeft) {
    auto pItem = std::make_unique<CKLVWindowSelectItem>();
    const int nTop = m_nItemHeight + 13 + nRow * (m_nItemHeight + 1);
    pItem->rc = CRect(nLeft, nTop, nLeft + kItemWidth, nTop + m_nItemHeight);
    pItem->nIndex = static_cast<int>(m_arItems.size());
    pItem->nColumn = nColumn;
    pItem->nRow = nRow;
    pItem->nType = nType;
    m_arItems.push_back(std::move(pItem));
    return m_arItems.back().get();
}

void CKLVDockingPaneWindowSelect::CloseColumn(int nFirst) {
    m_arColumns.emplace_back(nFirst, static_cast<int>(m_arItems.size()) - 1);
}

CKLVWindowSelectItem* CKLVDockingPaneWindowSelect::ItemAt(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_arItems.size()) ? m_arItems[static_cast<size_t>(nIndex)].get()
                                                                        : nullptr;
}

void CKLVDockingPaneWindowSelect::BuildItems() {
    m_arItems.clear();
    m_arColumns.clear();
    m_pSelected = nullptr;
    CClientDC dc(nullptr);
    CFont* pOld = dc.SelectObject(&m_fontNormal);
    const int nTextHeight = dc.GetTextExtent(" ", 1).cy;
    dc.SelectObject(pOld);
    CKLVTabPainter* pPainter = m_pManager->GetPaintManager()->GetPanelPaintManager();
    m_nItemHeight = std::max(nTextHeight + 4, static_cast<int>(pPainter->m_szIcon.cy) + 4);
    AddPanes();
    AddWindows();
    const int nWindows = static_cast<int>(m_arItems.size()) - m_nFirstWindow;
    if (!m_bSelectPanes && nWindows > 1)
        m_pSelected = IsKeyDown(VK_SHIFT) ? m_arItems.back().get() : ItemAt(m_nFirstWindow + 1);
}

void CKLVDockingPaneWindowSelect::AddPanes() {
    CKLVDockingPaneInfoList& panes = m_pManager->GetLayout()->GetPaneList();
    int nRow = 0;
    for (POSITION pos = panes.GetHeadPosition(); pos;) {
        CKLVDockingPane* pPane = panes.GetNext(pos).pPane;
        if (!pPane || !(pPane->GetEnabled() & CKLVDockingPane::enabledActive)) continue;
        CKLVWindowSelectItem* pItem = AddItem(CKLVWindowSelectItem::typePane, 0, nRow++, kLeft);
        pItem->pPane = pPane;
        if (pPane == m_pManager->GetActivePane()) m_pSelected = pItem;
    }
    m_nPaneCount = nRow;
    m_nFirstWindow = m_nPaneCount;
    if (!m_nPaneCount) {
        m_bSelectPanes = FALSE;
        return;
    }
    if (m_bSelectPanes) StepPaneSelection();
    CloseColumn(0);
}

void CKLVDockingPaneWindowSelect::StepPaneSelection() {
    const BOOL bBack = IsKeyDown(VK_SHIFT);
    if (!m_pSelected) {
        m_pSelected = ItemAt(bBack ? m_nPaneCount - 1 : 0);
        return;
    }
    m_pSelected = ItemAt((m_pSelected->nIndex + (bBack ? m_nPaneCount - 1 : 1)) % m_nPaneCount);
}

void CKLVDockingPaneWindowSelect::AddWindows() {
    const int nColumn0 = m_nPaneCount ? 1 : 0;
    int nColumn = nColumn0, nLeft = m_nPaneCount ? kWindowsLeftBesidePanes : kLeft, nRow = 0;
    int nFirst = static_cast<int>(m_arItems.size());
    auto* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pManager->GetSite());
    if (pFrame && pFrame->m_hWndMDIClient) {
        const HWND hActive = reinterpret_cast<HWND>(::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
        for (HWND hWnd = hActive; hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
            if (!::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd)) continue;
            if (nRow == kRowsPerColumn) {
                CloseColumn(nFirst);
                nFirst = static_cast<int>(m_arItems.size());
                ++nColumn;
                nLeft += kColumnStep;
                nRow = 0;
            }
            CKLVWindowSelectItem* pItem = AddItem(CKLVWindowSelectItem::typeWindow, nColumn, nRow++, nLeft);
            pItem->hWnd = hWnd;
            if (hWnd == hActive && !m_bSelectPanes) m_pSelected = pItem;
        }
    } else {
        CKLVWindowSelectItem* pItem = AddItem(CKLVWindowSelectItem::typeFrame, nColumn, 0, nLeft);
        pItem->hWnd = m_pManager->GetSite()->GetSafeHwnd();
        if (!m_pSelected) m_pSelected = pItem;
        ++m_nFirstWindow;
    }
    if (static_cast<int>(m_arItems.size()) > nFirst) CloseColumn(nFirst);
}

CSize CKLVDockingPaneWindowSelect::GetWindowSize() const {
    int nRows = 0;
    for (const auto& column : m_arColumns) nRows = std::max(nRows, column.second - column.first + 1);
    return CSize(std::max(GetColumnCount(), 2) * kColumnStep + 4, (m_nItemHeight + 1) * nRows + m_nItemHeight + 123);
}

BOOL CKLVDockingPaneWindowSelect::Reposition() {
    if (!m_pManager || !m_pManager->GetSite() || !m_pManager->GetLayout()) return FALSE;
    BuildItems();
    const CSize size = GetWindowSize();
    CRect rcSite;
    m_pManager->GetSite()->GetWindowRect(&rcSite);
    const CPoint pt(rcSite.left + (rcSite.Width() - size.cx) / 2, rcSite.top + (rcSite.Height() - size.cy) / 2);
    SetWindowPos(&CWnd::wndTopMost, pt.x, pt.y, size.cx, size.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return TRUE;
}

void CKLVDockingPaneWindowSelect::Select(CKLVWindowSelectItem* pItem) {
    if (!pItem || pItem == m_pSelected) return;
    m_pSelected = pItem;
    if (m_hWnd) Invalidate(FALSE);
}

void CKLVDockingPaneWindowSelect::MoveByTab(BOOL bBack) {
    const int nCount = static_cast<int>(m_arItems.size());
    if (!m_pSelected) {
        Select(ItemAt(0));
        return;
    }
    const int i = m_pSelected->nIndex;
    const BOOL bWindows = m_nFirstWindow < nCount;
    int j = 0;
    if (!bBack)
        j = i == m_nPaneCount - 1 ? 0 : i == nCount - 1 ? (bWindows ? m_nFirstWindow : 0) : i + 1;
    else if (bWindows && i == m_nFirstWindow && i >= m_nPaneCount)
        j = nCount - 1;
    else
        j = i == 0 ? (m_nPaneCount ? m_nPaneCount - 1 : nCount - 1) : i - 1;
    Select(ItemAt(j));
}

void CKLVDockingPaneWindowSelect::MoveAcrossColumns(int nStep) {
    const int nColumns = GetColumnCount();
    if (nColumns < 2 || !m_pSelected) return;
    const auto& column = m_arColumns[static_cast<size_t>((m_pSelected->nColumn + nStep + nColumns) % nColumns)];
    Select(ItemAt(std::min(column.first + m_pSelected->nRow, column.second)));
}

void CKLVDockingPaneWindowSelect::HandleKey(UINT nChar, UINT nFlags) {
    const int nCount = static_cast<int>(m_arItems.size());
    const int nSel = GetSelectedIndex();
    switch (nChar) {
    case VK_TAB:
        MoveByTab(IsKeyDown(VK_SHIFT));
        return;
    case VK_DOWN:
        Select(ItemAt(nSel < 0 || nSel == nCount - 1 ? 0 : nSel + 1));
        return;
    case VK_UP:
        Select(ItemAt(nSel <= 0 ? nCount - 1 : nSel - 1));
        return;
    case VK_LEFT:
    case VK_RIGHT:
        MoveAcrossColumns(nChar == VK_LEFT ? -1 : 1);
        return;
    case VK_SHIFT:
        return;
    case VK_CONTROL:
    case VK_MENU:
        // The held modifier that opened the selector repeats; it accepts nothing.
        if (nFlags & KF_REPEAT) return;
        break;
    default:
        break;
    }
    if (ContinueModal()) EndModalLoop(1);
}

void CKLVDockingPaneWindowSelect::OnKeyDown(UINT nChar, UINT, UINT nFlags) { HandleKey(nChar, nFlags); }

void CKLVDockingPaneWindowSelect::OnSysKeyDown(UINT nChar, UINT, UINT nFlags) { HandleKey(nChar, nFlags); }

void CKLVDockingPaneWindowSelect::OnKeyUp(UINT, UINT, UINT) {
    if (!IsKeyDown(VK_CONTROL) && ContinueModal()) EndModalLoop(1);
    Default();
}

CKLVWindowSelectItem* CKLVDockingPaneWindowSelect::HitTest(CPoint pt) const {
    for (const auto& pItem : m_arItems)
        if (pItem->rc.PtInRect(pt)) return pItem.get();
    return nullptr;
}

void CKLVDockingPaneWindowSelect::OnLButtonDown(UINT, CPoint point) {
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(point)) {
        if (ContinueModal()) EndModalLoop(2);
        return;
    }
    Select(HitTest(point));
}

void CKLVDockingPaneWindowSelect::OnLButtonUp(UINT, CPoint point) {
    CKLVWindowSelectItem* pItem = HitTest(point);
    if (!pItem) return;
    Select(pItem);
    if (ContinueModal()) EndModalLoop(1);
}

void CKLVDockingPaneWindowSelect::OnMouseMove(UINT, CPoint point) {
    ::SetCursor(HitTest(point) ? m_hCursorHand : m_hCursorArrow);
}

void CKLVDockingPaneWindowSelect::OnKillFocus(CWnd* pNewWnd) {
    CMiniFrameWnd::OnKillFocus(pNewWnd);
    if (ContinueModal()) EndModalLoop(2);
}

void CKLVDockingPaneWindowSelect::OnCaptureChanged(CWnd*) {
    if (ContinueModal()) EndModalLoop(2);
}

CDocument* CKLVDockingPaneWindowSelect::GetItemDocument(const CKLVWindowSelectItem* pItem) const {
    if (!pItem || pItem->nType == CKLVWindowSelectItem::typePane) return nullptr;
    auto* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(pItem->hWnd));
    return pFrame ? pFrame->GetActiveDocument() : nullptr;
}

CString CKLVDockingPaneWindowSelect::GetItemCaption(const CKLVWindowSelectItem* pItem) {
    if (!pItem) return CString();
    if (pItem->nType == CKLVWindowSelectItem::typePane) return pItem->pPane->GetTitle();
    if (CDocument* pDoc = GetItemDocument(pItem)) return pDoc->GetTitle();
    char szText[256] = {};
    ::GetWindowTextA(pItem->hWnd, szText, sizeof szText);
    return szText;
}

CString CKLVDockingPaneWindowSelect::GetItemDescription(const CKLVWindowSelectItem* pItem) {
    CString str;
    CDocument* pDoc = GetItemDocument(pItem);
    if (pDoc && pDoc->GetDocTemplate()) pDoc->GetDocTemplate()->GetDocString(str, CDocTemplate::regFileTypeName);
    return str;
}

CString CKLVDockingPaneWindowSelect::GetItemPath(const CKLVWindowSelectItem* pItem) {
    CDocument* pDoc = GetItemDocument(pItem);
    return pDoc ? pDoc->GetPathName() : CString();
}

void CKLVDockingPaneWindowSelect::OnPaint() {
    CPaintDC paintDC(this);
    CKLVBufferDC dc(paintDC);
    Draw(&dc);
}

HICON CKLVDockingPaneWindowSelect::GetWindowIcon(HWND hWnd) const {
    auto hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0));
    if (!hIcon) hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_BIG, 0));
    if (!hIcon) hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICONSM));
    return hIcon;
}

void CKLVDockingPaneWindowSelect::Draw(CDC* pDC) {
    CRect rc;
    GetClientRect(&rc);
    const COLORREF clrFrame = GetColorManager()->GetColor(32);
    pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    pDC->Draw3dRect(&rc, clrFrame, clrFrame);
    const int h = m_nItemHeight;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(kHeaderColor);
    CFont* pOld = pDC->SelectObject(&m_fontBold);
    const UINT nHeaderFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (m_nPaneCount) {
        pDC->DrawText(m_strPanesHeader, CRect(9, 0, 172, h + 12), nHeaderFormat);
        pDC->DrawText(m_strWindowsHeader, CRect(185, 0, 348, h + 12), nHeaderFormat);
    } else {
        pDC->DrawText(m_strWindowsHeader, CRect(9, 0, 335, h + 12), nHeaderFormat);
    }
    pDC->SelectObject(&m_fontNormal);
    for (const auto& pItem : m_arItems) DrawItem(pDC, *pItem);

    const CRect rcInfo(11, rc.bottom - 100, rc.right - 11, rc.bottom - 10);
    pDC->Draw3dRect(&rcInfo, clrFrame, clrFrame);
    if (m_pSelected) {
        CRect rcText = rcInfo;
        rcText.DeflateRect(15, 13);
        const int nRow = rcText.Height() / 3;
        pDC->SelectObject(&m_fontBold);
        pDC->DrawText(GetItemCaption(m_pSelected), CRect(rcText.left, rcText.top, rcText.right, rcText.top + nRow),
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        pDC->SelectObject(&m_fontNormal);
        pDC->DrawText(GetItemDescription(m_pSelected),
                      CRect(rcText.left, rcText.top + nRow, rcText.right, rcText.top + 2 * nRow),
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        pDC->DrawText(GetItemPath(m_pSelected), CRect(rcText.left, rcText.top + 2 * nRow, rcText.right, rcText.bottom),
                      DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS | DT_NOPREFIX);
    }
    pDC->SelectObject(pOld);
}

void CKLVDockingPaneWindowSelect::DrawItem(CDC* pDC, const CKLVWindowSelectItem& item) {
    if (&item == m_pSelected) {
        const COLORREF clrFrame = GetColorManager()->GetColor(32);
        pDC->FillSolidRect(&item.rc, GetColorManager()->GetColor(31));
        pDC->Draw3dRect(&item.rc, clrFrame, clrFrame);
    }
    const CSize szIcon = m_pManager->GetPaintManager()->GetPanelPaintManager()->m_szIcon;
    const CPoint ptIcon(item.rc.left + 2, item.rc.top + (item.rc.Height() - szIcon.cy) / 2);
    if (item.nType == CKLVWindowSelectItem::typePane) {
        if (CKLVImageManagerIcon* pIcon = item.pPane->GetIcon(szIcon.cx)) pIcon->DrawScaled(pDC, ptIcon, szIcon);
    } else if (HICON hIcon = GetWindowIcon(item.hWnd)) {
        ::DrawIconEx(pDC->m_hDC, ptIcon.x, ptIcon.y, hIcon, szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
    }
    CRect rcText = item.rc;
    rcText.left += szIcon.cx + 5;
    pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    pDC->DrawText(GetItemCaption(&item), &rcText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}
