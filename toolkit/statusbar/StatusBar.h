// The frame's status bar and its panes. The common-controls status window keeps only the pane
// partition and the texts; the panes (text, icon, font, colours, margins, alignment, tooltip,
// child control) are ours, and the bar paints itself through the command-bar paint manager.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/CommandIds.h"
#include "classlib/ControlBar.h"
#include "classlib/GdiObject.h"
#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "toolkit/commandbars/interfaces/StatusBarPainter.h"

#include <vector>

class CKLVCommandBars;
class CKLVImageManagerIcon;
class CKLVPaintManager;
class CKLVStatusBar;
class CKLVTooltipHost;

class CKLVStatusBarPane : public CCmdTarget {
    DECLARE_DYNAMIC(CKLVStatusBarPane)
public:
    enum { styleNoBorders = 0x100, stylePopOut = 0x200, styleDisabled = 0x04000000, styleStretch = 0x08000000 };
    enum { flagSendText = 0x1 };

    CKLVStatusBarPane() noexcept = default;
    // Destroys a child control that still lives (deleting it when the pane owns it).
    ~CKLVStatusBarPane() override;

    // The pane's own font, else the bar's.
    virtual CFont* GetTextFont();
    // The icon of the icon id from the command bars' image manager (the process-wide one without
    // command bars); null without an icon id.
    virtual CKLVImageManagerIcon* GetImage() const;
    // Draws the pane through the paint manager while the bar paints itself.
    virtual void Draw(CDC* pDC, CRect rc);
    // What the painter shows of the pane.
    KLVStatusPaneLook GetLook();

    CRect GetMargins() const { return m_rcMargins; }
    int GetTextAlignment() const { return m_nAlignment; }
    const CString& GetTooltip() const { return m_strToolTip; }
    CKLVStatusBar* GetStatusBar() const { return m_pStatusBar; }
    // The content width: the text with its margins, and the icon beside it.
    void FitWidthToText();

    UINT m_nID = 0;
    int m_cxText = 0;
    UINT m_nStyle = 0;
    UINT m_nFlags = 0;
    CString m_strText;
    BOOL m_bVisible = TRUE;
    COLORREF m_clrText = COLORREF(-1);
    COLORREF m_clrBackground = COLORREF(-1);
    CString m_strToolTip;
    HWND m_hwndChild = nullptr;
    BOOL m_bAutoDeleteWnd = FALSE;
    int m_nAlignment = 0;
    CKLVStatusBar* m_pStatusBar = nullptr;
    int m_nIndex = -1;
    int m_nVisibleIndex = -1;
    CFont m_fntText;
    int m_nIconId = -1;
    CRect m_rcMargins = CRect(2, 1, 2, 1);
};

class CKLVStatusBar : public CControlBar, public CKLVStatusBarFace {
    DECLARE_DYNAMIC(CKLVStatusBar)
public:
    // Asked of the bar by frame themes that join the status bar to the frame border.
    enum : UINT { msgStatusBarFrame = 10324 };

    CKLVStatusBar();
    ~CKLVStatusBar() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id: 0 is a separator (the first one stretches), any other id takes the text
    // of its string resource. FALSE at the first id without a string; the panes built stay.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetPaneCount() const { return static_cast<int>(m_arrPanes.size()); }
    CKLVStatusBarPane* GetPane(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    int GetVisiblePaneCount() const;
    // The visible pane under the client point (and its rectangle), or null.
    CKLVStatusBarPane* HitTest(CPoint pt, CRect* pRect) const;

    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
    void RemoveAll();
    // Moves every pane's child control over its pane.
    void PositionControls();

    // With command bars the bar draws with their paint manager, else with the process-wide one.
    void SetCommandBars(CKLVCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    CKLVCommandBars* GetCommandBars() const { return m_pCommandBars; }
    CKLVPaintManager* GetPaintManager() const;
    // FALSE: the native control paints.
    void EnableThemes(BOOL bThemed) { m_bThemed = bThemed; }
    BOOL IsThemed() const { return m_bThemed; }
    void SetDrawDisabledText(BOOL bDraw) { m_bDrawDisabledText = bDraw; }
    BOOL IsDrawDisabledText() const { return m_bDrawDisabledText; }
    // Shows or hides the bar at the frame's next idle update; nothing waits when the bar
    // already is so.
    // The host of the panes' tooltips.
    CKLVTooltipHost* GetToolTipContext() const { return m_pToolTipContext; }

    virtual void DrawPane(CDC* pDC, int nIndex, CRect rc);
    void GetFaceRect(LPRECT lpRect) const override { GetClientRect(lpRect); }
    BOOL GetFirstPaneRect(LPRECT lpRect) const override;
    virtual void DrawGripper(CDC* pDC, CRect rc);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    // Mouse messages reach the tooltip host first.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CFont m_fontStatus;
    BOOL m_bDrawDisabledText = TRUE;

protected:
    // The native control's horizontal, vertical and between-parts borders.
    void GetNativeBorders(int& cxBorder, int& cyBorder, int& cxBetween) const;
    BOOL HasSizeGrip() const;
    BOOL IsGripperShown() const;
    // Paints through the paint manager; FALSE when the native control must paint.
    BOOL PaintThemed(CDC* pDC);
    void PaintNonClient();
    BOOL IsPaneIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetPaneCount(); }
    int LastVisibleIndex() const;
    CKLVStatusBarPane* FindPane(UINT nID) const;

    afx_msg LRESULT OnCreateBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTestBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcCalcSizeBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcPaintBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaintBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEraseBkgndBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowPosChangingBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowPosChangedBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUIBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetTextBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLengthBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStatusBarFrame(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    std::vector<CKLVStatusBarPane*> m_arrPanes;
    int m_nMinHeight = 0;
    CKLVCommandBars* m_pCommandBars = nullptr;
    BOOL m_bThemed = TRUE;
    CKLVTooltipHost* m_pToolTipContext;
    CFont m_fontControl;   // the native control's copy of the bar's font
};
