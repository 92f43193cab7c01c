#include "app/OutputEdit.h"

#include "toolkit/commandbars/paint/PaintManager.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(COutputEdit, CEdit)
    ON_WM_CREATE()
    ON_WM_LBUTTONDBLCLK()
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

int COutputEdit::GetLineTotal() const {
    return static_cast<int>(SendMessage(EM_GETLINECOUNT));
}

std::string COutputEdit::GetLineText(int nLine) const {
    const int nStart = LineIndex(nLine);
    if (nLine < 0 || nStart < 0) return std::string();
    const int nLength = LineLength(nStart);
    std::string strText(static_cast<size_t>(nLength) + 2, '\0');
    // EM_GETLINE reads the buffer's first word as its size.
    *reinterpret_cast<WORD*>(&strText[0]) = static_cast<WORD>(std::min(nLength + 2, 0xFFFF));
    const LRESULT nCopied = SendMessage(EM_GETLINE, static_cast<WPARAM>(nLine), reinterpret_cast<LPARAM>(&strText[0]));
    strText.resize(static_cast<size_t>(std::max<LRESULT>(nCopied, 0)));
    return strText;
}

int COutputEdit::GetCaretLine() const {
    DWORD nStart = 0, nEnd = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&nStart), reinterpret_cast<LPARAM>(&nEnd));
    return LineFromChar(static_cast<int>(nStart));
}

void COutputEdit::SelectLine(int nLine) {
    const int nStart = LineIndex(nLine);
    if (nStart < 0) return;
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStart), nStart + LineLength(nStart));
    SendMessage(EM_SCROLLCARET);
}

// The edit selects the word clicked first; the line's place is then gone to.
void COutputEdit::OnLButtonDblClk(UINT, CPoint) {
    Default();
    if (m_onLineActivated) m_onLineActivated(GetCaretLine());
}
