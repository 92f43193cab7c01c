#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include "classlib/FrameWnd.h"
#include "classlib/SplitterWnd.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"
#include "toolkit/syntaxedit/view/SyntaxEditDoc.h"

IMPLEMENT_DYNCREATE(CKLVSyntaxEditView, CView)

BEGIN_MESSAGE_MAP(CKLVSyntaxEditView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_VSCROLL, OnScrollMessage)
    ON_MESSAGE(WM_HSCROLL, OnScrollMessage)
    ON_WM_SETFOCUS()
    ON_WM_ERASEBKGND()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_CLEAR, OnEditDelete)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(ID_EDIT_FIND, OnEditFind)
    ON_COMMAND(ID_EDIT_REPLACE, OnEditReplace)
    ON_COMMAND(ID_EDIT_REPEAT, OnEditRepeat)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateNeedSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE, OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REPEAT, OnUpdateEditRepeat)
END_MESSAGE_MAP()

namespace {

const char kSection[] = "Settings";

}  // namespace

CKLVSyntaxEditView::CKLVSyntaxEditView() {
    if (CWinApp* pApp = AfxGetApp()) {
        m_bHorzScrollBar = pApp->GetProfileInt(kSection, "HScrollBar", m_bHorzScrollBar);
        m_bVertScrollBar = pApp->GetProfileInt(kSection, "VScrollBar", m_bVertScrollBar);
    }
}

CKLVSyntaxEditView::~CKLVSyntaxEditView() {
    m_pExternalCtrl = nullptr;
    if (m_dlgFindReplace.m_hWnd) m_dlgFindReplace.DestroyWindow();
}

CKLVSyntaxEditCtrl* CKLVSyntaxEditView::GetEditCtrl() {
    return m_pExternalCtrl ? m_pExternalCtrl : &m_wndEdit;
}

CKLVSyntaxEditDoc* CKLVSyntaxEditView::GetSyntaxDoc() const {
    return m_pDocument && m_pDocument->IsKindOf(RUNTIME_CLASS(CKLVSyntaxEditDoc))
               ? static_cast<CKLVSyntaxEditDoc*>(m_pDocument)
               : nullptr;
}

IKLVSyntaxEditLexParser* CKLVSyntaxEditView::GetParser() {
    CKLVSyntaxEditDoc* pDoc = GetSyntaxDoc();
    CKLVSyntaxEditBufferManager* pBuffer =
        pDoc && pDoc->GetBufferManager() ? pDoc->GetBufferManager() : GetEditCtrl()->GetBuffer();
    return pBuffer ? pBuffer->GetLexParser() : nullptr;
}

BOOL CKLVSyntaxEditView::PreCreateWindow(CREATESTRUCT& cs) {
    return CView::PreCreateWindow(cs) ? TRUE : FALSE;
}

int CKLVSyntaxEditView::OnCreate(LPCREATESTRUCT lpcs) {
    if (CView::OnCreate(lpcs) == -1) return -1;
    m_pParentWnd = GetParent();
    if (!m_pParentWnd) return -1;
    CKLVSyntaxEditDoc* pDoc = GetSyntaxDoc();
    CKLVSyntaxEditBufferManager* pBuffer = pDoc ? pDoc->GetBufferManager() : nullptr;
    // A frame or a splitter keeps the scroll bars with the control; any other parent (a tab
    // container) leaves them to the view, whose scroll messages then go to the control.
    const BOOL bFrameOrSplitter =
        m_pParentWnd->IsKindOf(RUNTIME_CLASS(CSplitterWnd)) || m_pParentWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd));
    m_wndEdit.SetUseParentScrollBars(bFrameOrSplitter ? !m_wndEdit.GetUseParentScrollBars() : TRUE);
    if (!m_wndEdit.Create(this, m_bHorzScrollBar, m_bVertScrollBar, pBuffer)) return -1;
    m_wndEdit.UpdateScrollBars();
    m_wndEdit.SetTopRow(m_nStartTopRow);
    m_wndEdit.SetParentDragDrop(m_dropTarget.Register(this));
    if (!pDoc) {
        m_wndEdit.GetBuffer()->SetEmptyText();
        return 0;
    }
    CKLVSyntaxEditView* pFirst = pDoc->GetFirstSyntaxView();
    if (pFirst && pFirst != this && pFirst->GetSafeHwnd()) m_wndEdit.CopySettingsFrom(pFirst->GetEditCtrl());
    if (!pBuffer) pDoc->SetBufferManager(m_wndEdit.GetBuffer());
    return 0;
}

