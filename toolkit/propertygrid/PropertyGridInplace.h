// The in-place windows of the property grid: the edit over a selected value, the drop-down list
// of allowed values, an item's buttons (100 ellipsis, 101 drop-down) and its extra controls.
#pragma once

#include "toolkit/propertygrid/PropertyGridInplaceButton.h"
#include "toolkit/propertygrid/PropertyGridInplaceEdit.h"
#include "toolkit/propertygrid/PropertyGridInplaceList.h"
#include "toolkit/propertygrid/PropertyGridObjectArray.h"

// Destroys the windows of the process-wide edit and list (run at exit).
void KLVPropertyGridReleaseFallbackWindows();
