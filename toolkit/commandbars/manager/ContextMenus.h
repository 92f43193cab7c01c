// The popup bars the command bars keep as context menus; adding one marks it as such.
#pragma once

#include "toolkit/commandbars/controlbase/CommandBarList.h"

class CKLVContextMenus : public CKLVCommandBarList {
public:
    using CKLVCommandBarList::CKLVCommandBarList;
    void Add(CKLVCommandBar* pBar) override;
};
