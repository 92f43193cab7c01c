#include "toolkit/commandbars/controls/ControlLabel.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/common/StartupRegistrations.h"

KLV_IMPLEMENT_SERIAL(CKLVControlLabel, CKLVControlButton)
KLV_IMPLEMENT_SERIAL(CKLVControlCheckBox, CKLVControlButton)
KLV_IMPLEMENT_SERIAL(CKLVControlRadioButton, CKLVControlButton)

void CKLVControlLabel::OnClick(BOOL bKeyboard, CPoint pt) {
    if (bKeyboard || !IsCustomizeMode() || !IsCustomizeMovable() || !m_pParent) return;
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(-1);
    OnCustomizeMouseDown(pt);
}
