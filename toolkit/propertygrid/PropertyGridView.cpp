#include "toolkit/propertygrid/PropertyGridView.h"

#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/res/KLVToolkitRes.h"
#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"

#include <algorithm>
#include <vector>

CKLVPropertyGridView::CKLVPropertyGridView() : m_pCategories(new CKLVPropertyGridItems) {
    m_hCursor = KLVResourceManager()->LoadCursor(KLV_IDC_HSPLITBAR);
}

CKLVPropertyGridView::~CKLVPropertyGridView() {
    if (GetSafeHwnd()) DestroyWindow();
    m_pCategories->Clear();
    m_pCategories->InternalRelease();
    if (m_wndTip.GetSafeHwnd()) m_wndTip.DestroyWindow();
}

CKLVPropertyGridPaintManager* CKLVPropertyGridView::GetPaintManager() const {
    return m_pGrid ? m_pGrid->GetPaintManager() : nullptr;
}

CKLVImageManager* CKLVPropertyGridView::GetImageManager() const {
    return m_pGrid ? m_pGrid->GetImageManager() : KLVImageManager();
}

namespace {

CKLVPropertyGridItem* ItemOfRowData(DWORD_PTR dwData) {
    return dwData == DWORD_PTR(-1) || dwData == 0 ? nullptr : reinterpret_cast<CKLVPropertyGridItem*>(dwData);
}

// Turns the view's redraw off for a scope, when asked, and repaints it once at the end.
class CRedrawPaused {
public:
    CRedrawPaused(CWnd* pWnd, bool bPause) : m_pWnd(bPause ? pWnd : nullptr) {
        if (m_pWnd) m_pWnd->SendMessage(WM_SETREDRAW, FALSE);
    }
    ~CRedrawPaused() {
        if (!m_pWnd) return;
        m_pWnd->SendMessage(WM_SETREDRAW, TRUE);
        m_pWnd->Invalidate(FALSE);
    }
    CRedrawPaused(const CRedrawPaused&) = delete;
    CRedrawPaused& operator=(const CRedrawPaused&) = delete;

private:
    CWnd* m_pWnd;
};

}  // namespace

CKLVPropertyGridItem* CKLVPropertyGridView::GetItem(int nRow) const {
    if (!GetSafeHwnd() || nRow < 0 || nRow >= GetCount()) return nullptr;
    return ItemOfRowData(GetItemData(nRow));
}

CKLVPropertyGridItem* CKLVPropertyGridView::GetSelectedItem() const { return GetSafeHwnd() ? GetItem(GetCurSel()) : nullptr; }

CKLVPropertyGridItem* CKLVPropertyGridView::ItemFromPoint(CPoint point) const {
    if (!GetSafeHwnd()) return nullptr;
    BOOL bOutside = TRUE;
    const UINT nRow = CListBox::ItemFromPoint(point, bOutside);
    return bOutside ? nullptr : GetItem(static_cast<int>(nRow));
}

int CKLVPropertyGridView::GetDividerPos() const {
    CRect rc;
    if (GetSafeHwnd()) GetClientRect(&rc);
    return m_bVariableSplitterPos ? static_cast<int>(rc.Width() * m_dDivider) : static_cast<int>(m_dDivider);
}

void CKLVPropertyGridView::SetDividerPos(int x) {
    CRect rc;
    if (GetSafeHwnd()) GetClientRect(&rc);
    const int nWidth = rc.Width();
    if (m_bVariableSplitterPos) {
        m_dDivider = nWidth == 0 ? 0.5 : std::clamp(static_cast<double>(x) / nWidth, 0.1, 0.85);
    } else {
        x = std::max(x, 1);
        if (nWidth != 0) x = std::min(x, nWidth);
        m_dDivider = x;
    }
}

BOOL CKLVPropertyGridView::IsOnDivider(CPoint point) const {
    const int nDivider = GetDividerPos();
    return m_bTrackSplitter && GetCount() > 0 && point.x > nDivider - 4 && point.x <= nDivider + 2;
}

