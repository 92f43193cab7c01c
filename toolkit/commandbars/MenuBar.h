// The bar that replaces the frame's Windows menu: it takes the menu over, watches the frame, its
// MDI client and the active MDI child for the menu key, MDI activation and menu changes, keeps
// one set of controls per document template, and shows the maximised child's system menu and
// its minimise, restore and close buttons.
#pragma once

#include "classlib/Map.h"
#include "toolkit/commandbars/ToolBar.h"

class CKLVMenuBar;
class CMDIFrameWnd;

// The controls a document template's menu showed, kept while another template is active.
class CKLVMenuBarTemplateMenu : public CCmdTarget {
public:
    CKLVMenuBarTemplateMenu(UINT nTemplateId, CKLVControls* pControls);
    ~CKLVMenuBarTemplateMenu() override;

    CKLVControls* m_pControls = nullptr;   // a counted reference
    CString m_strDocName;
    CString m_strFileTypeName;
    HICON m_hIcon = nullptr;
    UINT m_nTemplateId = 0;
    BOOL m_bChanged = FALSE;
};

class CKLVMenuBarTemplateMenus : public CMap<UINT, UINT, CKLVMenuBarTemplateMenu*, CKLVMenuBarTemplateMenu*> {
public:
    explicit CKLVMenuBarTemplateMenus(CKLVMenuBar* pMenuBar) : m_pMenuBar(pMenuBar) {}
    ~CKLVMenuBarTemplateMenus() override { RemoveAllMenus(); }
    CKLVMenuBarTemplateMenu* Find(UINT nTemplateId) const;
    // Takes the record's reference.
    void Add(CKLVMenuBarTemplateMenu* pMenu);
    void RemoveMenu(UINT nTemplateId);
    void RemoveAllMenus();

    CKLVMenuBar* m_pMenuBar;
};

class CKLVMenuBar : public CKLVToolBar {
    DECLARE_SERIAL(CKLVMenuBar)
public:
    // Flags beyond the dock bits.
    enum : UINT {
        flagNoMinimize = 0x100, flagNoRestore = 0x200, flagKeepFrameMenu = 0x400, flagNoClose = 0x1000,
        flagShowSysMenu = 0x2000, defaultFlags = 95
    };
    enum : UINT {
        idMdiClose = 9151, idMdiRestore = 9152, idMdiMinimize = 9153, idMdiSysMenu = 9154, idMdiBitmap = 9102,
        timerMdiButtons = 12223
    };

    CKLVMenuBar();
    ~CKLVMenuBar() override;

    // Builds the controls from the menu resource (none for 0), hooks the frame and takes its menu.
    virtual BOOL LoadMenuBar(UINT nMenuId);

    void SetupHook();
    // The active MDI child window; null without an MDI frame site.
    HWND GetActiveMdiChild(BOOL* pbMaximized = nullptr) const;
    void RefreshMdiChildHook();
    void UpdateMdiButtons();
    // Shows the controls of the template, saving the current ones first.
    void SwitchMenu(UINT nTemplateId, HMENU hMenu);
    void OnFrameMenuChange(HMENU hMenu);
    UINT GetCurrentTemplateId() const { return m_nCurrentTemplateId; }
    CKLVMenuBarTemplateMenus* GetTemplateMenus() const { return m_pTemplateMenus; }
    HMENU GetFrameMenu() const { return m_hFrameMenu; }

    void ResetToolBar(BOOL bAsk = TRUE) override;
    BOOL IsResetAvailable() override;
    void Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    // Saved state: the control sets kept per document template are walked too.
    void GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) override;
    void RestoreCommandBarList(CKLVCommandBarList* pList) override;

    CMDIFrameWnd* m_pMDIFrame = nullptr;
    HWND m_hwndHookedChild = nullptr;
    HMENU m_hFrameMenu = nullptr;
    UINT m_nMenuId = 0;
    UINT m_nCurrentTemplateId = 0;
    CKLVMenuBarTemplateMenus* m_pTemplateMenus;
    BOOL m_bTemplateMenusCompared = FALSE;

protected:
    // The menu bar's view of the frame, its MDI client and the hooked child.
    class CFrameHookSink : public CKLVHookSink {
    public:
        explicit CFrameHookSink(CKLVMenuBar* pBar) : m_pBar(pBar) {}
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
        CKLVMenuBar* m_pBar;
    };

    // The frame's messages as the hook sees them; a derived bar takes more of them first.
    virtual int OnFrameMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    // Alt alone: the bar takes the keyboard; TRUE when it did.
    virtual BOOL OnMenuKey();
    // The bar is shown, no popup holds the mouse, Shift is up and nobody customizes.
    BOOL IsMenuKeyAllowed() const;
    LRESULT OnMdiSetMenu(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    void UnhookAll();
    // Adds or removes the MDI control of the id; TRUE when something changed.
    BOOL UpdateMdiControl(UINT nId, BOOL bWanted, HWND hChild, HMENU hSysMenu);
    void RelayoutAfterChange();

    CFrameHookSink m_frameHook{this};
    HWND m_hwndHookedFrame = nullptr;
    HWND m_hwndHookedClient = nullptr;

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};
