// The plain colour sets: the standard set every unlisted colour number gets (a checkerboard for
// the selected button), and set 2 (the header in colour 48).
#pragma once

#include "toolkit/tabs/TabColors.h"

class CKLVTabColorsStandard : public CKLVTabColors {
public:
    void RefreshMetrics() override;
};

class CKLVTabColorsSet2 : public CKLVTabColors {
public:
    void RefreshMetrics() override;
    void FillNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc) override;

private:
    BOOL IsStandardAppearance() const;
};
