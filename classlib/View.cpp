#include "classlib/View.h"

#include "classlib/Document.h"
#include "classlib/PrintDialog.h"
#include "classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CView, CWnd)

CPrintInfo::CPrintInfo()
    : m_pPrintDialog(std::make_unique<CPrintDialog>(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)) {
    m_pPD = m_pPrintDialog.get();
}

CPrintInfo::~CPrintInfo() = default;

void CPrintInfo::SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(std::min(nMinPage, 0xFFFFu)); }
void CPrintInfo::SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(std::min(nMaxPage, 0xFFFFu)); }
UINT CPrintInfo::GetMinPage() const { return m_pPD->m_pd.nMinPage; }
UINT CPrintInfo::GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
UINT CPrintInfo::GetFromPage() const { return m_pPD->PrintRange() ? m_pPD->m_pd.nFromPage : GetMinPage(); }
UINT CPrintInfo::GetToPage() const { return m_pPD->PrintRange() ? m_pPD->m_pd.nToPage : GetMaxPage(); }

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (cs.style & WS_BORDER) {   // a sunken edge rather than a line
        cs.style &= ~WS_BORDER;
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
    }
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy() {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->GetActiveView() == this) pFrame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo) {
    // One page unless the view says how many.
    if (pInfo && pInfo->GetMaxPage() == 0xFFFF) pInfo->m_bContinuePrinting = pInfo->m_nCurPage == 1;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*) {
    // The view takes the focus when its top-level window is the active one.
    if (bActivate && pActivateView == this && m_hWnd) {
        CWnd* pTop = GetTopLevelParent();
        if (pTop && ::GetActiveWindow() == pTop->m_hWnd) SetFocus();
    }
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    const int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT) return nResult;
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SetActiveView(this);
    return nResult;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    CPrintDialog* pPD = pInfo->m_pPD;
    pPD->m_pd.nFromPage = static_cast<WORD>(pInfo->GetMinPage());   // the dialog offers every page
    pPD->m_pd.nToPage = static_cast<WORD>(pInfo->GetMaxPage());
    if (m_hWnd) pPD->m_pd.hwndOwner = AfxGetSafeHwnd(GetTopLevelParent());
    BOOL bReady = FALSE;
    if (pInfo->m_bPreview || pInfo->m_bDirect) {
        bReady = pPD->GetDefaults();
    } else {
        bReady = pPD->DoModal() == IDOK;
        if (!bReady && ::CommDlgExtendedError() == 0) return FALSE;   // the user cancelled
    }
    if (bReady && !pPD->GetPrinterDC()) bReady = pPD->CreatePrinterDC() != nullptr;
    if (!bReady) AfxMessageBox("No printer is available. Install a printer to print.", MB_ICONEXCLAMATION);
    return bReady;
}

UINT CView::PrintPages(CDC* pDC, CPrintInfo* pInfo) {
    OnBeginPrinting(pDC, pInfo);
    UINT nPrinted = 0;
    for (pInfo->m_nCurPage = pInfo->GetFromPage(); pInfo->m_nCurPage <= pInfo->GetToPage(); ++pInfo->m_nCurPage) {
        pInfo->m_bContinuePrinting = TRUE;
        OnPrepareDC(pDC, pInfo);
        if (!pInfo->m_bContinuePrinting) break;
        const int nSaved = pDC->SaveDC();
        pDC->StartPage();
        OnPrint(pDC, pInfo);
        pDC->EndPage();
        pDC->RestoreDC(nSaved);
        ++nPrinted;
    }
    OnEndPrinting(pDC, pInfo);
    return nPrinted;
}
