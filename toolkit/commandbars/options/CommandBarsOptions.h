// The behaviour switches of one set of command bars that the user may change (full or short
// menus, tips, icon sizes, animation, keyboard cues) and the hidden and used command sets; they
// save and load themselves through property exchange.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/Map.h"

class CArchive;
class CKLVCommandBarsLink;
class CKLVPropExchange;

class CKLVCommandBarsOptions : public CCmdTarget {
public:
    using CCommandSet = CMap<UINT, UINT, BOOL, BOOL>;
    // KeyboardCuesShow: cues always, never, or as the system says.
    enum { cuesShowAlways = 0, cuesShowNever = 1, cuesShowAsSystem = 2 };
    // A command-id set holds at most this many ids; a load that claims more is refused.
    enum : DWORD { nMaxCommandSetCount = 0x10000 };

    CKLVCommandBarsOptions();
    ~CKLVCommandBarsOptions() override;

    // With bUserOptionsOnly the exchange ends after "Animation".
    void DoPropExchange(CKLVPropExchange* pPX, BOOL bUserOptionsOnly = FALSE);
    void Serialize(CArchive& ar) override;
    // Stores the value and has the command bars show or hide their keyboard cues by it.
    void SetKeyboardCuesShow(int nShow);
    // The cues state the value gives: visible now, and shown only once the keyboard is used.
    static void GetKeyboardCuesState(int nShow, BOOL& bVisible, BOOL& bOnDemand);

    BOOL bAlwaysShowFullMenus = TRUE;
    BOOL bShowFullAfterDelay = TRUE;
    BOOL bToolBarScreenTips = TRUE;
    BOOL bToolBarAccelTips = FALSE;
    BOOL bLargeIcons = FALSE;
    BOOL bSyncFloatingBars = TRUE;
    BOOL bShowExpandButtonAlways = TRUE;
    BOOL bDblClickFloat = FALSE;
    BOOL bShowTextBelowIcons = FALSE;
    BOOL bAltDragCustomization = TRUE;
    BOOL bAutoHideUnusedPopups = TRUE;
    BOOL bDirty = FALSE;
    BOOL bShowPopupBarToolTips = FALSE;
    long animateType = 0;
    BOOL bAutoUpdateShortcuts = TRUE;
    long keyboardCuesUse = 1;
    BOOL bStatusBarText = TRUE;
    CSize szIcons;
    CSize szLargeIcons;
    CSize szPopupIcons;
    BOOL bUseAltNumPadKeys = FALSE;
    BOOL bShowPopupShadow = TRUE;
    BOOL bDisableCommandsWithoutHandler = TRUE;
    BOOL bPopupLayoutOption = FALSE;
    CCommandSet m_mapHiddenCommands;
    CCommandSet m_mapUsedCommands;
    BOOL bShowKeyboardTips = FALSE;
    // The owning command bars, as their parts see them.
    CKLVCommandBarsLink* m_pCommandBars = nullptr;
    long keyboardCuesShow = cuesShowAlways;

private:
    static void ExchangeCommandSet(CKLVPropExchange* pPX, LPCTSTR pszName, CCommandSet& set);
};
