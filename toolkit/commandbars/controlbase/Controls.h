// The ordered controls of one command bar: adding, inserting, cloning, finding and removing them,
// building them from a menu, walking them for the keyboard, and laying out tool bars and popups.
#pragma once

#include "classlib/Array.h"
#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "toolkit/commandbars/controlbase/ControlHost.h"

class CDC;
class CKLVCommandBar;
class CKLVCommandBarList;
class CKLVPropExchange;
struct CKLVPropExchangeParam;
class CKLVCommandBars;
class CKLVControl;
class CKLVControlPopup;
class CMenu;

// Message 0x285E asks the site before a menu item or a tool-bar id becomes a control, 0x285F
// tells it after.
struct KLVCREATECONTROLSTRUCT {
    int nId;
    CKLVControl* pControl;
    DWORD_PTR dwReserved;
    int nIndex;
    HMENU hMenu;
    CKLVCommandBar* pCommandBar;
    LPCSTR lpszCaption;
    int controlType;
    int buttonStyle;
};

// Message 0x2861, one record for all its senders: a popup's bar (bPopup set, the site may put a
// bar in pCommandBar or name its class) or a custom tool bar.
struct KLVCREATEBARSTRUCT {
    CKLVCommandBar* pCommandBar;
    CRuntimeClass* pBarClass;
    BOOL bPopup;
    BOOL bCustomBar;
    BOOL bFloating;
    LPCSTR lpszCaption;
    UINT nId;
};

class CKLVControls : public CCmdTarget {
    DECLARE_SERIAL(CKLVControls)
public:
    enum { msgCreateControl = 0x285E, msgControlCreated = 0x285F, msgCreateCommandBar = 0x2861 };
    enum LayoutMode {
        modeStretch = 0x01, modeHorz = 0x02, modeMRULength = 0x04, modeHorzDock = 0x08, modeVertDock = 0x10,
        modeLengthIsHeight = 0x20, modeCommit = 0x40, modeHideWrap = 0x80, modeWrapGroups = 0x100
    };

    explicit CKLVControls(CKLVCommandBar* pParent = nullptr) : m_pParent(pParent) {}
    ~CKLVControls() override;

    virtual void Remove(CKLVControl* pControl);
    // Storing writes the non-temporary controls by class and their original set; loading
    // replaces the controls. A class that cannot be made, or a count the store cannot hold,
    // throws the archive exception.
    virtual void DoPropExchange(CKLVPropExchange* pPX);
    virtual void OnControlAdded(CKLVControl* pControl);
    virtual void OnControlRemoved(CKLVControl* pControl);
    virtual BOOL IsKeepOnRemoveAll(CKLVControl* /*pControl*/) const { return FALSE; }
    virtual void RefreshIndexes();

    void SetParent(CKLVCommandBar* pParent);
    CKLVCommandBar* GetParent() const { return m_pParent; }
    CKLVCommandBars* GetCommandBars() const;
    // Takes the control's reference; binds the id's action as a menu item does.
    CKLVControl* Add(CKLVControl* pControl, int nId, const CString& strParameter = CString(), int nBefore = -1,
                     BOOL bTemporary = FALSE);
    // A control of the type's class; null when that class does not exist here.
    CKLVControl* Add(int nType, int nId, const CString& strParameter = CString(), int nBefore = -1,
                     BOOL bTemporary = FALSE);
    CKLVControl* InsertAt(CKLVControl* pControl, int nBefore);
    CKLVControl* Append(CKLVControl* pControl) { return InsertAt(pControl, -1); }
    CKLVControl* AddClone(CKLVControl* pClone, int nBefore = -1, BOOL bRecursive = FALSE);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_arrControls.GetSize()); }
    // Null out of range.
    CKLVControl* GetAt(int nIndex) const;
    // The first control with the id (-1: the first control).
    CKLVControl* FindControl(int nId) const;
    CKLVControl* HitTest(CPoint pt) const;
    int GetVisibleCount(DWORD dwSkipFlags = 0) const;
    BOOL IsEqualTo(CKLVControls* pOther) const;
    BOOL IsChanged() const;
    CKLVControls* Duplicate(BOOL bRecursive = FALSE);
    void CreateOriginalControls();
    CKLVControls* GetOriginalControls() const { return m_pOriginalControls; }
    // Takes the set's reference (null drops the original set).
    void SetOriginalControls(CKLVControls* pOriginal);
    // Each non-temporary control's bars, then, when the parameters ask, the original set's.
    void GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam);
    void RestoreCommandBarList(CKLVCommandBarList* pList);
    // Whether a count read from the store can be true: bounded, and within the bytes a
    // sequential store has left.
    static BOOL IsStoredCountPlausible(CKLVPropExchange* pPX, DWORD dwCount);
    // The next qualifying index in the direction; -1 when none, the start when the walk returns.
    int GetNext(int nIndex, int nDirection = +1, BOOL bSkipFlagged = FALSE, BOOL bSkipTemporary = FALSE,
                BOOL bNarrowMask = FALSE) const;
    BOOL LoadMenu(CMenu* pMenu);
    // Replaces every control by one button per id, the site asked before each (0x285E: it may
    // supply the control or change its type) and told after (0x285F); an id 0 makes the next
    // control begin a group.
    void LoadButtons(const UINT* pIds, int nCount);
    void SetControlType(int nIndex, int nType);
    CSize CalcDynamicSize(CDC* pDC, int nLength, DWORD& dwMode, const CRect& rcBorder, int nMinSize = 0);
    CSize CalcPopupSize(CDC* pDC, int nMaxHeight, const CRect& rcBorder);

protected:
    // The parent bar as the control base sees it; null without a parent.
    CKLVControlHost* ParentHost() const { return CKLVControlHost::Of(m_pParent); }
    // Takes the control out of the list and drops the list's reference; no checks.
    void RemoveEntry(CKLVControl* pControl);
    // Binds the id's action when the command bars keep actions, else takes the id and caption.
    void BindAction(CKLVControl* pControl, int nId, const CString& strCaption, BOOL bCreateAction);
    CKLVControl* AddMenuItem(CMenu* pMenu, int nIndex);
    CKLVControl* AddButton(int nId, int nIndex);
    // The window asked before a control is made and told after; null for a bar without one.
    CWnd* GetCreateSite() const;
    // A popup bar (the site's, or of the class it names) titled and filled from the menu items.
    void AttachPopupBar(CKLVControlPopup* pPopup, int nId, const CString& strCaption, HMENU hItems);
    // The bar of the menu resource with the id, else an empty popup bar.
    void AttachResourcePopupBar(CKLVControlPopup* pPopup, int nId);

    CKLVCommandBar* m_pParent;
    CPtrArray m_arrControls;
    CKLVCommandBars* m_pCommandBars = nullptr;
    CKLVControls* m_pOriginalControls = nullptr;
};
