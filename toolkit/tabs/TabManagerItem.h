// One tab of a tab row: caption, tooltip, colour, state and the window it stands for. Owned
// (reference counted) by its tab manager.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/String.h"

#include <vector>

class CKLVTabManager;
class CKLVTabManagerNavigateButton;
class CKLVImageManagerIcon;

class CKLVTabManagerItem : public CCmdTarget {
    DECLARE_DYNAMIC(CKLVTabManagerItem)
public:
    CKLVTabManagerItem() = default;
    ~CKLVTabManagerItem() override;

    virtual void SetVisible(BOOL bVisible);
    virtual void RemoveButtons();

    CRect GetRect() const { return m_rcItem; }
    // Also empties the rectangles of the tab's own buttons: the layout places them afresh.
    void SetRect(const CRect& rect);
    CString GetCaption() const;
    void SetCaption(LPCTSTR lpszCaption);
    COLORREF GetColor() const;
    void SetColor(COLORREF clr);
    void Select();
    void Remove();
    HWND GetHandle() const { return m_hWnd; }
    BOOL IsVisible() const { return m_bVisible; }
    BOOL IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled);
    int GetIndex() const { return m_nIndex; }
    CKLVTabManager* GetTabManager() const { return m_pTabManager; }
    BOOL IsSelected() const;
    BOOL IsHot() const;
    BOOL IsPressed() const;
    int GetButtonCount() const { return static_cast<int>(m_arrButtons.size()); }
    CKLVTabManagerNavigateButton* GetButton(int nIndex) const { return m_arrButtons[nIndex]; }
    void AddButton(CKLVTabManagerNavigateButton* pButton) { m_arrButtons.push_back(pButton); }
    // The icon in the tab's state (disabled, hot, selected, normal) at the rectangle's corner; a
    // square icon on a vertical row is turned when the paint manager asks for it.
    void DrawImage(CDC* pDC, CRect rc, CKLVImageManagerIcon* pImage);

    int m_nLength = 0;          // along the row, set by the layout
    int m_nContentLength = 0;   // what the whole caption needs
    int m_nItemRow = -1;
    int m_nIndex = -1;
    BOOL m_bEnabled = TRUE;
    BOOL m_bVisible = TRUE;
    HWND m_hWnd = nullptr;
    int m_nImage = 0;
    DWORD_PTR m_dwData = 0;
    CRect m_rcItem;
    CString m_strCaption;
    CString m_strToolTip;
    COLORREF m_clrItem = 0;
    CKLVTabManager* m_pTabManager = nullptr;
    DWORD_PTR m_nLayoutValue = 0;
    BOOL m_bClosable = TRUE;
    BOOL m_bFound = FALSE;      // refresh mark of the MDI tab client

private:
    BOOL DrawImageTransposed(CDC* pDC, const CRect& rc, CKLVImageManagerIcon* pImage);

    std::vector<CKLVTabManagerNavigateButton*> m_arrButtons;   // owned
};
