// A control that owns a command bar: a submenu (type 2), a button that opens its bar (3), or a
// split button whose button part executes and whose drop-down part opens the bar (4).
#pragma once

#include "toolkit/commandbars/controlbase/ControlButton.h"

class CKLVControlPopup : public CKLVControlButton {
    DECLARE_SERIAL(CKLVControlPopup)
public:
    // Split buttons: one part disabled.
    enum { enabledDropDownDisabled = 3, enabledButtonDisabled = 4 };

    CKLVControlPopup() { m_nType = typePopup; }
    ~CKLVControlPopup() override { SetCommandBar(nullptr); }

    BOOL IsEqual(CKLVControl* pOther) override;
    CKLVCommandBar* GetCommandBar() const override { return m_pCommandBar; }
    void OnKeyboardActivate() override;
    BOOL GetPopuped() const override { return m_bPopuped; }
    void Copy(CKLVControl* pControl, BOOL bRecursive = FALSE) override;
    BOOL OnSetPopup(BOOL bPopup) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseRelease(CPoint pt) override;
    BOOL OnDoubleClick(CPoint pt) override;
    void OnMouseMove(CPoint pt) override;
    void CloseBarPopup() override;
    BOOL SetSelected(int bSelected) override;
    void OnCustomizeDragOver(CKLVControl* pDataObject, CPoint pt) override;
    // Adds the bar id of the popup bar; loading keeps it for the state exchange to reconnect.
    void DoPropExchange(CKLVPropExchange* pPX) override;
    // The popup bar joins the list; a loaded control without a bar takes the one of its saved id.
    void GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) override;
    void RestoreCommandBarList(CKLVCommandBarList* pList) override;

    // Holds a reference on the bar (null releases the held one).
    void SetCommandBar(CKLVCommandBar* pBar);
    // TRUE when the other popup's bar is reached from this control's bar through popup controls,
    // in either direction; a bar met twice is not walked again.
    BOOL IsAncestorOf(CKLVControlPopup* pPopup);
    // The shadow of the bar it opens falls on the control too: a submenu, a button popup or a
    // split button that asks for it, outside another menu.
    BOOL IsShadowedWithItsBar() const;

    BOOL m_bPopuped = FALSE;
    CKLVCommandBar* m_pCommandBar = nullptr;
    UINT m_nCommandBarId = 0;
    BOOL m_bShowShadow = TRUE;

private:
    BOOL IsOnPopupBar() const;
    // The bar the control opens, as the control base sees it; null without one.
    CKLVControlHost* BarHost() const { return CKLVControlHost::Of(m_pCommandBar); }
    BOOL IsOnDropDownPart(CPoint pt) const;
};