void CKLVSyntaxEditView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    if (!m_wndEdit.m_hWnd) return;
    m_wndEdit.MoveWindow(0, 0, cx, cy);
    m_wndEdit.UpdateScrollBars();
}

LRESULT CKLVSyntaxEditView::OnScrollMessage(WPARAM wParam, LPARAM lParam) {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    if (!pCtrl->m_hWnd) return Default();
    return pCtrl->SendMessage(GetCurrentMessage()->message, wParam, lParam);
}

void CKLVSyntaxEditView::OnSetFocus(CWnd* pOldWnd) {
    CView::OnSetFocus(pOldWnd);
    if (GetEditCtrl()->m_hWnd) GetEditCtrl()->SetFocus();
}

BOOL CKLVSyntaxEditView::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CKLVSyntaxEditView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl(); pCtrl->m_hWnd)
        pCtrl->SendMessage(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void CKLVSyntaxEditView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl(); pCtrl->m_hWnd)
        pCtrl->SendMessage(WM_CHAR, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void CKLVSyntaxEditView::OnDraw(CDC*) {
    // The control paints everything.
}

void CKLVSyntaxEditView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    m_bInitialUpdateDone = TRUE;
}

void CKLVSyntaxEditView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    if (IKLVSyntaxEditLexParser* pParser = GetParser())
        pParser->SetThreadPriority(bActivate ? m_nActivePriority : m_nInactivePriority);
    GetEditCtrl()->SetActive(bActivate);
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CKLVSyntaxEditView::Reload() {
    CWaitCursor wait;
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    pCtrl->RecalcLayout();
    const int nTopRow = pCtrl->GetTopRow();
    // The caret is checked against the text read; the rows shown stay where the user left them
    // (a save reloads too, and must not scroll).
    pCtrl->SetCurPos(pCtrl->GetCurRow(), pCtrl->GetCurCol());
    if (nTopRow != -1) pCtrl->SetTopRow(nTopRow);
    pCtrl->UpdateScrollBars();
    pCtrl->Invalidate(FALSE);
}

void CKLVSyntaxEditView::SetScrollBars(BOOL bHorz, BOOL bVert) {
    m_bHorzScrollBar = bHorz;
    m_bVertScrollBar = bVert;
    GetEditCtrl()->SetScrollBars(bHorz, bVert, TRUE);
}

