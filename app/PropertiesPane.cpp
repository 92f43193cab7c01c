#include "app/PropertiesPane.h"

#include "app/ProtocolChecks.h"
#include "app/res/Resource.h"
#include "toolkit/propertygrid/PropertyGridItem.h"
#include "toolkit/propertygrid/PropertyGridItems.h"
#include "toolkit/propertygrid/PropertyGridView.h"

#include <initializer_list>
#include <vector>

namespace {

const int kGridTheme = 6;
// The grid's drop-down list button and its edit.
const UINT kListFlags = KLVPGItemHasEdit | KLVPGItemHasComboButton;

// One grid item: the caption's string id, the first value, the list it offers and its mask.
struct ItemSpec {
    UINT nID;
    LPCTSTR lpszValue;
    std::vector<LPCTSTR> options;
    BOOL bList;
    LPCTSTR lpszMask;
    LPCTSTR lpszLiteral;
};

// A name: a letter, then up to 24 letters or digits. A type code or tag: "0x" and eight hex digits.
const ItemSpec kName = {0, "", {}, FALSE, "LAAAAAAAAAAAAAAAAAAAAAAAA", "_________________________"};
const ItemSpec kCode = {0, "", {}, FALSE, "0xHHHHHHHH", "0x________"};

template <size_t N>
std::vector<LPCTSTR> Choices(const LPCTSTR (&texts)[N]) {
    return std::vector<LPCTSTR>(texts, texts + N);
}

ItemSpec WithID(ItemSpec spec, UINT nID) {
    spec.nID = nID;
    return spec;
}

CKLVPropertyGridItem* AddItem(CKLVPropertyGridItem* pCategory, const ItemSpec& spec, BOOL bReadOnly = FALSE) {
    CKLVPropertyGridItem* pItem = pCategory->AddChildItem(new CKLVPropertyGridItem(spec.nID, spec.lpszValue));
    for (LPCTSTR lpszOption : spec.options) pItem->GetConstraints()->AddConstraint(lpszOption);
    if (bReadOnly) pItem->SetReadOnly(TRUE);
    if (spec.bList) pItem->SetFlags(kListFlags);
    if (spec.lpszMask) pItem->SetMask(spec.lpszMask, spec.lpszLiteral, '_');
    return pItem;
}

void AddItems(CKLVPropertyGridItem* pCategory, std::initializer_list<ItemSpec> specs) {
    for (const ItemSpec& spec : specs) AddItem(pCategory, spec);
}

}  // namespace

BEGIN_MESSAGE_MAP(CPropertiesPane, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(KLVWM_PROPERTYGRID_NOTIFY, OnPropertyValueChanged)
END_MESSAGE_MAP()

CPropertiesPane::~CPropertiesPane() {
    if (m_wndToolBar.GetSafeHwnd()) m_wndToolBar.DestroyWindow();
    for (CKLVPropertyGrid* pGrid : {&m_wndBlankGrid, &m_wndFieldGrid, &m_wndPacketGrid, &m_wndProjectGrid})
        if (pGrid->GetSafeHwnd()) pGrid->DestroyWindow();
}

int CPropertiesPane::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndToolBar.GetSafeHwnd() &&
        m_wndToolBar.CreateToolBar(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBRS_TOOLTIPS, this, AFX_IDW_TOOLBAR))
        m_wndToolBar.LoadToolBar(IDR_PROPERTIES_TOOLBAR);
    CreateProjectGrid();
    CreatePacketGrid();
    CreateFieldGrid();
    if (CreateGrid(m_wndBlankGrid)) {
        m_wndBlankGrid.AddCategory("");
        m_wndBlankGrid.ShowWindow(SW_SHOW);
    }
    return 0;
}

BOOL CPropertiesPane::CreateGrid(CKLVPropertyGrid& grid) {
    if (grid.GetSafeHwnd() || !grid.Create(CRect(0, 0, 0, 0), this, 0)) return FALSE;
    grid.SetOwner(this);
    grid.SetTheme(kGridTheme);
    grid.ShowWindow(SW_HIDE);
    return TRUE;
}

