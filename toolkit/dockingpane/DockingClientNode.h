// The node that stands for the frame's client area inside a docking layout.
#pragma once

#include "classlib/CmdTarget.h"
#include "toolkit/dockingpane/DockingNode.h"

class CKLVDockingClientNode : public CCmdTarget, public CKLVDockingNode {
public:
    explicit CKLVDockingClientNode(CKLVDockingLayout* pLayout) : CKLVDockingNode(typeClient, pLayout) {}

    // The manager's client minimum size, nothing when the client area may be hidden.
    void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
    BOOL IsEmpty() const override;
    void Release() override { InternalRelease(); }
};
