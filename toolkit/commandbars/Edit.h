// The toolkit's single-line text field: a rich-edit window in plain-text mode with the clipboard
// commands, and the keys a command bar hands through to it.
#pragma once

#include "classlib/Controls.h"

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

    // Between the start and the end of an input-method composition.
    BOOL m_bComposing = FALSE;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
