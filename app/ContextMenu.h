// A context menu of the program: a popup of one of its menu resources, shown by the main frame's
// command bars at a point in screen coordinates; its commands take the frame's routing and update
// rules.
#pragma once

#include "classlib/ClassLib.h"

void ShowFrameContextMenu(UINT nMenuID, int nPopup, CPoint ptScreen);
