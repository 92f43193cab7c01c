#include "toolkit/propertygrid/PropertyGridItem.h"

#include "toolkit/propertygrid/PropertyGrid.h"
#include "toolkit/propertygrid/PropertyGridInplace.h"
#include "toolkit/propertygrid/PropertyGridPaintManager.h"
#include "toolkit/propertygrid/PropertyGridView.h"

CKLVPropertyGridItem::CKLVPropertyGridItem(LPCTSTR lpszCaption, LPCTSTR lpszValue, CString* pBindString)
    : m_pChilds(new CKLVPropertyGridItems),
      m_pConstraints(new CKLVPropertyGridItemConstraints(this)),
      m_pInplaceButtons(new CKLVPropertyGridInplaceButtons(this)),
      m_pInplaceControls(new CKLVPropertyGridObjectArray) {
    SetCaption(lpszCaption);
    Init(lpszValue, pBindString);
}

CKLVPropertyGridItem::CKLVPropertyGridItem(UINT nID, LPCTSTR lpszValue, CString* pBindString)
    : m_nID(nID),
      m_pChilds(new CKLVPropertyGridItems),
      m_pConstraints(new CKLVPropertyGridItemConstraints(this)),
      m_pInplaceButtons(new CKLVPropertyGridInplaceButtons(this)),
      m_pInplaceControls(new CKLVPropertyGridObjectArray) {
    CString strCaption;
    if (strCaption.LoadString(nID)) SetCaption(strCaption);
    Init(lpszValue, pBindString);
}

void CKLVPropertyGridItem::Init(LPCTSTR lpszValue, CString* pBindString) {
    m_strValue = m_strDefaultValue = lpszValue;
    m_pBindString = pBindString;
    if (m_pBindString) *m_pBindString = m_strValue;
}

CKLVPropertyGridItem::~CKLVPropertyGridItem() {
    Clear();
    m_pChilds->InternalRelease();
}

void CKLVPropertyGridItem::Clear() {
    if (m_pGrid && m_pGrid->m_pSelected == this) m_pGrid->m_pSelected = nullptr;
    if (m_pGrid && m_pGrid->m_pFocusedButton && m_pGrid->m_pFocusedButton->GetItem() == this)
        m_pGrid->m_pFocusedButton = nullptr;
    if (m_pGrid && m_pGrid->m_pHotButton && m_pGrid->m_pHotButton->GetItem() == this) m_pGrid->m_pHotButton = nullptr;
    if (m_pGrid) {
        CKLVPropertyGridInplaceList& list = GetInplaceList();
        if (list.GetItem() == this) list.DestroyItem();
        CKLVPropertyGridInplaceEdit& edit = GetInplaceEdit();
        if (edit.GetItem() == this) edit.DestroyItem();
    }
    m_pChilds->Clear();
    if (m_pConstraints) {
        m_pConstraints->m_pItem = nullptr;
        m_pConstraints->InternalRelease();
        m_pConstraints = nullptr;
    }
    for (CKLVPropertyGridItemMetrics** ppMetrics : {&m_pValueMetrics, &m_pCaptionMetrics})
        if (*ppMetrics) {
            (*ppMetrics)->InternalRelease();
            *ppMetrics = nullptr;
        }
    if (m_pInplaceButtons) {
        m_pInplaceButtons->InternalRelease();
        m_pInplaceButtons = nullptr;
    }
    delete m_pInplaceControls;
    m_pInplaceControls = nullptr;
    m_pGrid = nullptr;
}

CKLVPropertyGrid* CKLVPropertyGridItem::GetGrid() const { return m_pGrid ? m_pGrid->m_pGrid : nullptr; }

LRESULT CKLVPropertyGridItem::Notify(WPARAM nCode, LPARAM lParam) const {
    CKLVPropertyGrid* pGrid = GetGrid();
    return pGrid ? pGrid->SendNotifyMessage(nCode, lParam) : 0;
}

