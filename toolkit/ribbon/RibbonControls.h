// The ribbon's control collection and the quick access tool bar's. A quick access control is held
// by both: the quick access collection owns one reference, and the ribbon's collection holds a
// second one at its start (right after the system button), so that the ribbon lays out, draws
// and hits it like its other controls. Removing it from either collection removes it from both,
// each releasing its own reference once.
#pragma once

#include "toolkit/commandbars/controlbase/Controls.h"

class CKLVRibbonBar;

class CKLVRibbonControls : public CKLVControls {
    DECLARE_DYNCREATE(CKLVRibbonControls)
public:
    explicit CKLVRibbonControls(CKLVCommandBar* pParent = nullptr) : CKLVControls(pParent) {}

    // The ribbon's own parts stay when the collection is emptied.
    BOOL IsKeepOnRemoveAll(CKLVControl* pControl) const override;
    // Leaves the group, the system button and the quick access tool bar too.
    void OnControlRemoved(CKLVControl* pControl) override;
    // Only the loose controls (in no group, not on the quick access tool bar) are the bar's to
    // save and load; the quick access tool bar saves its own, and loading keeps the rest.
    void DoPropExchange(CKLVPropExchange* pPX) override;

    CKLVRibbonBar* GetRibbonBar() const;
    // Takes out one of the ribbon's own parts, which emptying the collection keeps.
    void RemovePart(CKLVControl* pControl);

private:
    BOOL IsSavedWithBar(CKLVControl* pControl) const;
    BOOL m_bKeepAllButLoose = FALSE;
};

class CKLVRibbonQuickAccessControls : public CKLVControls {
    DECLARE_DYNCREATE(CKLVRibbonQuickAccessControls)
public:
    explicit CKLVRibbonQuickAccessControls(CKLVCommandBar* pParent = nullptr) : CKLVControls(pParent) {}

    void Remove(CKLVControl* pControl) override;
    void OnControlAdded(CKLVControl* pControl) override;
    void OnControlRemoved(CKLVControl* pControl) override;
    // The controls' index and collection are the ribbon's: only the layout is asked for.
    void RefreshIndexes() override;

    // The quick access control with the same id and type that is not hidden (a control wrapped
    // into the more-controls popup still counts); null when none.
    CKLVControl* FindDuplicate(CKLVControl* pControl) const;
    BOOL Contains(const CKLVControl* pControl) const;
    CKLVRibbonBar* GetRibbonBar() const;
    // Takes out one of the ribbon's own parts, which emptying the collection keeps.
    void RemovePart(CKLVControl* pControl);

private:
    // Where the control's second reference stands in the ribbon's collection.
    int RibbonIndexOf(CKLVControl* pControl) const;
};
