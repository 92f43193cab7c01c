#include "toolkit/tabs/ControlTabWorkspace.h"

#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/tabs/TabClientWnd.h"

IMPLEMENT_DYNCREATE(CKLVControlTabWorkspace, CKLVControlButton)

CWnd* CKLVControlTabWorkspace::CRowWorkspace::GetHostWindow() const { return m_pControl->GetParent(); }

void CKLVControlTabWorkspace::CRowWorkspace::Reposition() { RedrawControl(nullptr, FALSE); }

void CKLVControlTabWorkspace::CRowWorkspace::RedrawControl(const RECT*, BOOL) {
    if (m_pControl->GetParent() && m_pControl->GetParent()->GetSafeHwnd()) m_pControl->RedrawParent(FALSE);
}

CKLVControlTabWorkspace::CKLVControlTabWorkspace() : m_workspace(this) {}

CKLVControlTabWorkspace::~CKLVControlTabWorkspace() { SetTabClient(nullptr); }

void CKLVControlTabWorkspace::SetTabClient(CKLVTabClientWnd* pClient) {
    CKLVTabClientWnd* pOld = m_workspace.m_pClient;
    if (pOld == pClient) return;
    if (pOld) {
        pOld->m_pTabWorkspace = nullptr;
        m_workspace.DeleteAllItems();
        for (INT_PTR i = pOld->m_arrWorkspace.GetSize() - 1; i >= 0; --i)
            if (pOld->m_arrWorkspace[i] == &m_workspace) pOld->m_arrWorkspace.RemoveAt(i);
        if (pOld->m_pActiveWorkspace == &m_workspace) pOld->m_pActiveWorkspace = nullptr;
        m_workspace.m_pClient = nullptr;
        pOld->Refresh(TRUE);
    }
    if (!pClient) return;
    // The client's own rows give way; their tabs come back in this row at the refresh.
    for (INT_PTR i = 0; i < pClient->m_arrWorkspace.GetSize(); ++i) delete pClient->m_arrWorkspace[i];
    pClient->m_arrWorkspace.RemoveAll();
    pClient->m_pActiveWorkspace = nullptr;
    pClient->m_pTabWorkspace = &m_workspace;
    m_workspace.m_pClient = pClient;
    pClient->Refresh(TRUE);
}

BOOL CKLVControlTabWorkspace::IsVerticalBar() const {
    const int nPosition = GetParent() ? GetParent()->GetPosition() : 0;
    return nPosition == 2 || nPosition == 3 || nPosition == 5;
}

void CKLVControlTabWorkspace::LayoutRow(CDC* pDC) {
    if (m_workspace.m_pClient) m_workspace.GetPaintManager()->RepositionTabControl(&m_workspace, pDC, GetRect());
}

CSize CKLVControlTabWorkspace::GetSize(CDC* pDC) {
    if (!m_workspace.m_pClient) return CSize(0, 0);
    LayoutRow(pDC);
    int nLength = m_workspace.GetItemsLength();
    if (m_workspace.GetPaintManager()->m_bStaticFrame) nLength += 2;
    return IsVerticalBar() ? CSize(m_nThickness, nLength) : CSize(nLength, m_nThickness);
}

void CKLVControlTabWorkspace::Draw(CDC* pDC) {
    if (!m_workspace.m_pClient) return;
    LayoutRow(pDC);
    m_workspace.GetPaintManager()->DrawTabControl(&m_workspace, pDC, GetRect());
}

void CKLVControlTabWorkspace::OnClick(BOOL bKeyboard, CPoint pt) {
    if (bKeyboard || !m_workspace.m_pClient || !GetParent()) return;
    m_workspace.PerformClick(GetParent()->GetSafeHwnd(), pt);
}

void CKLVControlTabWorkspace::OnMouseMove(CPoint pt) {
    if (m_workspace.m_pClient && GetParent()) m_workspace.PerformMouseMove(GetParent()->GetSafeHwnd(), pt);
}
