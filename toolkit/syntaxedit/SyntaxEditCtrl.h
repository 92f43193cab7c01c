// The code editor window: shows and edits the rows of one buffer manager with syntax colours,
// a selection margin, line numbers and fold nodes, and tells its parent about every change.
// Rows, character positions and display columns are 1-based.
//
// The class is split by concern: SyntaxEditCtrl.cpp (settings and public operations),
// SyntaxEditCtrlEvents.cpp (parser events, screen schemas, row drawing), SyntaxEditCtrlPaint.cpp
// (window, painting, printing), SyntaxEditCtrlScroll.cpp (margins and scrolling),
// SyntaxEditCtrlSelection.cpp (selection, caret, columns), SyntaxEditCtrlClipboard.cpp,
// SyntaxEditCtrlFolding.cpp (bookmarks, collapsed blocks, row mapping), SyntaxEditCtrlKeys.cpp,
// SyntaxEditCtrlTyping.cpp (typed characters, indentation, auto-complete), SyntaxEditCtrlMouse.cpp
// (left button, auto-scroll) and SyntaxEditCtrlDrag.cpp (right button, drops).
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditNotificationSinkMT.h"
#include "toolkit/syntaxedit/SyntaxEditAutoCompleteWnd.h"
#include "toolkit/syntaxedit/SyntaxEditBackImages.h"
#include "toolkit/syntaxedit/SyntaxEditScreenSchemaCache.h"
#include "toolkit/syntaxedit/SyntaxEditToolTipWnd.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextSegment.h"

#include <map>
#include <vector>

class CKLVSyntaxEditLexParser;

// Notification codes sent to the parent in WM_NOTIFY.
enum {
    KLVSEN_CANEDIT = -951,
    KLVSEN_TEXTCHANGED = -950,
    KLVSEN_MODIFIED = -949,
    KLVSEN_DRAWMARKS = -948,
    KLVSEN_CARETMOVED = -947,
    KLVSEN_OVERWRITE = -943,
    KLVSEN_MOUSEDOWN = -942,
    KLVSEN_STARTDRAG = -941,
    KLVSEN_MARGINCLICK = -940,
    KLVSEN_LAYOUT = -939,
    KLVSEN_PARSEREVENT = -938
};

// Payloads after the NMHDR; handles and pointers are pointer-sized.
struct KLVSE_NMROWS {   // -950 (flags 1 rows inserted, 2 rows deleted, 4 text changed), -947, -940
    NMHDR hdr;
    int nRow1;
    int nRow2;
    int nFlags;
};
struct KLVSE_NMVALUE {   // -949, -939
    NMHDR hdr;
    int nValue;
};
struct KLVSE_NMDRAWMARKS {   // -948
    NMHDR hdr;
    HDC hDC;
    RECT rcMarks;
    int nRow;
};
struct KLVSE_NMPARSEREVENT {   // -938
    NMHDR hdr;
    DWORD_PTR dwCode;
    WPARAM pParam1;
    LPARAM pParam2;
};

// The collapsed data of a "Collapsed" mark: the block and where painting put its placeholder.
struct CKLVSyntaxEditCollapsedData {
    CKLVSyntaxEditCollapsedBlock block;
    CRect rcPlaceholder;
};

class CKLVSyntaxEditCtrl : public CWnd, public IKLVSyntaxEditCaret {
    DECLARE_DYNAMIC(CKLVSyntaxEditCtrl)
    friend class CKLVSyntaxEditPaintManager;

public:
    CKLVSyntaxEditCtrl();
    ~CKLVSyntaxEditCtrl() override;

