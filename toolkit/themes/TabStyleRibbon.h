// The ribbon's tab appearance: appearance 2's row with the ribbon theme's tab faces, a row one
// pixel higher than the theme's tab height, and the factory of the ribbon's tab paint manager.
#pragma once

#include "toolkit/tabs/TabStyleAppearances.h"

class CKLVPaintManagerTheme6;
class CKLVTabPainter;

class CKLVTabStyleRibbon : public CKLVTabStyleAppearance2 {
public:
    explicit CKLVTabStyleRibbon(CKLVPaintManagerTheme6* pTheme);

    int GetRowHeight(CKLVTabManager* pTabManager) override;
    void DrawItem(CDC* pDC, CKLVTabManagerItem* pItem) override;
    int GetDefaultColor() override { return 1; }

    CKLVPaintManagerTheme6* m_pTheme;   // not owned: the theme outlives the ribbon's tab row
};

// A tab paint manager for the ribbon's tab row, built for the theme; the caller owns it.
CKLVTabPainter* KLVCreateRibbonTabPainter(CKLVPaintManagerTheme6* pTheme);
