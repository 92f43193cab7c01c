// The MDI tab client: attaching to a frame, the tabs kept in step with the MDI children, the
// settings shared by the workspaces and the lookups over all of them.
#include "toolkit/tabs/TabClientWnd.h"

#include "classlib/Document.h"
#include "classlib/ImageList.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/CommandBarsSite.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/tooltips/TooltipHost.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/tabs/TabClientDropTarget.h"

IMPLEMENT_DYNAMIC(CKLVTabClientWnd, CWnd)

namespace {

// The group commands' icons, from the bitmap whose green pixels are transparent.
void RegisterGroupIcons() {
    CBitmap bitmap;
    if (!KLVResourceManager()->LoadBitmap(&bitmap, CKLVTabClientWnd::idGroupBitmap)) return;
    CImageList list;
    if (!list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1)) return;
    list.Add(&bitmap, RGB(0, 255, 0));
    const UINT commands[] = {CKLVTabClientWnd::idNewHorzGroup, CKLVTabClientWnd::idNewVertGroup};
    KLVImageManager()->SetIcons(&list, commands, 2, CSize(16, 16));
}

CString TextAnswer(HWND hWnd, UINT message, WPARAM wParam) {
    const LRESULT lResult = ::SendMessageA(hWnd, message, wParam, 0);
    return lResult ? CString(reinterpret_cast<LPCTSTR>(lResult)) : CString();
}

CDocument* ActiveDocumentOf(HWND hWnd) {
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(hWnd));
    return pFrame ? pFrame->GetActiveDocument() : nullptr;
}

// The show mode of a navigation button, by id, for the client's flags.
int ShowModeFor(UINT nID, DWORD dwFlags) {
    using Button = CKLVTabManagerNavigateButton;
    switch (nID) {
    case Button::idScrollBack:
    case Button::idScrollForward:
        if (!(dwFlags & CKLVTabClientWnd::flagScrollAuto)) return Button::showAlways;
        return (dwFlags & CKLVTabClientWnd::flagNoScroll) ? Button::showNever : Button::showAuto;
    case Button::idClose: return (dwFlags & CKLVTabClientWnd::flagNoClose) ? Button::showNever : Button::showAuto;
    case Button::idTabList: return (dwFlags & CKLVTabClientWnd::flagListButton) ? Button::showAlways : Button::showNever;
    default: return -1;
    }
}

}  // namespace

CKLVTabClientWnd::CKLVTabClientWnd()
    : m_pToolTipContext(std::make_unique<CKLVTooltipHost>()),
      m_pDropTarget(std::make_unique<CKLVTabClientDropTarget>(this)),
      m_nMsgUpdateSkinState(::RegisterWindowMessageA("WM_SKINFRAMEWORK_UPDATESTATE")),
      m_nMsgQuerySkinState(::RegisterWindowMessageA("WM_SKINFRAMEWORK_QUERYSTATE")) {
    m_pPaintManager = new CKLVTabPainter;
    m_pPaintManager->m_bBoldSelected = TRUE;
    m_pPaintManager->AddObserver(this);
    CKLVResourceManager* pResources = KLVResourceManager();
    m_hCursorHoriz = pResources->LoadCursor(9970);
    m_hCursorVert = pResources->LoadCursor(9971);
    m_hCursorNew = pResources->LoadCursor(idDragOverCursor);
    m_hCursorDelete = pResources->LoadCursor(idDragOutsideCursor);
    RegisterGroupIcons();
}

CKLVTabClientWnd::~CKLVTabClientWnd() {
    m_pPaintManager->RemoveObserver(this);
    m_pDropTarget.reset();
    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i) {
        if (m_arrWorkspace[i] == m_pTabWorkspace) {
            m_pTabWorkspace->DeleteAllItems();
            m_pTabWorkspace->m_pClient = nullptr;
        } else {
            delete m_arrWorkspace[i];
        }
    }
    m_arrWorkspace.RemoveAll();
    if (m_hWnd && ::IsWindow(m_hWnd)) UnsubclassWindow();
    m_pPaintManager->InternalRelease();
}

