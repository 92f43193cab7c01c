// The shared state of one command id that controls bound to it show: enabled, checked, visible,
// the texts and the icon.
#pragma once

#include "classlib/Array.h"
#include "classlib/CmdTarget.h"
#include "classlib/String.h"

class CKLVControlActions;

class CKLVControlAction : public CCmdTarget {
public:
    explicit CKLVControlAction(int nId = 0) : m_nId(nId) {}

    int GetId() const { return m_nId; }
    int GetIconId() const { return m_nIconId; }
    BOOL GetEnabled() const;
    BOOL GetChecked() const { return m_bChecked; }
    BOOL IsVisible() const { return m_bVisible; }
    const CString& GetCaption() const { return m_strCaption; }
    const CString& GetTooltip() const { return m_strTooltip; }
    const CString& GetDescription() const { return m_strDescription; }
    const CString& GetShortcutText() const { return m_strShortcutText; }

    int m_nId;
    int m_nIconId = 0;
    BOOL m_bEnabled = TRUE;
    BOOL m_bChecked = FALSE;
    BOOL m_bVisible = TRUE;
    CString m_strCaption;
    CString m_strTooltip;
    CString m_strDescription;
    CString m_strShortcutText;
    CString m_strEditHint;
    CString m_strKeyboardTip;
    CString m_strCategory;
    CPtrArray m_arrControls;
    CKLVControlActions* m_pActions = nullptr;
};
