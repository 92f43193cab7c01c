// Watching the messages of windows the toolkit does not own: the first sink on a window puts the
// hook procedure in place of the window's, the last one to leave puts it back.
#pragma once

#include "classlib/Object.h"
#include "toolkit/common/HookSink.h"

#include <memory>
#include <unordered_map>
#include <vector>

// One subclassed window: its chain of sinks (the last is the newest) and its own procedure.
class CKLVHookedWindow {
public:
    explicit CKLVHookedWindow(HWND hWnd);
    // Puts the window's own procedure back and deletes the auto-destroy sinks, newest first.
    ~CKLVHookedWindow();
    CKLVHookedWindow(const CKLVHookedWindow&) = delete;
    CKLVHookedWindow& operator=(const CKLVHookedWindow&) = delete;

    int FindSink(CKLVHookSink* pSink) const;
    // Takes the sink out (deleting it when it is auto-destroy); FALSE when it was not there.
    BOOL RemoveSink(CKLVHookSink* pSink);

    std::vector<CKLVHookSink*> m_arrSinks;
    WNDPROC m_pfnOldWndProc;
    HWND m_hWnd;
};

class CKLVWindowSubclasser : public CObject {
public:
    CKLVWindowSubclasser() = default;
    ~CKLVWindowSubclasser() override;   // every hooked window gets its procedure back

    void HookWindow(HWND hWnd, CKLVHookSink* pSink);
    void UnhookWindow(HWND hWnd, CKLVHookSink* pSink);
    // Takes the sink out of the chain of every window.
    void RemoveSink(CKLVHookSink* pSink);

    CKLVHookedWindow* Lookup(HWND hWnd) const;
    BOOL IsHooked(HWND hWnd) const { return Lookup(hWnd) != nullptr; }

private:
    static LRESULT CALLBACK HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    void RemoveFromChain(HWND hWnd, CKLVHookSink* pSink);

    std::unordered_map<HWND, std::unique_ptr<CKLVHookedWindow>> m_mapWindows;
};

// The process-wide subclasser, built on first use. Windows are hooked on the UI thread only.
CKLVWindowSubclasser* KLVWindowSubclasser();
