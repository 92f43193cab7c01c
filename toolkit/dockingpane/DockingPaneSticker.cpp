#include "toolkit/dockingpane/DockingPaneSticker.h"

#include "classlib/ImageList.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/DCScopes.h"
#include "toolkit/common/GdiHandles.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/ResourceManager.h"
#include "toolkit/common/res/KLVToolkitRes.h"
#include "toolkit/dockingpane/DockingDragContext.h"

#include <vector>

namespace {

const COLORREF kTransparent = RGB(0, 255, 0);

// Where a part sits in a cross sticker and where its images lie in the bitmap.
struct PartImage {
    int nPart;
    CPoint pt;
    CRect rcNormal;
    CRect rcHighlighted;
    BOOL bBackdropBitmap;   // style 0's backdrop comes from a bitmap of its own
};

const PartImage kStyle0[] = {
    {klvStickerBackdrop, {25, 25}, {0, 0, 43, 43}, {0, 0, 43, 43}, TRUE},
    {klvStickerTop, {25, 0}, {0, 0, 43, 30}, {0, 76, 43, 106}, FALSE},
    {klvStickerLeft, {0, 25}, {30, 33, 60, 76}, {90, 33, 120, 76}, FALSE},
    {klvStickerBottom, {25, 63}, {43, 0, 86, 30}, {43, 76, 86, 106}, FALSE},
    {klvStickerRight, {63, 25}, {0, 33, 30, 76}, {60, 33, 90, 76}, FALSE},
    {klvStickerCentre, {30, 30}, {86, 0, 119, 33}, {86, 76, 119, 109}, FALSE},
};

const PartImage kStyle1Cross[] = {
    {klvStickerBackdrop, {24, 24}, {120, 0, 161, 41}, {120, 41, 161, 82}, FALSE},
    {klvStickerTop, {30, 0}, {61, 29, 90, 59}, {61, 90, 90, 120}, FALSE},
    {klvStickerLeft, {0, 30}, {90, 30, 120, 59}, {90, 91, 120, 120}, FALSE},
    {klvStickerBottom, {30, 59}, {91, 0, 120, 30}, {91, 61, 120, 91}, FALSE},
    {klvStickerRight, {60, 30}, {62, 0, 92, 29}, {62, 61, 92, 90}, FALSE},
    {klvStickerCentre, {30, 30}, {120, 82, 148, 111}, {120, 82, 148, 111}, FALSE},
};

const PartImage kStyle1Edge[] = {
    {klvStickerTop, {0, 0}, {0, 29, 29, 61}, {0, 90, 29, 122}, FALSE},
    {klvStickerLeft, {0, 0}, {29, 32, 61, 61}, {29, 93, 61, 122}, FALSE},
    {klvStickerBottom, {0, 0}, {32, 0, 61, 32}, {32, 61, 61, 93}, FALSE},
    {klvStickerRight, {0, 0}, {0, 0, 32, 29}, {0, 61, 32, 90}, FALSE},
};

template <size_t N>
const PartImage* FindIn(const PartImage (&table)[N], int nPart) {
    for (const PartImage& image : table)
        if (image.nPart == nPart) return &image;
    return nullptr;
}

const PartImage* FindPart(int nStyle, int nPart, BOOL bCross) {
    if (nStyle != 1) return FindIn(kStyle0, nPart);
    if (bCross || nPart == klvStickerBackdrop || nPart == klvStickerCentre) return FindIn(kStyle1Cross, nPart);
    return FindIn(kStyle1Edge, nPart);
}

// A 32-bit bitmap filled with black, to draw parts into and read back.
class CStickerCanvas {
public:
    explicit CStickerCanvas(CSize sz) : m_sz(sz) {
        BYTE* pBits = nullptr;
        m_bitmap.reset(CKLVImageManager::Create32BitDIBSection(nullptr, sz.cx, sz.cy, &pBits));
        m_pBits = reinterpret_cast<const DWORD*>(pBits);
        m_dc = std::make_unique<CKLVBitmapDC>(nullptr, m_bitmap.get());
        if (IsValid()) ::PatBlt(m_dc->Get(), 0, 0, sz.cx, sz.cy, BLACKNESS);
    }
    BOOL IsValid() const { return m_pBits && m_dc && *m_dc; }
    CDC* GetDC() { return CDC::FromHandle(m_dc->Get()); }
    BOOL IsInk(int x, int y) const {
        ::GdiFlush();
        // The rows are stored bottom-up.
        return (m_pBits[static_cast<size_t>(m_sz.cy - 1 - y) * m_sz.cx + x] & 0xFFFFFF) != 0;
    }
    CSize GetSize() const { return m_sz; }

private:
    CSize m_sz;
    CKLVBitmapOwner m_bitmap;
    const DWORD* m_pBits = nullptr;
    std::unique_ptr<CKLVBitmapDC> m_dc;
};

HRGN RegionFromRuns(const std::vector<RECT>& runs) {
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* pData = reinterpret_cast<RGNDATA*>(data.data());
    pData->rdh.dwSize = sizeof(RGNDATAHEADER);
    pData->rdh.iType = RDH_RECTANGLES;
    pData->rdh.nCount = static_cast<DWORD>(runs.size());
    pData->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    CRect rcBound(0, 0, 0, 0);
    for (const RECT& rc : runs) rcBound.UnionRect(&rcBound, &rc);
    pData->rdh.rcBound = rcBound;
    if (!runs.empty()) memcpy(pData->Buffer, runs.data(), runs.size() * sizeof(RECT));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), pData);
}

}  // namespace

