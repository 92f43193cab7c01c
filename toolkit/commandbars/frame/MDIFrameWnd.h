// The MDI frame the application's main frame derives from: it carries the command bars, makes
// them for itself, and hands its accelerator table to their accelerator manager.
#pragma once

#include "classlib/MDIFrameWnd.h"
#include "toolkit/commandbars/interfaces/CommandBarsSite.h"

class CKLVCommandBars;

class CKLVMDIFrameWndBase : public CMDIFrameWnd {
public:
    ~CKLVMDIFrameWndBase() override = default;
};

class CKLVMDIFrameWnd : public CKLVMDIFrameWndBase, public CKLVCommandBarsSite {
    DECLARE_DYNCREATE(CKLVMDIFrameWnd)
public:
    CKLVMDIFrameWnd() = default;
    // Releases the command bars.
    ~CKLVMDIFrameWnd() override;

    // Makes command bars of the class with this frame as their site and, once the frame has its
    // window, its dock bars; FALSE when the class makes no command bars or a dock bar fails.
    BOOL InitCommandBars(CRuntimeClass* pCommandBarsClass = nullptr);
    CKLVCommandBars* GetCommandBars() const override { return m_pCommandBars; }

    // The frame's accelerator table becomes the command bars' current and default table; the
    // frame keeps none of its own.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    // The command bars go into print preview first.
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;
    // The command bars see the frame's queued messages and its window messages first.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CKLVCommandBars* m_pCommandBars = nullptr;
};
