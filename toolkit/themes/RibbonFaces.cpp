#include "toolkit/themes/RibbonFaces.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/interfaces/ControlRoster.h"

const CKLVRibbonGroupFace* CKLVRibbonGroupFace::Of(const CKLVControl* pControl) {
    // Groups are the only rosters that name controls.
    return dynamic_cast<const CKLVRibbonGroupFace*>(pControl->m_pRibbonRoster);
}
