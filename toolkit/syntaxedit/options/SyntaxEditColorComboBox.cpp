#include "toolkit/syntaxedit/options/SyntaxEditColorComboBox.h"

#include "toolkit/common/ColorManager.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

namespace {

struct StandardColor {
    UINT nIDName;
    COLORREF clr;
};

const StandardColor kStandardColors[] = {
    {9900, RGB(0, 0, 0)},       {9939, RGB(255, 255, 255)}, {9941, RGB(128, 0, 0)},     {9903, RGB(0, 128, 0)},
    {9942, RGB(128, 128, 0)},   {9905, RGB(0, 0, 128)},     {9944, RGB(128, 0, 128)},   {9912, RGB(0, 128, 128)},
    {9931, RGB(192, 192, 192)}, {9915, RGB(128, 128, 128)}, {9916, RGB(255, 0, 0)},     {9911, RGB(0, 255, 0)},
    {9926, RGB(255, 255, 0)},   {9913, RGB(0, 0, 255)},     {9924, RGB(255, 0, 255)},   {9928, RGB(0, 255, 255)},
};

const int kSwatchSize = 11;
const int kTextGap = 4;

int ItemHeight() { return ::GetSystemMetrics(SM_CYVTHUMB) - ::GetSystemMetrics(SM_CYEDGE); }

COLORREF SysColor(int nIndex) { return GetColorManager()->GetColor(static_cast<UINT>(nIndex)); }

// A resource string up to its first line feed (the rest is a tip text).
CString LoadFirstLine(UINT nID) {
    CString str;
    KLVResourceManager()->LoadString(&str, nID);
    const int nBreak = str.Find('\n');
    return nBreak >= 0 ? str.Left(nBreak) : str;
}

}  // namespace

IMPLEMENT_DYNAMIC(CKLVSyntaxEditColorComboBox, CKLVSyntaxEditTipComboBox)

BEGIN_MESSAGE_MAP(CKLVSyntaxEditColorComboBox, CKLVSyntaxEditTipComboBox)
    ON_WM_CREATE()
    ON_WM_MOUSEWHEEL()
    ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnCloseUp)
END_MESSAGE_MAP()

BOOL CKLVSyntaxEditColorComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    m_bFillOnSubclass = 0;
    return CKLVSyntaxEditTipComboBox::Create(dwStyle, rect, pParentWnd, nID);
}

void CKLVSyntaxEditColorComboBox::PreSubclassWindow() {
    CKLVSyntaxEditTipComboBox::PreSubclassWindow();
    if (m_bFillOnSubclass) ResetColors();
}

int CKLVSyntaxEditColorComboBox::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CKLVSyntaxEditTipComboBox::OnCreate(lpCreateStruct) == -1) return -1;
    ResetColors();
    return 0;
}

void CKLVSyntaxEditColorComboBox::ResetColors() {
    SetItemHeight(-1, static_cast<UINT>(ItemHeight()));
    ResetContent();
    for (const StandardColor& color : kStandardColors) AddColor(color.clr, color.nIDName);
    SetCurSel(0);
}

int CKLVSyntaxEditColorComboBox::AddColor(COLORREF clr, UINT nIDName) {
    CString strName;
    KLVResourceManager()->LoadString(&strName, nIDName);
    if (strName.IsEmpty()) return -1;
    const int nIndex = AddString(strName);
    if (nIndex < 0) return -1;
    SetItemData(nIndex, clr);
    return nIndex;
}

void CKLVSyntaxEditColorComboBox::NotifyParent(UINT nCode) {
    CWnd* pOwner = GetOwner();
    if (pOwner && pOwner->m_hWnd)
        pOwner->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), reinterpret_cast<LPARAM>(m_hWnd));
}

int CKLVSyntaxEditColorComboBox::GetDroppedSelection() {
    if (!GetDroppedState()) return -1;
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetComboBoxInfo(m_hWnd, &info) || !info.hwndList) return -1;
    return static_cast<int>(::SendMessageA(info.hwndList, LB_GETCURSEL, 0, 0));
}

COLORREF CKLVSyntaxEditColorComboBox::GetSelectedColor() {
    const int nSel = GetCurSel();
    return nSel < 0 ? COLORREF(-1) : static_cast<COLORREF>(GetItemData(nSel));
}

int CKLVSyntaxEditColorComboBox::FindColor(COLORREF clr) {
    const int nCount = GetCount();
    for (int i = 0; i < nCount; ++i)
        if (static_cast<COLORREF>(GetItemData(i)) == clr) return i;
    return -1;
}

int CKLVSyntaxEditColorComboBox::SetSpecialColor(COLORREF& clrMember, COLORREF clr, LPCTSTR lpszText, UINT nIDDefault,
                                                 int nInsertAt) {
    const CString strText = lpszText ? CString(lpszText) : LoadFirstLine(nIDDefault);
    if (clr == COLORREF(-1)) {
        clrMember = COLORREF(-1);
        const int nIndex = FindStringExact(-1, strText);
        return nIndex < 0 ? -1 : DeleteString(static_cast<UINT>(nIndex));
    }
    int nIndex = clrMember != COLORREF(-1) ? FindStringExact(-1, strText) : -1;
    if (nIndex < 0) nIndex = nInsertAt < 0 ? AddString(strText) : InsertString(nInsertAt, strText);
    if (nIndex < 0) return -1;
    SetItemData(nIndex, clr);
    clrMember = clr;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return nIndex;
}

