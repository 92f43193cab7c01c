// The combo box's drop-down bars: keys on the open list, the list box window, opening below the
// combo box and the saved items.
#include "toolkit/commandbars/controls/ControlComboBoxList.h"

#include "classlib/Dc.h"
#include "classlib/WinThread.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/HeldReference.h"
#include "toolkit/common/MouseHook.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/StartupRegistrations.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

KLV_IMPLEMENT_SERIAL(CKLVControlComboBoxPopupBar, CKLVPopupBar)
KLV_IMPLEMENT_SERIAL(CKLVControlComboBoxList, CKLVControlComboBoxPopupBar)

namespace {

constexpr long nMaxItems = 0x7FFF;

CString ItemName(long nIndex) {
    CString strName;
    strName.Format("Item%ld", nIndex);
    return strName;
}

}  // namespace

int CKLVControlComboBoxPopupBar::OnHookKeyDown(UINT nChar, LPARAM lParam) {
    CKLVControlComboBox* pComboBox = m_pControlComboBox;
    switch (nChar) {
    case VK_ESCAPE:
        if (pComboBox && pComboBox->IsFocused()) return pComboBox->OnHookKeyDown(nChar, lParam) ? hookKeyHandled : hookKeyPass;
        return CKLVPopupBar::OnHookKeyDown(nChar, lParam);
    case VK_TAB: return hookKeyPass;
    case VK_RETURN: return OnReturnKey();
    default: break;
    }
    if (!pComboBox) return hookKeyPass;
    return ProcessHookKeyDown(pComboBox, nChar, lParam) ? hookKeyHandled : hookKeyPass;
}

// ---------------------------------------------------------------------------------------------
// The list box.

CKLVControlComboBoxList::CKLVControlComboBoxList() { m_barPosition = barListBox; }

BOOL CKLVControlComboBoxList::CreateListBox() {
    if (GetSafeHwnd()) return TRUE;
    const DWORD dwStyle = (m_dwStyle & ~static_cast<DWORD>(styleGripper)) | static_cast<DWORD>(listStyle) | LBS_NOTIFY |
                          LBS_NOINTEGRALHEIGHT;
    return CreateEx(listExStyle, "LISTBOX", "", dwStyle, CRect(0, 0, 0, 0), nullptr, 0);
}

int CKLVControlComboBoxList::GetCount() const {
    return GetSafeHwnd() ? static_cast<int>(::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)) : 0;
}

int CKLVControlComboBoxList::AddString(const CString& strText) {
    if (!CreateListBox()) return LB_ERR;
    return static_cast<int>(::SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText))));
}

int CKLVControlComboBoxList::GetCurSel() const {
    return GetSafeHwnd() ? static_cast<int>(::SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0)) : LB_ERR;
}

int CKLVControlComboBoxList::FindString(int nStart, const CString& strText) const {
    if (!GetSafeHwnd()) return LB_ERR;
    return static_cast<int>(::SendMessageA(m_hWnd, LB_FINDSTRING, static_cast<WPARAM>(nStart),
                                           reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText))));
}

int CKLVControlComboBoxList::FindStringExact(int nStart, const CString& strText) const {
    if (!GetSafeHwnd()) return LB_ERR;
    return static_cast<int>(::SendMessageA(m_hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(nStart),
                                           reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText))));
}

void CKLVControlComboBoxList::SetTopIndex(int nIndex) {
    if (GetSafeHwnd()) ::SendMessageA(m_hWnd, LB_SETTOPINDEX, static_cast<WPARAM>(nIndex), 0);
}

