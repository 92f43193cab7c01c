// What the toolkit registers before the program's own start-up code runs: window messages,
// clipboard formats, and the run-time class records of its serializable classes.
#pragma once

#include "classlib/Object.h"

// The schema every toolkit class is stored with (property exchange writes it by default).
#define KLV_SCHEMA_VERSION 23
// A toolkit class that can be saved and recreated by name: entered in the module's class list
// before main runs, versionable schema 23.
#define KLV_IMPLEMENT_SERIAL(class_name, base_class_name) \
    IMPLEMENT_SERIAL(class_name, base_class_name, VERSIONABLE_SCHEMA | KLV_SCHEMA_VERSION)

extern const UINT KLV_WM_NOTIFICATIONSINKMT_ONEVENT;
// Clipboard formats: "Alpha Bitmap Image" and the toolkit's private tool-bar image format.
extern const UINT KLV_CF_ALPHABITMAPIMAGE;
extern const UINT KLV_CF_TOOLBARIMAGE;

// One part of a docking guide: where it is drawn within the guide (which may ignore it and draw
// at 0, 0) and where it lies in the guide bitmap.
struct KLVDockingGuidePart {
    int x;
    int y;
    RECT rcSource;
};
// The classic guide: top, left, bottom, right arrows (0 to 3), the same highlighted (4 to 7), the
// centre and the centre highlighted (8, 9), and the background (10).
extern const KLVDockingGuidePart KLVDockingGuideClassicParts[11];
// The second guide: the combined guide's top, left, bottom, right arrows, normal (0 to 3) then
// highlighted (4 to 7); its centre (8); its background with the centre highlighted (9) and not
// (10); then the four separate side guides, normal (11 to 14) and highlighted (15 to 18).
extern const KLVDockingGuidePart KLVDockingGuideCrossParts[19];
