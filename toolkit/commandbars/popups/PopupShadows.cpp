#include "toolkit/commandbars/popups/PopupShadows.h"

#include "classlib/Dc.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/commandbars/options/CommandBarsOptions.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DrawHelpers.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/WindowSubclasser.h"

#include <algorithm>
#include <memory>

BEGIN_MESSAGE_MAP(CKLVShadowWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_NCHITTEST()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const char kClassSaveBits[] = "KLVShadowWnd";
const char kClassPlain[] = "KLVShadowWndPlain";

// Pixel of colour c scaled by f, with alpha a, as a 32-bit DIB holds it.
DWORD ShadowPixel(COLORREF c, double f, int a) {
    const auto scale = [f](int v) { return static_cast<DWORD>(static_cast<int>(v * f)) & 0xFF; };
    return (static_cast<DWORD>(a) << 24) | (scale(GetRValue(c)) << 16) | (scale(GetGValue(c)) << 8) | scale(GetBValue(c));
}

// The region handle with its lifetime.
struct RegionDeleter {
    void operator()(HRGN__* h) const { ::DeleteObject(h); }
};
using Region = std::unique_ptr<HRGN__, RegionDeleter>;

}  // namespace

void CKLVShadowWnd::FillAlphaPicture(DWORD* pBits, CSize sz, BOOL bHorizontal, int nFlags, COLORREF clr) {
    const int a = (nFlags & CKLVPopupShadows::optionAlways) ? 3 : 6, b = 5 * a;
    const int w = sz.cx, h = sz.cy;
    std::fill(pBits, pBits + static_cast<size_t>(w) * h, 0);
    if (bHorizontal) {
        // Row 0 of the bottom-up picture is the strip's bottom line.
        for (int r = 0; r < h && r < 4; ++r) {
            DWORD* pRow = pBits + static_cast<size_t>(r) * w;
            if (w > 8)
                for (int x = 4; x < w - 4; ++x) pRow[x] = ShadowPixel(clr, 0.25 * (r + 1), b * (r + 1));
            for (int s = 1; s <= 4; ++s) {
                if (s - 1 < w) pRow[s - 1] = ShadowPixel(clr, 0.05 * s * (r + 1), a * s * (r + 1));
                if (w - s >= 0) pRow[w - s] = ShadowPixel(clr, 0.05 * s * (r + 1), a * s * (r + 1));
            }
        }
        return;
    }
    for (int t = 0; t < h; ++t) {
        DWORD* pRow = pBits + static_cast<size_t>(h - 1 - t) * w;
        for (int x = 0; x < w && x < 4; ++x) {
            const int u = 4 - x;
            pRow[x] = t < 4 ? ShadowPixel(clr, 0.05 * u * (t + 1), a * u * (t + 1)) : ShadowPixel(clr, 0.25 * u, b * u);
        }
    }
}

void CKLVShadowWnd::ExcludeRect(const CRect& rcScreen) {
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcCut;
    if (!rcCut.IntersectRect(rcWindow, rcScreen)) return;
    Region hCurrent(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(m_hWnd, hCurrent.get()) == ERROR)
        ::SetRectRgn(hCurrent.get(), 0, 0, rcWindow.Width(), rcWindow.Height());
    rcCut.OffsetRect(-rcWindow.left, -rcWindow.top);
    Region hCut(::CreateRectRgnIndirect(&rcCut));
    ::CombineRgn(hCurrent.get(), hCurrent.get(), hCut.get(), RGN_DIFF);
    // The window owns the region once it is set.
    ::SetWindowRgn(m_hWnd, hCurrent.release(), FALSE);
}

int CKLVShadowWnd::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM&, LRESULT&) {
    if (nMessage == WM_SHOWWINDOW) {
        if (!GetSafeHwnd()) return hookContinue;
        if (wParam) ShowStrip(nullptr);
        else ShowWindow(SW_HIDE);
    } else if (nMessage == WM_DESTROY) {
        KLVWindowSubclasser()->UnhookWindow(hWnd, this);
        KLVPopupShadows()->RemoveShadow(this);   // deletes this strip
    }
    return hookContinue;
}