void CKLVControlComboBoxList::SetCurSel(int nIndex) {
    if (GetSafeHwnd()) ::SendMessageA(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
}

void CKLVControlComboBoxList::GetText(int nIndex, CString& strText) const {
    strText.Empty();
    if (!GetSafeHwnd()) return;
    const LRESULT nLength = ::SendMessageA(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength == LB_ERR) return;
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
    ::SendMessageA(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(buffer.data()));
    strText = buffer.data();
}

BOOL CKLVControlComboBoxList::ProcessHookKeyDown(CKLVControlComboBox* pComboBox, UINT nChar, LPARAM lParam) {
    const BOOL bAlt = ::GetKeyState(VK_MENU) < 0;
    const int nSelected = GetCurSel();
    if (!pComboBox->GetEditCtrl()) {
        if ((nChar == VK_F4 && !bAlt) || ((nChar == VK_UP || nChar == VK_DOWN) && bAlt)) return FALSE;
        DefWindowProc(WM_KEYDOWN, nChar, lParam);
        if (CWinThread* pThread = AfxGetThread()) pThread->OnIdle(0);
    } else {
        if (bAlt || (nChar != VK_UP && nChar != VK_DOWN && nChar != VK_PRIOR && nChar != VK_NEXT)) return FALSE;
        DefWindowProc(WM_KEYDOWN, nChar, lParam);
    }
    if (GetCurSel() != nSelected) {
        pComboBox->OnSelChanged();
        if (CKLVControlEditCtrl* pEdit = pComboBox->GetEditCtrl())
            if (pEdit->GetSafeHwnd()) pEdit->SetSel(0, -1);
    }
    return TRUE;
}

int CKLVControlComboBoxList::OnReturnKey() {
    if (m_pControlComboBox) m_pControlComboBox->OnExecute();
    return hookKeyHandled;
}

BOOL CKLVControlComboBoxList::Popup(CKLVControlPopup* pControlPopup, BOOL /*bSelectFirst*/) {
    auto* pComboBox = DYNAMIC_DOWNCAST(CKLVControlComboBox, pControlPopup);
    if (!pComboBox || !CreateListBox()) return FALSE;
    CKLVHeldReference hold(this);
    m_pControlPopup = pControlPopup;
    m_pControlComboBox = pComboBox;
    if (CKLVPaintManager* pPaintManager = pComboBox->GetPaintManager())
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pPaintManager->m_fontRegular.GetSafeHandle()), FALSE);
    if (CWnd* pOwner = GetOwnerSite())
        if (pOwner->GetSafeHwnd()) pOwner->SendMessage(msgPopupOpening, 0, reinterpret_cast<LPARAM>(this));
    CKLVCommandBarsLink* pCommandBars = GetOwnerLink();
    if (pCommandBars && pCommandBars->IsLayoutRTL())
        ModifyStyleEx(0x400000, rtlExStyles);
    else
        ModifyStyleEx(rtlExStyles, 0);
    SetTrackingMode(TRUE, FALSE, FALSE);
    const int nRows = std::min(std::max(GetCount(), 1), std::max(pComboBox->m_nDropDownItemCount, 1));
    const int nItemHeight = static_cast<int>(::SendMessageA(m_hWnd, LB_GETITEMHEIGHT, 0, 0));
    const CSize sz(m_nWidth > 0 ? m_nWidth : pComboBox->GetRect().Width(), nRows * nItemHeight + 4);
    UpdateFromParentControl();
    const CRect rc = CalcPopupRect(sz);
    SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EnableWindow(TRUE);
    return TRUE;
}

BOOL CKLVControlComboBoxList::SetTrackingMode(int bMode, BOOL bSelectFirst, BOOL bKeyboard) {
    CKLVHeldReference hold(this);
    if (!CKLVCommandBar::SetTrackingMode(bMode, bSelectFirst, bKeyboard)) return FALSE;
    CKLVControlComboBox* pComboBox = m_pControlComboBox;
    if (bMode) {
        KLVMouseHook()->m_nLock++;
        if (pComboBox) {
            pComboBox->SyncListWithText();
            pComboBox->NotifySite(CBN_DROPDOWN);
        }
        return TRUE;
    }
    if (pComboBox) pComboBox->NotifySite(CBN_CLOSEUP);
    KLVMouseHook()->m_nLock--;
    if (GetSafeHwnd()) ShowWindow(SW_HIDE);
    CKLVCommandBar* pParentBar = GetParentCommandBar();
    CKLVControlPopup* pControlPopup = m_pControlPopup;
    if (pParentBar && pControlPopup && pParentBar->m_nPopuped == pControlPopup->GetIndex()) pParentBar->SetPopuped(-1);
    // A focused combo box keeps its bar tracking for its field.
    if (pParentBar && pComboBox && !pComboBox->IsFocused()) pParentBar->SetTrackingMode(FALSE);
    m_pControlPopup = nullptr;
    m_pControlComboBox = nullptr;
    return TRUE;
}