    // Window and painting.
    virtual BOOL Create(CWnd* pParent, BOOL bHorzScroll = TRUE, BOOL bVertScroll = TRUE,
                        CKLVSyntaxEditBufferManager* pBuffer = nullptr, CCreateContext* pContext = nullptr);
    virtual void RefreshSyntaxColors();
    virtual void RecalcLayout();
    virtual BOOL IsActive() const { return m_bActive; }
    virtual void SetActive(BOOL bActive);
    virtual BOOL GetUseParentScrollBars() const { return m_bUseParentScrollBars; }
    virtual void SetUseParentScrollBars(BOOL bUse) { m_bUseParentScrollBars = bUse; }
    virtual BOOL CanEdit();
    virtual UINT CalcGrowthStep(int nRowFrom, int nRowTo) const;
    void Draw(CDC* pDC);
    // Invalidates the screen rows that show document rows nRow1 to nRow2 (to the bottom when
    // nRow2 is the last row or beyond); a paint draws only the rows it has to.
    void InvalidateRows(int nRow1, int nRow2);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Settings ("Settings" section of the application profile).
    BOOL LoadSettings();
    BOOL SetSetting(LPCTSTR lpszKey, BOOL bValue, BOOL& bMember, BOOL bSave);
    BOOL SetScrollBars(BOOL bHorz, BOOL bVert, BOOL bSave = TRUE);
    BOOL SetSyntaxColor(BOOL bOn, BOOL bSave = TRUE);
    BOOL SetAutoIndent(BOOL bOn, BOOL bSave = TRUE) { return SetSetting("AutoIndent", bOn, m_bAutoIndent, bSave); }
    BOOL SetSelMargin(BOOL bOn, BOOL bSave = TRUE);
    BOOL SetLineNumbers(BOOL bOn, BOOL bSave = TRUE);
    BOOL SetWideCaret(BOOL bOn, BOOL bSave = TRUE);
    BOOL SetTabWithSpace(BOOL bOn, BOOL bSave = TRUE) {
        return SetSetting("TabWithSpace", bOn, m_bTabWithSpace, bSave);
    }
    BOOL SetTabSize(int nSize, BOOL bSave = TRUE);
    int GetTabSize() const { return m_pBuffer ? m_pBuffer->GetTabSize() : 4; }
    BOOL GetTabWithSpace() const { return m_bTabWithSpace; }
    BOOL GetLineNumbers() const { return m_bLineNumbers; }
    BOOL GetSelMargin() const { return m_bSelMargin; }
    BOOL GetSyntaxColor() const { return m_bSyntaxColor; }
    BOOL GetAutoIndent() const { return m_bAutoIndent; }
    BOOL GetWideCaret() const { return m_bWideCaret; }
    BOOL GetVertScrollBar() const { return m_bVertScrollBar; }
    BOOL GetHorzScrollBar() const { return m_bHorzScrollBar; }
    void SetShowWhiteSpace(BOOL bShow) { m_bShowWhiteSpace = bShow; }

    // Rows and caret.
    CKLVSyntaxEditBufferManager* GetBuffer() const { return m_pBuffer; }
    int GetRowCount() const;
    int GetCurRow() const { return m_nCurRow; }
    int GetCurCol() const { return m_nDispCol; }
    int GetCurCharPos() const { return m_nCurCharPos; }
    void SetCurRow(int nRow);
    int GetTopRow() const { return m_nTopRow; }
    BOOL SetTopRow(int nRow);
    int GetDirtyRow() const { return m_nDirtyRow; }
    BOOL SetDirtyRow(int nRow);
    void SetPrintPage(int nPage) { m_nPrintPage = nPage; }
    LRESULT SetCurPos(int nRow, int nCol, BOOL bKeepSelection = FALSE, BOOL bRedraw = TRUE);
    const CString& GetRowText(int nRow);
    int GetVisibleRowCount() const;
    int GetRowHeight() const { return m_tm.tmHeight; }
    int GetCharWidth() const { return m_tm.tmAveCharWidth; }
    int GetTextLeftOffset() const { return m_nTextLeftOffset; }
    int GetLineNumberWidth() const { return m_nLineNumberWidth; }
    int GetHScrollPos() const { return m_siHorz.nPos; }

    // Editing.
    void InsertText(LPCSTR lpszText, int nRow, int nCharPos, BOOL bDeleteSelection = FALSE, BOOL bRedraw = TRUE);
    void Undo(int nCount = 1) { UndoRedo(nCount, TRUE); }
    void Redo(int nCount = 1) { UndoRedo(nCount, FALSE); }
    BOOL CanUndo() const;
    BOOL CanRedo() const;
    void SetRowBkColor(int nRow, COLORREF clr);
    void SetRowColor(int nRow, COLORREF clr);
    BOOL GetRowBkColor(int nRow, COLORREF& clr) const;
    BOOL GetRowColor(int nRow, COLORREF& clr) const;
    void SetFont(const LOGFONT* pLogFont, BOOL bSave = FALSE);
    BOOL SetConfigFile(LPCSTR lpszPath);
    CString GetConfigFile() const;
    CString GetStoredConfigFile() const { return m_strConfigFile; }
    void CopySettingsFrom(CKLVSyntaxEditCtrl* pOther);
    void SetPrintPageSize(int cx, int cy) { m_szPrintPage = CSize(cx, cy); }
    void SetPrintMargins(const CRect& rc) { m_rcPrintMargins = rc; }
    int CalcPageCount();
    // Rows a printed page holds, and the first document row of a page.
    int GetPrintRowsPerPage(int nPrintableHeight) const;
    int GetPageFirstRow(int nPage, int nRowsPerPage) const;
    void SetParentDragDrop(BOOL bParent) { m_bParentDragDrop = bParent; }
    BOOL IsWideCaretActive() const;
    void SetCaretPos(int nRow, int nCol) override;

