// A command bar as the paint manager reads it: its kind, where it sits, its icon and button
// sizes, its title and the controls it holds. The bar answers it, so that the paint manager
// measures and draws bars and controls without knowing the bars' classes.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"

class CKLVControlFace;

class CKLVCommandBarFace {
public:
    enum BarType { barTypeMenuBar = 0, barTypeNormal = 1, barTypePopup = 2, barTypeRibbon = 3 };
    enum BarPosition {
        barTop = 0, barBottom = 1, barLeft = 2, barRight = 3, barFloating = 4, barPopup = 5,
        barListBox = 6, barNone = 7
    };

    virtual int GetType() const = 0;
    virtual int GetPosition() const = 0;
    virtual CSize GetIconSize() const = 0;
    virtual CSize GetButtonSize() const = 0;
    // The icon size of large buttons; bAutoSize lets the paint manager's automatic large size
    // stand in when no size is set.
    virtual CSize GetLargeIconSize(BOOL bAutoSize) const = 0;
    virtual BOOL IsTextBelowIcons() const = 0;
    // A popup bar showing two icon columns.
    virtual BOOL IsDoubleGripper() const = 0;
    virtual BOOL IsKeyboardCuesVisible() const = 0;
    virtual const CString& GetTitle() const = 0;
    // The client rectangle of the bar's window; empty while it has none.
    virtual CRect GetFaceClientRect() const = 0;
    virtual int GetControlCount() const = 0;
    virtual CKLVControlFace* GetControlFace(int nIndex) const = 0;

protected:
    ~CKLVCommandBarFace() = default;
};
