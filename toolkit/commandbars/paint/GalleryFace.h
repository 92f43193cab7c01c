// A gallery control as its painter reads it, so that the paint manager draws galleries without
// knowing the gallery control's class.
#pragma once

#include "classlib/Geometry.h"

class CKLVControlFace;
class CKLVScrollBarFace;

class CKLVGalleryFace {
public:
    // The gallery as a control: the bar it sits on, pressed, enabled.
    virtual CKLVControlFace* GetFaceControl() = 0;
    // Its scroll bar: the geometry and the hot and pressed parts.
    virtual const CKLVScrollBarFace* GetFaceScrollBar() const = 0;
    virtual BOOL IsShowingBorders() const = 0;
    // Whether a control follows it in a popup bar (a line then parts the two).
    virtual BOOL IsFollowedByControl() const = 0;
    virtual BOOL IsScrollButtonEnabled(int nPart) const = 0;

protected:
    ~CKLVGalleryFace() = default;
};
