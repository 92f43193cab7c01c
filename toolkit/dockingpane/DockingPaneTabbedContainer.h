// The node that shows one or more panes in one place: a caption with the selected pane's title
// and caption buttons, a tab per pane, and the selected pane's window. It gets a window on its
// first pane in the live layout; in a detached layout it stays data only.
#pragma once

#include "classlib/Wnd.h"
#include "toolkit/dockingpane/DockingNode.h"

class CKLVDockingPane;

class CKLVDockingPaneTabbedContainer : public CWnd, public CKLVDockingContainer {
    DECLARE_DYNAMIC(CKLVDockingPaneTabbedContainer)
public:
    explicit CKLVDockingPaneTabbedContainer(CKLVDockingLayout* pLayout);
    ~CKLVDockingPaneTabbedContainer() override;

    virtual void SelectPane(CKLVDockingPane* pPane, BOOL bActivate = TRUE, BOOL bRelayout = TRUE);
    virtual void CopyFrom(CKLVDockingPaneTabbedContainer* pSource, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions);

    // The site becomes this container's, the pane is attached and selected.
    void Init(CKLVDockingPane* pPane, CWnd* pSite);
    void AttachPane(CKLVDockingPane* pPane, BOOL bSelect = TRUE);
    CKLVDockingPane* GetSelected() const { return m_pSelectedPane; }
    CString GetCaptionText() const;
    BOOL IsActive() const { return m_bActive; }
    BOOL IsCaptionVisible() const;

    BOOL IsHidden() const override;
    HWND GetPaneHwnd() const override { return m_hWnd; }
    void SetParentContainer(CKLVDockingNode* pContainer) override;
    void UpdateCaption() override;
    void OnParentChanged(CKLVDockingNode* pNode) override;
    CKLVDockingNode* Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions = 0) override;
    void RemovePane(CKLVDockingNode* pNode) override;
    void Release() override { InternalRelease(); }

private:
    void RequestLayout();
    void CreateContainerWindow();

    BOOL m_bActive = FALSE;
    BOOL m_bCaptionVisible = TRUE;
    int m_nLockReposition = 0;
    BOOL m_bEnsureSelectedTab = FALSE;   // the next layout pass moves the window even in place
    CKLVDockingPane* m_pSelectedPane = nullptr;
    CKLVDockingPane* m_pTrackingPane = nullptr;
    BOOL m_bMaximized = FALSE;
};
