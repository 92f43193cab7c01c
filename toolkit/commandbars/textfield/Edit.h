// The toolkit's single-line text field: a rich-edit window in plain-text mode with the clipboard
// commands, and the keys a command bar hands through to it.
#pragma once

#include "classlib/Controls.h"

class CMenu;

class CKLVEdit : public CEdit {
    DECLARE_DYNAMIC(CKLVEdit)
public:
    enum KeyAnswer { keyNotHandled = 0, keyHandled = 1, keyToEdit = 2 };

    // A child of the parent with an empty rectangle and id 0; a plain edit without the library.
    BOOL CreateEdit(DWORD dwStyle, CWnd* pParentWnd);
    // Editing keys (Backspace, paging, arrows, Insert, Delete, Ctrl+C/V/X/Z) are sent to the
    // window now (keyHandled); every other key is left to it (keyToEdit).
    int PassKeyToEdit(UINT nChar, LPARAM lParam);
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // The field's own menu at a screen point (it stands in for the system's edit menu): Cut, Copy
    // and Paste, each enabled as its command is; the chosen one runs on this field.
    BOOL ShowContextMenu(CPoint ptScreen);
    // Copy and cut need a selection, paste text on the clipboard.
    BOOL IsEditCommandEnabled(UINT nID);

    // Between the start and the end of an input-method composition.
    BOOL m_bComposing = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Shows the menu until it closes; the command chosen, 0 for none.
    virtual UINT TrackContextMenu(CMenu* pMenu, CPoint ptScreen);
};
