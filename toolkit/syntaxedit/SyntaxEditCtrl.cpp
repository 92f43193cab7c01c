// The edit control's settings, its public operations on the text and the notifications it
// sends to its parent.
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"

#include "toolkit/common/DrawHelpers.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CKLVSyntaxEditCtrl, CWnd)

namespace {

const LPCTSTR kSection = "Settings";

struct CBoolSetting {
    LPCTSTR lpszKey;
    BOOL CKLVSyntaxEditCtrl::*pMember;
};

const CBoolSetting kBoolSettings[] = {
    {"VScrollBar", &CKLVSyntaxEditCtrl::m_bVertScrollBar}, {"HScrollBar", &CKLVSyntaxEditCtrl::m_bHorzScrollBar},
    {"SyntaxColor", &CKLVSyntaxEditCtrl::m_bSyntaxColor},  {"AutoIndent", &CKLVSyntaxEditCtrl::m_bAutoIndent},
    {"SelMargin", &CKLVSyntaxEditCtrl::m_bSelMargin},      {"LineNumbers", &CKLVSyntaxEditCtrl::m_bLineNumbers},
    {"WideCaret", &CKLVSyntaxEditCtrl::m_bWideCaret},      {"TabWithSpace", &CKLVSyntaxEditCtrl::m_bTabWithSpace},
};

}  // namespace

CString GetModuleDirectory() {
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(AfxGetInstanceHandle(), szPath, MAX_PATH);
    CString strPath(szPath);
    const int nSlash = strPath.ReverseFind('\\');
    if (nSlash > 0) strPath = strPath.Left(nSlash + 1);
    return strPath;
}

CKLVSyntaxEditCtrl::CKLVSyntaxEditCtrl() {
    CKLVDrawHelpers::RegisterWndClass(nullptr, "TarvoshSyntaxEditor", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    LoadSettings();
    m_strConfigFile = GetModuleDirectory() + "SyntaxEdit.ini";
    m_siHorz.cbSize = sizeof m_siHorz;
}

CKLVSyntaxEditCtrl::~CKLVSyntaxEditCtrl() {
    if (m_pBuffer && m_pBuffer->GetLexParser()) m_pBuffer->GetLexParser()->StopParserThread();
    m_sink.UnadviseAll();
    m_screenCache.RemoveAll();
    m_pAnchorBlock.reset();
    if (m_hWnd) DestroyWindow();
    if (m_pBuffer) m_pBuffer->InternalRelease();
    m_pBuffer = nullptr;
}

BOOL CKLVSyntaxEditCtrl::LoadSettings() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return FALSE;
    for (const CBoolSetting& setting : kBoolSettings)
        this->*setting.pMember = pApp->GetProfileInt(kSection, setting.lpszKey, this->*setting.pMember);
    // The tab size lives in the buffer: without this, only the control the change was made in
    // would show it.
    if (m_pBuffer) m_pBuffer->LoadSettings();
    return TRUE;
}

BOOL CKLVSyntaxEditCtrl::SetSetting(LPCTSTR lpszKey, BOOL bValue, BOOL& bMember, BOOL bSave) {
    bMember = bValue;
    if (!bSave) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->WriteProfileInt(kSection, lpszKey, bValue);
}

BOOL CKLVSyntaxEditCtrl::SetScrollBars(BOOL bHorz, BOOL bVert, BOOL bSave) {
    BOOL bResult = SetSetting("HScrollBar", bHorz, m_bHorzScrollBar, bSave);
    bResult = SetSetting("VScrollBar", bVert, m_bVertScrollBar, bSave) && bResult;
    if (m_hWnd)
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, (bHorz ? WS_HSCROLL : 0) | (bVert ? WS_VSCROLL : 0), SWP_FRAMECHANGED);
    return bResult;
}

BOOL CKLVSyntaxEditCtrl::SetSyntaxColor(BOOL bOn, BOOL bSave) {
    const BOOL bResult = SetSetting("SyntaxColor", bOn, m_bSyntaxColor, bSave);
    m_screenCache.RemoveAll();
    if (m_pBuffer) m_pBuffer->EnableSyntaxColoring(bOn);
    return bResult;
}

