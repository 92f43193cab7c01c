#include "toolkit/propertygrid/PropertyGrid.h"

#include "classlib/WinApp.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/res/KLVToolkitRes.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <algorithm>

namespace {

const char kGridClassName[] = "KLVPropertyGrid";
const DWORD kGridStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_GROUP | WS_TABSTOP;
const DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;

}  // namespace

CKLVPropertyGrid::CKLVPropertyGrid()
    : m_pPaintManager(new CKLVPropertyGridPaintManager(this)),
      m_pImageManager(new CKLVImageManager),
      m_pInplaceEdit(new CKLVPropertyGridInplaceEdit),
      m_pInplaceList(new CKLVPropertyGridInplaceList),
      m_pVerbs(new CKLVPropertyGridVerbs) {
    CKLVDrawHelpers::RegisterWndClass(AfxGetInstanceHandle(), kGridClassName, 0);
    m_hCursorSplit = KLVResourceManager()->LoadCursor(KLV_IDC_VSPLITBAR);
    m_hCursorHand = ::LoadCursorA(nullptr, IDC_HAND);
    if (!m_hCursorHand) m_hCursorHand = KLVResourceManager()->LoadCursor(KLV_IDC_HAND);
    LOGFONTA lf = {};
    ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
    CKLVPropertyGridItemMetrics* pMetrics = m_pPaintManager->GetMetrics();
    lf.lfWeight = FW_NORMAL;
    pMetrics->m_fntNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    pMetrics->m_fntBold.CreateFontIndirect(&lf);
    m_pPaintManager->RefreshMetrics();
}

CKLVPropertyGrid::~CKLVPropertyGrid() {
    delete m_pView;
    m_pView = nullptr;
    if (m_pImageManager) m_pImageManager->InternalRelease();
    delete m_pInplaceEdit;
    delete m_pInplaceList;
    delete m_pPaintManager;
    m_pVerbs->InternalRelease();
    if (GetSafeHwnd()) DestroyWindow();
}

BOOL CKLVPropertyGrid::PreCreateWindow(CREATESTRUCT& cs) {
    m_bPreSubclassInit = FALSE;
    return CWnd::PreCreateWindow(cs);
}

void CKLVPropertyGrid::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    if (!m_bPreSubclassInit) return;
    CreateGridView(0);
    CRect rc;
    GetClientRect(&rc);
    Reposition(rc.Width(), rc.Height());
}