CKLVDockingStickerImages::CKLVDockingStickerImages(int nStyle, BOOL bHitTest) : m_nStyle(nStyle == 1 ? 1 : 0) {
    m_nArrowsID = KLV_IDB_STICKER_CROSS;
    if (m_nStyle == 1) return;
    const int nScheme = bHitTest ? CKLVColorManager::themeBlue : GetColorManager()->GetCurrentTheme();
    m_nArrowsID = nScheme == CKLVColorManager::themeOlive    ? KLV_IDB_STICKER_ARROWS_OLIVE
                  : nScheme == CKLVColorManager::themeSilver ? KLV_IDB_STICKER_ARROWS_SILVER
                                                             : KLV_IDB_STICKER_ARROWS;
}

CSize CKLVDockingStickerImages::GetStickerSize(int nStyle, int nMask) {
    if (nMask & klvStickerBackdrop) return nStyle == 1 ? CSize(89, 89) : CSize(93, 93);
    for (int nPart : {klvStickerTop, klvStickerLeft, klvStickerBottom, klvStickerRight})
        if (nMask & nPart) return FindPart(nStyle, nPart, FALSE)->rcNormal.Size();
    return CSize(0, 0);
}

void CKLVDockingStickerImages::DrawPart(CDC* pDC, int nPart, int nMask, BOOL bHighlighted) const {
    const BOOL bCross = (nMask & klvStickerBackdrop) != 0;
    const PartImage* pImage = FindPart(m_nStyle, nPart, bCross);
    if (!pImage) return;
    CBitmap bitmap;
    const UINT nID = pImage->bBackdropBitmap ? static_cast<UINT>(KLV_IDB_STICKER_BACKDROP) : m_nArrowsID;
    if (!KLVResourceManager()->LoadBitmap(&bitmap, nID)) return;
    const CRect rcSource = bHighlighted ? pImage->rcHighlighted : pImage->rcNormal;

    // The part is copied out of the strip and drawn through a masked image list.
    CClientDC dcScreen(nullptr);
    CBitmap part;
    if (!part.CreateCompatibleBitmap(&dcScreen, rcSource.Width(), rcSource.Height())) return;
    {
        CKLVBitmapDC dcSource(dcScreen.m_hDC, bitmap);
        CKLVBitmapDC dcPart(dcScreen.m_hDC, part);
        if (!dcSource || !dcPart) return;
        ::BitBlt(dcPart.Get(), 0, 0, rcSource.Width(), rcSource.Height(), dcSource.Get(), rcSource.left,
                 rcSource.top, SRCCOPY);
    }
    CImageList images;
    if (!images.Create(rcSource.Width(), rcSource.Height(), ILC_COLOR24 | ILC_MASK, 1, 0)) return;
    images.Add(&part, kTransparent);
    const BOOL bAtOffset = bCross || nPart == klvStickerBackdrop || nPart == klvStickerCentre;
    images.Draw(pDC, 0, bAtOffset ? pImage->pt : CPoint(0, 0), ILD_TRANSPARENT);
}