    // Screen schemas and row drawing.
    IKLVSyntaxEditSchemaHandle* GetScreenSchemaBlocks(int nRow);
    BOOL DrawRow(int nFirstRow, int nRow, CDC* pDC, int nXOffset);
    int ExpandTabs(CDC* pDC, LPCSTR lpszText, int nTextLen, int nStartCol, CString& strOut);
    void SetCollapsedBlockRect(CDC* pDC, CKLVSyntaxEditCollapsedData* pData, int y, int x);
    CKLVSyntaxEditScreenSchemaCache& GetScreenSchemaCache() { return m_screenCache; }
    IKLVSyntaxEditTextSchema* GetTextSchema() const;
    // Milliseconds, to a fraction: the last paints' mean.
    double GetAveragePaintTime() const;
    DWORD GetParseRedrawInterval() const;

    // Row mapping: the rows of collapsed blocks after their first row are hidden. A hidden row
    // stands on the screen row of its block's first row.
    int GetDocRow(int nTopRow, int nScreenRow) const;
    int GetScreenRow(int nTopRow, int nDocRow) const;
    // The row's number counting only rows shown; -1 for the last row.
    int GetVisibleRowNumber(int nDocRow) const;

    // Bookmarks, breakpoints and collapsed blocks.
    BOOL HasRowMark(int nRow, LPCSTR lpszKind, CKLVSyntaxEditLineMarkValue* pValue = nullptr) const;
    void ToggleBookmark(int nRow) { ToggleMark(nRow, "Bookmark"); }
    void ToggleBreakpoint(int nRow) { ToggleMark(nRow, "Breakpoint"); }
    BOOL HasBookmarks() const;
    // To the bookmark before or after the caret's screen row, round the ends.
    void PrevBookmark() { GoToBookmark(FALSE); }
    void NextBookmark() { GoToBookmark(TRUE); }
    void CollapseAll();
    void ExpandAll();
    void ToggleCollapse(int nRow);
    BOOL GetCollapsedRowCount(int nRow, int& nCount) const;
    // The fold-node flags (klvNode...) of a row; TRUE when any is set.
    BOOL GetNodeFlags(int nRow, DWORD& dwFlags);
    // The node box of a zero-based screen row, and the fold margin beside it.
    void GetNodeRect(int nScreenRow, CRect& rcNode, CRect* pMargin = nullptr) const;
    // The collapsed block whose placeholder lies under a client point.
    CKLVSyntaxEditCollapsedData* HitTestCollapsedBlock(CPoint pt);
    // A block's hidden text, at most nMaxRows rows joined by CR LF.
    CString GetCollapsedText(const CKLVSyntaxEditCollapsedData* pData, int nMaxRows);
    void ShowCollapsedTip(CPoint pt);
    CKLVSyntaxEditToolTipWnd& GetToolTip() { return m_wndToolTip; }

    // Margins and scrolling.
    void RecalcMargins();
    BOOL IsRowVisible(int nRow) const;
    void UpdateScrollBars();
    void UpdateVScrollBar();
    void UpdateHScrollBar();
    void ScrollBy(int nCols, int nRows);
    int ScrollUpRows(int nRows);
    int ScrollDownRows(int nRows);
    BOOL PageUp(int nRows, BOOL bKeepCaret);
    BOOL PageDown(int nRows, BOOL bKeepCaret);
    // The window whose scroll bars the control uses: the parent view's when asked, else its own.
    CWnd* GetScrollBarOwner();

