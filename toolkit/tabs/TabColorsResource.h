// The colour sets that follow the XP colour scheme: set 4 (CKLVTabColorsResource), set 16 (its
// solid-item variant with its own greys when the scheme colours are off), set 32 (the colours of
// the loaded resource images) and the ribbon's set.
#pragma once

#include "toolkit/tabs/TabColors.h"

class CKLVTabColorsResource : public CKLVTabColors {
public:
    void RefreshMetrics() override;
    COLORREF FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) override;
    void FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) override;

    CKLVColorValue clrResourceBorder;
    BOOL m_bLunaColors = FALSE;

protected:
    // The scheme column (1 blue, 2 olive, 3 silver) of the frame, edge, button and face colours.
    void ApplySchemeColors(int nScheme);
    // The state's own colour: pressed, then hot, else the item's.
    COLORREF GetStateColor(CKLVTabManagerItem* pItem, BOOL bPressedColor);
    void FillStateGradient(CDC* pDC, CRect rc, COLORREF clr);
};

class CKLVTabColorsSet16 : public CKLVTabColorsResource {
public:
    void RefreshMetrics() override;
    COLORREF FillItem(CDC* pDC, CRect rc, CKLVTabManagerItem* pItem) override;

    BOOL m_bGradientItems = FALSE;
};

// Set 32's name stays although it reads colours, not images, for most of its members.
class CKLVTabColorsResourceImages : public CKLVTabColorsResource {
public:
    void RefreshMetrics() override;
    void FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) override;

private:
    // Stores the module's colour for the key; a key the module lacks keeps the member's value.
    void LookupInto(CKLVColorValue& clr, LPCTSTR lpszSection, LPCTSTR lpszKey);
};

class CKLVTabColorsRibbon : public CKLVTabColorsResource {};
