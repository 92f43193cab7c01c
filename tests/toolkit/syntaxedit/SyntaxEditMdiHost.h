// A small MDI program for the syntax editor's document and view: a main frame, a template of
// plain children and one of children split two by two, an application whose message boxes are
// recorded instead of shown, and a profile that starts empty.
#pragma once

#include "classlib/WindowTestSupport.h"
#include "support/ScopedProfileKey.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"
#include "toolkit/syntaxedit/view/SyntaxEditDoc.h"
#include "toolkit/syntaxedit/view/SyntaxEditView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class CBoxRecordingApp : public CWinApp {
public:
    CBoxRecordingApp() : CWinApp("KelvaneSyntaxViewTest") {}
    std::vector<std::string> m_boxes;
    int m_nAnswer = IDOK;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override {
        m_boxes.push_back(lpszPrompt);
        return m_nAnswer;
    }
};

// A syntax view that records the hints it hears.
class CRecordingSyntaxView : public CKLVSyntaxEditView {
    DECLARE_DYNCREATE(CRecordingSyntaxView)
public:
    std::vector<LPARAM> m_hints;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {
        m_hints.push_back(lHint);
        CKLVSyntaxEditView::OnUpdate(pSender, lHint, pHint);
    }
    using CKLVSyntaxEditView::GetSharedSplitter;

    // Where a drag started from this view drops: the system's drag loop played through the
    // target's drop-target calls at one point (no target: nothing is dropped).
    static inline CKLVSyntaxEditView* s_pDropTarget = nullptr;
    static inline CPoint s_ptDrop{0, 0};
    static inline DWORD s_dwKeyState = 0;
    // Whether the views let the control change the text.
    static inline BOOL s_bCanChange = TRUE;
    BOOL CanChangeReadonlyFile() override { return s_bCanChange; }

protected:
    DROPEFFECT DoDragDrop(COleDataSource& source) override {
        if (!s_pDropTarget) return DROPEFFECT_NONE;
        COleDataObject data;
        data.Attach(source.GetDataObject());
        DROPEFFECT effect = s_pDropTarget->OnDragEnter(&data, s_dwKeyState, s_ptDrop);
        if (effect != DROPEFFECT_NONE) effect = s_pDropTarget->OnDragOver(&data, s_dwKeyState, s_ptDrop);
        if (effect == DROPEFFECT_NONE) {
            s_pDropTarget->OnDragLeave();
            return DROPEFFECT_NONE;
        }
        return s_pDropTarget->OnDrop(&data, effect, s_ptDrop) ? effect : DROPEFFECT_NONE;
    }
};

class CSyntaxChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CSyntaxChild)
};

// Its document in four panes, two by two.
class CSyntaxSplitChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CSyntaxSplitChild)
public:
    CSplitterWnd m_wndSplitter;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
        if (!m_wndSplitter.CreateStatic(this, 2, 2)) return FALSE;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                if (!m_wndSplitter.CreateView(r, c, pContext->m_pNewViewClass, CSize(200, 120), pContext)) return FALSE;
        return TRUE;
    }
};

struct SyntaxMdiHost {
    testsupport::ScopedProfileKey profileKey{"KelvaneSyntaxViewTests"};
    CBoxRecordingApp app;
    CMDIFrameWnd* pMain = new CMDIFrameWnd;
    CMultiDocTemplate* pPlain = new CMultiDocTemplate(300, RUNTIME_CLASS(CKLVSyntaxEditDoc), RUNTIME_CLASS(CSyntaxChild),
                                                      RUNTIME_CLASS(CRecordingSyntaxView));
    CMultiDocTemplate* pSplit = new CMultiDocTemplate(301, RUNTIME_CLASS(CKLVSyntaxEditDoc),
                                                      RUNTIME_CLASS(CSyntaxSplitChild), RUNTIME_CLASS(CRecordingSyntaxView));
    SyntaxMdiHost() {
        AfxOleInit();   // views take drops
        CRecordingSyntaxView::s_pDropTarget = nullptr;
        CRecordingSyntaxView::s_dwKeyState = 0;
        CRecordingSyntaxView::s_bCanChange = TRUE;
        app.SetRegistryKey(profileKey.Name());
        GetPaintManager()->RefreshSettings();
        EXPECT_TRUE(pMain->LoadFrame(300, WS_OVERLAPPEDWINDOW));
        pMain->SetWindowPos(nullptr, 0, 0, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
        app.m_pMainWnd = pMain;
        app.AddDocTemplate(pPlain);
        app.AddDocTemplate(pSplit);
    }
    ~SyntaxMdiHost() {
        if (app.m_pMainWnd) app.m_pMainWnd->DestroyWindow();
        classlib_test::PumpPending();
        app.WriteProfileString("Settings", nullptr, nullptr);
        GetPaintManager()->RefreshSettings();
    }
    // The views of a document, in their order.
    static std::vector<CRecordingSyntaxView*> Views(CDocument* pDoc) {
        std::vector<CRecordingSyntaxView*> views;
        POSITION pos = pDoc->GetFirstViewPosition();
        while (pos) views.push_back(static_cast<CRecordingSyntaxView*>(pDoc->GetNextView(pos)));
        return views;
    }
    // The document's text replaced (not as an edit), the views told.
    static void SetText(CDocument* pDoc, const std::string& text) {
        CKLVSyntaxEditView* pView = Views(pDoc).front();
        pView->GetEditCtrl()->SetWindowText(text.c_str());
        pDoc->UpdateAllViews(nullptr, KLV_SYNTAXEDIT_HINT_RELOAD);
    }
};

using classlib_test::IsCommandEnabled;

// Rows "row 1" to "row n", CR LF between them.
inline std::string NumberedText(int nRows) {
    std::string text;
    for (int i = 1; i <= nRows; ++i) text += (i > 1 ? "\r\n" : "") + ("row " + std::to_string(i));
    return text;
}

// The texts of a list box's (or, bCombo, a combo box's) items, in order.
inline std::vector<std::string> ItemTexts(HWND hWnd, bool bCombo) {
    std::vector<std::string> items;
    const int nCount = static_cast<int>(::SendMessageA(hWnd, bCombo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        char text[512] = {};
        ::SendMessageA(hWnd, bCombo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

// How many pixels of the rectangle have the colour.
inline int CountColor(CDC& dc, const CRect& rc, COLORREF clr) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) n += dc.GetPixel(x, y) == clr;
    return n;
}

// A bitmap of the screen's format selected into a memory DC, for painting into and reading back.
class MemoryCanvas {
public:
    MemoryCanvas(int cx, int cy) {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        m_bitmap.CreateCompatibleBitmap(&screen, cx, cy);
        m_pOld = dc.SelectObject(&m_bitmap);
    }
    ~MemoryCanvas() { dc.SelectObject(m_pOld); }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    CDC dc;

private:
    CBitmap m_bitmap;
    CBitmap* m_pOld = nullptr;
};
