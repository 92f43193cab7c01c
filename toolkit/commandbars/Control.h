// The item a command bar shows: a button, a submenu, a combo box, an edit, a label... For now the
// state the paint manager reads; the control's behaviour comes with its issue.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/String.h"

class CKLVCommandBar;
class CKLVControls;
class CKLVControlAction;
class CKLVImageManagerIcon;

class CKLVControl : public CCmdTarget {
public:
    enum Type {
        typeNone = 0, typeButton = 1, typePopup = 2, typeButtonPopup = 3, typeSplitButtonPopup = 4,
        typeComboBox = 5, typeEdit = 6, typeCustom = 7, typeLabel = 8, typeCheckBox = 9, typeGallery = 10,
        typeRadioButton = 11
    };
    enum Style { styleAutomatic = 0, styleCaption = 1, styleIcon = 2, styleIconAndCaption = 3, styleCaptionBelow = 4 };

    CKLVControl() = default;

    virtual CString GetCaption() const;
    virtual BOOL GetSelected() const { return m_nSelected; }
    virtual BOOL GetPressed() const { return m_nPressed; }
    virtual BOOL IsCaptionVisible() const;
    virtual CKLVCommandBar* GetCommandBar() const { return nullptr; }
    // The image of the control's image id in the width, from the image manager.
    virtual CKLVImageManagerIcon* GetImage(int nWidth) const;
    virtual BOOL GetPopuped() const { return FALSE; }

    int GetType() const { return m_nType; }
    int GetId() const { return m_nId; }
    // The effective style: custom, own, the class's, then the bar's default.
    int GetStyle() const;
    int GetIconId() const { return m_nIconId; }
    int GetCustomIconId() const { return m_nCustomIconId; }
    // The id images are looked up by: custom icon, own icon, the action's icon or id, own id.
    int GetImageId() const;
    // Own value unless -1, else the action's; without an action -1 counts as enabled.
    int GetEnabled() const;
    int GetChecked() const;
    CRect GetRect() const { return m_rcControl; }
    CKLVCommandBar* GetParent() const { return m_pParent; }
    CKLVControlAction* GetAction() const { return m_pAction; }
    CString GetShortcutText() const;
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    BOOL IsItemDefault() const { return m_bDefaultItem; }
    DWORD GetHideFlags() const { return m_dwHideFlags; }
    DWORD GetFlags() const { return m_dwFlags; }
    BOOL GetBeginGroup() const { return m_bBeginGroup; }
    BOOL GetWrap() const { return m_bWrap; }

    DWORD m_nTag = 0;
    int m_nIndex = 0;
    int m_nId = 0;
    int m_nIconId = 0;
    int m_nHelpId = 0;
    int m_nCustomIconId = 0;
    BOOL m_bWrap = FALSE;
    BOOL m_bBeginGroup = FALSE;
    int m_bEnabled = TRUE;
    int m_bChecked = FALSE;
    int m_nSelected = 0;
    int m_nPressed = 0;
    BOOL m_bTemporary = FALSE;
    CRect m_rcRow;
    CRect m_rcControl;
    DWORD m_dwHideFlags = 0;
    DWORD m_dwFlags = 0;
    CString m_strCaption;
    CString m_strCustomCaption;
    CString m_strShortcutText;
    CString m_strShortcutTextAuto;
    CString m_strTooltipText;
    CString m_strDescriptionText;
    CString m_strParameter;
    CKLVControls* m_pControls = nullptr;
    int m_nType = typeNone;
    CKLVCommandBar* m_pParent = nullptr;
    BOOL m_bHiddenCommand = FALSE;
    CString m_strCategory;
    BOOL m_bDefaultItem = FALSE;
    int m_nStyle = styleAutomatic;
    int m_nCustomStyle = -1;
    int m_nClassStyle = styleAutomatic;
    BOOL m_bCloseSubMenuOnClick = TRUE;
    CKLVControlAction* m_pAction = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nExecuteOnPressInterval = 0;
    // Set by the edit and combo-box measuring: the label column, and the drop-down button width.
    int m_nLabelWidth = 0;
    int m_nThumbWidth = 0;
};