BOOL CKLVSyntaxEditCtrl::SetSelMargin(BOOL bOn, BOOL bSave) {
    const BOOL bResult = SetSetting("SelMargin", bOn, m_bSelMargin, bSave);
    RecalcMargins();
    m_nDirtyRow = -1;
    SetCaretScreenPos(FALSE);
    if (m_hWnd) Invalidate(TRUE);
    return bResult;
}

BOOL CKLVSyntaxEditCtrl::SetLineNumbers(BOOL bOn, BOOL bSave) {
    const BOOL bResult = SetSetting("LineNumbers", bOn, m_bLineNumbers, bSave);
    RecalcMargins();
    SetCaretScreenPos(TRUE);
    return bResult;
}

BOOL CKLVSyntaxEditCtrl::SetWideCaret(BOOL bOn, BOOL bSave) {
    const BOOL bChanged = m_bWideCaret != bOn;
    const BOOL bResult = SetSetting("WideCaret", bOn, m_bWideCaret, bSave);
    if (bChanged) SetCaretScreenPos(FALSE);
    return bResult;
}

BOOL CKLVSyntaxEditCtrl::SetTabSize(int nSize, BOOL bSave) {
    if (!m_pBuffer || !m_pBuffer->SetTabSize(nSize, bSave)) return FALSE;
    UpdateCaretColumns();
    SetCaretScreenPos(FALSE);
    return TRUE;
}

int CKLVSyntaxEditCtrl::GetRowCount() const {
    if (!m_pBuffer || m_pBuffer->GetRowCount() == 0) return 0;
    return m_pBuffer->GetRowCount() - 1;
}

void CKLVSyntaxEditCtrl::SetCurRow(int nRow) {
    nRow = std::min(nRow, GetRowCount());
    m_nCurRow = std::max(nRow, 1);
    if (m_nCurRow < m_nFirstVisibleRow || m_nCurRow > m_nLastVisibleRow) UpdateScrollBars();
}

BOOL CKLVSyntaxEditCtrl::SetTopRow(int nRow) {
    if (nRow > GetRowCount()) return FALSE;
    m_nTopRow = nRow;
    return TRUE;
}

BOOL CKLVSyntaxEditCtrl::SetDirtyRow(int nRow) {
    if (nRow > GetRowCount()) return FALSE;
    m_nDirtyRow = nRow;
    return TRUE;
}

const CString& CKLVSyntaxEditCtrl::GetRowText(int nRow) {
    m_strRowText.Empty();
    if (!m_pBuffer) return m_strRowText;
    m_pBuffer->GetLineText(nRow, m_strRowText);
    if (const CKLVSyntaxEditCollapsedData* pData = GetCollapsedData(nRow))
        if (pData->block.lcStart.nCol < m_strRowText.GetLength())
            m_strRowText = m_strRowText.Left(std::max(pData->block.lcStart.nCol, 0));
    return m_strRowText;
}

void CKLVSyntaxEditCtrl::UpdateCaretColumns() {
    m_nDispCol = CharPosToColumn(GetRowText(m_nCurRow), m_nCurCharPos);
    m_nPrefCol = m_nDispCol;
}

void CKLVSyntaxEditCtrl::SetCaretPos(int nRow, int nCol) {
    m_nCurRow = std::max(nRow, 1);
    m_nCurCharPos = std::max(nCol, 1);
}

LRESULT CKLVSyntaxEditCtrl::SetCurPos(int nRow, int nCol, BOOL bKeepSelection, BOOL bRedraw) {
    SetCurRow(std::min(nRow, GetRowCount()));
    m_nDispCol = nCol;
    m_nCurCharPos = NormalizeColumn(m_nCurRow, m_nDispCol);
    m_nPrefCol = m_nDispCol;
    if (!bKeepSelection) {
        BOOL bInvalidate = FALSE;
        if (m_bSelection) {
            m_bSelection = FALSE;
            m_nDirtyRow = -1;
            bInvalidate = TRUE;
        }
        EnsureVisible(m_nCurRow, m_nDispCol, bInvalidate, bRedraw);
    } else {
        if (!bRedraw) return 0;
        SetCaretScreenPos(TRUE);
    }
    if (m_hWnd) UpdateWindow();
    return NotifyValue(KLVSEN_LAYOUT, 3);
}

int CKLVSyntaxEditCtrl::GetVisibleRowCount() const {
    if (GetRowHeight() <= 0 || !m_hWnd) return 0;
    CRect rc;
    GetClientRect(&rc);
    return rc.Height() / GetRowHeight();
}