BOOL CKLVTabClientWnd::Attach(CMDIFrameWnd* pFrame, BOOL bEnableGroups) {
    if (m_pFrame || m_hWnd || !pFrame || !pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) return FALSE;
    if (!pFrame->m_hWndMDIClient || !SubclassWindow(pFrame->m_hWndMDIClient)) return FALSE;
    m_bEnableGroups = bEnableGroups;
    SendMessage(m_nMsgUpdateSkinState);
    m_pFrame = pFrame;
    SyncTheme();
    m_pPaintManager->RefreshMetrics();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RecalcFrameLayout();
    if (m_bEnableGroups)
        ::SetClassLongPtrA(m_hWnd, GCL_STYLE, ::GetClassLongPtrA(m_hWnd, GCL_STYLE) | CS_DBLCLKS);
    UpdateContents();
    return TRUE;
}

void CKLVTabClientWnd::SetFlags(DWORD dwFlags) {
    m_dwFlags = dwFlags;
    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i) ApplyFlags(m_arrWorkspace[i]);
    RecalcFrameLayout();
}

void CKLVTabClientWnd::ApplyFlags(CKLVTabWorkspace* pWorkspace) {
    for (int i = 0; i < pWorkspace->GetNavigateButtonCount(); ++i) {
        CKLVTabManagerNavigateButton* pButton = pWorkspace->GetNavigateButton(i);
        const int nMode = ShowModeFor(pButton->m_nID, m_dwFlags);
        if (nMode >= 0) pButton->m_nShowMode = nMode;
    }
    if (m_dwFlags & flagItemCloseAuto)
        pWorkspace->m_nItemCloseMode = CKLVTabManagerNavigateButton::showAuto;
    else if (m_dwFlags & flagItemCloseAlways)
        pWorkspace->m_nItemCloseMode = CKLVTabManagerNavigateButton::showAlways;
}

void CKLVTabClientWnd::EnableToolTips(int nMode) { m_pPaintManager->m_nToolTipMode = nMode; }

int CKLVTabClientWnd::GetItemCount() const {
    int nCount = 0;
    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i) nCount += m_arrWorkspace[i]->GetItemCount();
    return nCount;
}

CKLVTabManagerItem* CKLVTabClientWnd::GetItem(int nIndex) const {
    if (nIndex < 0) return nullptr;
    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i) {
        const int nCount = m_arrWorkspace[i]->GetItemCount();
        if (nIndex < nCount) return m_arrWorkspace[i]->GetItem(nIndex);
        nIndex -= nCount;
    }
    return nullptr;
}

CKLVTabManagerItem* CKLVTabClientWnd::FindItem(HWND hWnd) const {
    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i) {
        CKLVTabWorkspace* pWorkspace = m_arrWorkspace[i];
        for (int j = 0; j < pWorkspace->GetItemCount(); ++j)
            if (pWorkspace->GetItem(j)->GetHandle() == hWnd) return pWorkspace->GetItem(j);
    }
    return nullptr;
}

CKLVTabWorkspace* CKLVTabClientWnd::FindWorkspace(const CKLVTabManagerItem* pItem) const {
    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i)
        if (pItem && pItem->GetTabManager() == m_arrWorkspace[i]) return m_arrWorkspace[i];
    return nullptr;
}

CKLVTabManagerItem* CKLVTabClientWnd::GetActiveTab() const {
    if (!m_hWnd) return nullptr;
    return FindItem(reinterpret_cast<HWND>(::SendMessageA(m_hWnd, WM_MDIGETACTIVE, 0, 0)));
}

CKLVCommandBars* CKLVTabClientWnd::GetCommandBars() const {
    return CKLVCommandBarsSite::CommandBarsOf(m_pFrame);
}

// Through the virtual GetCommandBars(), so that a client given other command bars than its frame's
// follows those.
CKLVCommandBarsLink* CKLVTabClientWnd::GetCommandBarsLink() const {
    return GetCommandBars();
}

void CKLVTabClientWnd::RecalcFrameLayout() {
    if (m_pTabWorkspace) {
        m_pTabWorkspace->RedrawControl(nullptr, FALSE);
        return;
    }
    if (m_pFrame && m_pFrame->GetSafeHwnd()) m_pFrame->RecalcLayout(TRUE);
}

void CKLVTabClientWnd::Reposition() {
    if (m_bDelayLock) m_bForceToRecalc = TRUE;
    else RecalcFrameLayout();
}

