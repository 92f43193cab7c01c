#include "toolkit/commandbars/textfield/Edit.h"

#include "classlib/CmdUI.h"
#include "classlib/CommandIds.h"
#include "classlib/Menu.h"
#include "toolkit/commandbars/tooltips/RichEditLibrary.h"

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
    if (static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI) {
        if (pHandlerInfo) return TRUE;
        static_cast<CCmdUI*>(pExtra)->Enable(IsEditCommandEnabled(nID));
        return TRUE;
    }
    if (nCode != CN_COMMAND) return CEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (pHandlerInfo) return TRUE;
    SendMessage(nID == ID_EDIT_COPY ? WM_COPY : nID == ID_EDIT_CUT ? WM_CUT : WM_PASTE);
    return TRUE;
}

BOOL CKLVEdit::IsEditCommandEnabled(UINT nID) {
    if (nID == ID_EDIT_PASTE) return ::IsClipboardFormatAvailable(CF_TEXT);
    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    return nStart != nEnd;
}

BOOL CKLVEdit::ShowContextMenu(CPoint ptScreen) {
    CMenu menu;
    if (!menu.CreatePopupMenu()) return FALSE;
    const struct {
        UINT nID;
        LPCSTR pszText;
    } items[] = {{ID_EDIT_CUT, "Cu&t"}, {ID_EDIT_COPY, "&Copy"}, {ID_EDIT_PASTE, "&Paste"}};
    for (const auto& item : items)
        menu.AppendMenu(MF_STRING | (IsEditCommandEnabled(item.nID) ? 0 : MF_GRAYED), item.nID, item.pszText);
    const UINT nCommand = TrackContextMenu(&menu, ptScreen);
    if (nCommand && IsWindow(m_hWnd)) OnCmdMsg(nCommand, CN_COMMAND, nullptr, nullptr);
    return TRUE;
}

UINT CKLVEdit::TrackContextMenu(CMenu* pMenu, CPoint ptScreen) {
    return static_cast<UINT>(::TrackPopupMenu(pMenu->GetSafeHmenu(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                              ptScreen.x, ptScreen.y, 0, m_hWnd, nullptr));
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
