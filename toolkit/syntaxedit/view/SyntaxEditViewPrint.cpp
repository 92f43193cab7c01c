// Printing a syntax view: hundredths of an inch as the logical unit, the editor's font in the
// print face while pages are counted and drawn, and the control's screen state kept apart.
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

namespace {

const char kPrintFace[] = "Courier New";
const int kPrintMargin = 10;   // a tenth of an inch

// The editor's font as the print face for as long as it lives.
class CPrintFaceScope {
public:
    explicit CPrintFaceScope(const LOGFONT& lfScreen) : m_lfScreen(lfScreen) {
        LOGFONT lf = lfScreen;
        lstrcpynA(lf.lfFaceName, kPrintFace, LF_FACESIZE);
        GetPaintManager()->SetFont(lf, FALSE);
    }
    ~CPrintFaceScope() { GetPaintManager()->SetFont(m_lfScreen, FALSE); }
    CPrintFaceScope(const CPrintFaceScope&) = delete;
    CPrintFaceScope& operator=(const CPrintFaceScope&) = delete;

private:
    LOGFONT m_lfScreen;
};

}  // namespace

void CKLVSyntaxEditView::OnPrepareDC(CDC* pDC, CPrintInfo*) {
    pDC->SetMapMode(MM_ANISOTROPIC);
    ::SetViewportExtEx(pDC->m_hDC, pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY), nullptr);
    ::SetWindowExtEx(pDC->m_hDC, 100, 100, nullptr);
    pDC->SetWindowOrg(0, 0);
}

BOOL CKLVSyntaxEditView::OnPreparePrinting(CPrintInfo* pInfo) {
    if (!pInfo) return FALSE;
    GetPaintManager()->GetTextFont()->GetLogFont(&m_lfPrint);
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    UINT nPages = 1;
    {
        CPrintFaceScope face(m_lfPrint);
        m_bPrinting = TRUE;
        m_nPrintTopRow = pCtrl->GetTopRow();
        nPages = static_cast<UINT>(pCtrl->CalcPageCount());
    }
    pInfo->m_nNumPreviewPages = nPages;
    pInfo->SetMinPage(1);
    pInfo->SetMaxPage(nPages);
    return DoPreparePrinting(pInfo);
}

void CKLVSyntaxEditView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    if (pCtrl->m_hWnd) pCtrl->SetRedraw(FALSE);
    m_nPrintTopRow = pCtrl->GetTopRow();
    m_bFirstPrintedPage = TRUE;
    if (!m_lfPrint.lfHeight) GetPaintManager()->GetTextFont()->GetLogFont(&m_lfPrint);
    CView::OnBeginPrinting(pDC, pInfo);
}

void CKLVSyntaxEditView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    CRect rcDraw = pInfo->m_rectDraw;
    if (rcDraw.IsRectEmpty()) {
        // Without a rectangle from the run, the whole printable page.
        rcDraw.SetRect(0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
        pDC->DPtoLP(reinterpret_cast<LPPOINT>(&rcDraw), 2);
    }
    if (m_bFirstPrintedPage) {
        pCtrl->SetPrintPageSize(rcDraw.Width(), rcDraw.Height());
        m_bFirstPrintedPage = FALSE;
    }
    CRect rcClip = rcDraw;
    rcClip.DeflateRect(kPrintMargin, kPrintMargin);
    pDC->IntersectClipRect(&rcClip);
    {
        CPrintFaceScope face(m_lfPrint);
        pCtrl->SetPrintPage(static_cast<int>(pInfo->m_nCurPage));
        pCtrl->SetDirtyRow(-1);
        pCtrl->Draw(pDC);
    }
    pDC->SelectClipRgn(nullptr);
}

void CKLVSyntaxEditView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {
    CView::OnEndPrinting(pDC, pInfo);
    if (m_lfPrint.lfHeight) GetPaintManager()->SetFont(m_lfPrint, FALSE);
    CKLVSyntaxEditCtrl* pCtrl = GetEditCtrl();
    pCtrl->SetTopRow(m_nPrintTopRow);
    pCtrl->SetDirtyRow(-1);
    m_bPrinting = FALSE;
    if (pCtrl->m_hWnd) {
        pCtrl->SetRedraw(TRUE);
        pCtrl->Invalidate(FALSE);
    }
}
