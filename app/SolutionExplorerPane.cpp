#include "app/SolutionExplorerPane.h"

#include "app/res/Resource.h"

IMPLEMENT_DYNAMIC(COfficeTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(COfficeTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
    ON_NOTIFY_REFLECT(NM_KILLFOCUS, OnKillFocus)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDoubleClick)
END_MESSAGE_MAP()

void COfficeTreeCtrl::OnKillFocus(NMHDR*, LRESULT* pResult) {
    *pResult = 1;
}

// The root stands for the project: a double click on it opens the window that calls its service.
void COfficeTreeCtrl::OnDoubleClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const HTREEITEM hItem = HitTest(point);
    const CSolutionTreeItem* pItem = GetTreeItem(hItem ? hItem : GetSelectedItem());
    if (!pItem || pItem->nKind != CSolutionTreeItem::kindRoot) return;
    if (CWnd* pFrame = AfxGetMainWnd()) pFrame->SendMessage(WM_COMMAND, ID_CALL_SERVICE);
}

BEGIN_MESSAGE_MAP(CSolutionExplorerPane, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CSolutionExplorerPane::~CSolutionExplorerPane() {
    if (m_wndToolBar.GetSafeHwnd()) m_wndToolBar.DestroyWindow();
    m_ilTree.DeleteImageList();
    if (m_wndTree.GetSafeHwnd()) m_wndTree.DestroyWindow();
}

int CSolutionExplorerPane::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (m_wndTree.GetSafeHwnd()) return 0;
    const DWORD dwStyle = WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    if (!m_wndTree.Create(dwStyle, CRect(0, 0, 0, 0), this, idTree)) return 0;
    m_wndTree.ModifyStyleEx(0, WS_EX_STATICEDGE);
    m_wndTree.ModifyStyle(0, TVS_NOTOOLTIPS);
    if (!LoadTreeImages()) return 0;
    m_wndTree.SetImageList(&m_ilTree, TVSIL_NORMAL);
    m_hRootItem = m_wndTree.InsertItem("'Tessaro': Project(s)", TVI_ROOT, TVI_LAST);
    m_pRootData = std::make_unique<CSolutionTreeItem>();
    m_pRootData->nKind = CSolutionTreeItem::kindRoot;
    m_wndTree.SetItemData(m_hRootItem, reinterpret_cast<DWORD_PTR>(m_pRootData.get()));
    m_wndTree.ModifyStyle(0, TVS_NOTOOLTIPS);
    return 0;
}

// Bitmap 131, its top-left pixel the transparent colour.
BOOL CSolutionExplorerPane::LoadTreeImages() {
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(IDB_SOLUTION_TREE)) return FALSE;
    if (!m_ilTree.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1)) return FALSE;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    const COLORREF clrMask = dc.GetPixel(0, 0);
    dc.SelectObject(pOld);
    return m_ilTree.Add(&bitmap, clrMask) >= 0;
}

void CSolutionExplorerPane::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    int nBarHeight = 0;
    if (m_wndToolBar.GetSafeHwnd()) {
        const CSize size = m_wndToolBar.CalcDynamicLayout(cx, 202);
        m_wndToolBar.MoveWindow(0, 0, cx, size.cy);
        m_wndToolBar.Invalidate(FALSE);
        nBarHeight = size.cy;
    }
    if (m_wndTree.GetSafeHwnd()) {
        m_wndTree.MoveWindow(0, nBarHeight, cx, cy - nBarHeight);
        m_wndTree.Invalidate(FALSE);
    }
}

void CSolutionExplorerPane::OnSetFocus(CWnd* pOldWnd) {
    CWnd::OnSetFocus(pOldWnd);
    if (m_wndTree.GetSafeHwnd()) m_wndTree.SetFocus();
}
