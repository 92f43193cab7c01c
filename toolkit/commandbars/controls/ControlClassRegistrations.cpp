// The control kinds this library builds, entered in the control class table before main runs.
// The library is linked whole so that this registration runs in any program that links it.
#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/commandbars/controlbase/ControlClassTable.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/commandbars/controls/ControlCustom.h"
#include "toolkit/commandbars/controls/ControlEdit.h"
#include "toolkit/commandbars/controls/ControlGallery.h"
#include "toolkit/commandbars/controls/ControlLabel.h"
#include "toolkit/commandbars/controls/ControlLists.h"

namespace {

// The menu item an OLE container replaces with the verbs of its selected object.
const int kOleVerbsId = 57872;

struct ControlKind {
    int nType;
    int nId;  // 0: any id
    CRuntimeClass* pClass;
    LPCSTR lpszCaption;  // null: any caption
};

// The narrow entries first: the list controls and special menus take the place of the button of
// their id.
const ControlKind kKinds[] = {
    {CKLVControl::typeButton, kOleVerbsId, RUNTIME_CLASS(CKLVControlOleItems), "<<OLE VERBS GO HERE>>"},
    {CKLVControl::typeButton, 35000, RUNTIME_CLASS(CKLVControlWindowList), nullptr},
    {CKLVControl::typeButton, 35002, RUNTIME_CLASS(CKLVControlWorkspaceActions), nullptr},
    {CKLVControl::typeButton, 59392, RUNTIME_CLASS(CKLVControlToolbars), nullptr},
    {CKLVControl::typeButton, 35003, RUNTIME_CLASS(CKLVControlRecentFileList), nullptr},
    {CKLVControl::typeButton, 57616, RUNTIME_CLASS(CKLVControlRecentFileList), nullptr},
    {CKLVControl::typeButton, 0, RUNTIME_CLASS(CKLVControlButton), nullptr},
    {CKLVControl::typePopup, 0, RUNTIME_CLASS(CKLVControlPopup), nullptr},
    {CKLVControl::typeButtonPopup, 0, RUNTIME_CLASS(CKLVControlPopup), nullptr},
    {CKLVControl::typeSplitButtonPopup, 0, RUNTIME_CLASS(CKLVControlPopup), nullptr},
    {CKLVControl::typeComboBox, 0, RUNTIME_CLASS(CKLVControlComboBox), nullptr},
    {CKLVControl::typeEdit, 0, RUNTIME_CLASS(CKLVControlEdit), nullptr},
    {CKLVControl::typeCustom, 0, RUNTIME_CLASS(CKLVControlCustom), nullptr},
    {CKLVControl::typeLabel, 0, RUNTIME_CLASS(CKLVControlLabel), nullptr},
    {CKLVControl::typeCheckBox, 0, RUNTIME_CLASS(CKLVControlCheckBox), nullptr},
    {CKLVControl::typeGallery, 0, RUNTIME_CLASS(CKLVControlGallery), nullptr},
    {CKLVControl::typeRadioButton, 0, RUNTIME_CLASS(CKLVControlRadioButton), nullptr},
};

const struct ControlClassRegistration {
    ControlClassRegistration() {
        for (const ControlKind& kind : kKinds)
            CKLVControlClassTable::Register(kind.nType, kind.nId, kind.pClass, kind.lpszCaption);
    }
} s_registration;

}  // namespace
