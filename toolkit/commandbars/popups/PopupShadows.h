// Drop shadows of popups: a strip under the owner and one to its right, each a top-most tool
// window; 4 pixels of alpha ramps blended over the screen beneath where layered windows exist,
// else 2 solid pixels. The strips join those of cascaded menus, leave out the owners' windows,
// and follow their owner's showing, hiding and destruction.
#pragma once

#include "classlib/GdiObject.h"
#include "classlib/Wnd.h"
#include "toolkit/common/HookSink.h"

#include <vector>

class CKLVCommandBar;
class CKLVControl;

class CKLVShadowWnd : public CWnd, public CKLVHookSink {
public:
    enum { alphaThickness = 4, solidThickness = 2, solidColor = 16 };

    // Fills a 32-bit bottom-up picture of a strip: per-pixel alpha and the colour scaled with it.
    static void FillAlphaPicture(DWORD* pBits, CSize sz, BOOL bHorizontal, int nFlags, COLORREF clrShadow);
    // Lays premultiplied pixels over the background's as the system blends a layered window;
    // the result is opaque.
    static void BlendOverBackground(DWORD* pBits, const DWORD* pBackground, size_t nCount);

    // Leaves the part of the strip that the screen rectangle covers out of its window region.
    void ExcludeRect(const CRect& rcScreen);
    // Shows the strip without activating it, its picture drawn on the screen when this returns.
    void ShowStrip(const CWnd* pInsertAfter);
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    BOOL m_bHorizontal = FALSE;
    int m_nFlags = 0;
    CKLVCommandBar* m_pOwner = nullptr;

protected:
    void UpdateAlphaPicture(CSize sz);
    // Puts the blended picture kept from the last sizing up as the layered window's contents.
    void PresentPicture();

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    // The strip as blended over the screen it covers, opaque; none without layered strips.
    CBitmap m_picture;
    CSize m_szPicture;
};

class CKLVPopupShadows {
public:
    // Bits of the paint manager's shadow options.
    enum { optionAlways = 1, optionExclude = 2 };
    using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

    CKLVPopupShadows();
    ~CKLVPopupShadows();
    CKLVPopupShadows(const CKLVPopupShadows&) = delete;
    CKLVPopupShadows& operator=(const CKLVPopupShadows&) = delete;

    // Both strips for the bar's window, leaving out the exclude rectangle when asked to.
    void SetShadow(CKLVCommandBar* pBar, CRect rcExclude);
    void SetControlShadow(CKLVControl* pControl);
    void RemoveShadows(CKLVCommandBar* pOwner);
    // The caller has unhooked the strip from its owner.
    void RemoveShadow(CKLVShadowWnd* pShadow);
    const std::vector<CKLVShadowWnd*>& GetShadows() const { return m_lstShadows; }

    UpdateLayeredWindowFn m_pfnUpdateLayeredWindow = nullptr;
    std::vector<CKLVShadowWnd*> m_lstShadows;
    BOOL m_bAlphaShadow = FALSE;

private:
    void CreateShadow(BOOL bHorizontal, const CRect& rcOwner, const CRect& rcExclude, CKLVCommandBar* pOwner);
    void JoinShadow(CKLVShadowWnd* pShadow, CRect& rcShadow) const;
};

// The process-wide shadow manager, made on first use.
CKLVPopupShadows* KLVPopupShadows();
