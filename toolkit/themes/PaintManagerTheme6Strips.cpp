// Theme 6's buttons joined into strips (the buttons of a ribbon group that joins its controls, a
// new strip at each control that begins a group) and its split buttons, inside strips or not.
#include "toolkit/themes/PaintManagerTheme6.h"

#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/themes/RibbonFaces.h"
#include "toolkit/themes/ThemeControlState.h"
#include "toolkit/themes/ThemeResourceImage.h"

namespace {

const int kStripCell = 22;
const CRect kStripMargins(2, 2, 2, 2);

struct StripPlace {
    BOOL bJoined = FALSE;
    BOOL bBegins = FALSE;
    BOOL bEnds = FALSE;
};

// Where the control stands in its strip, among the visible controls of its group.
StripPlace StripPlaceOf(const CKLVControl* pControl) {
    StripPlace place;
    const CKLVRibbonGroupFace* pGroup = CKLVRibbonGroupFace::Of(pControl);
    if (!pGroup || !pGroup->IsControlsJoined()) return place;
    const CKLVControl *pPrevious = nullptr, *pNext = nullptr;
    BOOL bFound = FALSE;
    for (int i = 0; i < pGroup->GetControlCount() && !pNext; ++i) {
        const CKLVControl* pOther = pGroup->GetControlAt(i);
        if (pOther == pControl)
            bFound = TRUE;
        else if (pOther->IsVisible())
            (bFound ? pNext : pPrevious) = pOther;
    }
    if (!bFound) return place;
    place.bJoined = TRUE;
    place.bBegins = !pPrevious || pControl->GetBeginGroup();
    place.bEnds = !pNext || pNext->GetBeginGroup();
    return place;
}

BOOL DrawStripCell(CDC* pDC, LPCTSTR lpszImage, int nCell, CRect rc) {
    return KLVDrawSkinPart(pDC, {lpszImage, nCell, KLVSkinCellCount(lpszImage, kStripCell)}, rc, kStripMargins, skinKeyed);
}

}  // namespace

int CKLVPaintManagerTheme6::StripCell(int nSelected, int nPressed, int nEnabled, int nChecked, BOOL bPopuped) {
    if (!nEnabled) return nSelected == 2 || nSelected == 3 ? 1 : 0;
    if (bPopuped) return 3;
    if (nChecked && !nPressed) return nSelected ? 4 : 3;
    if (nPressed == 2 || nPressed == 3 || (nSelected && nPressed)) return 2;
    return nSelected || nPressed ? 1 : 0;
}

LPCTSTR CKLVPaintManagerTheme6::StripImage(BOOL bBeginsRun, BOOL bEndsRun) {
    if (bBeginsRun) return bEndsRun ? "TOOLBARBUTTONSSPECIALSINGLE" : "TOOLBARBUTTONSSPECIALLEFT";
    return bEndsRun ? "TOOLBARBUTTONSSPECIALRIGHT" : "TOOLBARBUTTONSSPECIALCENTER";
}

void CKLVPaintManagerTheme6::DrawControlEntry(CDC* pDC, CKLVControlFace* pControlFace) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const StripPlace place = StripPlaceOf(pControl);
    const int nCell = StripCell(pControl->GetSelected(), pControl->GetPressed(), KLVTheme::EnabledOf(pControl),
                                pControl->GetChecked(), pControl->GetPopuped());
    if (!place.bJoined || !DrawStripCell(pDC, StripImage(place.bBegins, place.bEnds), nCell, pControl->GetRect()))
        CKLVPaintManagerTheme5::DrawControlEntry(pDC, pControl);
}

void CKLVPaintManagerTheme6::DrawSplitButtonFrame(CDC* pDC, CKLVControlFace* pControlFace, CRect rc) {
    CKLVControl* pControl = KLVTheme::ControlOf(pControlFace);
    const CRect rcCommand = GetSplitButtonCommandRect(pControl);
    CRect rcDrop = rc;
    if (pControl->GetStyle() == CKLVControl::styleCaptionBelow)
        rcDrop.top = rcCommand.bottom;
    else
        rcDrop.left = rcCommand.right;
    if (!DrawSplitParts(pDC, pControl, rcCommand, rcDrop)) {
        CKLVPaintManagerTheme5::DrawSplitButtonFrame(pDC, pControl, rc);
        return;
    }
    const int nEnabled = pControl->GetEnabled();
    DrawExpandArrow(pDC, pControl, rcDrop.CenterPoint(), pControl->GetSelected(), pControl->GetPopuped(),
                    nEnabled == 3 ? 0 : nEnabled, FALSE);
}

BOOL CKLVPaintManagerTheme6::DrawSplitParts(CDC* pDC, CKLVControl* pControl, CRect rcCommand, CRect rcDrop) {
    const int nSelected = pControl->GetSelected(), nPressed = pControl->GetPressed();
    const int nEnabled = pControl->GetEnabled(), nChecked = pControl->GetChecked();
    const int nDropEnabled = nEnabled == 3 ? 0 : nEnabled;
    const BOOL bPopuped = pControl->GetPopuped();
    const StripPlace place = StripPlaceOf(pControl);
    if (place.bJoined) {
        LPCTSTR lpszButton = place.bBegins ? "TOOLBARBUTTONSSPECIALSPLITLEFT" : "TOOLBARBUTTONSSPECIALSPLITCENTER";
        LPCTSTR lpszDrop =
            place.bEnds ? "TOOLBARBUTTONSSPECIALSPLITDROPDOWNRIGHT" : "TOOLBARBUTTONSSPECIALSPLITDROPDOWNCENTER";
        if (!KLVSkinImage(lpszButton) || !KLVSkinImage(lpszDrop)) return FALSE;
        DrawStripCell(pDC, lpszButton, StripCell(nSelected || bPopuped, nPressed, nEnabled, nChecked, FALSE),
                      rcCommand);
        DrawStripCell(pDC, lpszDrop, StripCell(nSelected, 0, nDropEnabled, FALSE, bPopuped), rcDrop);
        return TRUE;
    }
    const BOOL bTall = pControl->GetStyle() == CKLVControl::styleCaptionBelow;
    LPCTSTR lpszButton = bTall ? "TOOLBARBUTTONSSPLIT50" : "TOOLBARBUTTONSSPLIT22";
    if (!KLVSkinImage(lpszButton)) return FALSE;
    const int nButton = ToolBarButtonPart(nSelected || bPopuped, nPressed, nEnabled, nChecked, FALSE);
    const int nDrop = ToolBarButtonPart(nSelected, 0, nDropEnabled, FALSE, bPopuped);
    if (nButton >= 0) KLVDrawSkinPart(pDC, {lpszButton, nButton, 4}, rcCommand, kStripMargins);
    if (nDrop >= 0)
        KLVDrawSkinPart(pDC, {bTall ? "TOOLBARBUTTONSSPLITDROPDOWN50" : "TOOLBARBUTTONSSPLITDROPDOWN22", nDrop, 4},
                        rcDrop, kStripMargins);
    return TRUE;
}
