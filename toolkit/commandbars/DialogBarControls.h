// The dialog bar's caption controls: the close button at the right end of the caption and the
// popup control that shows the bar's title and opens the popup bar the application fills.
#pragma once

#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/MenuBarControls.h"

// Drawn with the glyph font like the menu bar's window buttons; hides the bar.
class CKLVDialogBarCloseButton : public CKLVControlMDIButton {
    DECLARE_DYNCREATE(CKLVDialogBarCloseButton)
public:
    enum { closeFlags = 26 };
    CKLVDialogBarCloseButton();
    void OnExecute() override;
};

// The title, with a drop-down arrow while its popup bar holds controls.
class CKLVDialogBarCaptionPopup : public CKLVControlPopup {
    DECLARE_DYNCREATE(CKLVDialogBarCaptionPopup)
public:
    enum { popupFlags = 30 };
    // Where the text ends and where the arrow's tip lies, counted from the right end.
    enum { textGapWithArrow = 15, textGapPlain = 2, arrowInset = 9, textIndent = 3 };

    CKLVDialogBarCaptionPopup();
    // Placed by the bar: its size is its rectangle's.
    CSize GetSize(CDC*) override { return m_rcControl.Size(); }
    void Draw(CDC* pDC) override;

    BOOL m_bShowArrow = FALSE;
};