BOOL CKLVPropertyGrid::Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwListStyle) {
    if (!CWnd::Create(kGridClassName, "", kGridStyle, rect, pParentWnd, nID)) return FALSE;
    if (!CreateGridView(dwListStyle)) return FALSE;
    const CRect rc(rect);
    Reposition(rc.Width(), rc.Height());
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

CKLVPropertyGridView* CKLVPropertyGrid::CreateView() { return new CKLVPropertyGridView; }

CKLVPropertyGridView& CKLVPropertyGrid::GetGridView() {
    if (!m_pView) {
        m_pView = CreateView();
        m_pView->m_pGrid = this;
    }
    return *m_pView;
}

CKLVPropertyGridItem* CKLVPropertyGrid::FindItemByCaption(LPCTSTR lpszCaption) {
    return GetGridView().GetCategories()->FindItemByCaption(lpszCaption);
}

BOOL CKLVPropertyGrid::CreateGridView(DWORD dwListStyle) {
    if (dwListStyle == 0)
        dwListStyle = (m_bVariableItemsHeight ? LBS_OWNERDRAWVARIABLE : LBS_OWNERDRAWFIXED) | LBS_NOINTEGRALHEIGHT;
    m_bVariableItemsHeight = (dwListStyle & LBS_OWNERDRAWVARIABLE) != 0;
    CKLVPropertyGridView& view = GetGridView();
    if (!view.GetSafeHwnd() && !view.CreateEx(0, "LISTBOX", "", kViewStyle | dwListStyle, CRect(0, 0, 0, 0), this, 0))
        return FALSE;
    view.ResetContent();
    m_pPaintManager->RefreshMetrics();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return TRUE;
}

CKLVPropertyGridItem* CKLVPropertyGrid::GetSelectedItem() { return GetGridView().GetSelectedItem(); }

CKLVPropertyGridItem* CKLVPropertyGrid::AddCategory(UINT nID) {
    CString strCaption;
    strCaption.LoadString(nID);
    CKLVPropertyGridItem* pCategory = GetGridView().AddCategory(strCaption);
    pCategory->m_nID = nID;
    return pCategory;
}

CKLVPropertyGridItem* CKLVPropertyGrid::AddCategory(LPCTSTR lpszCaption) { return GetGridView().AddCategory(lpszCaption); }

CKLVImageManager* CKLVPropertyGrid::GetImageManager() const { return m_pImageManager ? m_pImageManager : KLVImageManager(); }

void CKLVPropertyGrid::SetTheme(int nTheme) {
    m_nTheme = nTheme;
    if (CKLVPropertyGridPaintManager* pPaintManager = CKLVPropertyGridPaintManager::CreateTheme(this, nTheme))
        SetPaintManager(pPaintManager);
}

void CKLVPropertyGrid::SetPaintManager(CKLVPropertyGridPaintManager* pPaintManager) {
    pPaintManager->SetMetrics(m_pPaintManager->GetMetrics());
    delete m_pPaintManager;
    m_pPaintManager = pPaintManager;
    m_pPaintManager->RefreshMetrics();
    if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CKLVPropertyGrid::SendNotifyMessage(WPARAM nCode, LPARAM lParam) {
    if (!GetSafeHwnd()) return 0;
    HWND hOwner = ::GetWindow(GetSafeHwnd(), GW_OWNER);
    if (!hOwner) hOwner = ::GetParent(GetSafeHwnd());
    return hOwner ? ::SendMessageA(hOwner, KLVWM_PROPERTYGRID_NOTIFY, nCode, lParam) : 0;
}

void CKLVPropertyGrid::ShowHelp(BOOL bShow) {
    m_bHelpVisible = bShow;
    CRect rc;
    if (GetSafeHwnd()) GetClientRect(&rc);
    Reposition(rc.Width(), rc.Height());
}

CKLVPropertyGridVerb* CKLVPropertyGrid::AddVerb(LPCTSTR lpszCaption, UINT nID) {
    CKLVPropertyGridVerb* pVerb = m_pVerbs->Add(lpszCaption, nID);
    CRect rc;
    if (GetSafeHwnd()) GetClientRect(&rc);
    Reposition(rc.Width(), rc.Height());
    return pVerb;
}

CRect CKLVPropertyGrid::GetHelpRect() const {
    CRect rc;
    if (GetSafeHwnd()) GetClientRect(&rc);
    rc.top = rc.bottom - (m_bHelpVisible ? m_nHelpHeight : 0);
    return rc;
}

CRect CKLVPropertyGrid::GetVerbsRect() const {
    CRect rc = GetHelpRect();
    rc.bottom = m_bHelpVisible ? rc.top - nSplitterHeight : rc.top;
    rc.top = rc.bottom - (IsVerbsVisible() ? m_nVerbsHeight : 0);
    return rc;
}

void CKLVPropertyGrid::OnVerbClick(int nIndex, CPoint) {
    if (nIndex < 0 || nIndex >= m_pVerbs->GetCount()) return;
    m_nFocusedVerb = nIndex;
    SendNotifyMessage(KLV_PGN_VERB_CLICK, reinterpret_cast<LPARAM>(m_pVerbs->GetAt(nIndex)));
}

void CKLVPropertyGrid::Reposition(int cx, int cy) {
    if (!GetSafeHwnd() || !AfxGetSafeHwnd(m_pView) || m_pView->IsLocked()) return;
    int nViewHeight = m_bHelpVisible ? cy - (m_nHelpHeight + nSplitterHeight) : cy;
    if (IsVerbsVisible()) nViewHeight -= m_nVerbsHeight + nSplitterHeight;
    m_pView->MoveWindow(0, 0, cx, std::max(0, nViewHeight), TRUE);
    m_pView->Invalidate(FALSE);
    Invalidate(FALSE);
}

int CKLVPropertyGrid::HitTest(CPoint point) {
    if (IsVerbsVisible() && GetVerbsRect().PtInRect(point)) {
        CClientDC dc(this);
        const int nVerb = m_pPaintManager->LayoutVerbs(&dc, GetVerbsRect(), FALSE, point);
        return nVerb < 0 ? -1 : hitVerb + nVerb;
    }
    if (!m_bHelpVisible || !m_bHelpResizable) return -1;
    CRect rc;
    GetClientRect(&rc);
    return point.y >= rc.bottom - m_nHelpHeight - nSplitterHeight && point.y < rc.bottom - m_nHelpHeight ? hitHelpSplitter
                                                                                                        : -1;
}

void CKLVPropertyGrid::OnSelectionChanged(CKLVPropertyGridItem* pItem) {
    if (pItem) SendNotifyMessage(KLV_PGN_SELECTION_CHANGED, reinterpret_cast<LPARAM>(pItem));
    if (!GetSafeHwnd()) return;
    CRect rc;
    GetClientRect(&rc);
    rc.top = rc.bottom - m_nHelpHeight;
    InvalidateRect(&rc, FALSE);
}

void CKLVPropertyGrid::OnSortChanged() {
    OnSelectionChanged(nullptr);
    SendNotifyMessage(KLV_PGN_SORTORDER_CHANGED, static_cast<LPARAM>(GetDlgCtrlID()));
}

void CKLVPropertyGrid::OnPaintGrid() {
    CPaintDC paintDC(this);
    CRect rc;
    GetClientRect(&rc);
    CKLVBufferDC dc(paintDC.GetSafeHdc(), rc);
    m_pPaintManager->FillPropertyGrid(&dc);
}

void CKLVPropertyGrid::InvertTracker(CDC* pDC) {
    CBrush brush(GetColorManager()->GetColor(COLOR_3DFACE));
    CBrush* pOld = pDC->SelectObject(&brush);
    pDC->PatBlt(m_rcTracker.left, m_rcTracker.top, m_rcTracker.Width(), m_rcTracker.Height(), PATINVERT);
    pDC->SelectObject(pOld);
}

void CKLVPropertyGrid::TrackHelpSplitter() {
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nTop = nHelpMinTop, nBottom = static_cast<int>(rcClient.bottom) - nHelpBottomGap;
    // A client too low for both limits has no room to move the splitter in.
    if (nBottom < nTop) return;
    SetCapture();
    const LONG_PTR nStyle = ::GetWindowLongPtrA(GetSafeHwnd(), GWL_STYLE);
    ::SetWindowLongPtrA(GetSafeHwnd(), GWL_STYLE, nStyle & ~(WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
    const int nStart = std::clamp(static_cast<int>(rcClient.bottom) - m_nHelpHeight - nSplitterHeight, nTop, nBottom);
    m_rcTracker.SetRect(0, nStart, rcClient.Width(), nStart + nSplitterHeight);
    BOOL bApply = FALSE;
    {
        CWindowDC dc(this);
        InvertTracker(&dc);
        MSG msg;
        while (::GetCapture() == GetSafeHwnd()) {
            const BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
            if (bGot <= 0) {
                if (bGot == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.message == WM_MOUSEMOVE) {
                const int y = std::clamp(static_cast<int>(static_cast<short>(HIWORD(msg.lParam))), nTop, nBottom);
                InvertTracker(&dc);
                m_rcTracker.OffsetRect(0, y - m_rcTracker.top);
                InvertTracker(&dc);
            } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                break;
            } else if (msg.message == WM_LBUTTONUP) {
                bApply = TRUE;
                break;
            } else {
                ::DispatchMessageA(&msg);
            }
        }
        InvertTracker(&dc);
    }
    if (::GetCapture() == GetSafeHwnd()) ::ReleaseCapture();
    if (bApply) {
        m_nHelpHeight = rcClient.bottom - m_rcTracker.top - 2;
        Reposition(rcClient.Width(), rcClient.Height());
    }
    ::SetWindowLongPtrA(GetSafeHwnd(), GWL_STYLE, nStyle);
    Invalidate(FALSE);
}

LRESULT CKLVPropertyGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: OnPaintGrid(); return 0;
    case WM_SIZE: {
        LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        if (AfxGetSafeHwnd(m_pView)) Reposition(LOWORD(lParam), HIWORD(lParam));
        return lResult;
    }
    case WM_SETCURSOR: {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        const int nHit = LOWORD(lParam) == HTCLIENT ? HitTest(pt) : -1;
        if (nHit == hitHelpSplitter && m_hCursorSplit) {
            ::SetCursor(m_hCursorSplit);
            return TRUE;
        }
        if (nHit >= hitVerb && m_hCursorHand) {
            ::SetCursor(m_hCursorHand);
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        const int nHit = HitTest(CPoint(lParam));
        if (nHit == hitHelpSplitter) {
            TrackHelpSplitter();
            return 0;
        }
        SetFocus();
        if (nHit >= hitVerb) {
            OnVerbClick(nHit - hitVerb, CPoint(lParam));
            return 0;
        }
        break;
    }
    case WM_SETFOCUS: OnSetFocusGrid(reinterpret_cast<HWND>(wParam)); return 0;
    case WM_SYSCOLORCHANGE: {
        LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        m_pPaintManager->RefreshMetrics();
        return lResult;
    }
    case WM_GETDLGCODE:
        if (AfxGetSafeHwnd(m_pInplaceEdit)) return m_pInplaceEdit->SendMessage(WM_GETDLGCODE, wParam, lParam);
        break;
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
