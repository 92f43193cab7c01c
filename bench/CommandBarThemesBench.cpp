// Drawing a 40-control tool bar and a 20-item popup into a memory DC with command-bar themes 0, 1
// and 4; each theme's time is printed as a ratio to theme 0's.
#include "BenchTiming.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/paint/PaintManager.h"

#include <cstdio>

namespace {

constexpr int kToolBarControls = 40;
constexpr int kPopupItems = 20;
constexpr int kDraws = 100;

// A hidden bar of captioned buttons, laid out for the current theme.
class CBenchBar : public CKLVCommandBar {
public:
    CBenchBar(int nType, int nPosition, int nControls, CSize sz) {
        m_barType = nType;
        m_barPosition = nPosition;
        CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "bench", WS_POPUP, CRect(CPoint(0, 0), sz), nullptr, 0);
        for (int i = 0; i < nControls; ++i) {
            CKLVControl* pControl = GetControls()->Add(CKLVControl::typeButton, 100 + i);
            pControl->SetCaption("Item");
            pControl->m_nStyle = nType == barTypePopup ? CKLVControl::styleAutomatic : CKLVControl::styleCaption;
            pControl->m_bBeginGroup = i % 5 == 0;
            pControl->m_bChecked = i % 7 == 0;
            pControl->m_nSelected = i == 3;
        }
    }
    ~CBenchBar() override { DestroyWindow(); }
    void Layout() {
        CClientDC dc(this);
        const BOOL bPopup = m_barType == barTypePopup;
        DWORD dwMode = (bPopup ? CKLVControls::modeVertDock : CKLVControls::modeHorzDock) | CKLVControls::modeCommit;
        CRect rc;
        GetClientRect(&rc);
        GetControls()->CalcDynamicSize(&dc, bPopup ? rc.Height() : rc.Width(), dwMode, CRect(2, 2, 2, 2));
    }
};

double DrawSeconds(int nTheme) {
    CKLVPaintManager::SetTheme(nTheme);
    CBenchBar toolBar(CKLVCommandBar::barTypeNormal, CKLVCommandBar::barTop, kToolBarControls, CSize(1400, 26));
    CBenchBar popup(CKLVCommandBar::barTypePopup, CKLVCommandBar::barPopup, kPopupItems, CSize(200, 460));
    toolBar.Layout();
    popup.Layout();
    CDC dcScreen;
    dcScreen.Attach(::GetDC(nullptr));
    CDC dc;
    dc.CreateCompatibleDC(&dcScreen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dcScreen, 1400, 460);
    ::ReleaseDC(nullptr, dcScreen.Detach());
    HGDIOBJ hOld = dc.SelectObject(static_cast<HGDIOBJ>(bitmap));
    const double seconds = BestSeconds([&] {
        for (int i = 0; i < kDraws; ++i) {
            toolBar.SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), PRF_CLIENT);
            popup.SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), PRF_CLIENT);
        }
    });
    dc.SelectObject(hOld);
    return seconds;
}

}  // namespace

int main() {
    const int themes[] = {0, 1, 4};
    double seconds[3] = {};
    for (int i = 0; i < 3; ++i) seconds[i] = DrawSeconds(themes[i]);
    std::printf("%6s %14s %14s\n", "theme", "us per draw", "ratio to 0");
    for (int i = 0; i < 3; ++i)
        std::printf("%6d %14.1f %14.2f\n", themes[i], seconds[i] * 1e6 / kDraws, seconds[i] / seconds[0]);
    return 0;
}
