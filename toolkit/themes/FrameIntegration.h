// The frame integration: lets a resource-image theme draw a frame window's border and caption
// (or the ribbon take the caption over), keeps the frame's window region and its frame
// recalculation, and watches the frame's messages that drive them.
#pragma once

#include "classlib/Wnd.h"
#include "toolkit/common/HookSink.h"

#include <vector>

class CKLVCommandBar;
class CKLVCommandBars;
class CKLVFrameIntegration;
class CKLVPaintManager;
class CKLVPaintManagerTheme5;

// What the frame integration asks of the bar that draws the frame's caption (the ribbon).
class CKLVFrameCaptionOwner {
public:
    virtual ~CKLVFrameCaptionOwner() = default;
    // Shown and not below its minimum size.
    virtual BOOL IsCaptionOwnerVisible() const = 0;
    // The height of its caption band.
    virtual int GetCaptionBandHeight() const = 0;
    // The frame integration that lets it draw the frame's caption; null while it has none (the
    // theme then draws the caption band opaque, without the frame's title or glass).
    virtual CKLVFrameIntegration* GetFrameIntegration() const { return nullptr; }
    // The frame became active or inactive (the integration's flag already says which).
    virtual void OnFrameActiveChanged() {}
};

// A caption button of the frame's own caption, in window coordinates.
struct KLVFrameCaptionButton {
    UINT nId;
    CRect rc;
    BOOL bEnabled;
    BOOL bSelected;
    BOOL bPressed;
};

// A caption button the frame's style and state ask for.
struct KLVFrameCaptionCommand {
    UINT nId;   // the system command
    BOOL bEnabled;
};

class CKLVFrameIntegration : public CKLVHookSink {
public:
    enum : UINT { msgStatusBarInFrame = 0x2854, idStatusBar = 0xE801 };
    enum : UINT { recalcFrameFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED };

    // Hooks the frame; the ribbon bar may be null (the theme then draws the whole caption).
    CKLVFrameIntegration(CWnd* pFrame, CKLVCommandBars* pCommandBars, CKLVCommandBar* pRibbonBar = nullptr);
    ~CKLVFrameIntegration() override;   // unhooks the frame
    CKLVFrameIntegration(const CKLVFrameIntegration&) = delete;
    CKLVFrameIntegration& operator=(const CKLVFrameIntegration&) = delete;

    BOOL IsMaximizedMDIChild() const;
    BOOL IsCaptionStandard() const;
    void PostRecalcFrame();
    int GetCaptionHeight() const;
    void UpdateWindowRegion(int cx, int cy, BOOL bForce);
    // FALSE (and 0) unless a visible status bar belongs to the frame.
    BOOL GetStatusBarHeight(int& nHeight) const;
    void RecalcFrame();
    void RefreshFrameRegion();

    // The frame while its window exists (the object may delete itself with the window).
    CWnd* GetFrame() const { return HasFrame() ? m_pFrame : nullptr; }
    BOOL HasFrame() const { return m_hWndFrame && ::IsWindow(m_hWndFrame); }
    BOOL IsActive() const { return m_bActive; }
    int GetBorderSize() const { return m_nFrameBorder; }
    // The current paint manager when it draws frames, else null.
    CKLVPaintManagerTheme5* GetFramePaintManager() const;
    // The caption buttons of the frame's own caption, laid out for the frame's current state.
    const std::vector<KLVFrameCaptionButton>& GetCaptionButtons() const { return m_arrCaptionButtons; }
    void LayoutCaptionButtons();
    // The caption buttons of the frame, from the right: close, then restore or maximise, then
    // minimise; none for a maximised child window.
    std::vector<KLVFrameCaptionCommand> GetCaptionCommands() const;

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    CWnd* m_pFrame;
    CKLVCommandBar* m_pRibbonBar;
    CKLVCommandBars* m_pCommandBars;
    HWND m_hWndFrame;
    // The paint manager the frame is drawn with; null takes the command bars' (or the global one).
    CKLVPaintManager* m_pPaintManager = nullptr;
    CSize m_szLast = CSize(0, 0);
    BOOL m_bPendingRecalc = FALSE;
    BOOL m_bBusy = FALSE;
    int m_nFrameBorder = 0;
    BOOL m_bCompositionActive = FALSE;
    BOOL m_bActive = FALSE;

private:
    void ReadFrameBorder();
    void PaintFrame();
    LRESULT HitTest(CPoint ptScreen) const;
    int CaptionButtonAt(CPoint ptWindow) const;
    BOOL OnNcButton(UINT nMessage, WPARAM wParam, LPARAM lParam);

    std::vector<KLVFrameCaptionButton> m_arrCaptionButtons;
    UINT m_nTrackedButton = 0;
};
