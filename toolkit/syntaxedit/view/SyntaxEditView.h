// The syntax editor's view: one edit control filling the view, the edit commands routed to it,
// its notifications turned into document updates, the views of one document (and of one
// splitter window) kept in step, printing, find and replace, and text dropped between views.
//
// SyntaxEditView.cpp (creation, notifications, updates, commands), SyntaxEditViewSync.cpp
// (splitter siblings), SyntaxEditViewFind.cpp (find and replace), SyntaxEditViewPrint.cpp and
// SyntaxEditViewDrag.cpp (OLE drag and drop).
#pragma once

#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/view/SyntaxEditFindReplaceDlg.h"

#include <vector>

class CKLVSyntaxEditDoc;

// Sync modes of SyncWith: the source is in the same row, column, or neither.
enum { KLV_SYNTAXEDIT_SYNC_ROW = 1, KLV_SYNTAXEDIT_SYNC_COLUMN = 2, KLV_SYNTAXEDIT_SYNC_OTHER = 4 };

class CKLVSyntaxEditView : public CView {
    DECLARE_DYNCREATE(CKLVSyntaxEditView)
public:
    CKLVSyntaxEditView();
    ~CKLVSyntaxEditView() override;

    // The attached external control, else the view's own.
    virtual CKLVSyntaxEditCtrl* GetEditCtrl();
    // Attaches a control the view does not own; null goes back to the view's own.
    virtual void SetEditCtrl(CKLVSyntaxEditCtrl* pCtrl) { m_pExternalCtrl = pCtrl; }
    // Files dropped on the view go to the main window as WM_DROPFILES.
    virtual void OnDropFiles(HDROP hDrop);
    virtual BOOL CanChangeReadonlyFile() { return TRUE; }
    CKLVSyntaxEditDoc* GetSyntaxDoc() const;
    // The top row a control created later starts at.
    void SetStartTopRow(int nRow) { m_nStartTopRow = nRow; }
    BOOL IsInitialUpdateDone() const { return m_bInitialUpdateDone; }

    // Keeping views in step.
    // The other syntax views of the splitter repaint: from a row on, or (nRow 0) completely.
    void RepaintSplitterSiblings(int nRow = 0);
    // The other syntax views of the splitter follow this one (flags: the sync modes that apply).
    void RefreshSiblings(int nFlags);
    // Follows the source view: top row (mode 1) or caret column (mode 2) within one frame.
    void SyncWith(CKLVSyntaxEditView* pSource, int nMode);
    void Refresh();
    // The document's modified flag and the " *" of its title, as given or as the buffer says.
    void ShowModifiedState(BOOL bModified);
    void ShowBufferModifiedState();
    // The control takes the font, and the other views of the document after it.
    void SetFont(const LOGFONT* pLogFont, BOOL bRedraw = TRUE);
    // The scroll bars the view gives its control, saved as the editor's setting.
    void SetScrollBars(BOOL bHorz, BOOL bVert);
    BOOL GetHorzScrollBar() const { return m_bHorzScrollBar; }
    BOOL GetVertScrollBar() const { return m_bVertScrollBar; }

    // Find and replace.
    CKLVSyntaxEditFindReplaceDlg& GetFindReplaceDlg() { return m_dlgFindReplace; }
    // Every occurrence replaced as one undo step, the top row and caret kept; the count.
    int ReplaceAll(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bWholeWord, BOOL bMatchCase);

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    // Printing: one logical unit is a hundredth of an inch; pages in the print face.
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // Drops: files go to the main window; text moves (copies with Ctrl) to the caret.
    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave() override;
    BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

    enum { kActivePriority = THREAD_PRIORITY_LOWEST, kInactivePriority = THREAD_PRIORITY_IDLE };

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Notifications of the control, by code.
    virtual LRESULT OnCanEdit(NMHDR* pHdr);
    virtual LRESULT OnTextChanged(NMHDR* pHdr);
    virtual LRESULT OnModifiedChanged(NMHDR* pHdr);
    virtual LRESULT OnDrawMarks(NMHDR*) { return 0; }
    virtual LRESULT OnCaretMoved(NMHDR*) { return 0; }
    virtual LRESULT OnLayoutChanged(NMHDR* pHdr);
    virtual LRESULT OnOverwriteChanged(NMHDR*) { return 0; }
    virtual LRESULT OnMouseDown(NMHDR* pHdr);
    // A press in the selection: the selected text is dragged (OLE) and moved, copied or left.
    virtual LRESULT OnStartDrag(NMHDR* pHdr);
    // Runs the OLE drag of the data source; the effect the target chose.
    virtual DROPEFFECT DoDragDrop(COleDataSource& source);
    virtual LRESULT OnMarginClick(NMHDR*) { return 0; }
    virtual LRESULT OnParserEvent(NMHDR*) { return 0; }

    // The splitter this view is a pane of, when the first syntax view of its document is in it
    // and the control uses the splitter's scroll bars; its row and column in it.
    CSplitterWnd* GetSharedSplitter(int* pRow = nullptr, int* pCol = nullptr);
    // The other syntax views of that splitter, each with its place relative to this one.
    struct CSibling {
        CKLVSyntaxEditView* pView;
        int nRelation;   // KLV_SYNTAXEDIT_SYNC_ROW, _COLUMN or _OTHER
    };
    std::vector<CSibling> GetSiblingViews();
    // The parser of the view's text, when there is one.
    IKLVSyntaxEditLexParser* GetParser();
    void Reload();
    // Text for the find dialog: the selection, else the word at the caret; first row, tabs as
    // four blanks.
    CString GetInitialFindText();
    void ShowFindDialog(BOOL bReplace);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The view's own scroll bars, when the control uses them, move the control.
    afx_msg LRESULT OnScrollMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnEditUndo();
    afx_msg void OnEditRedo();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditDelete();
    afx_msg void OnEditPaste();
    afx_msg void OnEditSelectAll();
    afx_msg void OnEditFind();
    afx_msg void OnEditReplace();
    afx_msg void OnEditRepeat();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNeedSelection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRepeat(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

protected:
    int m_nActivePriority = kActivePriority;
    int m_nInactivePriority = kInactivePriority;
    BOOL m_bHorzScrollBar = TRUE;
    BOOL m_bVertScrollBar = TRUE;
    BOOL m_bPrinting = FALSE;
    BOOL m_bDraggedOver = FALSE;
    BOOL m_bDragInProgress = FALSE;
    BOOL m_bDragHasText = FALSE;
    BOOL m_bDragHasFiles = FALSE;
    COleDropTarget m_dropTarget;
    CSize m_szPrintPage{850, 1100};
    int m_nStartTopRow = 1;
    CWnd* m_pParentWnd = nullptr;
    CKLVSyntaxEditCtrl m_wndEdit;
    CKLVSyntaxEditCtrl* m_pExternalCtrl = nullptr;
    CKLVSyntaxEditFindReplaceDlg m_dlgFindReplace;
    BOOL m_bInitialUpdateDone = FALSE;
    LOGFONT m_lfPrint{};
    int m_nPrintTopRow = 1;
    BOOL m_bFirstPrintedPage = FALSE;
};
