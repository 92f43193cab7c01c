// The window every command bar derives from. For now the members the paint manager and the
// controls read of a bar, and the bar side the controls call, with the least behaviour; the bar
// window's own behaviour comes with its issue.
#pragma once

#include "classlib/Wnd.h"

class CKLVControl;
class CKLVControls;
class CKLVCommandBars;
class CKLVPaintManager;
class CKLVImageManager;

class CKLVCommandBar : public CWnd {
    DECLARE_DYNCREATE(CKLVCommandBar)
public:
    enum BarType { barTypeMenuBar = 0, barTypeNormal = 1, barTypePopup = 2, barTypeRibbon = 3 };
    enum BarPosition {
        barTop = 0, barBottom = 1, barLeft = 2, barRight = 3, barFloating = 4, barPopup = 5,
        barListBox = 6, barNone = 7
    };
    enum DelayedWork { delayLayout = 1, delayRedraw = 2 };
    // Bars with this flag lay their controls out as large buttons in columns.
    enum { flagLargeButtons = 0x200000 };

    CKLVCommandBar();
    ~CKLVCommandBar() override;

    // The bar side the controls call.
    virtual void DelayRedraw() { m_nIdleFlags |= delayRedraw; }
    virtual BOOL SetTrackingMode(int bMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE);
    virtual BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE);
    virtual BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE);
    virtual void DelayLayout() { m_nIdleFlags |= delayLayout; }
    // Asks the bar to repaint a rectangle (the whole client area for null).
    virtual void Redraw(LPCRECT lpRect = nullptr, BOOL bAnimate = FALSE);
    virtual void OnIdleUpdate() {}
    // The selection moved to a control (its state set before).
    virtual void OnControlSelected(BOOL /*bSelected*/, CKLVControl* /*pControl*/) {}
    // The window that receives the bar's commands.
    virtual CWnd* GetSite() const;
    // The top of the parent-bar chain (a popup's bar leads to the bar of the control that opened it).
    virtual CKLVCommandBar* GetRootParent() { return this; }
    // A copy of the bar with copies (or shared references) of its controls.
    virtual CKLVCommandBar* Clone(BOOL bRecursive);
    virtual BOOL IsCustomizable() const { return m_bCustomizable; }

    int GetType() const { return m_barType; }
    int GetPosition() const { return m_barPosition; }
    CKLVControls* GetControls() const { return m_pControls; }
    // Replaces the controls by the collection (taking its reference).
    void SetControls(CKLVControls* pControls);
    CKLVCommandBars* GetCommandBars() const { return m_pCommandBars; }
    int GetTrackingMode() const { return m_bTracking; }
    BOOL IsCustomizeMode() const { return FALSE; }
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(const CString& strTitle) { m_strTitle = strTitle; }
    // The bar's icon size, else 16x16 (the command-bar options refine it once they exist).
    CSize GetIconSize() const;
    // The bar's button size, else the icon size plus 6 each way.
    CSize GetButtonSize() const;
    CSize GetLargeIconSize() const { return CSize(32, 32); }
    BOOL IsTextBelowIcons() const { return m_nShowTextBelowIcons == 1; }
    BOOL IsKeyboardCuesVisible() const { return m_bKeyboardCuesVisible; }
    // A popup bar shows two icon columns when asked and its flag holds.
    BOOL IsDoubleGripper() const { return m_bDoubleGripper; }
    int GetDefaultButtonStyle() const { return m_nDefaultButtonStyle; }
    BOOL IsLayoutRTL() const;
    // The bar's own paint manager, else the process-wide one (made with theme 0 on first use).
    CKLVPaintManager* GetPaintManager() const;

    int m_nMRUWidth = 32767;
    int m_nSelected = -1;
    int m_nPopuped = -1;
    UINT m_nBarID = 0;
    int m_bTracking = 0;
    CWnd* m_pSiteOverride = nullptr;
    UINT m_nIdleFlags = 0;
    UINT m_nFlags = 0;
    DWORD m_dwStyle = 0x400000;
    CString m_strTitle;
    int m_barType = barTypeNormal;
    CKLVControls* m_pControls = nullptr;
    int m_barPosition = barNone;
    CKLVCommandBars* m_pCommandBars = nullptr;
    CWnd* m_pOwner = nullptr;
    CSize m_szIcons = CSize(0, 0);
    CSize m_szButtons = CSize(0, 0);
    int m_nShowTextBelowIcons = 2;
    BOOL m_bCustomizable = TRUE;
    // Where a popup tracked for its result stores the chosen command; null otherwise.
    UINT* m_pReturnCmd = nullptr;
    CKLVPaintManager* m_pPaintManager = nullptr;
    BOOL m_bMultiLine = FALSE;
    int m_nDefaultButtonStyle = 0;
    BOOL m_bKeyboardCuesVisible = TRUE;
    BOOL m_bDoubleGripper = FALSE;
};
