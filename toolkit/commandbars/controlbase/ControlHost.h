// The bar a control sits in, and the bar a popup control opens, as the control base sees them: the
// control base includes no bar, and reaches every bar it is handed through this face, which the
// command bar implements.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "classlib/Wnd.h"
#include "toolkit/commandbars/paint/CommandBarFace.h"

class CKLVCommandBar;
class CKLVCommandBarList;
class CKLVCommandBars;
class CKLVCommandBarsLink;
class CKLVControl;
class CKLVControlPopup;
class CKLVControls;
class CKLVImageManager;
class CKLVPaintManager;
struct CKLVPropExchangeParam;
struct CRuntimeClass;

// What the paint manager reads of a bar (its types, positions, sizes) is the face's.
class CKLVControlHost : public CKLVCommandBarFace {
public:
    // Bars with this flag lay their controls out as large buttons in columns.
    enum { flagLargeButtons = 0x200000 };

    // How the bars' library sees a bar as its host, registered by the bar base before main runs,
    // and the class a submenu's bar is made of, registered by the popup bar.
    using HostOfBar = CKLVControlHost* (*)(CKLVCommandBar* pBar);
    static void RegisterBars(HostOfBar pfnHostOf);
    static void RegisterPopupBarClass(CRuntimeClass* pPopupBarClass);
    // The host of a bar; null for none.
    static CKLVControlHost* Of(CKLVCommandBar* pBar);
    // The popup bar class a control base makes submenus' bars of.
    static CRuntimeClass* GetPopupBarClass();

    // The bar itself, as the classes above the control base know it, and its window (which also
    // holds the bar's references).
    virtual CKLVCommandBar* AsCommandBar() = 0;
    virtual CWnd* AsWnd() = 0;

    virtual UINT GetFlags() const = 0;
    virtual UINT GetBarID() const = 0;
    virtual void SetTitle(const CString& strTitle) = 0;
    virtual CKLVControls* GetControls() const = 0;
    virtual CKLVCommandBar* Clone(BOOL bRecursive) = 0;

    // Tracking, the selected and the open control (indexes, -1 none).
    virtual int GetTrackingMode() const = 0;
    virtual BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) = 0;
    virtual int GetSelectedIndex() const = 0;
    virtual BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE) = 0;
    virtual int GetPopupedIndex() const = 0;
    virtual BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE) = 0;
    virtual void OnControlSelected(int bSelected, CKLVControl* pControl) = 0;

    // Layout and drawing.
    virtual void DelayLayout() = 0;
    virtual void Redraw(LPCRECT lpRect = nullptr, BOOL bAnimate = FALSE) = 0;
    virtual void OnRecalcLayout() = 0;
    virtual void OnIdleUpdate(BOOL bDisableIfNoHandler = TRUE, BOOL bIgnored = FALSE) = 0;
    virtual int GetDefaultButtonStyle() const = 0;
    virtual int GetMRUWidth() const = 0;
    virtual void SetMultiLine(BOOL bMultiLine) = 0;
    virtual CKLVPaintManager* GetPaintManager() const = 0;
    virtual CKLVImageManager* GetImageManager() const = 0;

    // Customisation.
    virtual BOOL IsCustomizable() const = 0;
    virtual BOOL IsCustomizeMode() const = 0;
    virtual void SetDragStart(CPoint ptClient) = 0;

    // The command bars, the site that takes the commands, and the root of the parent-bar chain.
    virtual CKLVCommandBars* GetCommandBars() const = 0;
    virtual CKLVCommandBarsLink* GetCommandBarsLink() const = 0;
    virtual CKLVCommandBarsLink* GetOwnerLink() const = 0;
    virtual CWnd* GetSite() const = 0;
    virtual CWnd* GetSiteOverride() const = 0;
    virtual void SetSiteOverride(CWnd* pSite) = 0;
    virtual CKLVCommandBar* GetRootParent() = 0;
    // Where a popup tracked for its result stores the chosen command; null otherwise.
    virtual UINT* GetReturnCmd() const = 0;

    // Saved state: the bars the bar leads to.
    virtual void GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) = 0;
    virtual void RestoreCommandBarList(CKLVCommandBarList* pList) = 0;

    // A popup bar: the control that opened it (null for other bars), opening it for a control
    // (other bars open nothing and succeed), and its default item run or, without one, the short
    // menu expanded.
    virtual CKLVControlPopup* GetOpeningControl() const { return nullptr; }
    virtual BOOL OpenFor(CKLVControlPopup* /*pControl*/, BOOL /*bSelectFirst*/) { return TRUE; }
    virtual BOOL IsPopupBar() const { return FALSE; }
    virtual void RunDefaultItem() {}

protected:
    ~CKLVControlHost() = default;
};