BOOL CKLVSyntaxEditCtrl::CanEdit() {
    KLVSE_NMVALUE nm{};
    return SendNotify(KLVSEN_CANEDIT, &nm.hdr, GetDlgCtrlIDSafe()) == 0;
}

UINT CKLVSyntaxEditCtrl::CalcGrowthStep(int nRowFrom, int nRowTo) const {
    return static_cast<UINT>(((std::abs(nRowFrom - nRowTo) * m_nBytesPerRow) / 1024 + 1) * 1024);
}

UINT_PTR CKLVSyntaxEditCtrl::GetDlgCtrlIDSafe() const {
    return m_hWnd ? static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd)) : 0;
}

LRESULT CKLVSyntaxEditCtrl::SendNotify(int nCode, NMHDR* pHdr, UINT_PTR idFrom) {
    HWND hParent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!hParent || !::IsWindow(hParent)) return nCode == KLVSEN_CANEDIT ? -1 : 0;
    pHdr->hwndFrom = m_hWnd;
    pHdr->idFrom = idFrom;
    pHdr->code = static_cast<UINT>(nCode);
    return ::SendMessageA(hParent, WM_NOTIFY, idFrom, reinterpret_cast<LPARAM>(pHdr));
}

LRESULT CKLVSyntaxEditCtrl::NotifyValue(int nCode, int nValue) {
    KLVSE_NMVALUE nm{};
    nm.nValue = nValue;
    return SendNotify(nCode, &nm.hdr, GetDlgCtrlIDSafe());
}

LRESULT CKLVSyntaxEditCtrl::NotifyRows(int nCode, int nRow1, int nRow2, int nFlags) {
    KLVSE_NMROWS nm{};
    nm.nRow1 = nRow1;
    nm.nRow2 = nRow2;
    nm.nFlags = nFlags;
    return SendNotify(nCode, &nm.hdr, GetDlgCtrlIDSafe());
}

void CKLVSyntaxEditCtrl::NotifyTextChanged(int nRow1, int nRow2, int nFlags) {
    if (m_pBuffer && (nFlags & 3)) {
        m_pBuffer->GetLineMarksManager()->RefreshLineMarks(nRow1, nRow2, (nFlags & 2) ? 2 : 1);
        m_nDirtyRow = -1;
        if (m_hWnd) Invalidate(FALSE);
    }
    NotifyRows(KLVSEN_TEXTCHANGED, nRow1, nRow2, nFlags);
}

void CKLVSyntaxEditCtrl::BreakParse() {
    if (m_bSyntaxColor && m_pBuffer && m_pBuffer->GetLexParser()) m_pBuffer->GetLexParser()->BreakParse();
}

void CKLVSyntaxEditCtrl::InsertText(LPCSTR lpszText, int nRow, int nCharPos, BOOL bDeleteSelection, BOOL bRedraw) {
    if (!m_pBuffer || !CanEdit()) return;
    if (nRow != m_nCurRow) SetCurRow(nRow);
    m_nCurCharPos = nCharPos;
    if (bDeleteSelection) DeleteSelection(bRedraw);
    if (!lpszText || !*lpszText) return;
    const int nStartRow = m_nCurRow, nStartPos = m_nCurCharPos;
    {
        CKLVSyntaxEditLexRequestBatch requests(m_pBuffer->GetLexParser());
        BreakParse();
        if (m_bAutoIndent && m_nVirtualCol >= 1) {
            CString strFill = CString('\t', m_nVirtualTabs) + CString(' ', m_nVirtualSpaces);
            CKLVSyntaxEditPosition posFill;
            if (!strFill.IsEmpty() && m_pBuffer->InsertText(strFill, m_nCurRow, m_nCurCharPos, &posFill))
                m_nCurCharPos = posFill.nCol;
            m_nVirtualCol = 0;
        }
        InsertAtCaret(lpszText, FALSE, bDeleteSelection);
        NoteInsertion(nStartRow, nStartPos);
    }
    ReportInsertion(nStartRow, m_nCurRow > nStartRow ? 5 : 4, bRedraw);
}

