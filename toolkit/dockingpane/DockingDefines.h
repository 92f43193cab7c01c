// What the docking panes tell their owner window: the notification message, its codes, the
// action codes reported with code 4 and the records LPARAM points at.
#pragma once

#include "classlib/Wnd.h"

class CKLVDockingPane;

// Sent to the manager's owner (else its site): WPARAM the code, LPARAM the value.
#define KLV_WM_DOCKINGPANENOTIFY 10925
// Sent to a pane's window to ask for its tab colour; 0 means "no preference".
#define KLV_WM_DOCKINGPANE_TABCOLOR 10425

enum KLVDockingPaneNotifyCode {
    klvDockingPaneShowWindow = 1,   // LPARAM the pane; the owner may attach a window
    klvDockingPaneRClick = 2,       // LPARAM the tabbed container's node
    klvDockingPaneClosing = 3,      // LPARAM the pane; -1 keeps it open
    klvDockingPaneAction = 4,       // LPARAM a CKLVDockingPaneActionRecord
    klvDockingPaneMenu = 5,         // LPARAM a CKLVDockingPaneMenuRecord; non-zero: handled
};

enum KLVDockingPaneAction {
    klvActionFloating = 0, klvActionFloated = 1, klvActionClosing = 2, klvActionClosed = 3,
    klvActionDocking = 4, klvActionDocked = 5, klvActionAttaching = 6, klvActionAttached = 7,
    klvActionUnhiding = 8, klvActionUnhidden = 9,
    klvActionSlidingOut = 10, klvActionSlidingIn = 11, klvActionRollingUp = 12, klvActionRollingOut = 13,
    klvActionActivated = 14, klvActionDeactivated = 15,
    klvActionDragging = 16, klvActionClicking = 17, klvActionHiding = 18, klvActionHidden = 19,
};

enum KLVDockingDirection { klvDockLeft = 0, klvDockRight = 1, klvDockTop = 2, klvDockBottom = 3 };

enum KLVDockingCaptionButtonId {
    klvCaptionButtonAutoHide = 9456, klvCaptionButtonClose = 9457, klvCaptionButtonMaximize = 9458,
    klvCaptionButtonRestore = 9459, klvCaptionButtonMenu = 9460,
};

// Every field is pointer-sized: value 1 may carry a holder node, and the owner finds the record
// at the address LPARAM holds.
struct CKLVDockingPaneActionRecord {
    INT_PTR nAction;
    INT_PTR bCancel;   // the owner sets non-zero to cancel
    CKLVDockingPane* pPane;
    LPARAM lValue1;
    LPARAM lValue2;
};

struct CKLVDockingPaneMenuRecord {
    CKLVDockingPane* pPane;
    POINT pt;     // the Menu button's left-bottom corner, screen co-ordinates
    RECT rcButton;
};
