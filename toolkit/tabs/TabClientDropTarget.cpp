#include "toolkit/tabs/TabClientDropTarget.h"

#include "toolkit/tabs/TabClientWnd.h"

class CKLVTabClientDropTarget::CWindowTarget : public COleDropTarget {
public:
    explicit CWindowTarget(CKLVTabClientDropTarget* pOwner) : m_pOwner(pOwner) {}
    HWND GetWindow() const { return m_hWnd; }

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject*, DWORD, CPoint point) override {
        m_pOwner->ActivateTabAt(pWnd, point);
        return DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject*, DWORD, CPoint point) override {
        m_pOwner->ActivateTabAt(pWnd, point);
        return DROPEFFECT_NONE;
    }
    BOOL OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) override { return FALSE; }

private:
    CKLVTabClientDropTarget* m_pOwner;
};

CKLVTabClientDropTarget::CKLVTabClientDropTarget(CKLVTabClientWnd* pClient) : m_pClient(pClient) {}

CKLVTabClientDropTarget::~CKLVTabClientDropTarget() = default;

BOOL CKLVTabClientDropTarget::RegisterFor(CWnd* pWnd) {
    if (!pWnd || !pWnd->GetSafeHwnd()) return FALSE;
    // Targets of windows that are gone make room for new ones.
    for (auto it = m_arrTargets.begin(); it != m_arrTargets.end();) {
        if (!::IsWindow((*it)->GetWindow())) it = m_arrTargets.erase(it);
        else if ((*it)->GetWindow() == pWnd->GetSafeHwnd()) return TRUE;
        else ++it;
    }
    auto pTarget = std::make_unique<CWindowTarget>(this);
    if (!pTarget->Register(pWnd)) return FALSE;
    m_arrTargets.push_back(std::move(pTarget));
    return TRUE;
}

void CKLVTabClientDropTarget::ActivateTabAt(CWnd* pWnd, CPoint point) {
    if (!m_pClient->GetPaintManager()->m_bSelectOnDragOver) return;
    for (int i = 0; i < m_pClient->GetWorkspaceCount(); ++i) {
        CKLVTabWorkspace* pWorkspace = m_pClient->GetWorkspace(i);
        if (AfxGetSafeHwnd(pWorkspace->GetHostWindow()) != pWnd->GetSafeHwnd()) continue;
        CKLVTabManagerItem* pItem = pWorkspace->HitTest(point);
        if (!pItem || pItem == pWorkspace->GetSelectedItem()) continue;
        m_pClient->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pItem->GetHandle()));
        return;
    }
}
