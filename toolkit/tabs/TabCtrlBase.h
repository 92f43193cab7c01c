// The logic of a tab control that manages one page window per tab: pages created or adopted,
// the selected tab's page shown in the area inside the tabs and kept in step with the frame's
// active view, labels shortened when the tabs do not fit, keyboard switching, command routing to
// the active page, a context menu and tooltips. A tab control window embeds it and forwards.
#pragma once

#include "classlib/TabCtrl.h"
#include "toolkit/common/AuxData.h"
#include "toolkit/tabs/TabCtrlStyle.h"

#include <memory>
#include <vector>

class CDocument;
class CFrameWnd;
class CView;
struct CCreateContext;

class CKLTabCtrlButtons;

class CKLTabCtrlBase : public CKLThemeManagerStyleHost {
public:
    // Sent to the control's owner as a selection change begins (wParam the control's id, lParam
    // the control).
    enum : UINT { msgSelChanging = 10049 };
    enum { nMaxLabel = 256 };

    CKLTabCtrlBase();
    ~CKLTabCtrlBase() override;

    // The factory class: the themed one when the program links it, else the system stand-in.
    virtual CRuntimeClass* CreateStyleFactory();
    void OnThemeChanged() override;
    virtual void Init();
    virtual void GetChildRect(CRect& rcChild) const;
    // Spaces around the label until it is as wide in the normal font as in the bold one.
    virtual CString PadLabel(LPCTSTR lpszLabel);
    virtual void PreSubclassWindow();
    virtual void PreCreateWindow() { m_bPreSubclassInit = false; }
    virtual void UpdateFont();
    virtual CToolTipCtrl* GetToolTips() const;
    virtual void SetToolTips(CToolTipCtrl* pWndTip);
    virtual BOOL AddToolTip(int nTab, LPCTSTR lpszText);
    virtual BOOL UpdateTipText(LPCTSTR lpszText, CWnd* pPage);
    virtual BOOL UpdateTipText(LPCTSTR lpszText, int nTab);
    virtual void ResetToolTips();
    virtual BOOL EnableToolTips(BOOL bEnable);
    virtual BOOL AddView(LPCTSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc = nullptr,
                         CCreateContext* pContext = nullptr, int nIndex = -1, int nImage = -1);
    virtual BOOL AddView(LPCTSTR lpszLabel, CWnd* pWnd, int nIndex = -1, int nImage = -1) {
        return AddControl(lpszLabel, pWnd, nIndex, nImage);
    }
    virtual BOOL AddControl(LPCTSTR lpszLabel, CWnd* pWnd, int nIndex = -1, int nImage = -1);
    virtual CWnd* GetView(CRuntimeClass* pViewClass) const;
    virtual CWnd* GetView(int nView) const;
    virtual CWnd* GetActiveView() const;
    virtual void ActivateView(CWnd* pView);
    virtual void SetActiveView(CRuntimeClass* pViewClass);
    virtual void SetActiveView(CWnd* pView);
    virtual void SetActiveView(int nActiveTab);
    virtual void DeleteView(CRuntimeClass* pViewClass, BOOL bDestroyWnd = TRUE);
    virtual void DeleteView(CWnd* pView, BOOL bDestroyWnd = TRUE);
    virtual void DeleteView(int nView, BOOL bDestroyWnd = TRUE);
    virtual CString GetViewLabel(CRuntimeClass* pViewClass) const;
    virtual CString GetViewLabel(int nView) const;
    virtual void RepositionViews();
    // Adds a page's move to the batch when its rectangle differs from rcChild.
    virtual HDWP DeferViewPos(HDWP hDWP, CWnd* pView, const CRect& rcChild);
    virtual void MoveToChildRect(CWnd* pView);
    virtual void RemoveListItem(int nIndex, BOOL bDestroyWnd = TRUE);
    virtual void DeleteAllViews(BOOL bDestroyWnd = TRUE);
    virtual int HitTest(CPoint pt = CPoint(0, 0)) const;
    virtual BOOL IsView(CWnd* pView) const;
    virtual BOOL ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    virtual void SetMenu(UINT nMenuID, int nSubMenu = 0);
    virtual UINT GetMenu() const { return m_nMenuID; }
    virtual void SendInitialUpdate(BOOL bInitialUpdate) { m_bInitialUpdate = bInitialUpdate; }
    virtual void OnSelChanging();
    virtual void OnSelChange();
    virtual CWnd* CreateView(CRuntimeClass* pViewClass, CDocument* pDocument, CCreateContext* pContext);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    virtual void OnSizeChanged() { RepositionViews(); }

    // Stores the control and links the buttons window to it.
    void Attach(CTabCtrl* pTabCtrl);
    CTabCtrl* GetTabCtrl() const { return m_pTabCtrl; }
    void SetAutoCondense(BOOL bAutoCondense);
    BOOL IsAutoCondense() const { return m_bAutoCondense; }
    // Shortens the labels that do not fit (with auto-condense on) or restores them.
    void Condense();
    // The context menu at a click (client coordinates of the control).
    void OnRButtonDown(CPoint point);
    void OnDestroy() { DeleteAllViews(TRUE); }
    CKLTabCtrlStyle* GetTabStyle();
    // The scroll and close buttons' window; null before Init.
    CKLTabCtrlButtons* GetButtons() const { return m_pButtons.get(); }
    // Keeps the theme's scroll and close buttons hidden.
    BOOL m_bNoButtons = FALSE;
    // The narrowest a condensed tab becomes, in the control's font.
    int GetMinTabWidth() const;
    int GetItemRecordCount() const { return static_cast<int>(m_lstItems.size()); }
    const CKLTabCtrlItem* GetItemRecord(int nIndex) const { return m_lstItems[nIndex].get(); }

    BOOL m_bAutoCondense = FALSE;
    bool m_bPreSubclassInit = true;
    CTabCtrl* m_pTabCtrl = nullptr;
    std::unique_ptr<CKLTabCtrlButtons> m_pButtons;   // made when the control is first set up
    std::vector<std::unique_ptr<CKLTabCtrlItem>> m_lstItems;
    int m_nMenuIndex = 0;
    UINT m_nMenuID = 0;
    BOOL m_bInitialUpdate = FALSE;
    CWnd* m_pParentWnd = nullptr;
    CWnd* m_pLastActiveView = nullptr;
    CFrameWnd* m_pParentFrame = nullptr;
    int m_nPreviousSel = -1;

private:
    CKLTabCtrlItem* FindRecord(int nTab) const;
    int FindIndex(CWnd* pView) const;
    int FindIndex(CRuntimeClass* pViewClass) const;
    // A page that is the frame's active view gives it back before it goes or hides.
    void ReleaseActiveView(CWnd* pView);
    void SetLabel(int nTab, const CString& strLabel);
    int LabelWidth(CDC* pDC, const CString& strLabel, BOOL bImage) const;
};
