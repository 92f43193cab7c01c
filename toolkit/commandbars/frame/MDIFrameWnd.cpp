#include "toolkit/commandbars/frame/MDIFrameWnd.h"

#include "classlib/Exceptions.h"
#include "toolkit/commandbars/manager/CommandBars.h"
#include "toolkit/commandbars/shortcuts/AccelManager.h"

IMPLEMENT_DYNCREATE(CKLVMDIFrameWnd, CMDIFrameWnd)

CKLVMDIFrameWnd::~CKLVMDIFrameWnd() {
    if (m_pCommandBars) m_pCommandBars->InternalRelease();
}

BOOL CKLVMDIFrameWnd::InitCommandBars(CRuntimeClass* pCommandBarsClass) {
    CRuntimeClass* pClass = pCommandBarsClass ? pCommandBarsClass : RUNTIME_CLASS(CKLVCommandBars);
    if (!pClass->IsDerivedFrom(RUNTIME_CLASS(CKLVCommandBars))) return FALSE;
    auto* pCommandBars = static_cast<CKLVCommandBars*>(pClass->CreateObject());
    if (!pCommandBars) return FALSE;
    if (m_pCommandBars) m_pCommandBars->InternalRelease();
    m_pCommandBars = pCommandBars;
    m_pCommandBars->SetSite(this);
    // The dock bars are children of the frame: they come once its window exists.
    if (!GetSafeHwnd()) return TRUE;
    try {
        m_pCommandBars->EnableDocking();
    } catch (CResourceException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CKLVMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    if (!CKLVMDIFrameWndBase::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
    if (!m_pCommandBars || !m_hAccelTable) return TRUE;
    CKLVAccelManager* pAccelManager = m_pCommandBars->GetAccelManager();
    pAccelManager->SetAccelTable(CopyAccelTable(m_hAccelTable));
    pAccelManager->SetDefaultAccelTable(CopyAccelTable(m_hAccelTable));
    pAccelManager->m_bReplacesFrameTable = TRUE;
    // A table loaded from resources is freed with its module.
    m_hAccelTable = nullptr;
    return TRUE;
}

void CKLVMDIFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
    if (m_pCommandBars) m_pCommandBars->OnSetPreviewMode(bPreview);
    CKLVMDIFrameWndBase::OnSetPreviewMode(bPreview, pState);
}

BOOL CKLVMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_pCommandBars && m_pCommandBars->PreTranslateFrameMessage(pMsg)) return TRUE;
    return CKLVMDIFrameWndBase::PreTranslateMessage(pMsg);
}

BOOL CKLVMDIFrameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (m_pCommandBars && m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult)) return TRUE;
    return CKLVMDIFrameWndBase::OnWndMsg(message, wParam, lParam, pResult);
}