int CKLVSyntaxEditColorComboBox::SetCustomColor(COLORREF clr, LPCTSTR lpszText) {
    return SetSpecialColor(m_clrCustom, clr, lpszText, KLV_IDS_SYNTAXEDIT_CUSTOMCOLOR, -1);
}

int CKLVSyntaxEditColorComboBox::SetAutoColor(COLORREF clr, LPCTSTR lpszText) {
    return SetSpecialColor(m_clrAuto, clr, lpszText, KLV_IDS_SYNTAXEDIT_AUTOCOLOR, 0);
}

int CKLVSyntaxEditColorComboBox::SelectColor(COLORREF clr) {
    int nIndex = FindColor(clr);
    if (nIndex < 0) nIndex = SetCustomColor(clr);
    return nIndex < 0 ? -1 : SetCurSel(nIndex);
}

int CKLVSyntaxEditColorComboBox::ChooseColor() {
    static COLORREF s_custColors[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = m_hWnd;
    cc.rgbResult = GetSelectedColor();
    cc.lpCustColors = s_custColors;
    cc.Flags = CC_RGBINIT;
    if (!::ChooseColorA(&cc)) return -1;
    if (FindColor(cc.rgbResult) < 0)
        SetCustomColor(cc.rgbResult);
    else
        SetCustomColor(COLORREF(-1));
    return SelectColor(cc.rgbResult);
}

int CKLVSyntaxEditColorComboBox::CompareColors(COLORREF clr1, COLORREF clr2) {
    if (clr1 == clr2) return 0;
    const int nSum1 = GetRValue(clr1) + GetGValue(clr1) + GetBValue(clr1);
    const int nSum2 = GetRValue(clr2) + GetGValue(clr2) + GetBValue(clr2);
    if (nSum1 != nSum2) return nSum1 < nSum2 ? -1 : 1;
    if (GetBValue(clr1) > GetBValue(clr2)) return -1;
    if (GetGValue(clr1) > GetGValue(clr2)) return -1;
    return GetRValue(clr1) > GetRValue(clr2) ? -1 : 1;
}

int CKLVSyntaxEditColorComboBox::CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
    return CompareColors(static_cast<COLORREF>(lpCompareItemStruct->itemData1),
                         static_cast<COLORREF>(lpCompareItemStruct->itemData2));
}

BOOL CKLVSyntaxEditColorComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_COMPAREITEM) return CKLVSyntaxEditTipComboBox::OnChildNotify(message, wParam, lParam, pResult);
    const int nResult = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
    if (pResult) *pResult = nResult;
    return TRUE;
}

void CKLVSyntaxEditColorComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    lpMeasureItemStruct->itemWidth = 0;
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(ItemHeight());
}

void CKLVSyntaxEditColorComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->itemID == static_cast<UINT>(-1)) return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const BOOL bDisabled = (lpDrawItemStruct->itemState & ODS_DISABLED) != 0;
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    COLORREF clrText = SysColor(COLOR_WINDOWTEXT), clrBack = SysColor(COLOR_WINDOW), clrFill = clrBack;
    if (bDisabled) {
        clrText = SysColor(COLOR_GRAYTEXT);
        clrBack = clrFill = SysColor(COLOR_BTNFACE);
    } else if (bSelected) {
        clrText = SysColor(COLOR_HIGHLIGHTTEXT);
        clrFill = SysColor(COLOR_HIGHLIGHT);
    }
    CRect rcItem(lpDrawItemStruct->rcItem);
    pDC->FillSolidRect(rcItem, clrFill);
    if ((lpDrawItemStruct->itemState & ODS_FOCUS) && !bDisabled) pDC->DrawFocusRect(rcItem);

    rcItem.DeflateRect(2, 2);
    const CRect rcSwatch(rcItem.left, rcItem.top, rcItem.left + kSwatchSize, rcItem.top + kSwatchSize);
    const COLORREF clrSwatch = bDisabled ? SysColor(COLOR_BTNFACE) : static_cast<COLORREF>(lpDrawItemStruct->itemData);
    pDC->FillSolidRect(rcSwatch, clrSwatch);
    const COLORREF clrFrame = bDisabled ? SysColor(COLOR_GRAYTEXT) : SysColor(COLOR_WINDOWTEXT);
    pDC->Draw3dRect(rcSwatch, clrFrame, clrFrame);

    CString strText;
    GetLBText(static_cast<int>(lpDrawItemStruct->itemID), strText);
    CRect rcText(rcItem);
    rcText.left = rcSwatch.right + kTextGap;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = pDC->SetTextColor(clrText);
    const COLORREF clrOldBack = pDC->SetBkColor(clrBack);
    pDC->DrawText(strText, rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkColor(clrOldBack);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkMode(nOldMode);
}