void CKLVSyntaxEditCtrl::InsertAtCaret(LPCSTR lpszText, BOOL bBlock, BOOL bChain) {
    CKLVSyntaxEditPosition posEnd;
    const BOOL bInserted = bBlock ? m_pBuffer->InsertTextBlock(lpszText, m_nCurRow, m_nCurCharPos, &posEnd)
                                  : m_pBuffer->InsertText(lpszText, m_nCurRow, m_nCurCharPos, &posEnd);
    if (!bInserted) return;
    if (bChain) m_pBuffer->GetUndoManager()->ChainLastCommand();
    m_nCurRow = posEnd.nLine;
    m_nCurCharPos = posEnd.nCol;
    UpdateCaretColumns();
}

void CKLVSyntaxEditCtrl::NoteInsertion(int nStartRow, int nStartPos) {
    UpdateScrollBars();
    RedrawRanges(nStartRow, nStartPos, m_nCurRow, m_nCurCharPos, 1);
}

void CKLVSyntaxEditCtrl::ReportInsertion(int nStartRow, int nFlags, BOOL bRedraw) {
    NotifyTextChanged(nStartRow, m_nCurRow, nFlags);
    if (bRedraw) {
        SetCaretScreenPos(TRUE);
        if (m_hWnd) UpdateWindow();
    }
}

void CKLVSyntaxEditCtrl::UndoRedo(int nCount, BOOL bUndo) {
    if (!m_pBuffer) return;
    CKLVSyntaxEditUndoManager* pUndo = m_pBuffer->GetUndoManager();
    if (!(bUndo ? pUndo->CanUndo() : pUndo->CanRedo()) || !CanEdit()) return;
    m_bSelection = FALSE;
    m_nVirtualCol = 0;
    BOOL bOneRow = TRUE;
    for (int i = 0; i < nCount && (bUndo ? pUndo->CanUndo() : pUndo->CanRedo()); ++i) {
        CKLVSyntaxEditPosition posStart, posEnd;
        const DWORD dwFlags = bUndo ? pUndo->Undo(posStart, posEnd, this) : pUndo->Redo(posStart, posEnd, this);
        bOneRow = bOneRow && posStart.nLine == posEnd.nLine;
        m_screenCache.DropFrom(std::max(posStart.nLine, 1));
        NotifyTextChanged(posStart.nLine, posEnd.nLine, static_cast<int>(dwFlags & 7));
    }
    UpdateCaretColumns();
    UpdateScrollBars();
    if (nCount >= 2) {
        m_nDirtyRow = -1;
        NormalizeColumn(m_nCurRow, m_nDispCol);
        SetCaretScreenPos(TRUE);
    }
    if (nCount == 1 && bOneRow) {
        m_nDirtyRow = m_nCurRow;
    } else {
        m_nDirtyRow = -1;
        if (m_nCurRow > GetRowCount()) {
            m_nCurRow = std::max(GetRowCount(), 1);
            m_nCurCharPos = m_nDispCol = m_nPrefCol = 1;
        }
    }
    if ((m_nCurRow >= 1 && m_nCurCharPos >= 1) || m_nDirtyRow == -1) EnsureVisible(m_nCurRow, m_nDispCol, FALSE, TRUE);
    if (m_hWnd) UpdateWindow();
    NotifyValue(KLVSEN_LAYOUT, 7);
    NotifyValue(KLVSEN_MODIFIED, m_pBuffer->IsModified());
    if (m_hWnd) Invalidate(FALSE);
}

BOOL CKLVSyntaxEditCtrl::CanUndo() const {
    return m_pBuffer && m_pBuffer->GetUndoManager()->CanUndo();
}

BOOL CKLVSyntaxEditCtrl::CanRedo() const {
    return m_pBuffer && m_pBuffer->GetUndoManager()->CanRedo();
}

void CKLVSyntaxEditCtrl::SetRowBkColor(int nRow, COLORREF clr) {
    if (clr == RGB(255, 255, 255))
        m_mapRowBkColors.erase(nRow);
    else
        m_mapRowBkColors[nRow] = clr;
}

void CKLVSyntaxEditCtrl::SetRowColor(int nRow, COLORREF clr) {
    if (clr == 0)
        m_mapRowColors.erase(nRow);
    else
        m_mapRowColors[nRow] = clr;
}

BOOL CKLVSyntaxEditCtrl::GetRowBkColor(int nRow, COLORREF& clr) const {
    auto it = m_mapRowBkColors.find(nRow);
    if (it == m_mapRowBkColors.end()) return FALSE;
    clr = it->second;
    return TRUE;
}

