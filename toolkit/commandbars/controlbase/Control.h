// The item a command bar shows: a button, a submenu, a combo box, an edit, a label... It is
// measured and drawn through its bar's paint manager, executes its command through the bar's
// site window, and takes enabled, checked, texts and icon from its action when bound to one.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/Map.h"
#include "classlib/String.h"
#include "toolkit/commandbars/controlbase/ControlHost.h"
#include "toolkit/commandbars/paint/ControlFace.h"
#include "toolkit/common/Accessible.h"

class CDC;
class CKLVCommandBar;
class CKLVCommandBarList;
struct CKLVPropExchangeParam;
class CKLVCommandBars;
class CKLVCommandBarsLink;
class CKLVControl;
class CKLVControls;
class CKLVControlAction;
class CKLVControlRoster;
class CKLVImageManager;
class CKLVImageManagerIcon;
class CKLVPaintManager;
class CKLVPropExchange;

// The record of message 0x2862 and of the command routing: a notification header and the control.
struct NMKLVCONTROL {
    NMHDR hdr;
    CKLVControl* pControl;
};

// Its types and styles are the face's.
class CKLVControl : public CCmdTarget, public CKLVAccessible, public CKLVControlFace {
    DECLARE_SERIAL(CKLVControl)
public:
    enum HideFlags {
        hideGeneric = 0x01, hideWrap = 0x02, hideDocking = 0x04, hideExpand = 0x08, hideCustomize = 0x10,
        hideMRU = 0x20, hideTemplate = 0x40
    };
    enum Flags { flagRightAlign = 0x01, flagSkipFocus = 0x02, flagListItem = 0x08, flagNoMovable = 0x10,
                 flagControlStretched = 0x20, flagPopupTooltip = 0x40, flagWrapRow = 0x80 };
    enum { notifyExecute = 100, msgControlNotify = 0x2862, timerAutoRepeat = 4269, cursorResize = 9972 };
    enum ActionProperty { propertyCaption = 3 };

    CKLVControl();
    ~CKLVControl() override;