// ---------------------------------------------------------------------------------------------
// Keeping the tabs in step with the MDI children.

void CKLVTabClientWnd::UpdateContents() {
    if (!m_hWnd || !m_bShowWorkspace || m_bLockUpdate || !m_pFrame || m_bUpdateContents) return;
    m_bUpdateContents = TRUE;
    SyncTheme();
    m_bDelayLock = TRUE;
    const HWND hWndActive = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, WM_MDIGETACTIVE, 0, 0));

    for (INT_PTR i = 0; i < m_arrWorkspace.GetSize(); ++i)
        for (int j = 0; j < m_arrWorkspace[i]->GetItemCount(); ++j) m_arrWorkspace[i]->GetItem(j)->m_bFound = FALSE;

    CKLVTabManagerItem* pActiveItem = nullptr;
    for (HWND hWndChild = ::GetWindow(m_hWnd, GW_CHILD); hWndChild; hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        const BOOL bVisible = (::GetWindowLongPtrA(hWndChild, GWL_STYLE) & WS_VISIBLE) != 0;
        CKLVTabManagerItem* pItem = FindItem(hWndChild);
        if (pItem && !bVisible) {
            pItem->Remove();
            continue;
        }
        if (!pItem && !bVisible) continue;
        if (pItem) {
            pItem->SetCaption(GetItemText(CWnd::FromHandle(hWndChild)));
        } else {
            pItem = AddItem(CWnd::FromHandle(hWndChild));
            if (!pItem) continue;
            pItem->m_hWnd = hWndChild;
            m_pFrame->SendMessage(msgTabCreated, reinterpret_cast<WPARAM>(pItem), 0);
            pItem->GetTabManager()->SetSelectedItem(pItem);
        }
        pItem->m_bFound = TRUE;
        if (hWndChild == hWndActive) pActiveItem = pItem;
    }

    for (INT_PTR i = m_arrWorkspace.GetSize() - 1; i >= 0; --i) {
        CKLVTabWorkspace* pWorkspace = m_arrWorkspace[i];
        for (int j = pWorkspace->GetItemCount() - 1; j >= 0; --j)
            if (!pWorkspace->GetItem(j)->m_bFound) pWorkspace->DeleteItem(j);
        if (pWorkspace->GetItemCount() == 0) RemoveEmptyWorkspace(static_cast<int>(i));
    }

    if (pActiveItem) {
        CKLVTabWorkspace* pWorkspace = FindWorkspace(pActiveItem);
        if (pWorkspace->GetSelectedItem() != pActiveItem) pWorkspace->SetSelectedItem(pActiveItem);
        if (pWorkspace != m_pActiveWorkspace) {
            if (m_pActiveWorkspace) m_pActiveWorkspace->SetActive(FALSE);
            pWorkspace->SetActive(TRUE);
            m_pActiveWorkspace = pWorkspace;
        }
    }

    m_bDelayLock = FALSE;
    if (m_bForceToRecalc && m_pFrame->GetSafeHwnd() && ::IsWindow(m_pFrame->GetSafeHwnd())) {
        RecalcFrameLayout();
        if (pActiveItem) pActiveItem->GetTabManager()->EnsureVisible(pActiveItem);
    }
    m_bForceToRecalc = FALSE;
    m_bUpdateContents = FALSE;
}

void CKLVTabClientWnd::RemoveEmptyWorkspace(int nIndex) {
    CKLVTabWorkspace* pWorkspace = m_arrWorkspace[nIndex];
    if (m_pActiveWorkspace == pWorkspace) m_pActiveWorkspace = nullptr;
    // The share goes to the previous group, or to the next for the first; a last group has no
    // neighbour to take it.
    const int nNeighbour = nIndex > 0 ? nIndex - 1 : nIndex + 1;
    if (nNeighbour < m_arrWorkspace.GetSize())
        m_arrWorkspace[nNeighbour]->m_dHeight += pWorkspace->m_dHeight + m_nSplitterSize;
    m_arrWorkspace.RemoveAt(nIndex);
    DeleteWorkspace(pWorkspace);
    m_bForceToRecalc = TRUE;
    if (m_bEnableGroups) Invalidate(FALSE);
}

