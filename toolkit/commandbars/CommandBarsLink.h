// What a command bar asks of the command bars that own it. The command bars implement it and
// hand it to their bars; a bar without one behaves as a stand-alone bar with default options.
#pragma once

#include "classlib/ClassLib.h"

class CKLVCommandBar;
class CKLVImageManager;
class CKLVPaintManager;

class CKLVCommandBarsLink {
public:
    virtual ~CKLVCommandBarsLink() = default;

    // A bar entered (mode 1 or 2) or left (0) keyboard tracking: cues and tips follow it.
    virtual void OnTrackingModeChanged(CKLVCommandBar* /*pBar*/, int /*nMode*/) {}
    // A key typed on a tracked tool bar may be the mnemonic of another bar: TRUE when taken.
    virtual BOOL TranslateOtherBarMnemonic(CKLVCommandBar* /*pBar*/, UINT /*nKey*/) { return FALSE; }
    // Ctrl+Tab on a tracked tool bar moves to the next (or previous) tool bar.
    virtual void SetFocusToNextToolBar(CKLVCommandBar* /*pBar*/, BOOL /*bPrevious*/) {}
    virtual void ClosePopups() {}
    virtual BOOL IsCustomizeMode() const { return FALSE; }
    virtual CWnd* GetSite() const { return nullptr; }
    virtual CKLVPaintManager* GetPaintManager() const { return nullptr; }
    virtual CKLVImageManager* GetImageManager() const { return nullptr; }
    // The help id of the selected control, 0 when nothing is selected.
    virtual void SetHelpId(int /*nHelpId*/) {}
    virtual BOOL IsShowFullAfterDelay() const { return TRUE; }
    virtual BOOL IsStatusBarTextShown() const { return TRUE; }
    virtual BOOL IsDisableCommandsWithoutHandler() const { return TRUE; }
    virtual BOOL IsKeyboardCuesVisible() const { return TRUE; }
    // Keyboard tips: whether the bar's are shown, showing, hiding, and a typed key while shown.
    virtual BOOL IsKeyboardTipsShown(CKLVCommandBar* /*pBar*/) const { return FALSE; }
    virtual void ShowKeyboardTips(CKLVCommandBar* /*pBar*/) {}
    virtual void HideKeyboardTips() {}
    virtual void OnKeyboardTipKey(CKLVCommandBar* /*pBar*/, UINT /*nKey*/) {}
};
