// What the status bar asks of the paint manager that draws it. The bar and its panes are seen
// here only through what painting reads of them, so that the command bars need not know the
// status bar's classes.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"

class CDC;
class CFont;
class CKLVImageManagerIcon;

// A pane as its painter reads it.
struct KLVStatusPaneLook {
    const CString* pText = nullptr;
    CFont* pFont = nullptr;
    CKLVImageManagerIcon* pImage = nullptr;
    CRect rcMargins;
    int nAlignment = 0;  // 0 left, 1 centred, 2 right
    BOOL bDisabled = FALSE;
    BOOL bNoBorders = FALSE;
    // FALSE: a disabled pane whose bar hides disabled text shows its background only.
    BOOL bDrawContent = TRUE;
    COLORREF clrText = COLORREF(-1);        // -1: the paint manager's status text colour
    COLORREF clrBackground = COLORREF(-1);  // -1: no fill of its own
};

// The status bar as its painter reads it.
class CKLVStatusBarFace {
public:
    virtual void GetFaceRect(LPRECT lpRect) const = 0;
    // The first pane's rectangle; FALSE without panes.
    virtual BOOL GetFirstPaneRect(LPRECT lpRect) const = 0;

protected:
    ~CKLVStatusBarFace() = default;
};

class CKLVStatusBarPainter {
public:
    // A pane's background, icon and text.
    virtual void DrawStatusBarPaneEntry(CDC* pDC, CRect rc, const KLVStatusPaneLook& pane) = 0;
    // A status pane's sunken frame.
    virtual void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) = 0;
    // The size gripper in the rectangle's bottom-right corner.
    virtual void DrawStatusBarGripper(CDC* pDC, CRect rc) = 0;
    virtual void FillStatusBar(CDC* pDC, CKLVStatusBarFace* pBar) = 0;

protected:
    ~CKLVStatusBarPainter() = default;
};
