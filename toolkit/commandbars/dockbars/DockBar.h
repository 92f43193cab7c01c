// The strip along one edge of the site frame that holds docked command bars in rows. The rows
// are one array of bars in which a null entry ends a row; entry 0 is always null.
#pragma once

#include "classlib/Array.h"
#include "classlib/Wnd.h"

#include <vector>

class CKLVCommandBar;
class CKLVCommandBarsLink;
class CKLVPaintManager;
class CKLVToolBar;
struct AFX_SIZEPARENTPARAMS;

// One bar of a row in one pass of the row layout; the rectangles run along x.
struct KLVDockBarInfo {
    CKLVCommandBar* pBar;
    CRect rcBar;
    CRect rcRequested;
    int nIndex;        // in the row list handed to the pass
    int nMinLength;    // below it the bar cannot shrink
    int nMinOffset;    // the minimum lengths of the bars before it
};

class CKLVDockBar : public CWnd {
    DECLARE_DYNCREATE(CKLVDockBar)
public:
    // Style bits of the four edges; a style word is masked with styleMask.
    enum : DWORD { styleTop = 0x2800, styleBottom = 0x8200, styleLeft = 0x1400, styleRight = 0x4100,
                   styleMask = 0x40FFFF, styleHorizontal = 0xA000, styleVertical = 0x5500 };
    enum { flagStretched = 0x40 };

    CKLVDockBar();

    // The window of class "KLVDockBar", named after its edge.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // 0 top, 1 bottom, 2 left, 3 right.
    int GetPosition() const;
    BOOL IsHorizontal() const { return (m_dwStyle & styleHorizontal) != 0; }
    // The first entry holding the bar other than nExclude; -1 when none.
    int FindBar(const CKLVCommandBar* pBar, int nExclude = -1) const;
    // Puts the bar into the row the mid point (client coordinates) falls in, at its start, or
    // into a new row; the bar's entry.
    int Insert(CKLVCommandBar* pBar, CRect rcBar, CPoint ptMid);
    // Docks the bar at the screen rectangle, or without one in a new last row.
    void DockCommandBar(CKLVCommandBar* pBar, LPCRECT lpRect = nullptr);
    // Takes the bar out (an emptied row goes with it); nothing when the bar is not here.
    int RemoveCommandBar(CKLVCommandBar* pBar, int nExclude = -1);
    // Gives every stretched bar a row of its own.
    void SeparateStretchedBars();
    // The visible bars of the row holding the entry, in their order on the screen.
    void GetVisibleRowBars(int nPosition, CPtrArray& arrBars) const;
    // Lays every row out within the length; moves the bars when the layout moves windows.
    CSize CalcFixedLayout(int nLength, DWORD dwMode, AFX_SIZEPARENTPARAMS* lpLayout);
    // How a bar is asked for its docked size here.
    DWORD GetBarLayoutMode(const CKLVCommandBar* pBar) const;
    int GetEntryCount() const { return static_cast<int>(m_arrBars.GetSize()); }
    CKLVCommandBar* GetEntry(int nIndex) const { return static_cast<CKLVCommandBar*>(m_arrBars[nIndex]); }

    DWORD m_dwStyle = 0;
    CPtrArray m_arrBars;
    CKLVCommandBarsLink* m_pCommandBars = nullptr;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void RecalcFrameLayout();
    CKLVPaintManager* GetPaintManager() const;
    // The manager's menu bar is a ribbon and lies here.
    BOOL IsRibbonHere() const;
    // One row wrapped into as many lines as it needs; their total thickness.
    int CalcRowsLayout(std::vector<CKLVToolBar*> row, int x, int y, int nLength, AFX_SIZEPARENTPARAMS* lpLayout);
    // One line: its thickness, or -1 with the row index of a bar that does not fit.
    int CalcRowLayout(const std::vector<CKLVToolBar*>& row, int x, int y, int nLength, AFX_SIZEPARENTPARAMS* lpLayout,
                      int& nFailing);
    // The bars at their last docked places, sorted along the row.
    std::vector<KLVDockBarInfo> PlaceRowItems(const std::vector<CKLVToolBar*>& row, int nAcross, int nLength) const;
    static void PushApart(std::vector<KLVDockBarInfo>& items, int nLength);
    // Shrinks the bars into the length; FALSE when the row cannot hold them all.
    BOOL ShrinkRow(std::vector<KLVDockBarInfo>& items, int nLength) const;
    void CommitRow(const std::vector<KLVDockBarInfo>& items, int nLength, int nThickness, AFX_SIZEPARENTPARAMS* lpLayout);

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);

    afx_msg void OnPaint();
    // The background, and with PRF_CHILDREN every visible child at its place.
    afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
