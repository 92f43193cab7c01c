// The frame's dock bars that hold the docked tool bars. For now only the window the paint
// manager fills.
#pragma once

#include "classlib/Wnd.h"

class CKLVDockBar : public CWnd {};
