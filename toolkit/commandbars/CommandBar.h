// The window every command bar derives from. For now the members the paint manager and the
// controls read of a bar; the bar window's own behaviour comes with its issue.
#pragma once

#include "classlib/Wnd.h"

class CKLVControls;
class CKLVCommandBars;
class CKLVPaintManager;
class CKLVImageManager;

class CKLVCommandBar : public CWnd {
public:
    enum BarType { barTypeMenuBar = 0, barTypeNormal = 1, barTypePopup = 2, barTypeRibbon = 3 };
    enum BarPosition {
        barTop = 0, barBottom = 1, barLeft = 2, barRight = 3, barFloating = 4, barPopup = 5,
        barListBox = 6, barNone = 7
    };

    CKLVCommandBar();
    ~CKLVCommandBar() override;

    int GetType() const { return m_barType; }
    int GetPosition() const { return m_barPosition; }
    CKLVControls* GetControls() const { return m_pControls; }
    const CString& GetTitle() const { return m_strTitle; }
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

    int m_nSelected = -1;
    int m_nPopuped = -1;
    UINT m_nFlags = 0;
    DWORD m_dwStyle = 0x400000;
    CString m_strTitle;
    int m_barType = barTypeNormal;
    CKLVControls* m_pControls = nullptr;
    int m_barPosition = barNone;
    CKLVCommandBars* m_pCommandBars = nullptr;
    CSize m_szIcons = CSize(0, 0);
    CSize m_szButtons = CSize(0, 0);
    int m_nShowTextBelowIcons = 2;
    CKLVPaintManager* m_pPaintManager = nullptr;
    int m_nDefaultButtonStyle = 0;
    BOOL m_bKeyboardCuesVisible = TRUE;
    BOOL m_bDoubleGripper = FALSE;
};
