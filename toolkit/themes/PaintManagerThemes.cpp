// The theme numbers SetTheme builds: 0 the default, 1 flat, 2 gradient, 3 visual styles, 4 the
// application's gradient variant, 5 the resource-image look, 6 its image-faced variant; every
// other number falls back to theme 0. The library is linked whole so that this registration
// runs in any program that links it.
#include "toolkit/themes/PaintManagerTheme0.h"
#include "toolkit/themes/PaintManagerTheme1.h"
#include "toolkit/themes/PaintManagerTheme2.h"
#include "toolkit/themes/PaintManagerTheme3.h"
#include "toolkit/themes/PaintManagerTheme4.h"
#include "toolkit/themes/PaintManagerTheme5.h"
#include "toolkit/themes/PaintManagerTheme6.h"

namespace {

const struct ThemeRegistration {
    ThemeRegistration() {
        CKLVPaintManager::RegisterTheme(0, &CKLVPaintManagerTheme0::Create);
        CKLVPaintManager::RegisterTheme(1, &CKLVPaintManagerTheme1::Create);
        CKLVPaintManager::RegisterTheme(2, &CKLVPaintManagerTheme2::Create);
        CKLVPaintManager::RegisterTheme(3, &CKLVPaintManagerTheme3::Create);
        CKLVPaintManager::RegisterTheme(4, &CKLVPaintManagerTheme4::Create);
        CKLVPaintManager::RegisterTheme(5, &CKLVPaintManagerTheme5::Create);
        CKLVPaintManager::RegisterTheme(6, &CKLVPaintManagerTheme6::Create);
    }
} s_registration;

}  // namespace
