// The word list that opens under the caret of an edit control: it narrows to what is typed and
// puts the chosen word in place of the typed text. The control keeps the focus and hands the
// window its keys and typed characters.
#pragma once

#include "classlib/ClassLib.h"

#include <vector>

class CKLVSyntaxEditCtrl;

struct CKLVSyntaxEditAutoCompleteItem {
    int nImage = 0;
    CString strText;
};

class CKLVSyntaxEditAutoCompleteWnd : public CWnd {
public:
    enum { kWidth = 160, kImageSize = 16, kTextIndent = 19 };

    CKLVSyntaxEditAutoCompleteWnd();
    ~CKLVSyntaxEditAutoCompleteWnd() override;

    BOOL Create(CKLVSyntaxEditCtrl* pEdit);
    // The words offered, sorted byte-wise.
    void SetList(std::vector<CKLVSyntaxEditAutoCompleteItem> arItems);
    // Opens at a screen point with the text typed so far; nothing opens when no word fits it.
    BOOL Show(CPoint pt, LPCTSTR lpszPrefix);
    void Hide();
    BOOL IsOpen() const { return m_bOpen; }
    BOOL IsOpenTag(TCHAR ch) { return IsTag(ch, m_strOpenTags, m_strTypedOpen); }
    BOOL IsCloseTag(TCHAR ch) { return IsTag(ch, m_strCloseTags, m_strTypedClose); }
    // A character the control has just typed.
    void OnTypedChar(UINT nChar);
    // The characters that end the text an auto-complete prefix is taken from.
    static LPCTSTR GetDelimiters() { return " \t()[]{}<>.,;:=+-*/%&|^!~?\"'\\#"; }

    // What is shown.
    int GetShownCount() const { return static_cast<int>(m_arShown.size()); }
    int GetVisibleCount() const { return m_nVisible; }
    int GetItemHeight() const { return m_nItemHeight; }
    int GetSelectedIndex() const { return m_nSelected; }
    int GetTopIndex() const { return m_nTop; }
    CString GetShownText(int nIndex) const;
    BOOL IsChosen() const { return m_bChosen; }
    const CString& GetTypedText() const { return m_strTyped; }

protected:
    DECLARE_MESSAGE_MAP()
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnPaint();

    static BOOL IsTag(TCHAR ch, const CString& strTags, CString& strTyped);
    void Filter(LPCTSTR lpszPrefix);
    int FindFirstStartingWith(const CString& strText) const;
    void RecalcLayout();
    void Select(int nIndex);
    void SetTop(int nTop);
    int ItemFromPoint(CPoint pt) const;
    void InsertSelection();

    CKLVSyntaxEditCtrl* m_pEdit = nullptr;
    std::vector<CKLVSyntaxEditAutoCompleteItem> m_arItems;
    std::vector<const CKLVSyntaxEditAutoCompleteItem*> m_arShown;
    CImageList m_imageList;
    CFont* m_pFont = nullptr;
    COLORREF m_clrBack = 0, m_clrText = 0, m_clrHighlight = 0, m_clrHighlightText = 0;
    int m_nFrameHeight = 0;
    int m_nItemHeight = 0;
    int m_nVisible = 0;
    CString m_strTyped;
    int m_nStartCol = 0;
    int m_nEndCol = 0;
    int m_nSelected = -1;
    int m_nTop = 0;
    BOOL m_bOpen = FALSE;
    BOOL m_bPrefix = FALSE;
    BOOL m_bChosen = FALSE;
    // Tags separated by "~"; nothing fills them, so no tag ever opens or completes the list.
    CString m_strCloseTags;
    CString m_strOpenTags;
    CString m_strTypedClose;
    CString m_strTypedOpen;
};