void CKLVShadowWnd::BlendOverBackground(DWORD* pBits, const DWORD* pBackground, size_t nCount) {
    for (size_t i = 0; i < nCount; ++i) {
        const DWORD keep = 255 - (pBits[i] >> 24);
        DWORD out = 0xFF000000;
        for (int shift = 0; shift < 24; shift += 8) {
            const DWORD under = (pBackground[i] >> shift) & 0xFF;
            const DWORD c = ((pBits[i] >> shift) & 0xFF) + (under * keep + 127) / 255;
            out |= std::min<DWORD>(c, 255) << shift;
        }
        pBits[i] = out;
    }
}

// The strip is blended here over the screen it will cover and goes up opaque: a layered window's
// own per-pixel alpha is only blended where the system composes the screen, and Wine without a
// compositing manager shows the strip's dark colour bits as they are, a black bar.
void CKLVShadowWnd::UpdateAlphaPicture(CSize sz) {
    CKLVPopupShadows* pShadows = KLVPopupShadows();
    if (!pShadows->m_bAlphaShadow || !pShadows->m_pfnUpdateLayeredWindow || !m_pOwner) return;
    CKLVPaintManager* pPaintManager = m_pOwner->GetPaintManager();
    const COLORREF clr = pPaintManager ? COLORREF(pPaintManager->m_clrShadow) : RGB(0, 0, 0);
    BYTE* pBits = nullptr;
    BYTE* pUnder = nullptr;
    CBitmap picture, under;
    picture.Attach(CKLVImageManager::Create32BitDIBSection(nullptr, sz.cx, sz.cy, &pBits));
    under.Attach(CKLVImageManager::Create32BitDIBSection(nullptr, sz.cx, sz.cy, &pUnder));
    if (!pBits || !pUnder) return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = dc.SelectObject(static_cast<HGDIOBJ>(under));
        CClientDC dcScreen(nullptr);
        dc.BitBlt(0, 0, sz.cx, sz.cy, &dcScreen, rcWindow.left, rcWindow.top, SRCCOPY);
        dc.SelectObject(hOld);
    }
    ::GdiFlush();
    const size_t nCount = static_cast<size_t>(sz.cx) * sz.cy;
    FillAlphaPicture(reinterpret_cast<DWORD*>(pBits), sz, m_bHorizontal, m_nFlags, clr);
    BlendOverBackground(reinterpret_cast<DWORD*>(pBits), reinterpret_cast<const DWORD*>(pUnder), nCount);
    m_picture.DeleteObject();
    m_picture.Attach(picture.Detach());
    m_szPicture = sz;
    PresentPicture();
}

void CKLVShadowWnd::PresentPicture() {
    const auto pfnUpdate = KLVPopupShadows()->m_pfnUpdateLayeredWindow;
    if (!m_picture.GetSafeHandle() || !pfnUpdate) return;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = dc.SelectObject(static_cast<HGDIOBJ>(m_picture));
    POINT ptSource = {0, 0};
    SIZE size = m_szPicture;
    pfnUpdate(m_hWnd, nullptr, nullptr, &size, dc.GetSafeHdc(), &ptSource, 0, nullptr, ULW_OPAQUE);
    dc.SelectObject(hOld);
}

// A layered window goes on the screen without its contents: Wine draws them once the display
// reports the window exposed, and only when the thread next looks at its messages; until then
// the screen beneath shows through. The picture is put up again once the window is shown.
void CKLVShadowWnd::ShowStrip(const CWnd* pInsertAfter) {
    UINT nFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
    if (!pInsertAfter) nFlags |= SWP_NOZORDER;
    SetWindowPos(pInsertAfter, 0, 0, 0, 0, nFlags);
    PresentPicture();
}

void CKLVShadowWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (cx > 0 && cy > 0) UpdateAlphaPicture(CSize(cx, cy));
}

void CKLVShadowWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    const BOOL bLayered = (GetExStyle() & WS_EX_LAYERED) != 0;
    dc.FillSolidRect(rc, bLayered ? RGB(0, 0, 0) : GetColorManager()->GetColor(solidColor));
}

LRESULT CKLVShadowWnd::OnNcHitTest(CPoint) { return HTTRANSPARENT; }

BOOL CKLVShadowWnd::OnEraseBkgnd(CDC*) { return TRUE; }

CKLVPopupShadows::CKLVPopupShadows() {
    if (HMODULE hUser = ::GetModuleHandleA("USER32"))
        m_pfnUpdateLayeredWindow =
            reinterpret_cast<UpdateLayeredWindowFn>(reinterpret_cast<void*>(::GetProcAddress(hUser, "UpdateLayeredWindow")));
    m_bAlphaShadow = m_pfnUpdateLayeredWindow && !CKLVColorManager::IsLowResolution();
    CKLVDrawHelpers::RegisterWndClass(nullptr, kClassSaveBits, CS_SAVEBITS | CS_OWNDC);
    CKLVDrawHelpers::RegisterWndClass(nullptr, kClassPlain, 0);
}

// At exit the window subclasser may be gone already; strips still open then go with the process.
CKLVPopupShadows::~CKLVPopupShadows() = default;

void CKLVPopupShadows::SetShadow(CKLVCommandBar* pBar, CRect rcExclude) {
    if (!pBar || !pBar->GetSafeHwnd() || pBar->IsCustomizeMode()) return;
    CKLVPaintManager* pPaintManager = pBar->GetPaintManager();
    const int nOptions = pPaintManager ? pPaintManager->m_nShadowOptions : 0;
    if (!(nOptions & optionAlways)) {
        BOOL bDropShadow = FALSE;
        if (!m_bAlphaShadow || !::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &bDropShadow, 0) || !bDropShadow) return;
    }
    CRect rcWindow;
    pBar->GetWindowRect(&rcWindow);
    CreateShadow(TRUE, rcWindow, rcExclude, pBar);
    CreateShadow(FALSE, rcWindow, rcExclude, pBar);
}

void CKLVPopupShadows::SetControlShadow(CKLVControl* pControl) {
    CKLVCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    CKLVPaintManager* pPaintManager = pControl ? pControl->GetPaintManager() : nullptr;
    if (!pBar || !pBar->GetSafeHwnd() || pBar->IsCustomizeMode() || !pPaintManager) return;
    if ((pPaintManager->m_nShadowOptions & (optionAlways | optionExclude)) != (optionAlways | optionExclude)) return;
    CKLVCommandBar* pOwner = pControl->GetCommandBar();
    if (!pOwner) return;
    CRect rc = pControl->GetRect();
    pBar->ClientToScreen(&rc);
    CreateShadow(TRUE, rc, CRect(), pOwner);
    CreateShadow(FALSE, rc, CRect(), pOwner);
}