    // Slots in the order the controls of every later class were built against.
    virtual CString GetCaption() const override;
    virtual CString GetDescription() const;
    virtual CString GetTooltip() const;
    virtual void SetBeginGroup(BOOL bBeginGroup);
    virtual void SetEnabled(int bEnabled);
    virtual int GetSelected() const override { return m_nSelected; }
    virtual void SetFocused(BOOL /*bFocused*/) {}
    virtual BOOL IsFocused() const { return FALSE; }
    virtual int GetPressed() const override { return m_nPressed; }
    virtual void SetRect(CRect rc) { m_rcControl = rc; }
    virtual BOOL IsVisible(DWORD dwSkipFlags = 0) const;
    virtual BOOL IsCaptionVisible() const override;
    virtual BOOL IsEqual(CKLVControl* pOther);
    virtual CKLVCommandBar* GetCommandBar() const { return nullptr; }
    virtual int OnHookReserved() { return 0; }
    virtual void SetHideFlags(DWORD dwFlags) { m_dwHideFlags = dwFlags; }
    virtual void OnExecute();
    virtual CSize GetSize(CDC* pDC);
    virtual void Draw(CDC* pDC);
    virtual void PrepareDynamicLayout(int /*nMode*/) {}
    // The image of the control's image id in the width, from the image manager.
    virtual CKLVImageManagerIcon* GetImage(int nWidth) const override;
    // Saves or loads the control's state; keys newer than the exchange's schema are skipped.
    virtual void DoPropExchange(CKLVPropExchange* pPX);
    virtual void OnKeyboardActivate() { OnExecute(); }
    virtual BOOL GetPopuped() const override { return FALSE; }
    virtual void SetAction(CKLVControlAction* pAction);
    virtual void OnEditHook() override {}
    virtual void SetWidth(int nWidth);
    virtual void SetHeight(int nHeight);
    virtual void OnParentValueOne() {}
    virtual void OnParentValueTwo() {}
    virtual BOOL IsFocusable() const { return FALSE; }
    virtual BOOL OnHookKeyDown(UINT /*nChar*/, LPARAM /*lParam*/) { return FALSE; }
    // The wheel while the control has the focus; TRUE when taken.
    virtual BOOL OnHookMouseWheel(short /*zDelta*/) { return FALSE; }
    virtual void SetParent(CKLVCommandBar* pParent) { m_pParent = pParent; }
    virtual void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE);
    virtual BOOL OnSetPopup(BOOL /*bPopup*/) { return FALSE; }
    virtual void OnClick(BOOL /*bKeyboard*/ = FALSE, CPoint /*pt*/ = CPoint(0, 0)) {}
    virtual void OnMouseRelease(CPoint /*pt*/) {}
    // The right button went down over the control: TRUE when the control took it.
    virtual BOOL OnRButtonDown(CPoint /*pt*/) { return FALSE; }
    // The right button was released over the control.
    virtual void OnRButtonUp(CPoint /*pt*/) {}
    virtual BOOL OnDoubleClick(CPoint pt);
    virtual void OnMouseMove(CPoint /*pt*/) {}
    virtual void CloseBarPopup();
    virtual BOOL SetSelected(int bSelected);
    virtual void OnCustomizeMouseDown(CPoint pt);
    virtual BOOL OnCustomizeResize(CPoint pt);
    virtual void OnCustomizeDragOver(CKLVControl* pDataObject, CPoint pt);
    virtual BOOL IsCustomizeDragOverAvail(CKLVCommandBar* /*pBar*/, CPoint /*pt*/, DWORD& /*dwEffect*/) { return TRUE; }
    virtual BOOL IsCustomizeResizeAllowed() const { return FALSE; }
    // Within 2 pixels of the left or right edge, where a customize press resizes.
    BOOL IsOnCustomizeResizeEdge(CPoint pt) const;
    // Over such an edge of a resizable control the resize cursor shows; FALSE elsewhere.
    BOOL ShowCustomizeResizeCursor(CPoint pt) const;
    virtual int GetMinWidth() { return 0; }
    virtual void OnEmptyHook() {}
    virtual void OnRemoved() { SetAction(nullptr); }
    virtual BOOL IsCustomizeMovable() const;
    virtual void OnBeforeExchange() {}
    virtual void OnAfterExchange() {}
    virtual void OnActionChanged(int /*nProperty*/) {}
    virtual void OnActionChanging(int /*nProperty*/) {}
    virtual CKLVControl* Clone(BOOL bRecursive = FALSE);
    // The theme or the system's metrics changed: a control that keeps measures refreshes them.
    virtual void OnThemeChanged() {}
    // Saved state: the bars a control leads to join the list being collected, and a loaded
    // control finds them again in the loaded list.
    virtual void GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam);
    virtual void RestoreCommandBarList(CKLVCommandBarList* pList);

    int GetType() const final { return m_nType; }
    int GetId() const { return m_nId; }
    int GetIndex() const { return m_nIndex; }
    // The effective style: custom, own, the class's, then the bar's default.
    int GetStyle() const final;
    void SetStyle(int nStyle);
    int GetIconId() const { return m_nIconId; }
    int GetCustomIconId() const { return m_nCustomIconId; }
    // The id images are looked up by: custom icon, own icon, the action's icon or id, own id.
    int GetImageId() const;
    // Own value unless -1, else the action's; without an action -1 counts as enabled.
    int GetEnabled() const final;
    int GetChecked() const final;
    CRect GetRect() const final { return m_rcControl; }
    CRect GetRowRect() const { return m_rcRow; }
    CKLVCommandBar* GetParent() const { return m_pParent; }
    CKLVCommandBarFace* GetBarFace() const final;
    CKLVControls* GetControls() const { return m_pControls; }
    CKLVControlAction* GetAction() const { return m_pAction; }
    CString GetShortcutText() const final;
    int GetWidth() const final { return m_nWidth; }
    int GetHeight() const final { return m_nHeight; }
    BOOL IsItemDefault() const final { return m_bDefaultItem; }
    void SetItemDefault(BOOL bDefault);
    DWORD GetHideFlags() const final { return m_dwHideFlags; }
    BOOL IsHiddenCommand() const final { return m_bHiddenCommand; }
    // Leaves the rectangle without telling the control, as SetRect does.
    void SetMeasuredRect(CRect rc) final { m_rcControl = rc; }
    // Returns whether the flags changed.
    BOOL SetHideFlag(DWORD dwFlag, BOOL bSet);
    void SetVisible(BOOL bVisible);
    DWORD GetFlags() const { return m_dwFlags; }
    void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
    BOOL GetBeginGroup() const { return m_bBeginGroup; }
    BOOL GetWrap() const { return m_bWrap; }
    BOOL IsTemporary() const { return m_bTemporary; }
    // A tab cuts the caption; what follows it becomes the automatic shortcut text.
    void SetCaption(const CString& strCaption);
    void SetCaptionFromResource(UINT nID);
    // The prompt string of the resource ("description\ntooltip-and-caption").
    void SetPromptFromResource(UINT nID);
    // Description, tooltip and caption, split at new lines.
    void SetPrompt(const CString& strPrompt);
    // A new id takes the prompt of the id's string resource.
    void SetID(int nId);
    const CString& GetParameter() const { return m_strParameter; }
    void DelayLayoutParent();
    void RedrawParent(BOOL bAnimate = TRUE);
    CKLVPaintManager* GetPaintManager() const;
    // The parent bar's image manager, else the process-wide one.
    CKLVImageManager* GetImageManager() const;
    CKLVCommandBars* GetCommandBars() const;
    // The link of the command bars that own the parent bar; null when none do.
    CKLVCommandBarsLink* GetOwnerLink() const;
    BOOL IsCustomizeMode() const;
    LRESULT NotifySite(UINT nCode);
    LRESULT NotifySiteEx(UINT nCode, NMHDR* pNM);
    // Runs the press of a button until the release; TRUE when it ended as a click.
    BOOL OnLButtonDownTracking(const CRect* pRect = nullptr);
    BOOL IsCursorOver() const;

    // Accessibility.
    KLV_DECLARE_ACCESSIBLE_ELEMENT()
    HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;
    CCmdTarget* GetAccessibleTarget() override { return this; }

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
    CMap<int, int, BOOL, BOOL> m_mapDocTemplatesAssigned;
    CMap<int, int, BOOL, BOOL> m_mapDocTemplatesExcluded;
    int m_nStyle = styleAutomatic;
    int m_nCustomStyle = -1;
    int m_nClassStyle = styleAutomatic;
    BOOL m_bCloseSubMenuOnClick = TRUE;
    CKLVControlAction* m_pAction = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nExecuteOnPressInterval = 0;
    // The ribbon group that lists the control (set by the group, cleared when the group is freed),
    // told when the control is freed; null for a control in no group. CKLVRibbonGroup::Of reads
    // it as the group.
    CKLVControlRoster* m_pRibbonRoster = nullptr;

protected:
    // The parent bar as the control base sees it, and its window; null without a parent.
    CKLVControlHost* ParentHost() const { return CKLVControlHost::Of(m_pParent); }
    HWND GetParentHwnd() const;
    LPUNKNOWN GetInterface(const IID& iid) override;
    // Notification 100 to the site, then WM_COMMAND unless the site took it.
    void SendCommand();
    // The command, and the submenu it was chosen from, count as used in short menus.
    void RecordUsed();
    // The next message while the window holds the capture; FALSE when it lost it or on WM_QUIT,
    // which is posted again for the outer loop.
    static BOOL GetCapturedMessage(HWND hWnd, MSG& msg);
};
