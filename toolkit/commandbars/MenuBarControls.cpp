#include "toolkit/commandbars/MenuBarControls.h"

#include "classlib/Dc.h"
#include "classlib/Menu.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/MenuBar.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlMDIButton, CKLVControlButton)
KLV_IMPLEMENT_SERIAL(CKLVControlMDISysMenuPopup, CKLVControlPopup)

namespace {

HWND ActiveMdiChildOf(CKLVCommandBar* pBar) {
    auto* pMenuBar = DYNAMIC_DOWNCAST(CKLVMenuBar, pBar);
    return pMenuBar ? pMenuBar->GetActiveMdiChild() : nullptr;
}

CString MenuItemText(HMENU hMenu, int nIndex) {
    char szText[256] = {};
    ::GetMenuStringA(hMenu, static_cast<UINT>(nIndex), szText, sizeof(szText), MF_BYPOSITION);
    return CString(szText);
}

}  // namespace

CKLVControlMDIButton::CKLVControlMDIButton(UINT nId) {
    m_nId = static_cast<int>(nId);
    m_dwFlags |= buttonFlags;
    m_strCaption = GlyphOf(nId);
    static const char* const kTips[] = {"\nClose Window", "\nRestore Window", "\nMinimize Window"};
    if (nId >= CKLVMenuBar::idMdiClose && nId <= CKLVMenuBar::idMdiMinimize)
        SetPrompt(kTips[nId - CKLVMenuBar::idMdiClose]);
}

const char* CKLVControlMDIButton::GlyphOf(UINT nId) {
    switch (nId) {
    case CKLVMenuBar::idMdiClose: return "r";
    case CKLVMenuBar::idMdiRestore: return "2";
    default: return "0";
    }
}

void CKLVControlMDIButton::OnExecute() {
    HWND hChild = ActiveMdiChildOf(m_pParent);
    if (!hChild) return;
    const WPARAM nCommand = m_nId == static_cast<int>(CKLVMenuBar::idMdiClose)     ? SC_CLOSE
                            : m_nId == static_cast<int>(CKLVMenuBar::idMdiRestore) ? SC_RESTORE
                                                                                   : SC_MINIMIZE;
    ::PostMessageA(hChild, WM_SYSCOMMAND, nCommand, 0);
}

CSize CKLVControlMDIButton::GetSize(CDC*) { return CSize(buttonSize, buttonSize); }

void CKLVControlMDIButton::Draw(CDC* pDC) {
    CKLVPaintManager* pPaintManager = GetPaintManager();
    if (!pPaintManager) return;
    pPaintManager->DrawControlEntry(pDC, this);
    const CKLVPaintManager::CaptionGlyph nGlyph = m_nId == static_cast<int>(CKLVMenuBar::idMdiClose)
                                                      ? CKLVPaintManager::glyphClose
                                                  : m_nId == static_cast<int>(CKLVMenuBar::idMdiRestore)
                                                      ? CKLVPaintManager::glyphRestore
                                                      : CKLVPaintManager::glyphMinimize;
    CKLVPaintManager::DrawCaptionGlyph(pDC, m_rcControl, nGlyph, pPaintManager->GetControlTextColor(this));
}

CKLVControlMDISysMenuPopup::CKLVControlMDISysMenuPopup() {
    m_nType = typePopup;
    m_nId = static_cast<int>(CKLVMenuBar::idMdiSysMenu);
    m_dwFlags |= popupFlags;
    m_strCaption = "-";
    auto* pBar = new CKLVPopupBar;
    pBar->m_bCustomizable = FALSE;
    SetCommandBar(pBar);
    pBar->InternalRelease();
}

CKLVControlMDISysMenuPopup::~CKLVControlMDISysMenuPopup() {
    if (m_hIcon) ::DestroyIcon(m_hIcon);
}

HICON CKLVControlMDISysMenuPopup::FindChildIcon(HWND hChild) {
    auto icon = reinterpret_cast<HICON>(::SendMessageA(hChild, msgGetIcon, 0, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::SendMessageA(hChild, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::SendMessageA(hChild, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(hChild, GCLP_HICONSM));
    if (!icon) icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32517));   // IDI_WINLOGO
    return icon;
}

void CKLVControlMDISysMenuPopup::Build(HWND hChild, HMENU hSysMenu) {
    m_hChild = hChild;
    m_hSysMenu = hSysMenu;
    if (m_hIcon) ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
    if (HICON hSource = hChild ? FindChildIcon(hChild) : nullptr)
        m_hIcon = static_cast<HICON>(::CopyImage(hSource, IMAGE_ICON, iconSize, iconSize, 0));
    CKLVCommandBar* pBar = GetCommandBar();
    if (!pBar) return;
    CKLVControls* pControls = pBar->GetControls();
    pControls->RemoveAll();
    const int nCount = hSysMenu ? ::GetMenuItemCount(hSysMenu) : 0;
    BOOL bBeginGroup = FALSE;
    for (int i = 0; i < nCount; ++i) {
        const UINT nId = ::GetMenuItemID(hSysMenu, i);
        if (::GetMenuState(hSysMenu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) {
            bBeginGroup = TRUE;
            continue;
        }
        CKLVControl* pControl = pControls->Add(typeButton, static_cast<int>(nId));
        if (!pControl) continue;
        pControl->SetCaption(MenuItemText(hSysMenu, i));
        if (nId >= firstSysCommand && nId < endSysCommand) {
            pControl->SetFlags(pControl->GetFlags() | CKLVControl::flagListItem);
            CString strPrompt;
            if (strPrompt.LoadString(PromptIdOf(nId))) pControl->m_strDescriptionText = strPrompt;
        }
        pControl->SetBeginGroup(bBeginGroup);
        bBeginGroup = FALSE;
    }
}

CSize CKLVControlMDISysMenuPopup::GetSize(CDC*) { return CSize(iconSize, iconSize); }

void CKLVControlMDISysMenuPopup::Draw(CDC* pDC) {
    if (!m_hIcon) return;
    ::DrawStateA(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(m_hIcon), 0, m_rcControl.left,
                 m_rcControl.top, iconSize, iconSize, DST_ICON);
}
