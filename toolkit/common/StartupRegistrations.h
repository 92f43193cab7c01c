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
