// The shared state of one command id that controls bound to it show (enabled, checked, visible,
// the texts and the icon), and the manager's table of actions sorted by id.
#pragma once

#include "classlib/Array.h"
#include "classlib/CmdTarget.h"
#include "classlib/String.h"

class CKLVCommandBars;
class CKLVControl;
class CKLVControlActions;

class CKLVControlAction : public CCmdTarget {
    DECLARE_DYNAMIC(CKLVControlAction)
public:
    explicit CKLVControlAction(int nId = 0) : m_nId(nId) {}
    ~CKLVControlAction() override {
        RemoveAllControls();
        if (m_pItems) m_pItems->InternalRelease();
    }

    int GetId() const { return m_nId; }
    int GetIconId() const { return m_nIconId; }
    BOOL GetEnabled() const { return m_bEnabled; }
    BOOL GetChecked() const { return m_bChecked; }
    BOOL IsVisible() const { return m_bVisible; }
    const CString& GetCaption() const { return m_strCaption; }
    const CString& GetTooltip() const { return m_strTooltip; }
    const CString& GetDescription() const { return m_strDescription; }
    const CString& GetShortcutText() const { return m_strShortcutText; }
    const CString& GetKeyboardTip() const { return m_strKeyboardTip; }
    // Cut at the first tab; every bound control hears of it before and after, and is redrawn.
    void SetCaption(const CString& strCaption);
    // Description and tooltip, split at the first new line (a text without one serves as both).
    void SetPrompt(const CString& strPrompt);
    int GetCount() const { return static_cast<int>(m_arrControls.GetSize()); }
    CKLVControl* GetControl(int nIndex) const { return static_cast<CKLVControl*>(m_arrControls[nIndex]); }
    void AddControl(CKLVControl* pControl);
    void RemoveControl(CKLVControl* pControl);
    // Detaches every bound control.
    void RemoveAllControls();

    int m_nId;
    int m_nIconId = 0;
    int m_nHelpId = 0;
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
    // The items every gallery of the command shows; held.
    CCmdTarget* m_pItems = nullptr;
};

class CKLVControlActions : public CCmdTarget {
public:
    explicit CKLVControlActions(CKLVCommandBars* pCommandBars = nullptr) : m_pCommandBars(pCommandBars) {}
    ~CKLVControlActions() override { RemoveAll(); }

    // The action of the id, made (with the id's prompt string) and inserted in order when missing.
    CKLVControlAction* Add(int nId);
    // Null for ids below 1, from 0x0FFFFFFF up, and for ids without an action.
    CKLVControlAction* GetAction(int nId) const;
    int GetCount() const { return static_cast<int>(m_arrActions.GetSize()); }
    CKLVControlAction* GetAt(int nIndex) const { return static_cast<CKLVControlAction*>(m_arrActions[nIndex]); }
    void RemoveAll();

private:
    // The index of the first action whose id is not below nId.
    int LowerBound(int nId) const;

    CPtrArray m_arrActions;
    CKLVCommandBars* m_pCommandBars;
};