void CKLVDockingStickerImages::Draw(CDC* pDC, int nMask, int nHighlighted) const {
    for (int nPart : {klvStickerBackdrop, klvStickerTop, klvStickerLeft, klvStickerBottom, klvStickerRight,
                      klvStickerCentre}) {
        if (!(nMask & nPart)) continue;
        // The second style lights its backdrop up with the centre.
        const BOOL bHighlighted = nPart == nHighlighted ||
                                  (nPart == klvStickerBackdrop && nHighlighted == klvStickerCentre && m_nStyle == 1);
        DrawPart(pDC, nPart, nMask, bHighlighted);
    }
}

HRGN CKLVDockingStickerImages::CreateRegion(int nMask) const {
    CStickerCanvas canvas(GetStickerSize(m_nStyle, nMask));
    if (!canvas.IsValid()) return nullptr;
    Draw(canvas.GetDC(), nMask, 0);
    std::vector<RECT> runs;
    const CSize sz = canvas.GetSize();
    for (int y = 0; y < sz.cy; y++) {
        for (int x = 0; x < sz.cx;) {
            if (!canvas.IsInk(x, y)) {
                x++;
                continue;
            }
            const int nStart = x;
            while (x < sz.cx && canvas.IsInk(x, y)) x++;
            runs.push_back(RECT{nStart, y, x, y + 1});
        }
    }
    return RegionFromRuns(runs);
}

int CKLVDockingStickerImages::HitTest(int nMask, CPoint pt) const {
    const CSize sz = GetStickerSize(m_nStyle, nMask);
    if (!CRect(CPoint(0, 0), sz).PtInRect(pt)) return 0;
    for (int nPart : {klvStickerTop, klvStickerLeft, klvStickerBottom, klvStickerRight, klvStickerCentre}) {
        if (!(nMask & nPart)) continue;
        CStickerCanvas canvas(sz);
        if (!canvas.IsValid()) return 0;
        DrawPart(canvas.GetDC(), nPart == klvStickerCentre ? klvStickerBackdrop : nPart, nMask, FALSE);
        if (canvas.IsInk(pt.x, pt.y)) return nPart;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CKLVDockingPaneSticker, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CKLVDockingPaneSticker::CKLVDockingPaneSticker(CKLVDockingDragContext* pContext, int nMask)
    : m_nMask(nMask), m_pContext(pContext) {}

int CKLVDockingPaneSticker::GetStyle() const { return m_pContext ? m_pContext->GetStickerStyle() : 0; }

BOOL CKLVDockingPaneSticker::Create(CWnd* pSite, const CRect& rc, HRGN hRgn) {
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(WS_EX_TOOLWINDOW, lpszClass, "", WS_POPUP, CRect(0, 0, 0, 0), pSite, 0)) return FALSE;
    if (hRgn) {
        HRGN hCopy = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(hCopy, hRgn, nullptr, RGN_COPY);
        SetWindowRgn(hCopy, FALSE);   // the window owns the copy
    }
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
    return TRUE;
}

int CKLVDockingPaneSticker::HitTest(CPoint ptScreen) const {
    if (!m_hWnd) return 0;
    CPoint pt = ptScreen;
    ScreenToClient(&pt);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(pt)) return 0;
    return CKLVDockingStickerImages(GetStyle(), TRUE).HitTest(m_nMask, pt);
}

void CKLVDockingPaneSticker::SetHighlighted(int nPart) {
    if (nPart == m_nHighlighted) return;
    m_nHighlighted = nPart;
    if (m_hWnd) Invalidate(FALSE);
}

void CKLVDockingPaneSticker::OnPaint() {
    CPaintDC dcPaint(this);
    CKLVBufferDC dc(dcPaint);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(rcClient, RGB(0, 0, 0));
    CKLVDockingStickerImages(GetStyle(), FALSE).Draw(&dc, m_nMask, m_nHighlighted);
}

BOOL CKLVDockingPaneSticker::OnEraseBkgnd(CDC*) { return TRUE; }
