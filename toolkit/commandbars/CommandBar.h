// The window every command bar derives from. For now only what the paint manager reads of a bar.
#pragma once

#include "classlib/Wnd.h"

class CKLVCommandBar : public CWnd {
public:
    enum BarType { barTypeMenuBar = 0, barTypeNormal = 1, barTypePopup = 2, barTypeRibbon = 3 };
    enum BarPosition {
        barTop = 0, barBottom = 1, barLeft = 2, barRight = 3, barFloating = 4, barPopup = 5,
        barListBox = 6, barNone = 7
    };

    int GetType() const { return m_barType; }
    int GetPosition() const { return m_barPosition; }

    int m_barType = barTypeNormal;
    int m_barPosition = barNone;
};
