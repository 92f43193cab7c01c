// Controls of the ribbon's caption band: the application (system) button, the frame caption
// buttons the ribbon shows when it draws the frame's caption, and the command list items of the
// quick access tool bar's context menu.
#pragma once

#include "toolkit/commandbars/controlbase/ControlPopup.h"

class CKLVRibbonQuickAccessControls;

class CKLVRibbonControlSystemButton : public CKLVControlPopup {
    DECLARE_SERIAL(CKLVRibbonControlSystemButton)
public:
    enum : DWORD { systemFlags = 0x18 };
    enum : UINT { commandClose = 0xF063 };

    CKLVRibbonControlSystemButton();
    void Draw(CDC* pDC) override;
    // Closes the popups and asks the frame to close, as a double click on a system menu does.
    BOOL OnDoubleClick(CPoint pt) override;
};

// A minimise, maximise, restore or close button; its id is the system command.
class CKLVRibbonControlCaptionButton : public CKLVControlButton {
    DECLARE_DYNCREATE(CKLVRibbonControlCaptionButton)
public:
    enum : DWORD { captionFlags = 0x1A };

    explicit CKLVRibbonControlCaptionButton(UINT nSysCommand = SC_CLOSE);
    void Draw(CDC* pDC) override;
    // The command's text in the frame's system menu, up to its first tab.
    CString GetTooltip() const override;
    // Posts the system command to the frame.
    void OnExecute() override;

private:
    CWnd* GetFrame() const;
};

// One command of the quick access tool bar's default set in the context menu: checked while the
// tool bar holds it; executing it takes it off or puts a copy on.
class CKLVRibbonControlQuickAccessCommand : public CKLVControlButton {
    DECLARE_DYNCREATE(CKLVRibbonControlQuickAccessCommand)
public:
    CKLVRibbonControlQuickAccessCommand() = default;
    CKLVRibbonControlQuickAccessCommand(CKLVRibbonQuickAccessControls* pQuickAccess, CKLVControl* pCommand);
    ~CKLVRibbonControlQuickAccessCommand() override;

    BOOL IsOnToolBar() const;
    // The check follows the tool bar at every command update.
    void OnEmptyHook() override { m_bChecked = IsOnToolBar(); }
    void OnExecute() override;

    CKLVControl* GetCommand() const { return m_pCommand; }

private:
    CKLVRibbonQuickAccessControls* m_pQuickAccess = nullptr;
    CKLVControl* m_pCommand = nullptr;   // a counted reference
};
