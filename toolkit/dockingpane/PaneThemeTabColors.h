// The tab colour sets of the pane themes: theme 1's auto-hide tabs, and the scheme-coloured
// sets of themes 6 and 9.
#pragma once

#include "toolkit/tabs/TabColors.h"

class CKLVPaneThemeTabColors : public CKLVTabColors {
public:
    void RefreshMetrics() override;
};

class CKLVPaneThemeTabColorsResource : public CKLVTabColors {
public:
    explicit CKLVPaneThemeTabColorsResource(BOOL bWindowFace = FALSE) : m_bWindowFace(bWindowFace) {}
    void RefreshMetrics() override;

    BOOL m_bWindowFace;   // window-coloured tabs with window-text outlines
    BOOL m_bGradientItems = FALSE;
};

class CKLVPaneThemeTabColorsResource9 : public CKLVPaneThemeTabColorsResource {
public:
    using CKLVPaneThemeTabColorsResource::CKLVPaneThemeTabColorsResource;
    void RefreshMetrics() override;
};
