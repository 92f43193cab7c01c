// A windowless host of the rich-edit text services: it feeds them RTF (or plain text), asks them
// for the narrowest size that keeps the text's height within a maximum width, and has them draw
// into a tip's DC. The text is never edited, scrolled or given a caret, so almost every host
// question has a fixed answer.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"
#include "toolkit/common/LoadedModule.h"

#include <richedit.h>
#include <textserv.h>

class CDC;

class CKLVRichEditTextHost : public CCmdTarget {
public:
    CKLVRichEditTextHost();
    // Releases the text services before their library goes.
    ~CKLVRichEditTextHost() override;

    BOOL HasTextServices() const { return m_pTextServices != nullptr; }
    // Copies the format and hands it to the services; their answer.
    LRESULT SetDefaultCharFormat(const CHARFORMATW* pCharFormat);
    // RTF, or plain text when the text is no RTF; the characters the last stream read.
    LONG SetText(LPCSTR lpszText);
    // The narrowest width (at most nMaxWidth + 1) that keeps the text's height at nMaxWidth.
    CSize CalcSize(CDC* pDC, int nMaxWidth);
    void Draw(CDC* pDC, LPCRECT lprcBounds);

    LPUNKNOWN GetInterface(const IID& iid) override;

    ITextServices* m_pTextServices = nullptr;
    CHARFORMATW m_charFormat;
    PARAFORMAT2 m_paraFormat;
    CSize m_sizeRequested;

private:
    CKLVLoadedModule m_richEditLibrary;

    // Lays the text out at the width; the services answer with a resize request.
    void LayOut(CDC* pDC, int cx);

    // The ITextHost part: reference counting belongs to the outer object.
    class XTextHost : public ITextHost {
    public:
        explicit XTextHost(CKLVRichEditTextHost* pOuter) : m_pOuter(pOuter) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        HDC TxGetDC() override { return nullptr; }
        INT TxReleaseDC(HDC) override { return 0; }
        WINBOOL TxShowScrollBar(INT, WINBOOL) override { return FALSE; }
        WINBOOL TxEnableScrollBar(INT, INT) override { return FALSE; }
        WINBOOL TxSetScrollRange(INT, LONG, INT, WINBOOL) override { return FALSE; }
        WINBOOL TxSetScrollPos(INT, INT, WINBOOL) override { return FALSE; }
        void TxInvalidateRect(LPCRECT, WINBOOL) override {}
        void TxViewChange(WINBOOL) override {}
        WINBOOL TxCreateCaret(HBITMAP, INT, INT) override { return FALSE; }
        WINBOOL TxShowCaret(WINBOOL) override { return FALSE; }
        WINBOOL TxSetCaretPos(INT, INT) override { return FALSE; }
        WINBOOL TxSetTimer(UINT, UINT) override { return FALSE; }
        void TxKillTimer(UINT) override {}
        void TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) override {}
        void TxSetCapture(WINBOOL) override {}
        void TxSetFocus() override {}
        void TxSetCursor(HCURSOR, WINBOOL) override {}
        WINBOOL TxScreenToClient(LPPOINT) override { return FALSE; }
        WINBOOL TxClientToScreen(LPPOINT) override { return FALSE; }
        HRESULT TxActivate(LONG*) override { return E_FAIL; }
        HRESULT TxDeactivate(LONG) override { return E_FAIL; }
        HRESULT TxGetClientRect(LPRECT) override { return E_FAIL; }
        HRESULT TxGetViewInset(LPRECT prc) override;
        HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
        HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
        COLORREF TxGetSysColor(int nIndex) override { return ::GetSysColor(nIndex); }
        HRESULT TxGetBackStyle(TXTBACKSTYLE* pStyle) override;
        HRESULT TxGetMaxLength(DWORD* pLength) override;
        HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
        HRESULT TxGetPasswordChar(TCHAR*) override { return S_FALSE; }
        HRESULT TxGetAcceleratorPos(LONG* pcp) override;
        HRESULT TxGetExtent(LPSIZEL) override { return E_NOTIMPL; }
        HRESULT OnTxCharFormatChange(const CHARFORMATW*) override { return E_FAIL; }
        HRESULT OnTxParaFormatChange(const PARAFORMAT*) override { return E_FAIL; }
        HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
        HRESULT TxNotify(DWORD iNotify, void* pv) override;
        HIMC TxImmGetContext() override { return nullptr; }
        void TxImmReleaseContext(HIMC) override {}
        HRESULT TxGetSelectionBarWidth(LONG* plSelBarWidth) override;

    private:
        CKLVRichEditTextHost* m_pOuter;
    };
    XTextHost m_xTextHost{this};
};
