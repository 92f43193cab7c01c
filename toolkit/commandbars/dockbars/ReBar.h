// The rebar a site frame may hold as child 0xE804: the command bars put custom tool bars in its
// bands instead of their dock bars.
#pragma once

#include "classlib/ReBar.h"

class CKLVToolBar;

class CKLVReBar : public CReBar {
    DECLARE_DYNAMIC(CKLVReBar)
public:
    enum : DWORD { bandStyleToolBar = RBBS_BREAK | RBBS_GRIPPERALWAYS };

    // The bar, out of its dock bar and without its gripper and dock flags, as a new last band
    // whose id is the bar id; FALSE when the band cannot be added.
    BOOL AddToolBar(CKLVToolBar* pBar, DWORD dwBandStyle = bandStyleToolBar);
    // The index of the band holding the bar; -1 when none.
    int FindBand(const CKLVToolBar* pBar) const;
    void DeleteToolBar(const CKLVToolBar* pBar);
};
