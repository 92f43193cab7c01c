// The controls the menu bar shows for a maximised MDI child: its system menu at the left end and
// the minimise, restore and close buttons at the right end.
#pragma once

#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"

class CKLVControlMDIButton : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlMDIButton)
public:
    enum { buttonFlags = 27, buttonSize = 16 };
    explicit CKLVControlMDIButton(UINT nId = 9151);

    // Sends the child the system command of the button.
    void OnExecute() override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    // The symbol-font letter that names the button's figure (the figure itself is drawn).
    static const char* GlyphOf(UINT nId);
};

class CKLVControlMDISysMenuPopup : public CKLVControlPopup {
    DECLARE_SERIAL(CKLVControlMDISysMenuPopup)
public:
    enum { popupFlags = 24, iconSize = 16, msgGetIcon = 0x2860 };
    enum : UINT { firstSysCommand = 0xF000, endSysCommand = 0xF1F0, firstSysPrompt = 0xEF00 };

    CKLVControlMDISysMenuPopup();
    ~CKLVControlMDISysMenuPopup() override;

    // The icon and the items of the child's system menu.
    void Build(HWND hChild, HMENU hSysMenu);
    BOOL IsBuiltFrom(HWND hChild, HMENU hSysMenu) const { return hChild == m_hChild && hSysMenu == m_hSysMenu; }
    HICON GetIcon() const { return m_hIcon; }
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    // The prompt string id of a system command.
    static UINT PromptIdOf(UINT nCommand) { return ((nCommand - firstSysCommand) >> 4) + firstSysPrompt; }
    // The child's small icon: asked of the child, its class, else the system's.
    static HICON FindChildIcon(HWND hChild);

private:
    HWND m_hChild = nullptr;
    HMENU m_hSysMenu = nullptr;
    HICON m_hIcon = nullptr;
};
