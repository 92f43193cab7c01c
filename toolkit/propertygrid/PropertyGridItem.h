// One row of a property grid: a category or a property with caption, value, description,
// child items, allowed values and in-place buttons. Owned by the collection it was added to.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/String.h"
#include "toolkit/common/Accessible.h"
#include "toolkit/propertygrid/PropertyGridDefs.h"
#include "toolkit/propertygrid/PropertyGridItems.h"

class CKLVPropertyGridView;
class CKLVPropertyGrid;
class CKLVPropertyGridItemMetrics;
class CKLVPropertyGridInplaceEdit;
class CKLVPropertyGridInplaceList;
class CKLVPropertyGridInplaceButton;
class CKLVPropertyGridInplaceButtons;
class CKLVPropertyGridObjectArray;
class CKLVPropertyGridItemConstraint;

class CKLVPropertyGridItem : public CCmdTarget, public CKLVAccessible {
public:
    enum { nIndentWidth = 14 };   // per level, also the width of the expand box

    CKLVPropertyGridItem(LPCTSTR lpszCaption, LPCTSTR lpszValue = nullptr, CString* pBindString = nullptr);
    CKLVPropertyGridItem(UINT nID, LPCTSTR lpszValue = nullptr, CString* pBindString = nullptr);
    ~CKLVPropertyGridItem() override;