void CKLVPropertyGridView::ResetContent() {
    if (m_pSelected) {
        m_pSelected->OnDeselect();
        m_pSelected = nullptr;
        if (m_pGrid) m_pGrid->OnSelectionChanged(nullptr);
    }
    if (!GetSafeHwnd()) return;
    for (int i = 0; i < GetCount(); ++i)
        if (CKLVPropertyGridItem* pItem = GetItem(i)) pItem->SetVisible(FALSE);
    CListBox::ResetContent();
    if (CKLVPropertyGridPaintManager* pPaintManager = GetPaintManager()) {
        CFont* pFont = &pPaintManager->GetMetrics()->m_fntNormal;
        SetFont(pFont, FALSE);
        CClientDC dc(this);
        CKLVFontDC font(&dc, pFont);
        m_nItemHeight = dc.GetTextExtent(" ", 1).cy + 4;
        SetItemHeight(0, m_nItemHeight);
    }
}

int CKLVPropertyGridView::InsertItem(CKLVPropertyGridItem* pItem, int nRow) {
    if (m_nLockUpdate > 0 || !GetSafeHwnd() || pItem->m_bHidden) return 0;
    pItem->OnBeforeInsert();
    nRow = static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(pItem)));
    SetItemData(nRow, reinterpret_cast<DWORD_PTR>(pItem));
    if (IsVariableHeight()) {
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_LISTBOX;
        mis.itemID = static_cast<UINT>(nRow);
        mis.itemHeight = static_cast<UINT>(m_nItemHeight);
        mis.itemData = reinterpret_cast<ULONG_PTR>(pItem);
        MeasureItem(&mis);
        SetItemHeight(nRow, LOWORD(mis.itemHeight));
    }
    pItem->m_nIndex = nRow;
    pItem->SetVisible(TRUE);
    int nAdded = 1;
    if (pItem->m_bExpanded) {
        CKLVPropertyGridItems* pChilds = pItem->GetChilds();
        for (int i = 0; i < pChilds->GetCount(); ++i) nAdded += InsertItem(pChilds->GetAt(i), nRow + nAdded);
    }
    return nAdded;
}

void CKLVPropertyGridView::InsertChildRows(CKLVPropertyGridItem* pItem) {
    CKLVPropertyGridItems* pChilds = pItem->GetChilds();
    // One redraw and one storage growth for the whole expansion, not one per row: a list box
    // that repaints and regrows on every insertion makes a large expansion quadratic. A hidden
    // view stays hidden: turning redraw back on may show a window.
    const CRedrawPaused paused(this, (GetStyle() & WS_VISIBLE) != 0);
    SendMessage(LB_INITSTORAGE, static_cast<WPARAM>(pChilds->GetCount()), 0);
    const int nFirst = pItem->m_nIndex + 1;
    // A list box moves every row below on each insertion: many children above many rows are
    // appended instead and the block is moved up once, so an expansion costs its rows plus the
    // rows below it, not their product.
    const bool bAppend = pChilds->GetCount() >= kRowsMovedAsBlock && nFirst < GetCount();
    const int nStart = bAppend ? GetCount() : nFirst;
    int nRow = nStart;
    for (int i = 0; i < pChilds->GetCount(); ++i) nRow += InsertItem(pChilds->GetAt(i), nRow);
    if (bAppend) MoveRowsUp(nFirst, nStart, nRow);
    else RenumberRows(nFirst);
}

void CKLVPropertyGridView::RenumberRows(int nFrom) {
    if (!GetSafeHwnd()) return;
    for (int i = nFrom, nCount = GetCount(); i < nCount; ++i) SetRowIndex(ItemOfRowData(GetItemData(i)), i);
}

void CKLVPropertyGridView::SetRowIndex(CKLVPropertyGridItem* pItem, int nRow) {
    if (pItem && pItem->m_nIndex != nRow) {
        pItem->m_nIndex = nRow;
        pItem->OnIndexChanged();
    }
}

void CKLVPropertyGridView::PlaceRow(int nRow, DWORD_PTR dwData, int nHeight, bool bVariable) {
    SetItemData(nRow, dwData);
    if (bVariable) SetItemHeight(nRow, static_cast<UINT>(nHeight));
    SetRowIndex(ItemOfRowData(dwData), nRow);
}

void CKLVPropertyGridView::CopyRow(int nFrom, int nTo, bool bVariable) {
    PlaceRow(nTo, GetItemData(nFrom), bVariable ? GetItemHeight(nFrom) : 0, bVariable);
}

