#include "toolkit/ribbon/RibbonCaptionControls.h"

#include "classlib/Menu.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/StartupRegistrations.h"
#include "toolkit/ribbon/RibbonBar.h"
#include "toolkit/ribbon/RibbonControls.h"
#include "toolkit/themes/FrameIntegration.h"
#include "toolkit/themes/PaintManagerTheme6.h"

KLV_IMPLEMENT_SERIAL(CKLVRibbonControlSystemButton, CKLVControlPopup)
IMPLEMENT_DYNCREATE(CKLVRibbonControlCaptionButton, CKLVControlButton)
IMPLEMENT_DYNCREATE(CKLVRibbonControlQuickAccessCommand, CKLVControlButton)

CKLVRibbonControlSystemButton::CKLVRibbonControlSystemButton() {
    m_nType = typeButtonPopup;
    m_dwFlags = systemFlags;
}

void CKLVRibbonControlSystemButton::Draw(CDC* pDC) {
    if (auto* pTheme = dynamic_cast<CKLVPaintManagerTheme6*>(GetPaintManager()))
        pTheme->DrawRibbonSystemButton(pDC, this, GetRect());
    else
        CKLVControlPopup::Draw(pDC);
}

BOOL CKLVRibbonControlSystemButton::OnDoubleClick(CPoint) {
    CKLVCommandBarsLink* pLink = m_pParent ? m_pParent->GetCommandBarsLink() : nullptr;
    if (pLink) pLink->ClosePopups();
    if (CWnd* pSite = m_pParent ? m_pParent->GetSite() : nullptr)
        if (pSite->GetSafeHwnd()) pSite->SendMessage(WM_SYSCOMMAND, commandClose, 0);
    return TRUE;
}

CKLVRibbonControlCaptionButton::CKLVRibbonControlCaptionButton(UINT nSysCommand) {
    m_nId = static_cast<int>(nSysCommand);
    m_dwFlags = captionFlags;
}

void CKLVRibbonControlCaptionButton::Draw(CDC* pDC) {
    auto* pTheme = dynamic_cast<CKLVPaintManagerTheme5*>(GetPaintManager());
    if (!pTheme) {
        CKLVControlButton::Draw(pDC);
        return;
    }
    auto* pRibbon = DYNAMIC_DOWNCAST(CKLVRibbonBar, m_pParent);
    CKLVFrameIntegration* pFrame = CKLVPaintManagerTheme6::GetRibbonFrame(pRibbon);
    pTheme->DrawFrameCaptionButton(pDC, GetRect(), static_cast<UINT>(m_nId), GetSelected(), GetPressed(),
                                   pFrame ? pFrame->IsActive() : TRUE);
}

CWnd* CKLVRibbonControlCaptionButton::GetFrame() const {
    CWnd* pSite = m_pParent ? m_pParent->GetSite() : nullptr;
    return pSite && pSite->GetSafeHwnd() ? pSite : nullptr;
}

CString CKLVRibbonControlCaptionButton::GetTooltip() const {
    CWnd* pFrame = GetFrame();
    HMENU hMenu = pFrame ? ::GetSystemMenu(pFrame->GetSafeHwnd(), FALSE) : nullptr;
    if (!hMenu) return CString();
    // Any length of text: the buffer is the string's own.
    const int nLength = ::GetMenuStringA(hMenu, static_cast<UINT>(m_nId), nullptr, 0, MF_BYCOMMAND);
    if (nLength <= 0) return CString();
    CString strText;
    ::GetMenuStringA(hMenu, static_cast<UINT>(m_nId), strText.GetBuffer(nLength + 1), nLength + 1, MF_BYCOMMAND);
    strText.ReleaseBuffer();
    const int nTab = strText.Find('\t');
    return nTab < 0 ? strText : strText.Left(nTab);
}

void CKLVRibbonControlCaptionButton::OnExecute() {
    if (CWnd* pFrame = GetFrame()) pFrame->PostMessage(WM_SYSCOMMAND, static_cast<WPARAM>(m_nId), 0);
}

CKLVRibbonControlQuickAccessCommand::CKLVRibbonControlQuickAccessCommand(CKLVRibbonQuickAccessControls* pQuickAccess,
                                                                         CKLVControl* pCommand)
    : m_pQuickAccess(pQuickAccess), m_pCommand(pCommand) {
    m_pCommand->InternalAddRef();
    m_strCaption = pCommand->GetCaption();
    m_bChecked = IsOnToolBar();
}

CKLVRibbonControlQuickAccessCommand::~CKLVRibbonControlQuickAccessCommand() {
    if (m_pCommand) m_pCommand->InternalRelease();
}

BOOL CKLVRibbonControlQuickAccessCommand::IsOnToolBar() const {
    return m_pQuickAccess && m_pCommand && m_pQuickAccess->FindDuplicate(m_pCommand) ? TRUE : FALSE;
}

void CKLVRibbonControlQuickAccessCommand::OnExecute() {
    if (!m_pQuickAccess || !m_pCommand) return;
    if (CKLVControl* pMatch = m_pQuickAccess->FindDuplicate(m_pCommand)) {
        m_pQuickAccess->Remove(pMatch);
    } else {
        CKLVControl* pClone = m_pQuickAccess->AddClone(m_pCommand);
        pClone->SetHideFlag(CKLVControl::hideCustomize, FALSE);
    }
    m_bChecked = IsOnToolBar();
    if (CKLVCommandBar* pRibbon = m_pQuickAccess->GetParent()) pRibbon->OnRecalcLayout();
}
