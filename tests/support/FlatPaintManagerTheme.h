// A plain-GDI command-bar theme for the tests: button face, shadow and highlight frames, button
// text and grey text, nothing else. Registered as theme 0 where the tests need a theme.
#pragma once

#include "toolkit/commandbars/PaintManager.h"

class CKLVFlatTestTheme : public CKLVPaintManager {
public:
    static CKLVPaintManager* Create() { return new CKLVFlatTestTheme; }
    static void Register() { CKLVPaintManager::RegisterTheme(0, &CKLVFlatTestTheme::Create); }
};
