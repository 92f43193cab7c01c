// Drag-over activation for the MDI tab client: while data is dragged over a tab that is not
// selected, that tab's window is activated. Nothing is ever dropped here.
#pragma once

#include "classlib/Ole.h"
#include "classlib/Wnd.h"

#include <memory>
#include <vector>

class CKLVTabClientWnd;

class CKLVTabClientDropTarget {
public:
    explicit CKLVTabClientDropTarget(CKLVTabClientWnd* pClient);
    ~CKLVTabClientDropTarget();
    CKLVTabClientDropTarget(const CKLVTabClientDropTarget&) = delete;
    CKLVTabClientDropTarget& operator=(const CKLVTabClientDropTarget&) = delete;

    // Registers pWnd unless it takes drops through this object already; FALSE when OLE refuses.
    BOOL RegisterFor(CWnd* pWnd);
    // Activates the window of the tab under point (client coordinates of pWnd).
    void ActivateTabAt(CWnd* pWnd, CPoint point);

private:
    class CWindowTarget;
    CKLVTabClientWnd* m_pClient;
    std::vector<std::unique_ptr<CWindowTarget>> m_arrTargets;
};