void CKLVPropertyGridView::MoveRowsUp(int nFirst, int nStart, int nEnd) {
    struct Row {
        DWORD_PTR dwData;
        int nHeight;
    };
    const bool bVariable = IsVariableHeight() != FALSE;
    const int nMoved = nEnd - nStart;
    std::vector<Row> moved;
    moved.reserve(static_cast<size_t>(nMoved));
    for (int i = nStart; i < nEnd; ++i) moved.push_back({GetItemData(i), bVariable ? GetItemHeight(i) : 0});
    const int nTop = GetTopIndex(), nSelected = GetCurSel();
    for (int i = nStart - 1; i >= nFirst; --i) CopyRow(i, i + nMoved, bVariable);
    for (int i = 0; i < nMoved; ++i) PlaceRow(nFirst + i, moved[i].dwData, moved[i].nHeight, bVariable);
    // The selection follows its row down as it would for rows inserted above it; selecting
    // scrolls, so the top row is put back afterwards.
    if (nSelected >= nFirst && nSelected < nStart) {
        SetCurSel(nSelected + nMoved);
        SetTopIndex(nTop);
    }
}

void CKLVPropertyGridView::DeleteRows(int nFirst, int nEnd) {
    // From the last row up: a list box moves the rows below each row it deletes, and the rows
    // of the block itself are not moved again and again.
    const int nRemoved = nEnd - nFirst;
    if (nRemoved < kRowsMovedAsBlock || nEnd >= GetCount()) {
        for (int i = nEnd - 1; i >= nFirst; --i) DeleteString(static_cast<UINT>(i));
        RenumberRows(nFirst);
        return;
    }
    // Many rows above many others: the rows below are moved up over the block once, with their
    // row numbers, and as many rows are deleted at the end, so that a deletion costs its rows
    // plus the rows below it.
    const bool bVariable = IsVariableHeight() != FALSE;
    const int nCount = GetCount(), nTop = GetTopIndex(), nSelected = GetCurSel();
    if (nSelected >= nFirst) SetCurSel(-1);
    for (int i = nEnd; i < nCount; ++i) CopyRow(i, i - nRemoved, bVariable);
    for (int i = nCount - 1; i >= nCount - nRemoved; --i) DeleteString(static_cast<UINT>(i));
    // The selection follows its row up as it would for rows deleted above it; a selected row
    // of the block goes with it. The top row keeps its number, as a list box keeps it, and is
    // put back after the selection scrolled.
    if (nSelected >= nEnd) SetCurSel(nSelected - nRemoved);
    SetTopIndex(nTop);
}

void CKLVPropertyGridView::RemoveDescendantRows(CKLVPropertyGridItem* pItem) {
    const int nFirst = pItem->m_nIndex + 1;
    int nEnd = nFirst;
    for (const int nCount = GetCount(); nEnd < nCount; ++nEnd) {
        CKLVPropertyGridItem* pRowItem = ItemOfRowData(GetItemData(nEnd));
        if (!pRowItem || !pRowItem->IsChildOf(pItem)) break;
        pRowItem->SetVisible(FALSE);
        pRowItem->m_nIndex = -1;
    }
    // One redraw for the whole collapse, not one per row (see InsertChildRows).
    const CRedrawPaused paused(this, (GetStyle() & WS_VISIBLE) != 0);
    DeleteRows(nFirst, nEnd);
}

void CKLVPropertyGridView::ToggleExpand(int nRow) {
    CKLVPropertyGridItem* pItem = GetItem(nRow);
    if (!pItem) return;
    if (pItem->IsExpanded()) pItem->Collapse();
    else pItem->Expand();
}

void CKLVPropertyGridView::OnSelectionChanged() {
    CKLVPropertyGridItem* pItem = GetSelectedItem();
    if (m_pSelected && m_pSelected != pItem) m_pSelected->OnDeselect();
    m_pSelected = pItem;
    if (pItem) pItem->OnSelect();
    if (pItem && m_pGrid) m_pGrid->OnSelectionChanged(pItem);
}

void CKLVPropertyGridView::InsertRowsFor(const CKLVPropertyGridItems* pCategories, int nSort) {
    if (nSort == KLVGridSortCategorized) {
        for (int i = 0; i < pCategories->GetCount(); ++i) InsertItem(pCategories->GetAt(i), GetCount());
        return;
    }
    CKLVPropertyGridItems* pGathered = new CKLVPropertyGridItems;
    for (int i = 0; i < pCategories->GetCount(); ++i)
        if (!pCategories->GetAt(i)->IsHidden()) pGathered->Append(pCategories->GetAt(i)->GetChilds());
    if (nSort == KLVGridSortAlphabetical) pGathered->Sort();
    for (int i = 0; i < pGathered->GetCount(); ++i) InsertItem(pGathered->GetAt(i), GetCount());
    pGathered->InternalRelease();   // holds the pointers only
}