    // Selection and caret.
    BOOL IsSelectionExist() const { return m_bSelection; }
    BOOL IsColumnSelection() const { return m_bColumnSelection; }
    void SetColumnSelection(BOOL bColumn) { m_bColumnSelection = bColumn; }
    BOOL IsInSelection(int nRow, int nCol) const;
    void NormalizeSelection();
    BOOL GetSelection(CPoint& ptStart, CPoint& ptEnd);
    BOOL SetSelection(int nRow1, int nCol1, int nRow2, int nCol2, BOOL bRedraw = TRUE);
    void ClearSelection();
    void SelectAll();
    // Whole rows: with bSelect the row is selected in row-selection mode, else the caret goes
    // to its start.
    void SelectRow(int nRow, BOOL bSelect);
    BOOL GetSelectedText(CString& strText);
    HGLOBAL GetSelectedTextHandle(UINT nFormat);
    BOOL DeleteSelection(BOOL bRedraw = TRUE);
    BOOL DeleteRange(int nRow1, int nCol1, int nRow2, int nCol2, int nFlags);
    void LowerCaseSelection() { ChangeSelectionCase(FALSE); }
    void UpperCaseSelection() { ChangeSelectionCase(TRUE); }
    void EnsureVisible(int nRow, int nCol, BOOL bInvalidate = FALSE, BOOL bNotify = FALSE);
    // Flags of HitTest: the point lies left of the text (column 0), the row was clamped to the text.
    enum { klvHitLeftOfText = 0x1, klvHitRowClamped = 0x2 };
    // The row, display column and character position under a client point; the flags above.
    DWORD HitTest(CPoint pt, int& nRow, int& nDispCol, int& nCharPos);
    // Whether the point rests over the selection (the pressed-in-selection flag), and the drop
    // position otherwise.
    void HitTestSelection(CPoint pt);
    BOOL IsPressedInSelection() const { return m_bPressedInSelection; }
    CPoint GetDropPosition() const { return m_ptDrop; }
    // Switches the buffer's overwrite mode; the caret takes the mode's shape.
    void SetOverwrite(BOOL bOverwrite);
    BOOL IsRowSelectionMode() const { return m_bRowSelectionMode; }
    void SetCaretScreenPos(BOOL bScrollIntoView);
    int CharPosToColumn(LPCSTR lpszText, int nPos) const;
    int ColumnToCharPos(LPCSTR lpszText, int nCol) const;
    int AlignColumn(LPCSTR lpszText, int nCol) const;
    int GetRowEndColumn(LPCSTR lpszText) const;
    int NormalizeColumn(int nRow, int& nCol);
    void WordMove(int nDirection);
    void CalcVirtualSpace(int nRow, BOOL bFill, int& nCol, int& nPos, CString* pStr, BOOL bCountOnly);
    void Copy();
    void Cut();
    void Paste();

    // Keyboard and typing.
    // The rows of a selection over several rows get one more, or one less, indentation; TRUE
    // when Tab (Shift+Tab) was handled and is not to be typed.
    BOOL IndentSelection();
    BOOL UnindentSelection();
    // Deletes the caret's or the selected rows with their line ends (Ctrl+L).
    void DeleteRows();
    // Inserts the lines of a text as a column block from the position down; 0 when refused.
    int InsertColumnText(LPCSTR lpszText, int nRow, int nCharPos, BOOL bDeleteSelection, BOOL bRedraw);
    // The auto-complete list gets the words of the text schema, unless it has them already.
    void FillAutoCompleteList();
    CKLVSyntaxEditAutoCompleteWnd& GetAutoComplete() { return m_wndAutoComplete; }
    // Puts text in place of the caret row's characters nStartPos to nEndPos, as one undo step.
    void ReplaceRowText(int nStartPos, int nEndPos, LPCSTR lpszText);
    // A mouse press, drag or selection is going on: keys wait for it.
    BOOL IsMouseOperation() const;

    // Search (SyntaxEditCtrlFind.cpp): from the selection's end (down) or start (up), else the
    // caret, row by row without wrapping round; a match is selected.
    BOOL Find(LPCSTR lpszText, BOOL bWholeWord, BOOL bMatchCase, BOOL bDown, BOOL bScroll = TRUE);
    // A match in one row's text from nStartPos (down: the first character a match may start
    // at; up: the match ends before it).
    BOOL FindInRow(int nRow, const CString& strRow, LPCSTR lpszText, int nStartPos, BOOL bWholeWord,
                   BOOL bMatchCase, BOOL bDown, BOOL bScroll);
    // The selected text becomes lpszText as one undo step; FALSE when nothing is selected or
    // the text may not change.
    BOOL ReplaceSelection(LPCSTR lpszText, BOOL bRedraw = TRUE);

