// The output pane's window: a read-only multi-line edit with the flat border, in the command
// bars' font. The project commands write their progress into it.
#pragma once

#include "app/FlatBorder.h"

class COutputEdit : public CKLVFlatBorder<CEdit> {
public:
    // The window's text is replaced; appending selects the end and replaces the selection.
    void AppendText(LPCTSTR lpszText);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};
