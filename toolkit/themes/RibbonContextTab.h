// What theme 6 reads of a tab it draws that may belong to a context (a coloured run of ribbon
// tabs under one caption). The ribbon's tabs answer it; a tab that does not is a plain tab.
#pragma once

#include "classlib/Object.h"

class CKLVRibbonContextTab {
public:
    virtual ~CKLVRibbonContextTab() = default;
    // 0 for a tab of no context; the theme turns the number into the context images' colour.
    virtual int GetContextColor() const = 0;
    // The tab is the first (last) visible tab of its context's run.
    virtual BOOL IsContextStart() const = 0;
    virtual BOOL IsContextEnd() const = 0;
};
