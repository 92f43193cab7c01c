// The output pane's window: a read-only multi-line edit with the flat border, in the command
// bars' font. The project commands write their progress into it.
#pragma once

#include "app/FlatBorder.h"

#include <functional>
#include <string>

class COutputEdit : public CKLVFlatBorder<CEdit> {
public:
    // The window's text is replaced; appending selects the end and replaces the selection.
    void AppendText(LPCTSTR lpszText);

    // Lines counted from 0, as the edit wraps none.
    int GetLineTotal() const;
    std::string GetLineText(int nLine) const;
    int GetCaretLine() const;
    // Selects the whole line and scrolls it into view.
    void SelectLine(int nLine);
    // Told the line double-clicked.
    std::function<void(int nLine)> m_onLineActivated;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
