#include "toolkit/commandbars/CommandBar.h"

#include "toolkit/commandbars/Controls.h"
#include "toolkit/commandbars/PaintManager.h"

CKLVCommandBar::CKLVCommandBar() : m_pControls(new CKLVControls(this)) {}

CKLVCommandBar::~CKLVCommandBar() {
    m_pControls->InternalRelease();
    if (m_pPaintManager) m_pPaintManager->InternalRelease();
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