BOOL CKLVControlComboBoxList::DestroyWindow() {
    if (m_bTracking) SetTrackingMode(FALSE);
    return CWnd::DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// The list box's messages.

LRESULT CKLVControlComboBoxList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: OnListMouseMove(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return 0;
    case WM_LBUTTONUP:
        if (CKLVControlComboBox* pComboBox = m_pControlComboBox) {
            CKLVHeldReference hold(pComboBox);
            pComboBox->OnSelChanged();
            pComboBox->OnExecute();
        }
        return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCPAINT: {
        const LRESULT lResult = DefWindowProc(message, wParam, lParam);
        DrawFrame();
        return lResult;
    }
    case WM_PRINT:
    case WM_PRINTCLIENT: {
        CRect rc;
        GetClientRect(&rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, ::GetSysColorBrush(COLOR_WINDOW));
        return DefWindowProc(message, wParam, lParam);
    }
    case WM_CREATE:
    case WM_DESTROY:
    case WM_NCDESTROY: return CKLVPopupBar::WindowProc(message, wParam, lParam);
    default: return DefWindowProc(message, wParam, lParam);
    }
}

void CKLVControlComboBoxList::OnListMouseMove(CPoint pt) {
    CRect rc;
    GetClientRect(&rc);
    if (rc.PtInRect(pt)) {
        const LRESULT lHit = ::SendMessageA(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
        const int nItem = LOWORD(lHit);
        if (!HIWORD(lHit) && nItem != GetCurSel()) SetCurSel(nItem);
    }
    CKLVPopupBar::WindowProc(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

void CKLVControlComboBoxList::DrawFrame() {
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.TopLeft());
    CBrush brushOuter(GetColorManager()->GetColor(43));
    dc.FrameRect(&rc, &brushOuter);
    rc.DeflateRect(1, 1);
    CBrush brushInner(::GetSysColor(COLOR_WINDOW));
    dc.FrameRect(&rc, &brushInner);
}

// ---------------------------------------------------------------------------------------------
// Saved items.

void CKLVControlComboBoxList::DoPropExchange(CKLVPropExchange* pPX) {
    CKLVPopupBar::DoPropExchange(pPX);
    ExchangeItems(pPX);
}

void CKLVControlComboBoxList::ExchangeItems(CKLVPropExchange* pPX) {
    CKLVPropExchangeSection pSection(pPX->OpenSection("Items"));
    if (!pSection) return;
    long nCount = GetCount();
    PX_Long(pSection.get(), "Count", nCount, 0);
    if (pPX->IsStoring()) {
        for (long i = 0; i < nCount; ++i) {
            CString strItem;
            GetText(static_cast<int>(i), strItem);
            PX_String(pSection.get(), ItemName(i), strItem, "");
        }
        return;
    }
    // A damaged count loads nothing; the items come in only once all are read.
    if (nCount < 0 || nCount > nMaxItems) return;
    std::vector<CString> items(static_cast<size_t>(nCount));
    for (long i = 0; i < nCount; ++i) PX_String(pSection.get(), ItemName(i), items[static_cast<size_t>(i)], "");
    for (const CString& strItem : items) AddString(strItem);
}

void CKLVControlComboBoxList::Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive) {
    CKLVPopupBar::Copy(pCommandBar, bRecursive);
    auto* pSource = DYNAMIC_DOWNCAST(CKLVControlComboBoxList, pCommandBar);
    if (!pSource || pSource == this || !CreateListBox()) return;
    ::SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < pSource->GetCount(); ++i) {
        CString strItem;
        pSource->GetText(i, strItem);
        AddString(strItem);
    }
}
