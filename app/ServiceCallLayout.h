// Where the call window's controls go for a size of its client area, in dialog units: the top
// rows keep their place (the endpoint grows, its buttons stay at the right), the request and the
// answer share the width and take the height, the history and the mock service keep to the bottom.
// Never smaller than the window's template.
#pragma once

#include <windows.h>

#include <vector>

struct CCallControlPlace {
    UINT nID;
    RECT rc;   // left, top, right, bottom
};

std::vector<CCallControlPlace> ServiceCallLayout(int nWidth, int nHeight);
