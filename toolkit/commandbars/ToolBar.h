// The dockable command bar: it lives in a dock bar of the frame or floats in an owned popup
// window, is dragged between those places and resized while floating, builds its controls from
// a tool-bar resource, and carries a close button while floating and a "Toolbar Options" button
// whose popup lists its buttons for showing and hiding. Made with CreateToolBar it stands alone
// at the top of any window, without command bars.
#pragma once

#include "toolkit/commandbars/barbase/CommandBar.h"

#include <memory>

class CKLVToolBarTracker;
struct AFX_SIZEPARENTPARAMS;

class CKLVToolBar : public CKLVCommandBar {
    DECLARE_SERIAL(CKLVToolBar)
public:
    // Flags of the tool-bar family: where the bar may dock, whether it may float.
    enum DockFlags { flagDockTop = 1, flagDockBottom = 2, flagDockLeft = 4, flagDockRight = 8, flagFloat = 16,
                     flagDockMask = 15, flagMoveMask = 31, flagHideWrap = 0x20, flagStretched = 0x40,
                     flagStretchShared = 0x100000 };
    // Ids of the special controls and strings the bar makes.
    enum : UINT { idToolBarOptions = 9148, idCloseButton = 9149, idResetToolBar = 9123, idsResetQuestion = 9173,
                  idsUpdatedQuestion = 9177 };
    // Messages to the site: visibility changed (bar, state), the bar was reset.
    enum : UINT { msgVisibleChanged = 0x2855, msgToolBarReset = 0x2864 };
    // Floating bars keep this much of their window inside the work area; the docked options
    // button takes this much room at the end of the bar.
    enum { floatingMargin = 10, optionsButtonReserve = 11, floatingBorder = 3 };

    CKLVToolBar();
    ~CKLVToolBar() override;

    // Virtual operations the tool-bar family adds, in this order.
    // The size of the docked bar for the length along its dock bar; nWidth 0 lets it choose
    // its thickness.
    virtual CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0);
    // Back to the controls the bar was loaded with; with bAsk the user confirms first.
    virtual void ResetToolBar(BOOL bAsk = TRUE);
    // The bar's window, docked (a child) or floating (an owned popup), made or changed over.
    virtual BOOL CreateToolBarWindow(CWnd* pParentWnd, BOOL bFloating);
    virtual void OnCreatedHook() {}
    // Whether the controls differ from those the bar was loaded with.
    virtual BOOL IsResetAvailable();
    virtual void OnStateExchangeHook() {}

    // A stand-alone bar in the window: no docking, no floating, laid out at the top.
    BOOL CreateToolBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID);
    // Fills the target with one item per button for showing and hiding it, and the reset item.
    void FillAddRemoveButtons(CKLVCommandBar* pTarget);
    void OnSetPreviewMode(BOOL bPreview);
    CKLVToolBarTracker* GetTracker() const { return m_pTracker.get(); }
    BOOL IsFloating() const { return m_barPosition == barFloating; }
    BOOL IsDocked() const { return m_barPosition >= barTop && m_barPosition <= barRight; }
    BOOL IsTemporary() const { return m_bTemporary; }
    void SetTemporary(BOOL bTemporary) { m_bTemporary = bTemporary; }
    // The gripper's rectangle in client coordinates; empty without a visible gripper.
    CRect GetGripperRect();

    // What the command bar's tool-bar family overrides.
    BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE) override;
    void SetVisible(BOOL bVisible) override;
    BOOL IsVisible() const override { return m_bVisible; }
    BOOL SetPosition(int nPosition) override;
    void OnRecalcLayout() override;
    void GetBorders(CRect& rcBorders) override;
    int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void Copy(CKLVCommandBar* pCommandBar, BOOL bRecursive = FALSE) override;
    // The bar's keys, then those of the tool-bar family.
    void DoPropExchange(CKLVPropExchange* pPX) override;
    BOOL IsToolBar() const override { return TRUE; }

    BOOL m_bResettable = TRUE;
    BOOL m_bTemporary = FALSE;
    BOOL m_bPreviewVisible = FALSE;
    BOOL m_bPreview = FALSE;
    BOOL m_bShowOptionsButton = TRUE;
    BOOL m_bInRecalcLayout = FALSE;
    // The bar is offered in the tool-bar list of menus and context menus.
    BOOL m_bContextMenuPresent = TRUE;
    // The bar is offered to the customize dialog.
    BOOL m_bCustomizeDialogPresent = TRUE;

protected:
    std::unique_ptr<CKLVToolBarTracker> m_pTracker;

    // The special control of the id at the end of the bar, made when missing; left hidden.
    CKLVControl* PrepareSpecialControl(UINT nId);
    void HideSpecialControl(UINT nId);
    // Lays the controls out in the DC and commits a pending layout with the commit bit.
    CSize LayoutControls(CDC* pDC, int nLength, DWORD dwMode, int nWidth);
    CSize LayoutWithOptionsButton(CDC* pDC, CKLVControl* pOptions, int nLength, DWORD dwMode, int nWidth);
    void CommitLayout(DWORD dwMode);
    BOOL HasWrappedControls() const;
    // Brings the controls into the order of the set the bar was loaded with: buttons the user
    // hid are taken out, and every loaded button the bar lacks comes back, hidden by the user.
    void RestoreDefaultOrder();
    void RelayoutFrame();
    int GetCaptionHeight();
    // Asks whether the bar's changes are to be reset (question 9173); TRUE for OK.
    BOOL ConfirmReset() const;

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

    friend class CKLVToolBarTracker;
};
