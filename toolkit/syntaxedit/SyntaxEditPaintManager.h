// The drawing resources shared by every syntax editor of the process (fonts, colours, cursors,
// the line-mark icons and a pen) and the drawing of the parts of a row that are not the
// control's own layout: line numbers, mark icons, fold nodes, collapsed-block boxes and the
// coloured text segments.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextSegment.h"

#include <vector>

class CKLVSyntaxEditCtrl;

// Toolkit resources of the editor.
enum {
    KLV_IDB_SYNTAXEDIT_MARKS = 9700,
    KLV_IDB_SYNTAXEDIT_AUTOCOMPLETE = 9701,
    KLV_IDC_SYNTAXEDIT_MARGIN = 9702,
    KLV_IDC_SYNTAXEDIT_DRAGCOPY = 9703,
    KLV_IDC_SYNTAXEDIT_DRAGMOVE = 9704,
    KLV_IDS_SYNTAXEDIT_TYPING = 9718,
    KLV_IDS_SYNTAXEDIT_PASTE = 9719,
    KLV_IDS_SYNTAXEDIT_MOVE = 9720,
    KLV_IDS_SYNTAXEDIT_COPY = 9721,
    KLV_IDS_SYNTAXEDIT_INDENT = 9722,
    KLV_IDS_SYNTAXEDIT_UNINDENT = 9723,
    KLV_IDS_SYNTAXEDIT_FORMAT = 9724,
    KLV_IDS_SYNTAXEDIT_REPLACEALL = 9727,
    KLV_IDS_SYNTAXEDIT_CHANGECASE = 9728,
    KLV_IDS_SYNTAXEDIT_DELETEBLOCK = 9729,
    KLV_IDS_SYNTAXEDIT_MOVEHERE = 9730,
    KLV_IDS_SYNTAXEDIT_COPYHERE = 9731,
    KLV_IDS_SYNTAXEDIT_CANCELDROP = 9732,
    KLV_IDD_SYNTAXEDIT_FINDREPLACE = 9708,
    KLV_IDD_SYNTAXEDIT_FIND = 9709,
    KLV_IDD_SYNTAXEDIT_GOTOLINE = 9710,
    KLV_IDS_SYNTAXEDIT_GOTOLINE_LABEL = 9746,
    KLV_IDS_SYNTAXEDIT_REPLACED = 9750,
    KLV_IDS_SYNTAXEDIT_FINISHED = 9751,
    KLV_IDD_SYNTAXEDIT_PAGE_EDIT = 9705,
    KLV_IDD_SYNTAXEDIT_PAGE_FONT = 9706,
    KLV_IDD_SYNTAXEDIT_PAGE_COLOR = 9707,
    KLV_IDS_SYNTAXEDIT_OPTIONS = 9711,
    KLV_IDS_SYNTAXEDIT_CUSTOMCOLOR = 9740,
    KLV_IDS_SYNTAXEDIT_REGULAR = 9741,
    KLV_IDS_SYNTAXEDIT_BOLD = 9742,
    KLV_IDS_SYNTAXEDIT_ITALIC = 9743,
    KLV_IDS_SYNTAXEDIT_BOLDITALIC = 9744,
    KLV_IDS_SYNTAXEDIT_OPENSCHEMA = 9747,
    KLV_IDS_SYNTAXEDIT_OPENSCHEMA_ASK = 9748,
    KLV_IDS_SYNTAXEDIT_WRITESCHEMA_FAILED = 9749,
    KLV_IDS_SYNTAXEDIT_AUTOCOLOR = 9948
};

// The drag menu's commands.
enum { KLV_ID_SYNTAXEDIT_DROPMOVE = 57645, KLV_ID_SYNTAXEDIT_DROPCOPY = 57646 };

// Fold-node flags of a row.
enum {
    klvNodeCollapsed = 1,
    klvNodeExpanded = 2,
    klvNodeBlockEnd = 4,
    klvNodeInside = 16,
    klvNodeGoesOn = 32
};

class CKLVSyntaxEditPaintManager {
public:
    CKLVSyntaxEditPaintManager();
    virtual ~CKLVSyntaxEditPaintManager();
    CKLVSyntaxEditPaintManager(const CKLVSyntaxEditPaintManager&) = delete;
    CKLVSyntaxEditPaintManager& operator=(const CKLVSyntaxEditPaintManager&) = delete;