// The edit record goes to the owner; FALSE when it cancels. The owner may change the text.
BOOL CKLVPropertyGridItem::NotifyEdit(WPARAM nCode, CString* pValue) {
    KLV_PROPERTYGRID_NOTIFYEDIT record;
    record.pItem = this;
    record.strValue = pValue ? *pValue : m_strValue;
    Notify(nCode, reinterpret_cast<LPARAM>(&record));
    if (pValue) *pValue = record.strValue;
    return !record.bCancel;
}

void CKLVPropertyGridItem::SetCaption(LPCTSTR lpszCaption) {
    CString strCaption = lpszCaption;
    const int nBreak = strCaption.Find('\n');
    if (nBreak < 0) {
        m_strCaption = strCaption;
        return;
    }
    m_strCaption = strCaption.Left(nBreak);
    m_strDescription = strCaption.Mid(nBreak + 1);
}

void CKLVPropertyGridItem::SetFlags(UINT nFlags) {
    m_nFlags = nFlags;
    if (!m_pInplaceButtons) return;
    m_pInplaceButtons->RemoveById(KLV_IDC_PG_EXPANDBUTTON);
    m_pInplaceButtons->RemoveById(KLV_IDC_PG_COMBOBUTTON);
    if (nFlags & KLVPGItemHasExpandButton) m_pInplaceButtons->AddEllipsisButton();
    if (nFlags & KLVPGItemHasComboButton) m_pInplaceButtons->AddDropDownButton();
}

// The in-place windows of the selected item are built again for its new settings.
void CKLVPropertyGridItem::Reselect() {
    if (!AfxGetSafeHwnd(m_pGrid)) return;
    if (IsSelected()) {
        OnDeselect();
        OnSelect();
    }
    m_pGrid->Invalidate(FALSE);
}

void CKLVPropertyGridItem::SetReadOnly(BOOL bReadOnly) {
    if (m_bReadOnly == bReadOnly) return;
    m_bReadOnly = bReadOnly;
    Reselect();
}

void CKLVPropertyGridItem::SetMask(LPCTSTR lpszMask, LPCTSTR lpszLiteral, char chPrompt) {
    m_strMask = lpszMask;
    m_strLiteral = lpszLiteral;
    m_chPrompt = chPrompt;
    m_bUseMask = true;
    if (AfxGetSafeHwnd(m_pGrid) && IsSelected()) {
        OnDeselect();
        OnSelect();
    }
}

void CKLVPropertyGridItem::SetPasswordMask(char chMask) {
    m_bPassword = TRUE;
    m_chPrompt = chMask;
}

BOOL CKLVPropertyGridItem::IsSelected() const { return m_pGrid && m_pGrid->m_pSelected == this; }

CString CKLVPropertyGridItem::GetViewValue() const {
    return m_bPassword ? CString(m_chPrompt ? m_chPrompt : '*', m_strValue.GetLength()) : m_strValue;
}

DWORD CKLVPropertyGridItem::GetEditStyle() const {
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL | m_dwEditStyle;
    if (m_bPassword) dwStyle |= ES_PASSWORD;
    if (m_nLinesCount > 1) dwStyle |= ES_MULTILINE;
    return dwStyle;
}

void CKLVPropertyGridItem::OnMeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) {
    if (m_nHeight != -1) lpMeasureItemStruct->itemHeight = m_nHeight;
    else if (m_nLinesCount > 1)
        lpMeasureItemStruct->itemHeight = (lpMeasureItemStruct->itemHeight - 4) * m_nLinesCount + 4;
}

CSize CKLVPropertyGridItem::OnMeasureItemConstraint(CDC* pDC, CKLVPropertyGridItemConstraint* pConstraint) {
    CSize sz = pDC->GetTextExtent(pConstraint->m_strConstraint);
    return CSize(sz.cx + 2 * ::GetSystemMetrics(SM_CXHTHUMB), sz.cy + 3);
}

BOOL CKLVPropertyGridItem::OnDrawItemValue(CDC&, CRect) { return FALSE; }

