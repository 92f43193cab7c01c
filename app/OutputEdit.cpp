#include "app/OutputEdit.h"

#include "toolkit/commandbars/paint/PaintManager.h"

BEGIN_MESSAGE_MAP(COutputEdit, CEdit)
    ON_WM_CREATE()
END_MESSAGE_MAP()

int COutputEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
    ModifyStyleEx(0, WS_EX_STATICEDGE);
    if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
    CKLVPaintManager* pPaintManager = CKLVPaintManager::GetGlobalPaintManager();
    if (pPaintManager && pPaintManager->m_fontRegular.GetSafeHandle())
        SetFont(&pPaintManager->m_fontRegular, TRUE);
    else
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ModifyStyle(0, WS_VSCROLL | WS_HSCROLL);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(10, 5));
    SendMessage(EM_SETREADONLY, TRUE);
    // A compiler's output may run past the default 32 K characters.
    SendMessage(EM_SETLIMITTEXT, 0);
    return 0;
}

void COutputEdit::AppendText(LPCTSTR lpszText) {
    const int nLength = GetWindowTextLength();
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nLength), -1);
    SendMessage(EM_SCROLLCARET);
    SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lpszText));
}
