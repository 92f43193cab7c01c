// Saving and loading command images: the manager's sections through property exchange and an
// icon's images as bitmap records in its "Data" blob.
#include "toolkit/common/ImageManager.h"

#include "toolkit/common/GdiHandles.h"
#include "toolkit/common/PropExchangeArchive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const char szCheckSum[] = "CKLVImageManagerIcons";
const UINT nIconSchema = 23;
// The largest bitmap a record may describe (bytes of pixels).
const ULONGLONG nMaxPixelBytes = 64ULL << 20;
const UINT nReadChunk = 0x10000;

// The colour-table entries that follow the header in a record, by bits per pixel.
int TableEntries(WORD nBitCount) { return nBitCount == 4 ? 16 : nBitCount == 8 ? 256 : 3; }

struct CRecordInfo {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];
};

void WriteBitmapRecord(CArchive& ar, HBITMAP hBitmap) {
    CRecordInfo info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    HDC hScreen = ::GetDC(nullptr);
    std::vector<BYTE> pixels;
    BOOL bRead = hBitmap && ::GetDIBits(hScreen, hBitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                        DIB_RGB_COLORS);
    if (bRead) {
        const BITMAPINFOHEADER& header = info.bmiHeader;
        pixels.resize(header.biSizeImage ? header.biSizeImage : size_t(header.biWidth) * std::abs(header.biHeight) * 4);
        bRead = ::GetDIBits(hScreen, hBitmap, 0, std::abs(header.biHeight), pixels.data(),
                            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != 0;
    }
    ::ReleaseDC(nullptr, hScreen);
    if (!bRead) {
        ar.WriteCount(0);
        return;
    }
    const UINT nHeaderBytes = sizeof(BITMAPINFOHEADER) + TableEntries(info.bmiHeader.biBitCount) * sizeof(RGBQUAD);
    ar.WriteCount(nHeaderBytes);
    ar.Write(&info, nHeaderBytes);
    ar.WriteCount(pixels.size());
    ar.Write(pixels.data(), static_cast<UINT>(pixels.size()));
}

// Bytes piecewise, so that a damaged count fails at the end of the data.
std::vector<BYTE> ReadBytes(CArchive& ar, DWORD_PTR nCount) {
    std::vector<BYTE> bytes;
    while (bytes.size() < nCount) {
        const size_t nDone = bytes.size();
        const UINT nPiece = static_cast<UINT>(std::min<size_t>(nCount - nDone, nReadChunk));
        bytes.resize(nDone + nPiece);
        if (ar.Read(bytes.data() + nDone, nPiece) != nPiece) AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    return bytes;
}

// The bytes a DIB of this header holds; 0 for a header we do not accept.
ULONGLONG DibBytes(const BITMAPINFOHEADER& header) {
    const WORD nBits = header.biBitCount;
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biWidth <= 0 ||
        header.biHeight <= 0 || (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 16 && nBits != 24 && nBits != 32))
        return 0;
    const ULONGLONG nStride = (ULONGLONG(header.biWidth) * nBits + 31) / 32 * 4;
    const ULONGLONG nBytes = nStride * ULONGLONG(header.biHeight);
    return nBytes <= nMaxPixelBytes ? nBytes : 0;
}

// A bitmap record; null for an empty one. A header that does not describe a bitmap we can make
// is refused with the archive exception.
CKLVBitmapOwner ReadBitmapRecord(CArchive& ar) {
    const DWORD_PTR nHeaderBytes = ar.ReadCount();
    if (nHeaderBytes == 0) return nullptr;
    if (nHeaderBytes < sizeof(BITMAPINFOHEADER) || nHeaderBytes > sizeof(CRecordInfo))
        AfxThrowArchiveException(CArchiveException::genericException);
    CRecordInfo info = {};
    const std::vector<BYTE> header = ReadBytes(ar, nHeaderBytes);
    std::memcpy(&info, header.data(), header.size());
    const std::vector<BYTE> pixels = ReadBytes(ar, ar.ReadCount());
    const ULONGLONG nDibBytes = DibBytes(info.bmiHeader);
    if (pixels.empty()) return nullptr;
    if (nDibBytes == 0) AfxThrowArchiveException(CArchiveException::genericException);
    if (info.bmiHeader.biSizeImage == 0) info.bmiHeader.biSizeImage = static_cast<DWORD>(pixels.size());
    void* pvBits = nullptr;
    CKLVBitmapOwner bitmap(
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pvBits, nullptr, 0));
    if (bitmap)
        std::memcpy(pvBits, pixels.data(),
                    static_cast<size_t>(std::min<ULONGLONG>({pixels.size(), info.bmiHeader.biSizeImage, nDibBytes})));
    return bitmap;
}

void WriteHandleRecord(CArchive& ar, const CKLVImageManagerIconHandle& hIcon) {
    if (hIcon.IsAlpha()) {
        WriteBitmapRecord(ar, hIcon.GetBitmap());
        ar.WriteCount(0);
        return;
    }
    CKLVIconBitmaps bitmaps(hIcon.GetIcon());
    WriteBitmapRecord(ar, bitmaps.m_bValid ? bitmaps.m_color.get() : nullptr);
    WriteBitmapRecord(ar, bitmaps.m_bValid ? bitmaps.m_mask.get() : nullptr);
}

