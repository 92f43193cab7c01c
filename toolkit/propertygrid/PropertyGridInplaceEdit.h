// The edit laid over the value of the selected row: masked or password input, stepping through
// the item's allowed values, and the notifications that commit or cancel the edit.
#pragma once

#include "classlib/GdiObject.h"
#include "toolkit/common/MaskEdit.h"

class CKLVPropertyGridItem;
class CKLVPropertyGridView;

class CKLVPropertyGridInplaceEdit : public CKLMaskEditT {
public:
    CKLVPropertyGridInplaceEdit() = default;
    ~CKLVPropertyGridInplaceEdit() override;

    virtual void SetValue(LPCTSTR lpszValue);
    virtual void HideWindow();
    // Shows the edit for an item over a rectangle of its view.
    virtual void Create(CKLVPropertyGridItem* pItem, CRect rect);
    virtual void DestroyItem();
    // Moves the text to another of the item's allowed values; FALSE when the text is none of them.
    virtual BOOL SelectConstraint(int nStep, BOOL bCycle);

    BOOL CreateEdit(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Replaces the prompt character in the default and the shown text.
    void SetPromptChar(char chPrompt, BOOL bRedraw = TRUE);

    CKLVPropertyGridItem* GetItem() const { return m_pItem; }
    const CString& GetStoredValue() const { return m_strValue; }
    BOOL IsCancelled() const { return m_bCancel; }

    CString m_strValue;
    CBrush m_brBack;
    COLORREF m_clrBack = COLORREF(-1);
    CKLVPropertyGridView* m_pGrid = nullptr;
    CKLVPropertyGridItem* m_pItem = nullptr;
    BOOL m_bDelayCreate = FALSE;   // destroy and create the window again at the next Create
    BOOL m_bEditMode = FALSE;      // change notifications are sent
    BOOL m_bCreated = FALSE;       // the edit had the focus
    BOOL m_bCancel = FALSE;        // Escape was pressed

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    BOOL OnEditKeyDown(UINT nChar, BOOL bSystem);
    BOOL OnEditChar(UINT nChar);
    // The allowed value after the current text that starts with the typed character.
    BOOL SelectByFirstChar(UINT nChar);
    void SelectAllAndScroll();
    void FocusView();
    HBRUSH OnCtlColor(HDC hDC);
};

// The edit of items outside any grid view; its window is destroyed when the application exits.
CKLVPropertyGridInplaceEdit& KLVPropertyGridFallbackEdit();