void CKLVSyntaxEditView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    if (pSender == this || lHint < KLV_SYNTAXEDIT_HINT_RELOAD || lHint > KLV_SYNTAXEDIT_HINT_SIBLINGS) return;
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    const BOOL bValue = pHint ? *reinterpret_cast<const BOOL*>(pHint) : FALSE;
    switch (lHint) {
    case KLV_SYNTAXEDIT_HINT_RELOAD:
        Reload();
        break;
    case KLV_SYNTAXEDIT_HINT_SETTINGS: {
        pCtrl->LoadSettings();
        pCtrl->SetFont(nullptr);   // the editor's current font
        pCtrl->RecalcLayout();
        if (CWinApp* pApp = AfxGetApp()) {
            m_bHorzScrollBar = pApp->GetProfileInt(kSection, "HScrollBar", m_bHorzScrollBar);
            m_bVertScrollBar = pApp->GetProfileInt(kSection, "VScrollBar", m_bVertScrollBar);
        }
        pCtrl->SetScrollBars(m_bHorzScrollBar, m_bVertScrollBar, FALSE);
        Reload();
        break;
    }
    case KLV_SYNTAXEDIT_HINT_FONT:
        pCtrl->SetFont(reinterpret_cast<const LOGFONT*>(pHint));
        break;
    case KLV_SYNTAXEDIT_HINT_LINENUMBERS:
        pCtrl->SetLineNumbers(bValue, FALSE);
        break;
    case KLV_SYNTAXEDIT_HINT_SELMARGIN:
        pCtrl->SetSelMargin(bValue, FALSE);
        break;
    case KLV_SYNTAXEDIT_HINT_AUTOINDENT:
        pCtrl->SetAutoIndent(bValue, FALSE);
        break;
    case KLV_SYNTAXEDIT_HINT_SYNTAXCOLOR:
        pCtrl->SetSyntaxColor(bValue, FALSE);
        break;
    case KLV_SYNTAXEDIT_HINT_SIBLINGS: {
        // Every view hears the hint; the one whose control sent it brings its siblings along.
        const auto* pNotify = reinterpret_cast<const KLVSE_NMVALUE*>(pHint);
        if (pNotify && pNotify->hdr.hwndFrom == pCtrl->m_hWnd) RefreshSiblings(pNotify->nValue);
        break;
    }
    default:
        break;
    }
}

BOOL CKLVSyntaxEditView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    const int nCode = pHdr ? static_cast<int>(pHdr->code) : 0;
    if (!pHdr || !pCtrl->m_hWnd || pHdr->hwndFrom != pCtrl->m_hWnd || nCode < KLVSEN_CANEDIT ||
        nCode > KLVSEN_PARSEREVENT)
        return CView::OnNotify(wParam, lParam, pResult);
    typedef LRESULT (CKLVSyntaxEditView::*PHandler)(NMHDR*);
    static const struct {
        int nCode;
        PHandler pHandler;
    } handlers[] = {{KLVSEN_CANEDIT, &CKLVSyntaxEditView::OnCanEdit},
                    {KLVSEN_TEXTCHANGED, &CKLVSyntaxEditView::OnTextChanged},
                    {KLVSEN_MODIFIED, &CKLVSyntaxEditView::OnModifiedChanged},
                    {KLVSEN_DRAWMARKS, &CKLVSyntaxEditView::OnDrawMarks},
                    {KLVSEN_CARETMOVED, &CKLVSyntaxEditView::OnCaretMoved},
                    {KLVSEN_LAYOUT, &CKLVSyntaxEditView::OnLayoutChanged},
                    {KLVSEN_OVERWRITE, &CKLVSyntaxEditView::OnOverwriteChanged},
                    {KLVSEN_MOUSEDOWN, &CKLVSyntaxEditView::OnMouseDown},
                    {KLVSEN_STARTDRAG, &CKLVSyntaxEditView::OnStartDrag},
                    {KLVSEN_MARGINCLICK, &CKLVSyntaxEditView::OnMarginClick},
                    {KLVSEN_PARSEREVENT, &CKLVSyntaxEditView::OnParserEvent}};
    LRESULT lResult = 0;
    for (const auto& entry : handlers)
        if (entry.nCode == nCode) lResult = (this->*entry.pHandler)(pHdr);
    if (pResult) *pResult = lResult;
    return TRUE;
}

LRESULT CKLVSyntaxEditView::OnCanEdit(NMHDR*) {
    return CanChangeReadonlyFile() ? 0 : 1;
}

LRESULT CKLVSyntaxEditView::OnTextChanged(NMHDR* pHdr) {
    RepaintSplitterSiblings(std::max(reinterpret_cast<KLVSE_NMROWS*>(pHdr)->nRow1, 1));
    // The control reports the modified state for the user's edits only; text put in by the
    // program changes it too.
    ShowBufferModifiedState();
    return 1;
}

