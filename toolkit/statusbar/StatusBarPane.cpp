// One pane of the status bar: what it shows, its width, and the child control it may carry.
#include "toolkit/statusbar/StatusBar.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ImageManagerIcon.h"

IMPLEMENT_DYNAMIC(CKLVStatusBarPane, CCmdTarget)

CKLVStatusBarPane::~CKLVStatusBarPane() {
    if (m_hwndChild && ::IsWindow(m_hwndChild)) {
        // A child attached to a class-library object goes with that object when the pane owns it.
        CWnd* pChild = CWnd::FromHandlePermanent(m_hwndChild);
        ::DestroyWindow(m_hwndChild);
        if (m_bAutoDeleteWnd) delete pChild;
    }
}

CFont* CKLVStatusBarPane::GetTextFont() {
    if (m_fntText.GetSafeHandle()) return &m_fntText;
    return m_pStatusBar ? &m_pStatusBar->m_fontStatus : nullptr;
}

CKLVImageManagerIcon* CKLVStatusBarPane::GetImage() const {
    if (m_nIconId == -1) return nullptr;
    CKLVCommandBars* pCommandBars = m_pStatusBar ? m_pStatusBar->GetCommandBars() : nullptr;
    CKLVImageManager* pImageManager = pCommandBars ? pCommandBars->GetImageManager() : KLVImageManager();
    return pImageManager ? pImageManager->GetImage(static_cast<UINT>(m_nIconId), 16) : nullptr;
}

void CKLVStatusBarPane::Draw(CDC* pDC, CRect rc) {
    if (!m_pStatusBar || !m_pStatusBar->IsThemed()) return;
    if (CKLVStatusBarPainter* pPainter = m_pStatusBar->GetPaintManager())
        pPainter->DrawStatusBarPaneEntry(pDC, rc, GetLook());
}

KLVStatusPaneLook CKLVStatusBarPane::GetLook() {
    KLVStatusPaneLook look;
    look.pText = &m_strText;
    look.bDisabled = (m_nStyle & styleDisabled) != 0;
    look.bNoBorders = (m_nStyle & styleNoBorders) != 0;
    look.bDrawContent = !look.bDisabled || !m_pStatusBar || m_pStatusBar->IsDrawDisabledText();
    look.clrText = m_clrText;
    look.clrBackground = m_clrBackground;
    if (look.bDrawContent) {
        look.pFont = GetTextFont();
        look.rcMargins = GetMargins();
        look.nAlignment = GetTextAlignment();
        look.pImage = GetImage();
    }
    return look;
}

void CKLVStatusBarPane::FitWidthToText() {
    CClientDC dc(nullptr);
    CKLVFontDC font(&dc, GetTextFont());
    int cx = m_strText.IsEmpty() ? 0 : dc.GetTextExtent(m_strText).cx;
    cx += m_rcMargins.left + m_rcMargins.right;
    if (CKLVImageManagerIcon* pImage = GetImage()) cx += pImage->GetWidth() + (m_strText.IsEmpty() ? 0 : 2);
    m_cxText = cx;
}
