// The in-place windows of the property grid: the edit over a selected value, the drop-down list
// of allowed values, an item's buttons (100 expand, 101 drop-down) and its extra controls. Plain
// forms: the themed ones replace these bodies.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Controls.h"

#include <vector>

class CKLVPropertyGridItem;

class CKLVPropertyGridInplaceEdit : public CEdit {
public:
    CKLVPropertyGridInplaceEdit() = default;
    ~CKLVPropertyGridInplaceEdit() override;

    void SetValue(LPCTSTR lpszValue);
    // Made on first use; later calls move it over the rectangle with the item's edit style.
    void Create(CKLVPropertyGridItem* pItem, CRect rect);
    void HideWindow();
    void DestroyItem();
    // Replaces the text with the next (or previous) allowed value; TRUE when it did.
    BOOL SelectConstraint(int nDirection, BOOL bCircle);
    CKLVPropertyGridItem* GetItem() const { return m_pItem; }

    CKLVPropertyGridItem* m_pItem = nullptr;
    BOOL m_bModified = FALSE;   // the text changed since it was set
    BOOL m_bCancel = FALSE;     // Escape was pressed

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CString m_strValue;
    BOOL m_bSettingText = FALSE;
};

class CKLVPropertyGridInplaceList : public CListBox {
public:
    ~CKLVPropertyGridInplaceList() override;
    void Create(CKLVPropertyGridItem* pItem, CRect rect);
    void Cancel();
    void Apply();
    CKLVPropertyGridItem* GetItem() const { return m_pItem; }

    CKLVPropertyGridItem* m_pItem = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CKLVPropertyGridInplaceButton : public CCmdTarget {
public:
    CKLVPropertyGridInplaceButton(CKLVPropertyGridItem* pItem, UINT nID) : m_pItem(pItem), m_nID(nID) {}
    UINT GetID() const { return m_nID; }
    CKLVPropertyGridItem* GetItem() const { return m_pItem; }
    int GetIndex() const { return m_nIndex; }
    int GetWidth() const;
    CRect GetRect() const { return m_rcButton; }
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnKeyDown(UINT nChar);

    CKLVPropertyGridItem* m_pItem;
    UINT m_nID;
    int m_nIndex = -1;
    CRect m_rcButton;   // placed by the item's value rectangle
};

class CKLVPropertyGridInplaceButtons : public CCmdTarget {
public:
    explicit CKLVPropertyGridInplaceButtons(CKLVPropertyGridItem* pItem) : m_pItem(pItem) {}
    ~CKLVPropertyGridInplaceButtons() override { RemoveAll(); }

    CKLVPropertyGridInplaceButton* Find(UINT nID) const;
    void Remove(UINT nID);
    void AddButton(UINT nID);
    void RemoveAll();
    CKLVPropertyGridInplaceButton* HitTest(CPoint point) const;
    int GetCount() const { return static_cast<int>(m_arrButtons.size()); }
    CKLVPropertyGridInplaceButton* GetAt(int nIndex) const { return m_arrButtons[nIndex]; }

private:
    CKLVPropertyGridItem* m_pItem;
    std::vector<CKLVPropertyGridInplaceButton*> m_arrButtons;
};

// A window an item shows beside its value (a slider, a spin...).
class CKLVPropertyGridInplaceControl : public CWnd {
public:
    virtual void OnShow(CKLVPropertyGridItem* pItem, CRect rcValue);
    virtual void OnHide() { ShowWindow(SW_HIDE); }
    virtual void OnAdjustValueRect(CKLVPropertyGridItem* /*pItem*/, CRect& /*rcValue*/) {}
    virtual void OnValueChanged(const CString& /*strValue*/) {}
};

class CKLVPropertyGridInplaceControls : public CCmdTarget {
public:
    ~CKLVPropertyGridInplaceControls() override { RemoveAll(); }
    int GetCount() const { return static_cast<int>(m_arrControls.size()); }
    CKLVPropertyGridInplaceControl* GetAt(int nIndex) const { return m_arrControls[nIndex]; }
    void Add(CKLVPropertyGridInplaceControl* pControl) { m_arrControls.push_back(pControl); }
    // Destroys the windows and deletes the controls.
    void RemoveAll();

private:
    std::vector<CKLVPropertyGridInplaceControl*> m_arrControls;
};
