// A docking pane: the leaf of a docking layout that carries one of the application's windows,
// with its id, title and tab caption, options, track sizes and tab colour.
#pragma once

#include "classlib/CmdTarget.h"
#include "toolkit/common/Accessible.h"
#include "toolkit/dockingpane/DockingNode.h"

#include <vector>

class CKLVImageManagerIcon;

class CKLVDockingPane : public CCmdTarget, public CKLVDockingNode, public CKLVAccessible {
public:
    // Options (ORed with the manager's default pane options).
    enum Options { optionNoClose = 1, optionNoHide = 2, optionNoFloat = 4, optionNoCaption = 8,
                   optionMenuButton = 16, optionNoDock = 32 };
    // Enabled flags.
    enum Enabled { enabledActive = 1, enabledNoPresetCancel = 2 };

    explicit CKLVDockingPane(CKLVDockingLayout* pLayout);
    ~CKLVDockingPane() override;

    virtual void SetFocus();
    // The text before the first line feed of the title; the whole title without one.
    virtual CString GetTitle() const;
    // The text after the first line feed; the whole title without one.
    virtual CString GetTabCaption() const;
    virtual CKLVImageManagerIcon* GetIcon(int nWidth = 16) const;
    // The set colour; else the window's answer to the tab colour query; else a preset colour
    // code by the id (below 0x1000000 for negative ids).
    virtual COLORREF GetTabColor() const;
    // Everything but the window, the tab colour and the help id.
    virtual void Copy(const CKLVDockingPane* pPane);

    // Stores the id and takes the string resource of that id as title when there is one.
    void SetID(UINT nID);
    UINT GetID() const { return m_nID; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetFullTitle() const { return m_strTitle; }
    void SetDockingRect(const CRect& rc);
    DWORD GetOptions() const;
    void SetOptions(DWORD dwOptions) { m_dwOptions = dwOptions; }
    int GetEnabled() const { return m_nEnabled; }
    void SetEnabled(int nEnabled) { m_nEnabled = nEnabled; }
    int GetIconID() const { return m_nIconID; }
    void SetIconID(int nIconID) { m_nIconID = nIconID; }
    void SetTabColor(COLORREF clr) { m_clrTab = clr; }
    void SetHelpID(int nHelpID) { m_nHelpID = nHelpID; }
    int GetHelpID() const { return m_nHelpID; }
    HWND GetChild() const { return m_hwndChild; }
    BOOL IsAttached() const { return m_hwndChild != nullptr; }
    void Attach(CWnd* pWnd);
    void Hide();
    void Close();
    void Select();
    void ShowPaneWindow(BOOL bShow);
    BOOL IsFocused() const;
    BOOL IsSelected() const;
    BOOL IsClosed() const { return m_pParentContainer == nullptr; }
    BOOL IsFloating() const;

    void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
    CWnd* GetDockingSite() const override;
    BOOL IsHidden() const override { return m_pParentContainer && m_pParentContainer->IsHidden(); }
    void OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams) override;
    void SetParentContainer(CKLVDockingNode* pContainer) override;
    // The pane's record with the numbers of its holders; loading appends its pane record to the
    // layout. FALSE for an id of 0 or below.
    BOOL DoPropExchange(CKLVPropExchange* pPX) override;
    CKLVDockingNode* Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions = 0) override;
    void Release() override { InternalRelease(); }

    // The accessible part: a page tab named by the tab caption.
    KLV_DECLARE_ACCESSIBLE_TARGET()
    HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;
    HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild) override;

    int m_nTag = 0;
    CPoint m_ptMinTrackSize = CPoint(0, 0);
    CPoint m_ptMaxTrackSize = CPoint(nMaxTrackSize, nMaxTrackSize);

private:
    HWND m_hwndChild = nullptr;
    UINT m_nID = 0;
    int m_nIconID = -1;
    CString m_strTitle;
    DWORD m_dwOptions = 0;
    COLORREF m_clrTab = COLORREF(-1);
    int m_nHelpID = 0;
    int m_nEnabled = enabledActive | enabledNoPresetCancel;
};

// The panes of a node in tree order (the node itself when it is one); none for null.
std::vector<CKLVDockingPane*> KLVPanesOf(CKLVDockingNode* pNode);
