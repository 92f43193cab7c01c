// A control as the paint manager reads it: its kind, state, place, caption and icon, and the
// measures measuring leaves on it. The control base answers it, so that the paint manager
// measures and draws controls without knowing the controls' classes.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"

class CKLVCommandBarFace;
class CKLVImageManagerIcon;

class CKLVControlFace {
public:
    enum Type {
        typeNone = 0, typeButton = 1, typePopup = 2, typeButtonPopup = 3, typeSplitButtonPopup = 4,
        typeComboBox = 5, typeEdit = 6, typeCustom = 7, typeLabel = 8, typeCheckBox = 9, typeGallery = 10,
        typeRadioButton = 11
    };
    enum Style { styleAutomatic = 0, styleCaption = 1, styleIcon = 2, styleIconAndCaption = 3, styleCaptionBelow = 4 };

    // The bar the control sits on; null for a control on no bar.
    virtual CKLVCommandBarFace* GetBarFace() const = 0;
    virtual int GetType() const = 0;
    virtual int GetStyle() const = 0;
    virtual CRect GetRect() const = 0;
    virtual int GetSelected() const = 0;
    virtual int GetPressed() const = 0;
    virtual int GetEnabled() const = 0;
    virtual int GetChecked() const = 0;
    virtual BOOL GetPopuped() const = 0;
    // The width and height set on the control; 0 lets measuring decide.
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual BOOL IsItemDefault() const = 0;
    virtual BOOL IsCaptionVisible() const = 0;
    virtual CString GetCaption() const = 0;
    virtual CString GetShortcutText() const = 0;
    virtual CKLVImageManagerIcon* GetImage(int nWidth) const = 0;
    virtual DWORD GetHideFlags() const = 0;
    // A command a short menu hides until the popup is expanded.
    virtual BOOL IsHiddenCommand() const = 0;

    // Measuring places a bar's special buttons without the placing a control reacts to.
    virtual void SetMeasuredRect(CRect rc) = 0;
    // Measuring changed the drop-down button's width: the next placing applies it.
    virtual void OnEditHook() = 0;

    // Left by the edit and combo-box measuring: the label column, and the drop-down button width.
    int m_nLabelWidth = 0;
    int m_nThumbWidth = 0;

protected:
    ~CKLVControlFace() = default;
};
