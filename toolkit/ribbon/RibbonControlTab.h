// The ribbon's tab row: one control of the ribbon bar that is also the tab manager of the
// ribbon's tabs. Selecting a tab asks the site first (it may cancel), hides the controls of the
// other tabs' groups, tells the site after, and on a minimised ribbon opens the tab's groups in
// a popup below the row.
#pragma once

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/tabs/TabManager.h"

#include <memory>

class CKLVRibbonBar;
class CKLVRibbonTab;

// What the ribbon's tab notifications (codes -552 changing, -551 changed) carry.
struct NMKLVRIBBONTAB {
    NMHDR hdr;
    CKLVControl* pControl;
    CKLVRibbonTab* pTab;
};

class CKLVRibbonControlTab : public CKLVControl, public CKLVTabManager {
    DECLARE_DYNCREATE(CKLVRibbonControlTab)
public:
    enum : UINT { idTabControl = 9604 };
    enum : int { codeTabChanging = -552, codeTabChanged = -551 };

    CKLVRibbonControlTab();
    ~CKLVRibbonControlTab() override;

    // The tab manager's side.
    void Reposition() override;
    CString GetItemTooltip(const CKLVTabManagerItem* pItem) const override;
    void SetSelectedItem(CKLVTabManagerItem* pItem) override;
    // The ribbon theme's tab paint manager when the bar draws with it, else a plain one of its own.
    CKLVTabPainter* GetPaintManager() const override;
    void RedrawControl(const RECT* lpRect, BOOL bAnimate) override;
    BOOL DrawIcon(CDC* pDC, CPoint pt, CKLVTabManagerItem* pItem, BOOL bDraw, CSize& szIcon) override;
    BOOL IsMouseLocked() const override;
    BOOL IsFocused() const override;

    // The control's side.
    void SetFocused(BOOL bFocused) override;
    // A press selects the tab under it at once (a navigation button does its own work).
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    BOOL OnSetPopup(BOOL bPopup) override;
    BOOL GetPopuped() const override { return m_bPopuped; }
    void Draw(CDC* pDC) override;
    void SetRect(CRect rc) override;

    // Accessibility: the row is a page tab list, each tab (child tab index + 1) a page tab.
    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;
    HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;

    CKLVRibbonBar* GetRibbonBar() const;
    CKLVRibbonTab* GetTab(int nIndex) const;
    CKLVRibbonTab* GetSelectedTab() const;
    CKLVRibbonTab* InsertTab(int nIndex, LPCTSTR lpszCaption, int nId = 0);
    // The popup that shows the selected tab's groups while the ribbon is minimised.
    CKLVCommandBar* GetPopupBar() const { return m_pPopupBar; }
    // Ends the tab popup's tracking and lets it go; the selection stays.
    void ClosePopupBar();

    BOOL m_bFocused = FALSE;
    BOOL m_bPopuped = FALSE;

private:
    // The tab of a 1-based accessible child id (null for the row itself); E_INVALIDARG for an id
    // out of range or a null out-parameter.
    HRESULT ResolveChild(const VARIANT& varChild, const void* pOut, CKLVRibbonTab*& pTab) const;
    CRect ScreenRect(CRect rc) const;

    std::unique_ptr<CKLVTabPainter, void (*)(CKLVTabPainter*)> m_pTabPainter;
    CKLVCommandBar* m_pPopupBar = nullptr;
};