    virtual void RefreshIcons();
    virtual void RefreshSettings();
    virtual CImageList* GetImageList() { return &m_ilLineMarks; }

    CFont* GetTextFont() { return &m_fontText; }
    CFont* GetSegmentFont() { return &m_fontSegment; }
    CFont* GetLineNumberFont() { return &m_fontLineNumber; }
    // The status-bar font of the non-client metrics; the tooltip shows its text in it.
    CFont* GetToolTipFont() { return &m_fontToolTip; }
    HCURSOR GetMarginCursor() const { return m_hCurMargin; }
    HCURSOR GetDragMoveCursor() const { return m_hCurDragMove; }
    HCURSOR GetDragCopyCursor() const { return m_hCurDragCopy; }
    HCURSOR GetNoDropCursor() const { return m_hCurNoDrop; }
    HCURSOR GetIBeamCursor() const { return m_hCurIBeam; }
    HCURSOR GetArrowCursor() const { return m_hCurArrow; }
    const CKLVSyntaxEditTextColors& GetColors() const { return m_clrColors; }
    CKLVSyntaxEditTextColors& GetColors() { return m_clrColors; }

    BOOL SetFont(const LOGFONT& lf, BOOL bSave);
    BOOL SetTextFont(const LOGFONT& lf);
    BOOL SetTextColor(COLORREF clr, BOOL bSave);
    BOOL SetBackColor(COLORREF clr, BOOL bSave);
    BOOL SetHiliteTextColor(COLORREF clr, BOOL bSave);
    BOOL SetHiliteBackColor(COLORREF clr, BOOL bSave);

    // The cells used when printing (digits of the row count plus 2), else 0.
    int DrawLineNumber(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, int nRow, int nScreenRow, BOOL bPrinting);
    void DrawLineMarks(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, int nRow, int nScreenRow);
    void DrawCollapsedNode(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, int nScreenRow, DWORD dwFlags);
    void DrawCollapsedTextBoxes(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC);
    void DrawRowText(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, const CString& strText, int y, int nRow, int nXOffset);
    int DrawTextSegment(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, const CString& strText, int nTextLen,
                        const CKLVSyntaxEditTextSegment& part, int y, int nXOffset, int x);
    // Splits [first, last) at the selection [nSelStart, nSelEnd): the parts before, inside and
    // after, each with a flag that says whether it was produced.
    static void SplitSegment(const CKLVSyntaxEditTextSegment& seg, int nSelStart, int nSelEnd,
                             CKLVSyntaxEditTextSegment parts[3], BOOL bProduced[3]);

    // The digits of a row count in the line-number margin: at least one, for an empty buffer too.
    static int CountDigits(int nRowCount);
    // A stored "LogFont" value is used only when it is a whole LOGFONT with a terminated face name.
    static BOOL IsValidLogFont(const BYTE* pData, UINT nBytes);

private:
    struct CRowColors;
    BOOL WriteColor(LPCTSTR lpszKey, CKLVColorValue& clr, COLORREF clrNew, BOOL bSave);
    void UpdateSegmentFont(CKLVSyntaxEditCtrl* pCtrl, const CKLVSyntaxEditTextSegment& part);
    BOOL CreateFonts(const LOGFONT& lf);
    void ResolveColors(CKLVSyntaxEditCtrl* pCtrl, const CKLVSyntaxEditTextSegment& seg, const CRowColors& row,
                       COLORREF clr[4]);
    COLORREF SelectionBack(CKLVSyntaxEditCtrl* pCtrl) const;
    void FillSelectionTails(CKLVSyntaxEditCtrl* pCtrl, CDC* pDC, const CString& strText, int y, int nRow,
                            int nXOffset);

    CFont m_fontText;
    CFont m_fontSegment;
    CFont m_fontLineNumber;
    CFont m_fontToolTip;
    HCURSOR m_hCurMargin = nullptr;
    HCURSOR m_hCurDragMove = nullptr;
    HCURSOR m_hCurDragCopy = nullptr;
    HCURSOR m_hCurNoDrop = nullptr;
    HCURSOR m_hCurIBeam = nullptr;
    HCURSOR m_hCurArrow = nullptr;
    CImageList m_ilLineMarks;
    CPen m_penShadow;
    CKLVSyntaxEditTextColors m_clrColors;
    std::vector<int> m_arCellWidths;
};

CKLVSyntaxEditPaintManager* GetPaintManager();