    // Mouse, drag and drop.
    void SelectWordAt(CPoint pt);
    void ShowContextMenu();
    void ShowDragMenu(CPoint pos);
    // Puts the selected text at the drop position, moved or copied.
    void DropText(BOOL bCopy);

protected:
    DECLARE_MESSAGE_MAP()
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
    afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint pt);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnCancelMode();
    afx_msg void OnDropMove();
    afx_msg void OnDropCopy();

    // Sends WM_NOTIFY to the parent; without a parent window -951 answers -1, the rest 0.
    LRESULT SendNotify(int nCode, NMHDR* pHdr, UINT_PTR idFrom);
    LRESULT NotifyValue(int nCode, int nValue);
    LRESULT NotifyRows(int nCode, int nRow1, int nRow2, int nFlags = 0);
    // -950 after moving the line marks for inserted or deleted rows.
    void NotifyTextChanged(int nRow1, int nRow2, int nFlags);
    // Inserts at the caret (as a column block) and puts the caret after the text; bChain joins
    // the step to the one before.
    void InsertAtCaret(LPCSTR lpszText, BOOL bBlock, BOOL bChain);
    // After text went in from the start to the caret: the scroll bars and the colours, within
    // the edit's parser requests; then -950 and the caret.
    void NoteInsertion(int nStartRow, int nStartPos);
    void ReportInsertion(int nStartRow, int nFlags, BOOL bRedraw);
    void RedrawRanges(int nRow1, int nPos1, int nRow2, int nPos2, int eEditKind);
    void BreakParse();
    void UndoRedo(int nCount, BOOL bUndo);
    void ChangeSelectionCase(BOOL bUpper);
    void ToggleMark(int nRow, LPCSTR lpszKind);
    void GoToBookmark(BOOL bNext);
    CKLVSyntaxEditCollapsedData* GetCollapsedData(int nRow) const;
    // The rows a collapsed block hides below its mark's row, within the text.
    int GetHiddenCount(int nMarkRow, const CKLVSyntaxEditCollapsedData* pData) const;
    // The row of the first collapsed block after nAfter and before nBefore that hides rows, with
    // their count in nHidden; 0 when there is none.
    int NextHidingBlock(int nAfter, int nBefore, int& nHidden) const;
    // The rows hidden by collapsed blocks that start after nAfter and before the row; for a
    // hidden row, up to its block's first row, which *pHidingStart receives (else 0).
    int HiddenRowsBefore(int nAfter, int nDocRow, int* pHidingStart = nullptr) const;
    void SetCollapsed(int nRow, const CKLVSyntaxEditCollapsedBlock& block);
    // The fold-node flags from a row's blocks; painting counts only the first of several
    // collapsed blocks of a row and draws the line on below.
    DWORD CalcNodeFlags(int nRow, const std::vector<CKLVSyntaxEditCollapsedBlock>& arRegions,
                        BOOL bPainting) const;
    // Deletes the character before (backspace) or at a position, joining rows at their ends.
    void DeleteChar(int nRow, int nPos, BOOL bBackspace);

    // Keys (SyntaxEditCtrlKeys.cpp).
    void RefreshCursor();
    // Moves the caret for a navigation key; FALSE for other keys.
    BOOL MoveCaretByKey(UINT nChar, BOOL bCtrl, BOOL bShift);
    // After a navigation key: the selection follows Shift, the caret shows, typing ends a step.
    void EndCaretKey(BOOL bShift);
    // The selection's first (bStart) or last end, as display column and row.
    CPoint GetOrderedSelection(BOOL bStart) const;
    // The caret goes to the selection's first or last end, and the selection goes.
    BOOL CollapseSelection(BOOL bToStart);
    void OnBackspaceKey(BOOL bCtrl);
    void OnDeleteKey(BOOL bCtrl);
    // Deletes the selection and from the caret to the word start before (1) or after it.
    void DeleteToWord(int nDirection);
    void ShrinkVirtualSpace();
    void OpenAutoComplete();
    void HideAutoComplete();
    void OfferToAutoComplete(UINT nChar);
    // The point rests on the node box of a row where a block starts.
    BOOL IsOverNode(CPoint pt);
    // Where the caret's cell is, nRowsBelow rows lower, in screen coordinates.
    CPoint GetCaretScreenPoint(int nRowsBelow);

    // Typing (SyntaxEditCtrlTyping.cpp).
    void TypeChar(UINT nChar);
    // Turns a typed character into the text to insert; TRUE when spaces before the caret went
    // into tabs (an undo step the typing joins). nVirtualCol: where Enter leaves the caret.
    BOOL PrepareTypedText(UINT nChar, CString& strText, int& nVirtualCol);
    // The display width of the indentation Enter gives the next row.
    int GetIndentWidth(int nRow, int nCharPos);
    BOOL GetSelectedRows(int& nFirst, int& nLast) const;
    void EndRowsChange(int nFirst, int nLast);

    // Mouse (SyntaxEditCtrlMouse.cpp, SyntaxEditCtrlDrag.cpp).
    void SetOwnCapture();
    // Releases the capture without ending the mouse operation that the caller still finishes.
    void ReleaseOwnCapture();
    void EndMouseOperation();
    // A press on a fold node or in the selection margin; TRUE when it was one.
    BOOL PressOnGutter(CPoint pt, int nRow, DWORD dwHit);
    // Whole rows from the anchor row to the row, the anchor's side kept.
    void SetRowRangeSelection(int nAnchorRow, int nRow);
    void MoveCaretToPoint(CPoint pt, BOOL bRawColumn);
    void ExtendSelectionTo(CPoint pt);
    void TrackDrop(CPoint pt);
    int FindCollapsedRow(const CKLVSyntaxEditCollapsedData* pData) const;
    void AutoScroll();
    void CreateCaretShape();
    void SetCaretAt(int x, int y);
    void UpdateCaretColumns();
    UINT_PTR GetDlgCtrlIDSafe() const;
    BOOL IsPrintingDC(CDC* pDC) const { return pDC && pDC->IsPrinting(); }
    void SubscribeEvents();
    CKLVNotificationConnection* GetParserConnection() const;
    void OnParserEvent(KLV_NOTIFYCODE dwCode, WPARAM pParam1, LPARAM pParam2);
    // Every row again after the parser's news: a due block (bDueBlock), the end of a pass or
    // the postponed redraw.
    void RepaintForParse(BOOL bDueBlock);
    // Widens the rows of the blocks in view that wait for their repaint.
    void NoteParsedRows(int nFirst, int nLast);
    void OnConfigEvent(KLV_NOTIFYCODE dwCode, WPARAM pParam1, LPARAM pParam2);
    // Draws screen rows nFirstDrawn to nRows - 1; the rows above are walked for their collapsed
    // blocks only.
    void DrawRows(CDC* pDC, CDC* pGutterDC, BOOL bPrinting, int nRows, int nXOffsetPrinting, int nFirstDrawn = 0);
    // The screen rows [nFirst, nEnd) a paint into the DC has to draw: those its clip box touches.
    void GetPaintRows(CDC* pDC, const CRect& rcClient, int& nFirst, int& nEnd) const;
    // Draws those rows, which fill the band, into the back images.
    void DrawBand(const CRect& rcBand, int nFirst, int nEnd);
    void PrintPage(CDC* pDC);
    void OnScrollAction(int nBar, UINT nSBCode);
    void ReadHorzScrollInfo();
    void SetHorzScrollPos(int nPos);
    BOOL HasHorzBar();
    BOOL GetBarInfo(int nBar, SCROLLINFO& si, UINT nMask);
    void SetBarInfo(int nBar, SCROLLINFO& si, BOOL bRedraw = TRUE);
    void EnableBar(int nBar, BOOL bEnable);
    void OnPasteText(LPCSTR lpszText, BOOL bColumn);
    BOOL PutClipboardBlock(UINT nFormat, const void* pData, SIZE_T nBytes);