void CKLVTabClientWnd::DeleteWorkspace(CKLVTabWorkspace* pWorkspace) {
    if (pWorkspace == m_pTabWorkspace) return;
    delete pWorkspace;
}

CString CKLVTabClientWnd::GetItemText(CWnd* pChildWnd) const {
    const HWND hWnd = pChildWnd->GetSafeHwnd();
    CString strText = TextAnswer(hWnd, msgGetTabText, 0);
    if (!strText.IsEmpty()) return strText;
    if (CDocument* pDocument = ActiveDocumentOf(hWnd)) return pDocument->GetTitle();
    pChildWnd->GetWindowText(strText);
    return strText;
}

CString CKLVTabClientWnd::GetItemTooltip(const CKLVTabManagerItem* pItem) const {
    if (!pItem->m_strToolTip.IsEmpty()) return pItem->m_strToolTip;
    if (DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(pItem->GetHandle()))) {
        CString strTip = TextAnswer(pItem->GetHandle(), msgGetTabTooltip, reinterpret_cast<WPARAM>(pItem));
        if (!strTip.IsEmpty()) return strTip;
        if (CDocument* pDocument = ActiveDocumentOf(pItem->GetHandle())) return pDocument->GetPathName();
    }
    return pItem->GetCaption();
}

HICON CKLVTabClientWnd::GetItemIcon(const CKLVTabManagerItem* pItem) const {
    const HWND hWnd = pItem->GetHandle();
    if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, msgGetTabIcon, 0, 0))) return hIcon;
    if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_SMALL, 0))) return hIcon;
    if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(hWnd, WM_GETICON, ICON_BIG, 0))) return hIcon;
    if (HICON hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICONSM))) return hIcon;
    if (HICON hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hWnd, GCLP_HICON))) return hIcon;
    return ::LoadIconA(nullptr, IDI_WINLOGO);
}

COLORREF CKLVTabClientWnd::GetItemColor(const CKLVTabManagerItem* pItem) const {
    const LRESULT lColor = ::SendMessageA(pItem->GetHandle(), msgGetTabColor, 0, 0);
    return lColor ? static_cast<COLORREF>(lColor) : COLORREF(-1);
}

CKLVTabWorkspace* CKLVTabClientWnd::CreateWorkspace() {
    if (m_pTabWorkspace) return m_pTabWorkspace;
    if (m_bNoWorkspaces) return nullptr;
    if (m_bEnableGroups) return new CKLVTabWorkspace;
    auto* pWorkspace = new CKLVTabWorkspaceWnd;
    DWORD dwExStyle = 0;
    if ((GetExStyle() & WS_EX_LAYOUTRTL) || m_bRTLWorkspace) dwExStyle |= WS_EX_LAYOUTRTL;
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
    if (!pWorkspace->CreateEx(dwExStyle, lpszClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                              CRect(0, 0, 0, 0), m_pFrame, 0)) {
        delete pWorkspace;
        return nullptr;
    }
    return pWorkspace;
}

CKLVTabWorkspace* CKLVTabClientWnd::AddWorkspace(int nIndex) {
    CKLVTabWorkspace* pWorkspace = CreateWorkspace();
    if (!pWorkspace) return nullptr;
    if (nIndex < 0 || nIndex > m_arrWorkspace.GetSize()) nIndex = static_cast<int>(m_arrWorkspace.GetSize());
    m_arrWorkspace.InsertAt(nIndex, pWorkspace);
    pWorkspace->m_pClient = this;
    pWorkspace->SetActive(FALSE);
    pWorkspace->SetItemMetrics(CSize(70, 0), CSize(0, 0), CSize(220, 0));
    if (!pWorkspace->FindNavigateButton(CKLVTabManagerNavigateButton::idTabList))
        pWorkspace->m_arrNavigateButtons.insert(pWorkspace->m_arrNavigateButtons.begin() + 2,
                                                new CKLVTabWorkspaceListButton(pWorkspace));
    ApplyFlags(pWorkspace);
    m_pDropTarget->RegisterFor(pWorkspace->GetHostWindow());
    m_bForceToRecalc = TRUE;
    return pWorkspace;
}

