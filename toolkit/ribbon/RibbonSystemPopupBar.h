// The system button's popup: a popup bar with wide borders whose bottom strip holds its own
// buttons (placed right to left), and the pages its submenus open as.
#pragma once

#include "toolkit/commandbars/popups/PopupBar.h"

class CKLVRibbonSystemPopupBar : public CKLVPopupBar {
    DECLARE_SERIAL(CKLVRibbonSystemPopupBar)
public:
    enum { buttonGap = 6, buttonTop = 25, buttonBottom = 3, systemButtonOverlap = 18 };

    CKLVRibbonSystemPopupBar();

    // Lays the bar out as a popup bar without its bottom buttons, then puts those in the
    // bottom border.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // The skin's system menu image stretched over the bar (its borders kept), a second column
    // on the recent file list's background, and the system button where it overlaps the bar.
    void FillCommandBarEntry(CDC* pDC) override;
    // Over its system button the popup is not there: the button keeps the mouse.
    BOOL IsPointInBar(CPoint ptScreen) const override;
    // Opened from the system button of a ribbon with a caption band and a tab row, the popup
    // reaches up over the button's lower part.
    void AdjustExcludeRect(CRect& rc, BOOL bVertical) override;

    // The part of the client area right of the first control that starts a new column; empty
    // with one column.
    CRect GetSecondColumnRect() const;

private:
    CSize m_szLayout = CSize(0, 0);   // of the last layout

    // The system button the popup was opened from, on a ribbon with a window; else null.
    CKLVControl* GetSystemButton() const;

    void PlaceBottomButtons(const std::vector<CKLVControl*>& arrButtons, CSize szBar);
    // The system button that opened the popup, drawn again where it overlaps the popup.
    void DrawSystemButtonOver(CDC* pDC);
};

class CKLVRibbonSystemPopupBarPage : public CKLVPopupBar {
    DECLARE_SERIAL(CKLVRibbonSystemPopupBarPage)
public:
    // As high as the system popup's content area at least.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // Opens flush with the system popup's content, one pixel wider to the right.
    void AdjustExcludeRect(CRect& rc, BOOL bVertical) override;

    // The system popup the page's parent control lies on; null for any other parent.
    CKLVRibbonSystemPopupBar* GetSystemPopupBar() const;
};
