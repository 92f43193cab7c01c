// Theme 4, the application's gradient look: theme 2 with no scheme of its own (button states are
// drawn flat in theme 1's way) but bodies, dock bars and gutters from its own table by the colour
// manager's scheme, and separators without a highlight inside a row.
#pragma once

#include "toolkit/themes/PaintManagerTheme2.h"

class CKLVPaintManagerTheme4 : public CKLVPaintManagerTheme2 {
public:
    static CKLVPaintManager* Create() { return new CKLVPaintManagerTheme4; }
    void RefreshMetrics() override;
    int GetThemeId() override { return 4; }

protected:
    CKLVPaintManagerTheme4();
};