BOOL CKLVSyntaxEditColorComboBox::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN) return CKLVSyntaxEditTipComboBox::PreTranslateMessage(pMsg);
    const BOOL bDropped = GetDroppedState();
    switch (pMsg->wParam) {
    case VK_RETURN:
    case VK_SPACE:
        if (!bDropped) break;
        m_nPendingSel = GetDroppedSelection();
        ShowDropDown(FALSE);
        NotifyParent(CBN_SELENDOK);
        return TRUE;
    case VK_ESCAPE:
        if (!bDropped) break;
        ShowDropDown(FALSE);
        NotifyParent(CBN_SELENDCANCEL);
        return TRUE;
    case VK_UP:
    case VK_DOWN:
        if (bDropped) break;
        m_nPendingSel = GetCurSel();
        ShowDropDown(TRUE);
        return TRUE;
    default:
        break;
    }
    return CKLVSyntaxEditTipComboBox::PreTranslateMessage(pMsg);
}

BOOL CKLVSyntaxEditColorComboBox::OnCloseUp() {
    if (m_nPendingSel != -1 && m_nPendingSel != GetCurSel()) SetCurSel(m_nPendingSel);
    m_nPendingSel = -1;
    return FALSE;   // the parent hears of it too
}

BOOL CKLVSyntaxEditColorComboBox::OnMouseWheel(UINT, short, CPoint) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!GetDroppedState() || !::GetComboBoxInfo(m_hWnd, &info) || !info.hwndList) return static_cast<BOOL>(Default());
    // The list scrolls by itself; drawing it once afterwards avoids a flicker per step.
    ::SendMessageA(info.hwndList, WM_SETREDRAW, FALSE, 0);
    const BOOL bResult = static_cast<BOOL>(Default());
    ::SendMessageA(info.hwndList, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(info.hwndList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    return bResult;
}

void DDX_ColorCombo(CDataExchange* pDX, int nIDC, COLORREF& value) {
    const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    auto* pCombo = DYNAMIC_DOWNCAST(CKLVSyntaxEditColorComboBox, CWnd::FromHandlePermanent(hWndCtrl));
    if (!pCombo) return;
    if (pDX->m_bSaveAndValidate)
        value = pCombo->GetSelectedColor();
    else
        pCombo->SelectColor(value);
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CKLVSyntaxEditColorSample, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_ENABLE()
END_MESSAGE_MAP()

CKLVSyntaxEditColorSample::CKLVSyntaxEditColorSample() {
    ReadSystemColors();
}

void CKLVSyntaxEditColorSample::SetTextColor(COLORREF clr) {
    m_clrText.SetCustomValue(clr);
    RedrawNow();
}

void CKLVSyntaxEditColorSample::SetBackColor(COLORREF clr) {
    m_clrBack.SetCustomValue(clr);
    RedrawNow();
}

void CKLVSyntaxEditColorSample::RedrawNow() {
    if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME | RDW_ALLCHILDREN);
}

void CKLVSyntaxEditColorSample::OnSysColorChange() {
    ReadSystemColors();
    Invalidate();
}

void CKLVSyntaxEditColorSample::ReadSystemColors() {
    m_clrBack.SetStandardValue(::GetSysColor(COLOR_WINDOW));
    m_clrText.SetStandardValue(::GetSysColor(COLOR_WINDOWTEXT));
    m_clrBorder.SetStandardValue(::GetSysColor(COLOR_3DDKSHADOW));
}

void CKLVSyntaxEditColorSample::OnEnable(BOOL) {
    RedrawNow();
}

BOOL CKLVSyntaxEditColorSample::OnEraseBkgnd(CDC*) {
    return TRUE;   // OnPaint fills everything
}

void CKLVSyntaxEditColorSample::OnPaint() {
    CPaintDC dc(this);
    Draw(&dc);
}

void CKLVSyntaxEditColorSample::Draw(CDC* pDC) {
    CDC& dc = *pDC;
    const BOOL bEnabled = IsWindowEnabled();
    const COLORREF clrBack = bEnabled ? static_cast<COLORREF>(m_clrBack) : ::GetSysColor(COLOR_BTNFACE);
    const COLORREF clrText = bEnabled ? static_cast<COLORREF>(m_clrText) : ::GetSysColor(COLOR_GRAYTEXT);
    const COLORREF clrBorder = bEnabled ? static_cast<COLORREF>(m_clrBorder) : ::GetSysColor(COLOR_GRAYTEXT);
    CRect rc;
    GetClientRect(rc);
    dc.Draw3dRect(rc, clrBorder, clrBorder);
    rc.DeflateRect(1, 1);
    dc.Draw3dRect(rc, clrBack, clrBack);
    rc.DeflateRect(1, 1);
    dc.FillSolidRect(rc, clrBack);

    CString strText;
    GetWindowText(strText);
    CFont* pOldFont = dc.SelectObject(GetFont());
    dc.SetTextColor(clrText);
    dc.SetBkColor(clrBack);
    dc.SetBkMode(OPAQUE);
    dc.DrawText(strText, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(pOldFont);
}