LRESULT CKLVSyntaxEditView::OnModifiedChanged(NMHDR* pHdr) {
    ShowModifiedState(reinterpret_cast<KLVSE_NMVALUE*>(pHdr)->nValue != 0);
    return 1;
}

void CKLVSyntaxEditView::ShowModifiedState(BOOL bModified) {
    CDocument* pDoc = GetDocument();
    if (!pDoc) return;
    pDoc->SetModifiedFlag(bModified);
    CString strTitle = pDoc->GetTitle();
    const int nStar = strTitle.Find('*');
    if (bModified && nStar < 0)
        pDoc->SetTitle(strTitle + " *");
    else if (!bModified && nStar > 0)
        pDoc->SetTitle(strTitle.Left(nStar - 1));
}

void CKLVSyntaxEditView::ShowBufferModifiedState() {
    if (CKLVSyntaxEditBufferManager* pBuffer = GetEditCtrl()->GetBuffer()) ShowModifiedState(pBuffer->IsModified());
}

LRESULT CKLVSyntaxEditView::OnLayoutChanged(NMHDR* pHdr) {
    if (CDocument* pDoc = GetDocument())
        pDoc->UpdateAllViews(nullptr, KLV_SYNTAXEDIT_HINT_SIBLINGS, reinterpret_cast<CObject*>(pHdr));
    return 1;
}

LRESULT CKLVSyntaxEditView::OnMouseDown(NMHDR*) {
    RepaintSplitterSiblings();
    return 0;
}

void CKLVSyntaxEditView::OnDropFiles(HDROP hDrop) {
    CWinApp* pApp = AfxGetApp();
    CWnd* pMain = pApp ? pApp->m_pMainWnd : nullptr;
    if (pMain && pMain->GetSafeHwnd())
        pMain->PostMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop));
    else
        ::DragFinish(hDrop);
}

void CKLVSyntaxEditView::SetFont(const LOGFONT* pLogFont, BOOL) {
    GetEditCtrl()->SetFont(pLogFont);
    if (CDocument* pDoc = GetDocument())
        pDoc->UpdateAllViews(this, KLV_SYNTAXEDIT_HINT_FONT, reinterpret_cast<CObject*>(const_cast<LOGFONT*>(pLogFont)));
}

// ---- Edit commands.

void CKLVSyntaxEditView::OnEditUndo() {
    GetEditCtrl()->Undo();
    RepaintSplitterSiblings();
    Invalidate(FALSE);
}

void CKLVSyntaxEditView::OnEditRedo() {
    GetEditCtrl()->Redo();
    RepaintSplitterSiblings();
    Invalidate(FALSE);
}

void CKLVSyntaxEditView::OnEditCut() {
    GetEditCtrl()->Cut();
}

void CKLVSyntaxEditView::OnEditCopy() {
    GetEditCtrl()->Copy();
}

void CKLVSyntaxEditView::OnEditDelete() {
    GetEditCtrl()->DeleteSelection(TRUE);
}

void CKLVSyntaxEditView::OnEditPaste() {
    GetEditCtrl()->Paste();
}

void CKLVSyntaxEditView::OnEditSelectAll() {
    GetEditCtrl()->SelectAll();
}

void CKLVSyntaxEditView::OnUpdateEditUndo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetEditCtrl()->CanUndo());
}

void CKLVSyntaxEditView::OnUpdateEditRedo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetEditCtrl()->CanRedo());
}

void CKLVSyntaxEditView::OnUpdateNeedSelection(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetEditCtrl()->IsSelectionExist());
}

void CKLVSyntaxEditView::OnUpdateEditPaste(CCmdUI* pCmdUI) {
    pCmdUI->Enable(::IsClipboardFormatAvailable(CF_TEXT));
}

void CKLVSyntaxEditView::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
}
