// The control class table as the linked program fills it: each type, and the ids and captions
// that take a kind of their own, make the control class that serves them.
#include "ControlTestSupport.h"

#include "toolkit/commandbars/controlbase/ControlClassTable.h"
#include "toolkit/commandbars/controls/ControlComboBox.h"
#include "toolkit/commandbars/controls/ControlCustom.h"
#include "toolkit/commandbars/controls/ControlEdit.h"
#include "toolkit/commandbars/controls/ControlGallery.h"
#include "toolkit/commandbars/controls/ControlLabel.h"
#include "toolkit/commandbars/controls/ControlLists.h"

namespace {

struct KindCase {
    int nType;
    int nId;
    const char* pszCaption;
    CRuntimeClass* pExpected;  // null: no class serves it
};

const KindCase kKinds[] = {
    {CKLVControl::typeButton, 1, "", RUNTIME_CLASS(CKLVControlButton)},
    {CKLVControl::typeButton, 35000, "", RUNTIME_CLASS(CKLVControlWindowList)},
    {CKLVControl::typeButton, 35001, "", RUNTIME_CLASS(CKLVControlButton)},
    {CKLVControl::typeButton, 35002, "", RUNTIME_CLASS(CKLVControlWorkspaceActions)},
    {CKLVControl::typeButton, 35003, "", RUNTIME_CLASS(CKLVControlRecentFileList)},
    {CKLVControl::typeButton, 57616, "", RUNTIME_CLASS(CKLVControlRecentFileList)},
    {CKLVControl::typeButton, 59392, "", RUNTIME_CLASS(CKLVControlToolbars)},
    // The OLE verbs' id is a plain button unless the menu item carries the placeholder caption.
    {CKLVControl::typeButton, 57872, "", RUNTIME_CLASS(CKLVControlButton)},
    {CKLVControl::typeButton, 57872, "<<OLE VERBS GO HERE>>", RUNTIME_CLASS(CKLVControlOleItems)},
    {CKLVControl::typeButton, 1, "<<OLE VERBS GO HERE>>", RUNTIME_CLASS(CKLVControlButton)},
    // An id of a list control does not make another type that kind.
    {CKLVControl::typeComboBox, 35000, "", RUNTIME_CLASS(CKLVControlComboBox)},
    {CKLVControl::typePopup, 35003, "", RUNTIME_CLASS(CKLVControlPopup)},
    {CKLVControl::typeButtonPopup, 2, "", RUNTIME_CLASS(CKLVControlPopup)},
    {CKLVControl::typeSplitButtonPopup, 2, "", RUNTIME_CLASS(CKLVControlPopup)},
    {CKLVControl::typeEdit, 2, "", RUNTIME_CLASS(CKLVControlEdit)},
    {CKLVControl::typeCustom, 2, "", RUNTIME_CLASS(CKLVControlCustom)},
    {CKLVControl::typeLabel, 2, "", RUNTIME_CLASS(CKLVControlLabel)},
    {CKLVControl::typeCheckBox, 2, "", RUNTIME_CLASS(CKLVControlCheckBox)},
    {CKLVControl::typeGallery, 2, "", RUNTIME_CLASS(CKLVControlGallery)},
    {CKLVControl::typeRadioButton, 2, "", RUNTIME_CLASS(CKLVControlRadioButton)},
    {CKLVControl::typeNone, 1, "", nullptr},
    {CKLVControl::typeRadioButton + 1, 1, "", nullptr},
    {-1, 0, "", nullptr},
};

TEST(ControlClassTable, EachTypeIdAndCaptionMakesItsKind) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(testing::Message() << "type " << c.nType << ", id " << c.nId << ", caption " << c.pszCaption);
        EXPECT_EQ(CKLVControlClassTable::Find(c.nType, c.nId, c.pszCaption), c.pExpected);
        // The bars make a control by type through the table, and take its type.
        if (*c.pszCaption) continue;
        CKLVCommandBar bar;
        CKLVControl* pControl = bar.GetControls()->Add(c.nType, c.nId);
        if (!c.pExpected) {
            EXPECT_EQ(pControl, nullptr);
            EXPECT_EQ(bar.GetControls()->GetCount(), 0);
            continue;
        }
        ASSERT_NE(pControl, nullptr);
        EXPECT_EQ(pControl->GetRuntimeClass(), c.pExpected);
        EXPECT_EQ(pControl->GetType(), c.nType);
    }
}

TEST(ControlClassTable, ChangingATypeMakesTheNewTypesKind) {
    const struct {
        int nFrom, nTo, nId;
        CRuntimeClass* pExpected;
    } kChanges[] = {
        {CKLVControl::typeButton, CKLVControl::typeComboBox, 7, RUNTIME_CLASS(CKLVControlComboBox)},
        {CKLVControl::typeEdit, CKLVControl::typeButton, 35000, RUNTIME_CLASS(CKLVControlWindowList)},
        {CKLVControl::typeButton, CKLVControl::typePopup, 7, RUNTIME_CLASS(CKLVControlPopup)},
        // No class serves the new type: the control stays as it was.
        {CKLVControl::typeLabel, CKLVControl::typeNone, 7, RUNTIME_CLASS(CKLVControlLabel)},
    };
    for (const auto& c : kChanges) {
        SCOPED_TRACE(testing::Message() << c.nFrom << " -> " << c.nTo);
        CKLVCommandBar bar;
        ASSERT_NE(bar.GetControls()->Add(c.nFrom, c.nId), nullptr);
        bar.GetControls()->SetControlType(0, c.nTo);
        ASSERT_EQ(bar.GetControls()->GetCount(), 1);
        EXPECT_EQ(bar.GetControls()->GetAt(0)->GetRuntimeClass(), c.pExpected);
        EXPECT_EQ(bar.GetControls()->GetAt(0)->GetId(), c.nId);
    }
}

}  // namespace
