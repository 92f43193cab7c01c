// OLE for the program: start-up (AfxOleInit, in WinApp.h) and drag and drop of data between
// windows: COleDataSource offers data and runs the drag, COleDataObject reads what is offered,
// COleDropTarget makes a window a place to drop on.
#pragma once

#include "classlib/WinApp.h"