void CPropertiesPane::CreateProjectGrid() {
    if (!CreateGrid(m_wndProjectGrid)) return;
    CKLVPropertyGridItem* pCategory = m_wndProjectGrid.AddCategory("Protocol Settings");
    AddItems(pCategory, {{IDS_PROTOCOL_NAME, "", {}, FALSE, nullptr, nullptr},
                         {IDS_PROTOCOL_BASED, "TCP", {"TCP", "UDP"}, TRUE, nullptr, nullptr},
                         {IDS_PROTOCOL_PLATFORM, "Windows", {"Windows", "Unix(Linux)"}, TRUE, nullptr, nullptr},
                         {IDS_PROTOCOL_LIBRARY, "dll library", {"dll library", "static library"}, TRUE, nullptr, nullptr},
                         {IDS_PROTOCOL_LOCATION, "", {}, FALSE, nullptr, nullptr}});
    pCategory->Expand();
}

void CPropertiesPane::CreatePacketGrid() {
    if (!CreateGrid(m_wndPacketGrid)) return;
    CKLVPropertyGridItem* pCategory = m_wndPacketGrid.AddCategory(IDS_PACKET_SETTINGS);
    AddItems(pCategory, {WithID(kName, IDS_PACKET_NAME), WithID(kCode, IDS_PACKET_TYPE)});
    pCategory->Expand();
}

void CPropertiesPane::CreateFieldGrid() {
    if (!CreateGrid(m_wndFieldGrid)) return;
    CKLVPropertyGridItem* pCategory = m_wndFieldGrid.AddCategory(IDS_FIELD_SETTINGS);
    AddItem(pCategory, WithID(kName, IDS_FIELD_NAME));
    AddItem(pCategory, {IDS_FIELD_UNIT, "byte", {"bit"}, TRUE, nullptr, nullptr}, TRUE);
    AddItems(pCategory,
             {{IDS_FIELD_DATA_TYPE, "unsigned int", Choices(kDataTypes), TRUE, nullptr, nullptr},
              {IDS_FIELD_MAX_LENGTH, "", {}, FALSE, nullptr, nullptr},
              {IDS_FIELD_MAX_COUNT, "", {}, FALSE, nullptr, nullptr},
              {IDS_FIELD_RELATED_COUNT, "", {}, TRUE, nullptr, nullptr},
              {IDS_FIELD_ATTRIBUTE, "fix length", Choices(kAttributeTexts), TRUE, nullptr, nullptr},
              {IDS_FIELD_VARIANT, "separated by binary 0", Choices(kVariantTexts), TRUE, nullptr, nullptr},
              {IDS_FIELD_RELATED_LENGTH, "", {}, TRUE, nullptr, nullptr},
              {IDS_FIELD_TYPE, "normal data", Choices(kFieldTypeTexts), TRUE, nullptr, nullptr},
              WithID(kCode, IDS_FIELD_TAG)});
    pCategory->Expand();
}

// Hidden grids are laid out too, so that showing another grid needs no layout.
void CPropertiesPane::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    int nTop = 0;
    if (m_wndToolBar.GetSafeHwnd()) {
        const CSize size = m_wndToolBar.CalcDynamicLayout(cx, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
        m_wndToolBar.MoveWindow(0, 0, cx, size.cy, TRUE);
        m_wndToolBar.Invalidate(FALSE);
        nTop = size.cy;
    }
    for (CKLVPropertyGrid* pGrid : {&m_wndProjectGrid, &m_wndPacketGrid, &m_wndFieldGrid, &m_wndBlankGrid}) {
        if (!pGrid->GetSafeHwnd()) continue;
        pGrid->MoveWindow(0, nTop, cx, cy - nTop, TRUE);
        pGrid->Invalidate(FALSE);
    }
}

// Each grid takes the focus in turn; the blank grid keeps it.
void CPropertiesPane::OnSetFocus(CWnd* pOldWnd) {
    CWnd::OnSetFocus(pOldWnd);
    for (CKLVPropertyGrid* pGrid : {&m_wndProjectGrid, &m_wndPacketGrid, &m_wndFieldGrid, &m_wndBlankGrid})
        if (pGrid->GetSafeHwnd()) pGrid->SetFocus();
}