CKLVTabManagerItem* CKLVTabClientWnd::AddItem(CWnd* pChildWnd) {
    if (m_arrWorkspace.IsEmpty()) AddWorkspace(-1);
    if (m_arrWorkspace.IsEmpty()) return nullptr;
    CKLVTabWorkspace* pWorkspace = m_pActiveWorkspace ? m_pActiveWorkspace : m_arrWorkspace[m_arrWorkspace.GetSize() - 1];
    if (!(pChildWnd->GetExStyle() & WS_EX_MDICHILD)) return nullptr;
    int nIndex = -1;
    if (m_nNewTabPosition == 1) nIndex = 0;
    else if (m_nNewTabPosition == 2 && pWorkspace->GetSelectedItem()) nIndex = pWorkspace->GetCurSel() + 1;
    CKLVTabManagerItem* pItem = pWorkspace->InsertItem(nIndex, nullptr);
    pItem->SetCaption(GetItemText(pChildWnd));
    return pItem;
}

// ---------------------------------------------------------------------------------------------
// Theme and refresh.

void CKLVTabClientWnd::SyncTheme() {
    if (!m_bThemedBackColor) return;
    CKLVCommandBarsLink* pCommandBars = GetCommandBarsLink();
    CKLVPaintManager* pBarPainter = pCommandBars ? pCommandBars->GetPaintManager() : nullptr;
    if (!pBarPainter || pBarPainter->m_nTheme == m_nTheme) return;
    m_nTheme = pBarPainter->m_nTheme;

    CKLVTabPainter* pPainter = m_pPaintManager;
    pPainter->m_bStaticFrame = FALSE;
    pPainter->m_nClientFrame = 0;
    pPainter->m_bShowItemColors = FALSE;
    pPainter->m_bHotTracking = FALSE;
    pPainter->m_rcButtonMargin.SetRectEmpty();
    auto hotWithColors = [pPainter] {
        pPainter->m_bHotTracking = TRUE;
        pPainter->m_bShowItemColors = TRUE;
        pPainter->m_bDisableLunaColors = FALSE;
    };
    switch (m_nTheme) {
    case 1:
        pPainter->SetAppearance(5);
        pPainter->m_bStaticFrame = TRUE;
        pPainter->m_nClientFrame = 1;
        break;
    case 2:
        pPainter->SetAppearance(3);
        hotWithColors();
        break;
    case 3:
        pPainter->SetAppearance(0);
        pPainter->SetColor(8);
        pPainter->m_bHotTracking = TRUE;
        break;
    case 4:
        pPainter->SetAppearance(3);
        pPainter->SetColor(16);
        pPainter->m_bStaticFrame = TRUE;
        pPainter->m_nClientFrame = 1;
        pPainter->m_bDisableLunaColors = TRUE;
        break;
    case 5:
        pPainter->SetAppearance(3);
        pPainter->SetColor(32);
        hotWithColors();
        break;
    case 6:
        pPainter->SetAppearance(10);
        pPainter->m_bHotTracking = TRUE;
        pPainter->m_bDisableLunaColors = FALSE;
        pPainter->m_rcButtonMargin.SetRect(3, 2, 3, 1);
        break;
    default: pPainter->SetAppearance(0); break;
    }
    Refresh(TRUE);
}

void CKLVTabClientWnd::Refresh(BOOL bRecalcLayout) {
    if (m_bRefreshed || !m_hWnd) return;
    m_bRefreshed = TRUE;
    UpdateContents();
    if (!m_arrWorkspace.IsEmpty()) {
        CPoint pt;
        ::GetCursorPos(&pt);
        const INT_PTR nCount = m_bEnableGroups ? m_arrWorkspace.GetSize() : 1;
        for (INT_PTR i = 0; i < nCount; ++i) {
            CWnd* pHost = m_arrWorkspace[i]->GetHostWindow();
            if (!pHost || !pHost->GetSafeHwnd()) continue;
            CPoint ptClient = pt;
            pHost->ScreenToClient(&ptClient);
            m_arrWorkspace[i]->PerformMouseMove(pHost->GetSafeHwnd(), ptClient);
        }
    }
    Invalidate(FALSE);
    if (bRecalcLayout) {
        if (m_bEnableGroups)
            SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (CKLVCommandBarsLink* pCommandBars = GetCommandBarsLink()) pCommandBars->RecalcFrameLayout();
        else RecalcFrameLayout();
    }
    m_bRefreshed = FALSE;
}
