// What a command bar needs of the tooltip host its command bars share: every message of the bar
// passes its filter first, and the bar's tool hit test has it fill in the tool record.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "classlib/String.h"

#include <commctrl.h>

class CKLVImageManager;
class CWnd;

class CKLVToolTipContext : public CCmdTarget {
public:
    // Relays the owner's mouse messages to the tooltip window and keeps its one tool current.
    virtual void FilterToolTipMessage(CWnd* pOwner, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Fills the record with the window, id, rectangle and a copy of the text; an extended record
    // also gets the title and description, and the image source.
    virtual void FillInToolInfoEx(TOOLINFO* pToolInfo, HWND hWnd, const CRect& rcTool, INT_PTR nHit,
                                  const CString& strText, const CString& strTitle, const CString& strDescription,
                                  CKLVImageManager* pImageManager) = 0;
    // Hides a tip that shows now (a menu opens over it); the next tool the mouse reaches shows
    // its own.
    virtual void CancelToolTips() {}
};