void CKLVPropertyGridView::SetPropertySort(int nSort, BOOL bForce, BOOL bRedraw) {
    if (m_nLockUpdate > 0) {
        m_nSort = nSort;
        return;
    }
    if ((nSort == m_nSort && !bForce) || !GetSafeHwnd()) return;
    {
        const CRedrawPaused paused(this, bRedraw != FALSE);
        CKLVPropertyGridItem* pTop = bForce ? GetItem(GetTopIndex()) : nullptr;
        CKLVPropertyGridItem* pSelected = GetSelectedItem();
        ResetContent();
        InsertRowsFor(m_pCategories, nSort);
        RenumberRows();
        if (pTop && pTop->m_bVisible) SetTopIndex(pTop->m_nIndex);
        if (pSelected && pSelected->m_bVisible) SetCurSel(pSelected->m_nIndex);
        OnSelectionChanged();
    }
    if (nSort != m_nSort) {
        m_nSort = nSort;
        if (m_pGrid) m_pGrid->OnSortChanged();
    }
}

void CKLVPropertyGridView::RebuildRows() {
    if (m_nLockUpdate == 0 && GetSafeHwnd()) SetPropertySort(m_nSort, TRUE, TRUE);
}

CKLVPropertyGridItem* CKLVPropertyGridView::InsertCategory(int nIndex, LPCTSTR lpszCaption,
                                                           CKLVPropertyGridItem* pCategory) {
    if (nIndex < 0 || nIndex > m_pCategories->GetCount()) nIndex = m_pCategories->GetCount();
    if (!pCategory) pCategory = new CKLVPropertyGridItem(lpszCaption);
    if (m_nSort != KLVGridSortCategorized) {
        if (m_nLockUpdate == 0 && GetSafeHwnd()) SetPropertySort(KLVGridSortCategorized, TRUE, TRUE);
        else m_nSort = KLVGridSortCategorized;
    }
    pCategory->m_pGrid = this;
    pCategory->m_bCategory = TRUE;
    pCategory->m_nFlags = 0;
    m_pCategories->InsertAt(nIndex, pCategory);
    if (GetSafeHwnd() && m_nLockUpdate == 0) {
        CKLVPropertyGridItem* pNext = m_pCategories->GetAt(nIndex + 1);
        const int nRow = pNext && pNext->m_bVisible ? pNext->m_nIndex : GetCount();
        InsertItem(pCategory, nRow);
        RenumberRows();
    }
    return pCategory;
}

void CKLVPropertyGridView::BeginUpdate() {
    if (m_nLockUpdate == 0) ResetContent();
    ++m_nLockUpdate;
}

void CKLVPropertyGridView::EndUpdate() {
    if (m_nLockUpdate == 0 || --m_nLockUpdate > 0) return;
    RenumberRows();
    SetPropertySort(m_nSort, TRUE, TRUE);
    if (AfxGetSafeHwnd(m_pGrid)) m_pGrid->Invalidate(FALSE);
}

void CKLVPropertyGridView::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->itemData == 0 || lpDrawItemStruct->itemData == ULONG_PTR(-1)) return;
    CKLVPropertyGridPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager) return;
    if (static_cast<int>(lpDrawItemStruct->itemID) == GetCount() - 1) {
        CRect rcClient;
        GetClientRect(&rcClient);
        rcClient.top = lpDrawItemStruct->rcItem.bottom;
        if (!rcClient.IsRectEmpty()) ::FillRect(lpDrawItemStruct->hDC, &rcClient, CBrush(pPaintManager->GetBackColor()));
    }
    if (m_pGrid && (m_pGrid->GetStyle() & KLVPGS_OWNERDRAW) &&
        m_pGrid->SendNotifyMessage(KLV_PGN_DRAWITEM, reinterpret_cast<LPARAM>(lpDrawItemStruct)) == 1)
        return;
    pPaintManager->DrawItem(lpDrawItemStruct);
}

void CKLVPropertyGridView::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(m_nItemHeight);
    if (CKLVPropertyGridPaintManager* pPaintManager = GetPaintManager()) pPaintManager->MeasureItem(lpMeasureItemStruct);
}
