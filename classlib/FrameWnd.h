// CFrameWnd: a window that lays out control bars along its edges and a view (or an MDI client)
// in what they leave, keeps the active view, and routes commands view -> document -> frame ->
// application. CCreateContext carries what a frame needs to make its view for a document.
#pragma once

#include "classlib/CommandIds.h"
#include "classlib/Wnd.h"

#include <vector>

class CDocTemplate;
class CDocument;
class CView;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;   // the view to make, or null
    CDocument* m_pCurrentDoc = nullptr;          // the document the view shows
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// What a frame puts away while it shows a print preview, to give it back afterwards.
struct CPrintPreviewState {
    HMENU hMenu = nullptr;            // the frame's menu
    HACCEL hAccelTable = nullptr;     // its accelerators
    std::vector<HWND> hiddenBars;     // the control bars that were visible
};

// Frame styles beside the window styles.
#define FWS_ADDTOTITLE 0x00008000L   // the document's title goes into the frame's title
#define FWS_PREFIXTITLE 0x00004000L  // the document's title first
#define FWS_SNAPTOBARS 0x00002000L

// The style of a view a frame creates.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() noexcept = default;
    ~CFrameWnd() override;

    static const CRect rectDefault;   // CW_USEDEFAULT position and size

    // Bits of m_nIdleFlags: work the frame does at the next idle time.
    enum { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };

    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame with the resources of nIDResource: menu, accelerators, icon, and the
    // title (the string's text up to its first line break).
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);

    // ---- Layout: bars first, then the view (AFX_IDW_PANE_FIRST) in the rest.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    // Tells the popups this frame owns that its caption turned active or inactive
    // (WM_FLOATSTATUS with FS_ACTIVATE or FS_DEACTIVATE).
    void NotifyFloatingWindows(BOOL bActive);

    // ---- Views and documents.
    CView* GetActiveView() const { return m_pViewActive; }
    // The new view gets OnActivateView(TRUE), the old one OnActivateView(FALSE); with bNotify the
    // focus goes to the view too.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame commands go to: for an MDI frame its active child, else this frame.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // Makes the first pane the active view, sends WM_INITIALUPDATE to every view and shows the
    // frame with bMakeVisible.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // Entering a print preview (bPreview) puts the menu, the accelerators and the visible control
    // bars away in pState; leaving gives them back from it.
    virtual void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    // ---- Commands: the active view (and its document) first, then the frame, then the
    // application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    UINT m_nIDHelp = 0;
    UINT m_nIdleFlags = 0;
    // Set while the frame is in context-help mode (the user picks what to get help on); windows
    // in the frame then answer hit tests for help rather than act.
    BOOL m_bHelpMode = FALSE;
    BOOL m_bAutoMenuEnable = TRUE;   // menu items without a handler are disabled
    int m_nWindow = -1;              // the window number shown in the title (":2"); -1 none
    CRect m_rectBorder;              // space RecalcLayout leaves free around the view

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;   // frames delete themselves
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // The creation context WM_CREATE carries (an MDI child carries it inside its own record).
    virtual CCreateContext* ContextOf(LPCREATESTRUCT lpcs);
    // For LoadFrame: the help id and title from the resources of nIDResource; the window class
    // with the resource's icon.
    LPCTSTR PrepareLoadFrame(UINT nIDResource);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    DECLARE_MESSAGE_MAP()

protected:
    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    BOOL m_bInRecalcLayout = FALSE;

    friend class CView;
};