    virtual BOOL GetReadOnly() const { return m_bReadOnly; }
    virtual CRect GetValueRect();
    virtual void SetValue(CString strValue);
    virtual void OnValueChanged(CString strValue);
    virtual BOOL OnDrawItemValue(CDC& dc, CRect rcValue);
    // Draws one entry of the drop-down list; the paint manager's by default.
    virtual void OnDrawItemConstraint(CDC* pDC, CKLVPropertyGridItemConstraint* pConstraint, CRect rc, BOOL bSelected);
    virtual CSize OnMeasureItemConstraint(CDC* pDC, CKLVPropertyGridItemConstraint* pConstraint);
    virtual void OnMeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct);
    virtual BOOL IsValueChanged() const { return m_strValue.Compare(m_strDefaultValue) != 0; }
    virtual void ResetValue() { OnValueChanged(m_strDefaultValue); }
    virtual CString GetViewValue() const;
    virtual CKLVPropertyGridInplaceEdit& GetInplaceEdit();
    virtual void SetFocusToInplaceControl();
    virtual BOOL IsInplaceButtonsVisible() const;
    virtual BOOL OnRequestEdit();
    virtual BOOL OnAfterEdit(CString& strValue);
    virtual void OnCancelEdit();
    virtual void OnValidateEdit();
    virtual DWORD GetEditStyle() const;
    virtual void SetVisible(BOOL bVisible) { m_bVisible = bVisible; }
    virtual void OnIndexChanged() {}
    virtual void OnSelect();
    virtual void OnDeselect();
    virtual BOOL OnChar(UINT nChar);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual BOOL OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {}
    virtual BOOL OnKeyDown(UINT /*nChar*/) { return FALSE; }
    virtual void OnAddChildItem();
    virtual void OnInplaceButtonDown(CKLVPropertyGridInplaceButton* pButton);
    virtual CKLVPropertyGridInplaceList& GetInplaceList();
    virtual void OnValueChangedInplaceEdit(const CString& strValue);
    virtual void OnBeforeInsert();
    virtual void OnConstraintsChanged() {}

    void SetCaption(LPCTSTR lpszCaption);
    CString GetCaption() const { return m_strCaption; }
    CString GetDescription() const { return m_strDescription; }
    CString GetValue() const { return m_strValue; }
    void SetDescription(LPCTSTR lpszDescription) { m_strDescription = lpszDescription; }
    UINT GetFlags() const { return m_nFlags; }
    void SetFlags(UINT nFlags);
    void SetReadOnly(BOOL bReadOnly);
    void SetMask(LPCTSTR lpszMask, LPCTSTR lpszLiteral, char chPrompt = '_');
    void SetPasswordMask(char chMask = '*');
    BOOL IsHidden() const { return m_bHidden; }
    BOOL IsCategory() const { return m_bCategory; }
    BOOL IsExpanded() const { return m_bExpanded; }
    BOOL IsVisible() const { return m_bVisible; }
    BOOL IsSelected() const;
    void Expand();
    void Collapse();
    void Select();
    CRect GetItemRect() const;
    CKLVPropertyGridItem* InsertChildItem(int nIndex, CKLVPropertyGridItem* pItem);
    CKLVPropertyGridItem* AddChildItem(CKLVPropertyGridItem* pItem) { return InsertChildItem(-1, pItem); }
    BOOL IsChildOf(const CKLVPropertyGridItem* pItem) const;
    BOOL HasChilds() const { return m_pChilds->GetCount() > 0; }
    BOOL HasVisibleChilds() const;
    CKLVPropertyGridItems* GetChilds() const { return m_pChilds; }
    CKLVPropertyGridItemConstraints* GetConstraints() const { return m_pConstraints; }
    CKLVPropertyGridInplaceButtons* GetInplaceButtons() const { return m_pInplaceButtons; }
    CKLVPropertyGridObjectArray* GetInplaceControls() const { return m_pInplaceControls; }
    CKLVPropertyGridItemMetrics* GetMetrics(BOOL bValueMetrics, BOOL bCreate = TRUE);
    CKLVPropertyGridItem* GetParentItem() const { return m_pParent; }
    CKLVPropertyGridView* GetGridView() const { return m_pGrid; }
    CKLVPropertyGrid* GetGrid() const;
    int GetIndex() const { return m_nIndex; }
    int GetIndent() const { return m_nIndent; }
    UINT GetID() const { return m_nID; }
    // Detaches the item from its view, its children and its in-place windows.
    void Clear();

    int m_nIndex = -1;
    int m_nIndent = 0;
    UINT m_nID = 0;
    UINT m_nFlags = KLVPGItemHasEdit;
    BOOL m_bReadOnly = FALSE;
    BOOL m_bVisible = FALSE;
    BOOL m_bCategory = FALSE;
    BOOL m_bExpanded = FALSE;
    CString m_strValue;
    CString m_strDefaultValue;
    CString m_strCaption;
    CString m_strDescription;
    CKLVPropertyGridItem* m_pParent = nullptr;
    CKLVPropertyGridView* m_pGrid = nullptr;
    CKLVPropertyGridItems* m_pChilds;
    CKLVPropertyGridItemConstraints* m_pConstraints;
    CKLVPropertyGridItemMetrics* m_pValueMetrics = nullptr;
    CKLVPropertyGridItemMetrics* m_pCaptionMetrics = nullptr;
    CKLVPropertyGridInplaceButtons* m_pInplaceButtons;
    CKLVPropertyGridObjectArray* m_pInplaceControls;
    int m_nDropDownItemCount = 10;
    CString* m_pBindString = nullptr;
    CString m_strMask;
    CString m_strLiteral;
    char m_chPrompt = '*';
    bool m_bUseMask = false;
    BOOL m_bPassword = FALSE;
    BOOL m_bHidden = FALSE;
    int m_nHeight = -1;
    int m_nLinesCount = 1;
    DWORD m_dwEditStyle = 0;
    BOOL m_bConstraintEdit = FALSE;   // only the constraints are taken; the edit is read-only

    // The row as an accessible object; only the object itself (no child id) is answered.
    CCmdTarget* GetAccessibleTarget() override { return this; }
    LPUNKNOWN GetInterface(const IID& iid) override;
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleValue(VARIANT varChild, BSTR* pszValue) override;
    HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild) override;

protected:
    LRESULT Notify(WPARAM nCode, LPARAM lParam) const;
    BOOL NotifyEdit(WPARAM nCode, CString* pValue);
    void StepConstraint();
    void Reselect();

private:
    void Init(LPCTSTR lpszValue, CString* pBindString);
};