public:
    // State the view, the input handlers and the paint manager read and change.
    CKLVNotificationSinkMT<CKLVSyntaxEditCtrl> m_sink{this};
    BOOL m_bLineNumbers = TRUE;
    BOOL m_bShowNodes = TRUE;
    BOOL m_bScrolled = FALSE;
    BOOL m_bWordMode = FALSE;
    BOOL m_bRowSelectionMode = FALSE;
    BOOL m_bSelMargin = TRUE;
    BOOL m_bVertScrollBar = TRUE;
    BOOL m_bHorzScrollBar = TRUE;
    BOOL m_bShowWhiteSpace = FALSE;
    BOOL m_bSyntaxColor = TRUE;
    BOOL m_bParentDragDrop = FALSE;
    BOOL m_bAutoIndent = TRUE;
    BOOL m_bRightDrag = FALSE;
    BOOL m_bDropAllowed = FALSE;
    BOOL m_bDragging = FALSE;
    BOOL m_bPressedInSelection = FALSE;
    BOOL m_bShiftExtension = FALSE;
    BOOL m_bArmed = FALSE;
    BOOL m_bSelecting = FALSE;
    BOOL m_bColumnSelection = FALSE;
    BOOL m_bSelection = FALSE;
    BOOL m_bWideCaret = TRUE;
    BOOL m_bTabWithSpace = FALSE;
    BOOL m_bActive = FALSE;
    BOOL m_bCaretCreated = FALSE;
    BOOL m_bCaretOwner = FALSE;
    BOOL m_bFocus = FALSE;
    BOOL m_bUseParentScrollBars = TRUE;
    int m_nFirstVisibleRow = -1;
    int m_nLastVisibleRow = -1;
    int m_nTextLeftOffset = 30;
    int m_nSelMarginWidth = 20;
    int m_nLineNumberWidth = 0;
    int m_nNodeSize = 10;
    int m_nPageCount = 0;
    CRect m_rcPrintMargins{0, 0, 0, 0};
    int m_nAnchorRow = 0;
    int m_nVirtualTabs = 0;
    int m_nVirtualSpaces = 0;
    int m_nVirtualCol = 0;
    int m_nPrintPage = 0;
    int m_nDirtyRow = -1;
    int m_nTopRow = 1;
    int m_nCurRow = 1;
    int m_nCurCharPos = 1;
    int m_nDispCol = 1;
    int m_nPrefCol = 1;
    int m_nWheelStep = 4;
    int m_nBytesPerRow = 30;
    int m_nCollapsedCount = 0;
    DWORD m_dwLastParseRedraw = 0;
    // A due block's repaint is asked for and not yet painted.
    BOOL m_bParseRepaintPending = FALSE;
    // The rows of the blocks in view noted since the last repaint for the parse (0: none).
    int m_nParsedFirst = 0;
    int m_nParsedLast = 0;
    CSize m_szPrintPage{850, 1100};
    CPoint m_ptWordSelect{0, 0};
    CPoint m_ptDrop{-1, -1};
    CPoint m_ptSelEnd{0, 0};     // x: display column, y: row
    CPoint m_ptSelStart{0, 0};
    CPoint m_ptLastHover{-1, -1};
    CKLVSyntaxEditBufferManager* m_pBuffer = nullptr;
    CWnd* m_pParentWnd = nullptr;
    TEXTMETRIC m_tm{};
    SCROLLINFO m_siHorz{};
    CString m_strRowText;
    CUIntArray m_arCollapsedRows;
    CKLVSyntaxEditToolTipWnd m_wndToolTip;
    CKLVSyntaxEditAutoCompleteWnd m_wndAutoComplete;
    // The schema whose words the auto-complete list holds; a configuration event or another
    // buffer makes the list be built again.
    IKLVSyntaxEditTextSchema* m_pWordListSchema = nullptr;
    BOOL m_bWordListBuilt = FALSE;
    // The last point the mouse reported; the auto-scroll reads it while the capture holds.
    CPoint m_ptLastMouse{0, 0};
    // The word a word selection started with (display column, row).
    CPoint m_ptWordStart{0, 0};
    CPoint m_ptWordEnd{0, 0};
    BOOL m_bReleasingCapture = FALSE;
    CString m_strConfigFile;
    std::map<int, COLORREF> m_mapRowBkColors;
    std::map<int, COLORREF> m_mapRowColors;
    CKLVSchemaHandlePtr m_pAnchorBlock;
    int m_nAnchorTopRow = 0;
    CKLVSyntaxEditScreenSchemaCache m_screenCache;
    enum { kPaintRingSize = 100, kTimerAutoScroll = 100, kTimerParseRedraw = 200 };
    std::vector<double> m_arPaintTimes;
    int m_nPaintIndex = 0;
    CKLVSyntaxEditBackImages m_backImages;
};

// The characters that end a word for the whole-word test of a search; a program may change them.
extern LPCSTR g_lpszKLVSyntaxEditWordSeparators;

// The folder of the program's module, with its trailing backslash.
CString GetModuleDirectory();
