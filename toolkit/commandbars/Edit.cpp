#include "toolkit/commandbars/Edit.h"

#include "classlib/CmdUI.h"
#include "classlib/CommandIds.h"
#include "toolkit/commandbars/RichEditLibrary.h"

#include <richedit.h>

IMPLEMENT_DYNAMIC(CKLVEdit, CEdit)

BOOL CKLVEdit::CreateEdit(DWORD dwStyle, CWnd* pParentWnd) {
    const CKLVRichEditLibrary& library = CKLVRichEditLibrary::Get();
    if (!library.IsLoaded()) return CEdit::Create(dwStyle, CRect(0, 0, 0, 0), pParentWnd, 0);
    if (!CWnd::Create(library.GetWindowClass(), nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, 0)) return FALSE;
    SendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
    SendMessage(EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO);
    return TRUE;
}

int CKLVEdit::PassKeyToEdit(UINT nChar, LPARAM lParam) {
    const BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    const BOOL bEditing = nChar == VK_BACK || (nChar >= VK_PRIOR && nChar <= VK_DELETE) ||
                          (bCtrl && (nChar == 'C' || nChar == 'V' || nChar == 'X' || nChar == 'Z'));
    if (!bEditing) return keyToEdit;
    SendMessage(WM_KEYDOWN, nChar, lParam);
    return keyHandled;
}

BOOL CKLVEdit::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nID != ID_EDIT_COPY && nID != ID_EDIT_CUT && nID != ID_EDIT_PASTE)
        return CEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (nCode == CN_UPDATE_COMMAND_UI) {
        if (pHandlerInfo) return TRUE;
        int nStart = 0, nEnd = 0;
        GetSel(nStart, nEnd);
        static_cast<CCmdUI*>(pExtra)->Enable(nID == ID_EDIT_PASTE ? ::IsClipboardFormatAvailable(CF_TEXT) : nStart != nEnd);
        return TRUE;
    }
    if (nCode != CN_COMMAND) return CEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (pHandlerInfo) return TRUE;
    SendMessage(nID == ID_EDIT_COPY ? WM_COPY : nID == ID_EDIT_CUT ? WM_CUT : WM_PASTE);
    return TRUE;
}

LRESULT CKLVEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_IME_STARTCOMPOSITION: m_bComposing = TRUE; break;
    case WM_IME_ENDCOMPOSITION:
    case WM_KILLFOCUS: m_bComposing = FALSE; break;
    default: break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
