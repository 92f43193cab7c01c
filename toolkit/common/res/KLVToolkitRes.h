// Resource ids of the toolkit's own resources (KLVToolkit.rc).
#pragma once

#define KLV_IDC_DRAGMOVE 9308
#define KLV_IDC_DRAGCOPY 9309
#define KLV_IDC_DRAGNONE 9311
#define KLV_IDC_HSPLITBAR 9970
#define KLV_IDC_VSPLITBAR 9971
// The width drag of a control in customize mode.
#define KLV_IDC_RESIZE 9972
#define KLV_IDC_HAND 9973

// The icons of a maximised MDI child's buttons on the menu bar.
#define KLV_IDB_MDI_BUTTONS 9102

// The docking stickers (make-stickers.py).
#define KLV_IDB_STICKER_BACKDROP 9451
#define KLV_IDB_STICKER_ARROWS 9452
#define KLV_IDB_STICKER_ARROWS_OLIVE 9453
#define KLV_IDB_STICKER_ARROWS_SILVER 9454
#define KLV_IDB_STICKER_CROSS 9455

// The window selector's column headers.
#define KLV_IDS_ACTIVE_TOOL_WINDOWS 9461
#define KLV_IDS_ACTIVE_FILES 9462

// The MDI tab client: the new group commands' icons (9157, 9158) and the cursors of a tab
// dragged over the client and outside it.
#define KLV_IDB_TAB_GROUPS 9104
#define KLV_IDC_TAB_DRAG_OVER 9108
#define KLV_IDC_TAB_DRAG_OUTSIDE 9109

// A command-bar control dragged while customising: copied, moved, nowhere to drop.
#define KLV_IDC_CONTROL_DRAG_COPY 9105
#define KLV_IDC_CONTROL_DRAG_MOVE 9106
#define KLV_IDC_CONTROL_DRAG_NONE 9107

// Tooltips of the tab rows' navigation buttons.
#define KLV_IDS_TAB_SCROLLLEFT 9800
#define KLV_IDS_TAB_SCROLLRIGHT 9801
#define KLV_IDS_TAB_CLOSE 9802

// Tooltips of the docking panes' caption buttons (the buttons' command ids): 9456 Auto Hide,
// 9457 Close, 9458 Maximize, 9459 Restore, 9460 Menu.

// The hyperlink's messages for shell results, in the order of CKLHyperLink's table; the last
// one (9370) is the format for any other result.
#define KLV_IDS_HYPERLINK_ERROR_FIRST 9357
