// The windowless rich-edit host: formats from the system's message font, the text services of
// "RICHED20.dll", streaming text in, and the width search through resize requests.
#include "toolkit/commandbars/tooltips/RichEditTextHost.h"

#include "classlib/Dc.h"
#include "classlib/MemFile.h"
#include "toolkit/common/NonClientMetrics.h"

#include <cstring>
#include <vector>

namespace {

// Defined here: the import libraries do not carry the text-services identifiers.
const IID kIID_ITextServices = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
const IID kIID_ITextHost = {0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

const DWORD kCharFormatMask = 0xE800000F;   // bold, italic, underline, strike-out, size, colour, face, charset
const DWORD kParaFormatMask = 0x8001003F;
const DWORD kPropertyBits = TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP;
const LONG kMaxTextLength = 0x1000000;

DWORD CALLBACK ReadFromFile(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb) {
    auto* pFile = reinterpret_cast<CMemFile*>(dwCookie);
    *pcb = static_cast<LONG>(pFile->Read(pbBuff, static_cast<UINT>(cb)));
    return 0;
}

}  // namespace

CKLVRichEditTextHost::CKLVRichEditTextHost() : m_charFormat(), m_paraFormat() {
    const CKLVNonClientMetrics metrics;
    HDC hScreen = ::GetDC(nullptr);
    m_charFormat.cbSize = sizeof m_charFormat;
    m_charFormat.dwMask = kCharFormatMask;
    m_charFormat.yHeight = -::MulDiv(metrics.lfMessageFont.lfHeight, 1440, ::GetDeviceCaps(hScreen, LOGPIXELSY));
    m_charFormat.crTextColor = ::GetSysColor(COLOR_BTNTEXT);
    m_charFormat.bCharSet = 0;
    ::MultiByteToWideChar(CP_ACP, 0, metrics.lfMessageFont.lfFaceName, -1, m_charFormat.szFaceName, LF_FACESIZE);
    m_charFormat.szFaceName[LF_FACESIZE - 1] = L'\0';
    ::ReleaseDC(nullptr, hScreen);

    m_paraFormat.cbSize = sizeof m_paraFormat;
    m_paraFormat.dwMask = kParaFormatMask;
    m_paraFormat.wAlignment = PFA_LEFT;

    if (!m_richEditLibrary.LoadLibrary("RICHED20.dll")) return;
    auto pfnCreate = m_richEditLibrary.GetProc<PCreateTextServices>("CreateTextServices");
    IUnknown* pUnknown = nullptr;
    if (!pfnCreate || FAILED(pfnCreate(nullptr, &m_xTextHost, &pUnknown)) || !pUnknown) return;
    if (FAILED(pUnknown->QueryInterface(kIID_ITextServices, reinterpret_cast<void**>(&m_pTextServices))))
        m_pTextServices = nullptr;
    pUnknown->Release();
}

CKLVRichEditTextHost::~CKLVRichEditTextHost() {
    // The services' code lives in the library, which the member frees after this body.
    if (m_pTextServices) m_pTextServices->Release();
    m_pTextServices = nullptr;
}

LPUNKNOWN CKLVRichEditTextHost::GetInterface(const IID& iid) {
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, kIID_ITextHost)) return &m_xTextHost;
    return CCmdTarget::GetInterface(iid);
}

LRESULT CKLVRichEditTextHost::SetDefaultCharFormat(const CHARFORMATW* pCharFormat) {
    if (!pCharFormat) return 0;
    m_charFormat = *pCharFormat;
    if (!m_pTextServices) return 0;
    LRESULT lResult = 0;
    m_pTextServices->TxSendMessage(EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&m_charFormat), &lResult);
    return lResult;
}

LONG CKLVRichEditTextHost::SetText(LPCSTR lpszText) {
    if (!m_pTextServices) return 0;
    if (!lpszText || !*lpszText) {
        m_pTextServices->TxSetText(L"");
        return 0;
    }
    std::vector<BYTE> bytes(lpszText, lpszText + std::strlen(lpszText));
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&file);
    stream.pfnCallback = &ReadFromFile;
    LRESULT lCount = 0;
    m_pTextServices->TxSendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream), &lCount);
    if (lCount < 1) {
        // No RTF: the same bytes once more as plain text.
        file.SeekToBegin();
        m_pTextServices->TxSendMessage(EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream), &lCount);
    }
    return static_cast<LONG>(lCount);
}

void CKLVRichEditTextHost::LayOut(CDC* pDC, int cx) {
    const RECTL rcBounds = {0, 0, cx, 1};
    RECT rcUpdate = {0, 0, 0, 0};
    m_pTextServices->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, pDC->GetSafeHdc(), nullptr, &rcBounds, nullptr,
                            &rcUpdate, nullptr, 0, TXTVIEW_ACTIVE);
}

CSize CKLVRichEditTextHost::CalcSize(CDC* pDC, int nMaxWidth) {
    if (!m_pTextServices || !pDC) return CSize(0, 0);
    LRESULT lResult = 0;
    m_pTextServices->TxSendMessage(EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE, &lResult);
    m_sizeRequested = CSize(0, 0);
    int lo = 0, hi = 2 * nMaxWidth;
    LONG cyReference = 0;
    bool bFirst = true;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        LayOut(pDC, mid);
        if (bFirst) cyReference = m_sizeRequested.cy;
        bFirst = false;
        if (m_sizeRequested.cy > cyReference) lo = mid + 1;
        else hi = mid - 1;
    }
    if (m_sizeRequested.cy > cyReference) LayOut(pDC, hi + 1);
    return m_sizeRequested;
}

void CKLVRichEditTextHost::Draw(CDC* pDC, LPCRECT lprcBounds) {
    if (!m_pTextServices || !pDC || !lprcBounds) return;
    const RECTL rcBounds = {lprcBounds->left, lprcBounds->top, lprcBounds->right, lprcBounds->bottom};
    m_pTextServices->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, pDC->GetSafeHdc(), nullptr, &rcBounds, nullptr,
                            nullptr, nullptr, 0, TXTVIEW_ACTIVE);
}

HRESULT CKLVRichEditTextHost::XTextHost::QueryInterface(REFIID riid, void** ppv) {
    return m_pOuter->ExternalQueryInterface(&riid, ppv);
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetViewInset(LPRECT prc) {
    ::SetRectEmpty(prc);
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetCharFormat(const CHARFORMATW** ppCF) {
    *ppCF = &m_pOuter->m_charFormat;
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetParaFormat(const PARAFORMAT** ppPF) {
    *ppPF = reinterpret_cast<const PARAFORMAT*>(&m_pOuter->m_paraFormat);
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetBackStyle(TXTBACKSTYLE* pStyle) {
    *pStyle = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetMaxLength(DWORD* pLength) {
    *pLength = kMaxTextLength;
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetScrollBars(DWORD* pdwScrollBar) {
    *pdwScrollBar = 0;
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetAcceleratorPos(LONG* pcp) {
    *pcp = -1;
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) {
    *pdwBits = dwMask & kPropertyBits;
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxNotify(DWORD iNotify, void* pv) {
    if (iNotify == EN_REQUESTRESIZE && pv) {
        const RECT& rc = static_cast<const REQRESIZE*>(pv)->rc;
        m_pOuter->m_sizeRequested = CSize(rc.right - rc.left, rc.bottom - rc.top);
    }
    return S_OK;
}

HRESULT CKLVRichEditTextHost::XTextHost::TxGetSelectionBarWidth(LONG* plSelBarWidth) {
    *plSelBarWidth = 0;
    return S_OK;
}