CKLVImageManagerIconHandle ReadHandleRecord(CArchive& ar) {
    CKLVBitmapOwner color = ReadBitmapRecord(ar);
    CKLVBitmapOwner mask = ReadBitmapRecord(ar);
    if (!color) return CKLVImageManagerIconHandle();
    if (!mask) return CKLVImageManagerIconHandle(color.release(), TRUE);
    BITMAP bm = {};
    ::GetObject(color.get(), sizeof bm, &bm);
    CImageList list;
    if (!list.Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1) ||
        ImageList_Add(list.GetSafeHandle(), color.get(), mask.get()) < 0)
        return CKLVImageManagerIconHandle();
    return CKLVImageManagerIconHandle(list.ExtractIcon(0), TRUE);
}

}  // namespace

void CKLVImageManagerIcon::Serialize(CArchive& ar) {
    CKLVImageManagerIconHandle* const slots[] = {&m_hNormal, &m_hDisabled, &m_hHot, &m_hChecked, &m_hPressed};
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nHeight) << static_cast<DWORD>(nIconSchema);
        for (CKLVImageManagerIconHandle* pSlot : slots) WriteHandleRecord(ar, *pSlot);
        return;
    }
    LONG nHeight;
    DWORD nSchema;
    ar >> nHeight >> nSchema;
    m_nHeight = nHeight;
    // Checked images came with schema 8, pressed ones with schema 17.
    const int nSlots = nSchema > 16 ? 5 : nSchema > 7 ? 4 : 3;
    for (int i = 0; i < nSlots; ++i) *slots[i] = ReadHandleRecord(ar);
}

void CKLVImageManager::DoPropExchangeIcons(UINT nCommand, CKLVPropExchange* pPX) {
    CString strCheckSum = szCheckSum;
    PX_String(pPX, "CheckSum", strCheckSum, szCheckSum);
    if (pPX->IsLoading() && strCheckSum != szCheckSum) AfxThrowArchiveException(CArchiveException::badClass);

    CKLVImageManagerIconSet* pIconSet = nullptr;
    m_mapImages.Lookup(nCommand, pIconSet);
    std::unique_ptr<CKLVPropExchangeEnumerator> pEnumerator(pPX->OpenEnumerator("Icon"));
    if (pPX->IsStoring()) {
        POSITION posIcon = pIconSet ? pIconSet->m_mapIcons.GetStartPosition() : nullptr;
        POSITION posSection = pEnumerator->GetPosition(pIconSet ? static_cast<DWORD>(pIconSet->m_mapIcons.GetCount()) : 0);
        while (posIcon && posSection) {
            UINT nWidth;
            CKLVImageManagerIcon* pIcon;
            pIconSet->m_mapIcons.GetNextAssoc(posIcon, nWidth, pIcon);
            CKLVPropExchangeSection pSection(pEnumerator->GetNext(posSection));
            long nStoredWidth = static_cast<long>(nWidth);
            PX_Long(pSection.get(), "Width", nStoredWidth, 16);
            PX_Serialize(pSection.get(), "Data", pIcon);
        }
        return;
    }
    if (pIconSet) {
        pIconSet->RemoveAll();
    } else {
        pIconSet = new CKLVImageManagerIconSet(nCommand, this);
        m_mapImages.SetAt(nCommand, pIconSet);
    }
    POSITION pos = pEnumerator->GetPosition();
    while (pos) {
        CKLVPropExchangeSection pSection(pEnumerator->GetNext(pos));
        long nWidth = 16;
        PX_Long(pSection.get(), "Width", nWidth, 16);
        auto pIcon = std::make_unique<CKLVImageManagerIcon>(pIconSet, nCommand, static_cast<int>(nWidth));
        const BOOL bLoaded = PX_Serialize(pSection.get(), "Data", pIcon.get());
        // A damaged icon is dropped whole rather than kept half-built.
        if (bLoaded) {
            CKLVImageManagerIcon* pOld = nullptr;
            if (pIconSet->m_mapIcons.Lookup(static_cast<UINT>(nWidth), pOld)) delete pOld;
            pIconSet->m_mapIcons.SetAt(static_cast<UINT>(nWidth), pIcon.release());
        }
    }
}

void CKLVImageManager::DoPropExchange(CKLVPropExchange* pPX) {
    std::unique_ptr<CKLVPropExchangeEnumerator> pEnumerator(pPX->OpenEnumerator("IconSet"));
    POSITION posSection = pEnumerator->GetPosition(static_cast<DWORD>(m_mapImages.GetCount()), TRUE);
    if (pPX->IsStoring()) {
        POSITION posSet = m_mapImages.GetStartPosition();
        while (posSet && posSection) {
            UINT nID;
            CKLVImageManagerIconSet* pIconSet;
            m_mapImages.GetNextAssoc(posSet, nID, pIconSet);
            CKLVPropExchangeSection pSection(pEnumerator->GetNext(posSection));
            long nStoredID = static_cast<long>(nID);
            PX_Long(pSection.get(), "Id", nStoredID, 0);
            DoPropExchangeIcons(nID, pSection.get());
        }
        return;
    }
    RemoveAll();
    while (posSection) {
        CKLVPropExchangeSection pSection(pEnumerator->GetNext(posSection));
        long nID = 0;
        PX_Long(pSection.get(), "Id", nID, 0);
        DoPropExchangeIcons(static_cast<UINT>(nID), pSection.get());
    }
}

void CKLVImageManager::Serialize(CArchive& ar) {
    CKLVPropExchangeArchive px(ar);
    DoPropExchange(&px);
}