BOOL CKLVSyntaxEditCtrl::GetRowColor(int nRow, COLORREF& clr) const {
    auto it = m_mapRowColors.find(nRow);
    if (it == m_mapRowColors.end()) return FALSE;
    clr = it->second;
    return TRUE;
}

void CKLVSyntaxEditCtrl::SetFont(const LOGFONT* pLogFont, BOOL bSave) {
    CKLVSyntaxEditPaintManager* pPaint = GetPaintManager();
    if (pLogFont) pPaint->SetFont(*pLogFont, bSave);
    if (!m_hWnd) return;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pPaint->GetTextFont()->m_hObject), 0);
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(pPaint->GetTextFont());
    dc.GetTextMetrics(&m_tm);
    dc.SelectObject(pOld);
    m_tm.tmHeight += 1;
    RecalcMargins();
    m_nDirtyRow = -1;
    Invalidate(FALSE);
}

BOOL CKLVSyntaxEditCtrl::SetConfigFile(LPCSTR lpszPath) {
    m_strConfigFile = lpszPath;
    const DWORD dwAttributes = ::GetFileAttributesA(lpszPath);
    if (!m_pBuffer || dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    m_pBuffer->SetConfigFile(lpszPath);
    return TRUE;
}

CString CKLVSyntaxEditCtrl::GetConfigFile() const {
    return m_pBuffer ? m_pBuffer->GetConfigFile() : CString();
}

void CKLVSyntaxEditCtrl::CopySettingsFrom(CKLVSyntaxEditCtrl* pOther) {
    if (!pOther || !::IsWindow(pOther->GetSafeHwnd())) return;
    m_nCurRow = pOther->m_nCurRow;
    m_nCurCharPos = pOther->m_nCurCharPos;
    m_nDispCol = m_nPrefCol = pOther->m_nDispCol;
    m_mapRowBkColors = pOther->m_mapRowBkColors;
    m_mapRowColors = pOther->m_mapRowColors;
    SetSelMargin(pOther->m_bSelMargin, FALSE);
    SetLineNumbers(pOther->m_bLineNumbers, FALSE);
    m_bShowWhiteSpace = pOther->m_bShowWhiteSpace;
    SetTabWithSpace(pOther->m_bTabWithSpace, FALSE);
    SetAutoIndent(pOther->m_bAutoIndent, FALSE);
    SetSyntaxColor(pOther->m_bSyntaxColor, FALSE);
    m_screenCache.RemoveAll();
    UpdateScrollBars();
    SetHorzScrollPos(0);
}

int CKLVSyntaxEditCtrl::CalcPageCount() {
    const int nUsable = m_szPrintPage.cy - (m_rcPrintMargins.top + m_rcPrintMargins.bottom);
    int nTextHeight = 0;
    {
        CClientDC dc(nullptr);
        CFont* pOld = dc.SelectObject(GetPaintManager()->GetTextFont());
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        dc.SelectObject(pOld);
        nTextHeight = tm.tmHeight;
    }
    const int nLinesPerPage = nTextHeight > 0 ? nUsable / nTextHeight - 1 : 0;
    const int nRows = GetVisibleRowNumber(-1);
    m_nPageCount = nLinesPerPage > 0 ? nRows / nLinesPerPage + (nRows % nLinesPerPage ? 1 : 0) : 1;
    m_nPageCount = std::max(m_nPageCount, 1);
    return m_nPageCount;
}

BOOL CKLVSyntaxEditCtrl::IsWideCaretActive() const {
    return m_bWideCaret && m_pBuffer && m_pBuffer->GetOverwriteFlag();
}

BOOL CKLVSyntaxEditCtrl::HasRowMark(int nRow, LPCSTR lpszKind, CKLVSyntaxEditLineMarkValue* pValue) const {
    return m_pBuffer && m_pBuffer->GetLineMarksManager()->HasMark(nRow, lpszKind, pValue);
}

void CKLVSyntaxEditCtrl::ToggleMark(int nRow, LPCSTR lpszKind) {
    if (!m_pBuffer) return;
    m_pBuffer->GetLineMarksManager()->ToggleMark(nRow, lpszKind);
    m_nDirtyRow = -1;
    if (m_hWnd) Invalidate(FALSE);
}