void CKLVPropertyGridItem::OnDrawItemConstraint(CDC* pDC, CKLVPropertyGridItemConstraint* pConstraint, CRect rc,
                                                BOOL bSelected) {
    if (CKLVPropertyGridPaintManager* pPaintManager = m_pGrid ? m_pGrid->GetPaintManager() : nullptr)
        pPaintManager->DrawInplaceListItem(pDC, pConstraint, rc, bSelected);
}

BOOL CKLVPropertyGridItem::HasVisibleChilds() const {
    for (int i = 0; i < m_pChilds->GetCount(); ++i)
        if (!m_pChilds->GetAt(i)->m_bHidden) return TRUE;
    return FALSE;
}

BOOL CKLVPropertyGridItem::IsChildOf(const CKLVPropertyGridItem* pItem) const {
    for (const CKLVPropertyGridItem* pParent = m_pParent; pParent; pParent = pParent->m_pParent)
        if (pParent == pItem) return TRUE;
    return FALSE;
}

CKLVPropertyGridItem* CKLVPropertyGridItem::InsertChildItem(int nIndex, CKLVPropertyGridItem* pItem) {
    if (!pItem || !m_pGrid) return pItem;
    const BOOL bFirst = m_pChilds->GetCount() == 0;
    m_pChilds->InsertAt(nIndex, pItem);
    pItem->m_pGrid = m_pGrid;
    pItem->m_pParent = this;
    pItem->m_nIndent = m_nIndent + 1;
    pItem->OnAddChildItem();
    if (m_bVisible) {
        if (m_bExpanded) m_pGrid->RebuildRows();
        else if (bFirst && AfxGetSafeHwnd(m_pGrid)) m_pGrid->Invalidate(FALSE);
    }
    return pItem;
}

void CKLVPropertyGridItem::OnAddChildItem() {
    if (!m_bCategory) SetFlags(m_nFlags);
}

CRect CKLVPropertyGridItem::GetItemRect() const {
    CRect rc;
    if (AfxGetSafeHwnd(m_pGrid) && m_nIndex >= 0) m_pGrid->GetItemRect(m_nIndex, &rc);
    return rc;
}

void CKLVPropertyGridItem::Select() {
    if (!AfxGetSafeHwnd(m_pGrid) || m_nIndex < 0) return;
    m_pGrid->SetCurSel(m_nIndex);
    m_pGrid->OnSelectionChanged();
}

void CKLVPropertyGridItem::Expand() {
    if (m_bExpanded) return;
    if (m_pGrid && !m_pGrid->IsLocked() && AfxGetSafeHwnd(m_pGrid) && m_bVisible) {
        m_bExpanded = TRUE;
        m_pGrid->InsertChildRows(this);
        m_pGrid->OnSelectionChanged();
    }
    m_bExpanded = TRUE;
    Notify(KLV_PGN_ITEMEXPANDCHANGED, reinterpret_cast<LPARAM>(this));
}

void CKLVPropertyGridItem::Collapse() {
    if (!m_bExpanded) return;
    if (m_pGrid && !m_pGrid->IsLocked() && AfxGetSafeHwnd(m_pGrid) && m_bVisible) {
        m_pGrid->RemoveDescendantRows(this);
        m_pGrid->OnSelectionChanged();
    }
    m_bExpanded = FALSE;
    Notify(KLV_PGN_ITEMEXPANDCHANGED, reinterpret_cast<LPARAM>(this));
}

CKLVPropertyGridItemMetrics* CKLVPropertyGridItem::GetMetrics(BOOL bValueMetrics, BOOL bCreate) {
    CKLVPropertyGridItemMetrics*& pMetrics = bValueMetrics ? m_pValueMetrics : m_pCaptionMetrics;
    if (!pMetrics && bCreate) pMetrics = new CKLVPropertyGridItemMetrics(m_pGrid ? m_pGrid->GetPaintManager() : nullptr);
    return pMetrics;
}
