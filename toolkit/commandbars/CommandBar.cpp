#include "toolkit/commandbars/CommandBar.h"

#include "classlib/FrameWnd.h"
#include "toolkit/commandbars/Control.h"
#include "toolkit/commandbars/Controls.h"
#include "toolkit/commandbars/PaintManager.h"

IMPLEMENT_DYNCREATE(CKLVCommandBar, CWnd)

CKLVCommandBar::CKLVCommandBar() : m_pControls(new CKLVControls(this)) {}

CKLVCommandBar::~CKLVCommandBar() {
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
    if (m_pPaintManager) m_pPaintManager->InternalRelease();
}

void CKLVCommandBar::SetControls(CKLVControls* pControls) {
    m_pControls->SetParent(nullptr);
    m_pControls->InternalRelease();
    m_pControls = pControls;
    m_pControls->SetParent(this);
}

BOOL CKLVCommandBar::SetTrackingMode(int bMode, BOOL, BOOL) {
    m_bTracking = bMode;
    if (!bMode) {
        SetPopuped(-1);
        SetSelected(-1);
    }
    return TRUE;
}

BOOL CKLVCommandBar::SetSelected(int nSelected, BOOL bKeyboard) {
    if (nSelected == m_nSelected) return FALSE;
    CKLVControl* pOld = m_pControls->GetAt(m_nSelected);
    m_nSelected = nSelected;
    if (pOld) pOld->SetSelected(FALSE);
    if (CKLVControl* pNew = m_pControls->GetAt(nSelected)) pNew->SetSelected(bKeyboard ? 2 : TRUE);
    return TRUE;
}

BOOL CKLVCommandBar::SetPopuped(int nPopuped, BOOL) {
    if (nPopuped == m_nPopuped) return TRUE;
    if (CKLVControl* pOld = m_pControls->GetAt(m_nPopuped)) {
        m_nPopuped = -1;
        pOld->OnSetPopup(FALSE);
    }
    CKLVControl* pNew = m_pControls->GetAt(nPopuped);
    if (!pNew) return FALSE;
    m_nPopuped = nPopuped;
    if (!pNew->OnSetPopup(TRUE)) {
        m_nPopuped = -1;
        return FALSE;
    }
    return TRUE;
}

void CKLVCommandBar::Redraw(LPCRECT lpRect, BOOL) {
    if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), lpRect, FALSE);
}

CWnd* CKLVCommandBar::GetSite() const {
    if (m_pSiteOverride) return m_pSiteOverride;
    if (m_pOwner) return m_pOwner;
    if (!GetSafeHwnd()) return nullptr;
    if (CWnd* pFrame = GetParentFrame()) return pFrame;
    return GetParent();
}

CKLVCommandBar* CKLVCommandBar::Clone(BOOL bRecursive) {
    auto* pBar = static_cast<CKLVCommandBar*>(GetRuntimeClass()->CreateObject());
    pBar->m_barType = m_barType;
    pBar->m_barPosition = m_barPosition;
    pBar->m_nBarID = m_nBarID;
    pBar->m_nFlags = m_nFlags;
    pBar->m_dwStyle = m_dwStyle;
    pBar->m_strTitle = m_strTitle;
    pBar->m_bCustomizable = m_bCustomizable;
    pBar->m_nMRUWidth = m_nMRUWidth;
    pBar->m_szIcons = m_szIcons;
    pBar->m_szButtons = m_szButtons;
    pBar->m_pCommandBars = m_pCommandBars;
    pBar->m_nDefaultButtonStyle = m_nDefaultButtonStyle;
    pBar->SetControls(m_pControls->Duplicate(bRecursive));
    return pBar;
}

CSize CKLVCommandBar::GetIconSize() const {
    return m_szIcons.cx > 0 ? m_szIcons : CSize(16, 16);
}

CSize CKLVCommandBar::GetButtonSize() const {
    if (m_szButtons.cx > 0) return m_szButtons;
    const CSize szIcon = GetIconSize();
    return CSize(szIcon.cx + 6, szIcon.cy + 6);
}

BOOL CKLVCommandBar::IsLayoutRTL() const {
    return GetSafeHwnd() && (::GetWindowLongPtrA(GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

CKLVPaintManager* CKLVCommandBar::GetPaintManager() const {
    if (m_pPaintManager) return m_pPaintManager;
    if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
    return CKLVPaintManager::GetGlobalPaintManager();
}
