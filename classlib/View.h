// CView: a window that shows a document. A frame makes it from its creation context; it joins
// the document's views, paints through OnPrepareDC and OnDraw, hears of changes through
// OnUpdate, and passes the commands it does not handle to its document.
#pragma once

#include "classlib/FrameWnd.h"
#include "classlib/Ole.h"

#include <memory>

class CDocument;
class CPrintDialog;

// What a print run knows: the pages, those chosen and the one being printed, the print dialog
// with the printer it chose, and the place to draw the page.
class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    // The pages the document has (at most 0xFFFF: the dialog counts in 16 bits).
    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const;
    UINT GetMaxPage() const;
    // The pages chosen in the dialog, else all of them.
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD;               // the run's own dialog
    BOOL m_bPreview = FALSE;
    BOOL m_bDirect = FALSE;            // no print dialog
    BOOL m_bContinuePrinting = TRUE;   // OnPrepareDC may end the run early
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    LPVOID m_lpUserData = nullptr;
    CRect m_rectDraw;
    CString m_strPageDesc;

private:
    std::unique_ptr<CPrintDialog> m_pPrintDialog;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() noexcept = default;
    ~CView() override;   // leaves its document

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnInitialUpdate();   // OnUpdate(null, 0, null)
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);   // repaints
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT /*nState*/, CFrameWnd* /*pFrameWnd*/) {}

    // ---- Printing: PrintPages drives the hooks for each page into pDC.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) { return pInfo != nullptr; }
    // The standard preparation: the print dialog offers the pages and chooses the printer, or,
    // for a preview or a direct print, the default printer serves. FALSE when the user cancels
    // or no printer can be had (the user is told).
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);   // OnDraw
    virtual void OnEndPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}
    // Pages from the first to the last of pInfo, each started and ended on pDC, until a page's
    // OnPrepareDC clears m_bContinuePrinting; the number printed.
    UINT PrintPages(CDC* pDC, CPrintInfo* pInfo);

    // ---- Drops, through a COleDropTarget registered for the view: nothing is taken by default.
    virtual DROPEFFECT OnDragEnter(COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/, CPoint /*point*/) { return DROPEFFECT_NONE; }
    virtual DROPEFFECT OnDragOver(COleDataObject* /*pDataObject*/, DWORD /*dwKeyState*/, CPoint /*point*/) { return DROPEFFECT_NONE; }
    virtual void OnDragLeave() {}
    virtual BOOL OnDrop(COleDataObject* /*pDataObject*/, DROPEFFECT /*dropEffect*/, CPoint /*point*/) { return FALSE; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;   // views delete themselves

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

protected:
    CDocument* m_pDocument = nullptr;

    friend class CDocument;
};