void CKLVPopupShadows::CreateShadow(BOOL bHorizontal, const CRect& rcOwner, const CRect& rcExclude,
                                    CKLVCommandBar* pOwner) {
    CKLVPaintManager* pPaintManager = pOwner->GetPaintManager();
    // A strip that would not be shown is never made, so nothing is left to leak.
    if (!pPaintManager || !pPaintManager->m_bShowShadow || !pOwner->GetSafeHwnd()) return;
    auto pShadow = std::make_unique<CKLVShadowWnd>();
    pShadow->m_bHorizontal = bHorizontal;
    pShadow->m_nFlags = pPaintManager->m_nShadowOptions;
    pShadow->m_pOwner = pOwner;
    CKLVCommandBarsLink* pCommandBars = pOwner->GetOwnerLink();
    const BOOL bSaveBits = !pCommandBars || pCommandBars->GetOptions()->bShowPopupShadow;
    CWnd* pHost = pOwner->GetFrameSite();
    if (!pHost) pHost = pOwner->GetSite();
    const DWORD dwExStyle = WS_EX_TOOLWINDOW | (m_bAlphaShadow ? WS_EX_LAYERED : 0);
    if (!pShadow->CreateEx(dwExStyle, bSaveBits ? kClassSaveBits : kClassPlain, "", WS_POPUP, CRect(0, 0, 0, 0),
                           pHost && pHost->GetSafeHwnd() ? pHost : nullptr, 0))
        return;
    const int d = m_bAlphaShadow ? CKLVShadowWnd::alphaThickness : CKLVShadowWnd::solidThickness;
    CRect rc = bHorizontal ? CRect(rcOwner.left + d, rcOwner.bottom, rcOwner.right + d, rcOwner.bottom + d)
                           : CRect(rcOwner.right, rcOwner.top + d, rcOwner.right + d, rcOwner.bottom);
    JoinShadow(pShadow.get(), rc);
    pShadow->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    CKLVShadowWnd* pStrip = pShadow.release();
    m_lstShadows.push_back(pStrip);
    if (pStrip->m_nFlags & optionExclude) pStrip->ExcludeRect(rcExclude);
    for (CKLVShadowWnd* pOther : m_lstShadows)
        if (pOther->m_pOwner && pOther->m_pOwner->GetSafeHwnd()) {
            CRect rcOwnerWindow;
            pOther->m_pOwner->GetWindowRect(&rcOwnerWindow);
            pStrip->ExcludeRect(rcOwnerWindow);
        }
    pStrip->ShowStrip(&CWnd::wndTopMost);
    KLVWindowSubclasser()->HookWindow(pOwner->GetSafeHwnd(), pStrip);
}

void CKLVPopupShadows::JoinShadow(CKLVShadowWnd* pShadow, CRect& rc) const {
    for (CKLVShadowWnd* pOther : m_lstShadows) {
        if (pOther->m_bHorizontal == pShadow->m_bHorizontal || !pOther->GetSafeHwnd()) continue;
        CRect rcOther;
        pOther->GetWindowRect(&rcOther);
        if (pShadow->m_bHorizontal) {
            if (rc.left == rcOther.right - 1 && rc.top > rcOther.top && rc.bottom < rcOther.bottom)
                rc.left -= 2 * rcOther.Width() + 1;
        } else if (rc.top == rcOther.bottom - 1 && rcOther.left < rc.right && rc.right < rcOther.right) {
            rc.top -= 2 * rcOther.Height();
        }
    }
}

void CKLVPopupShadows::RemoveShadows(CKLVCommandBar* pOwner) {
    std::vector<CKLVShadowWnd*> owned;
    for (CKLVShadowWnd* pShadow : m_lstShadows)
        if (pShadow->m_pOwner == pOwner) owned.push_back(pShadow);
    for (CKLVShadowWnd* pShadow : owned) {
        if (pOwner && pOwner->GetSafeHwnd()) KLVWindowSubclasser()->UnhookWindow(pOwner->GetSafeHwnd(), pShadow);
        KLVWindowSubclasser()->RemoveSink(pShadow);
        RemoveShadow(pShadow);
    }
}

void CKLVPopupShadows::RemoveShadow(CKLVShadowWnd* pShadow) {
    auto it = std::find(m_lstShadows.begin(), m_lstShadows.end(), pShadow);
    if (it == m_lstShadows.end()) return;
    m_lstShadows.erase(it);
    if (pShadow->GetSafeHwnd()) {
        pShadow->ShowWindow(SW_HIDE);
        pShadow->DestroyWindow();
    }
    pShadow->m_pOwner = nullptr;
    delete pShadow;
}

CKLVPopupShadows* KLVPopupShadows() {
    static CKLVPopupShadows s_shadows;
    return &s_shadows;
}
