// The image manager: the pixel formulas of the derived images, the emulated blits against the
// system's, bitmap utilities, icon look-up in hash-table order, drawing, and saving and loading
// through property exchange with damaged data refused.
#include "classlib/ClassLib.h"
#include "toolkit/common/ColorManager.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/PropExchangeArchive.h"

#include "classlib/ThrownException.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Pixels = std::vector<DWORD>;  // 0xAARRGGBB, in the DIB's memory order

// A 32-bit bottom-up DIB section of the pixels (rows of nWidth).
HBITMAP MakeAlpha(int nWidth, const Pixels& pixels) {
    BYTE* pBits = nullptr;
    HBITMAP hBitmap = CKLVImageManager::Create32BitDIBSection(nullptr, nWidth, static_cast<int>(pixels.size()) / nWidth, &pBits);
    std::memcpy(pBits, pixels.data(), pixels.size() * 4);
    return hBitmap;
}

Pixels ReadAlpha(HBITMAP hBitmap) {
    BITMAPINFO* pInfo = nullptr;
    BYTE* pBits = nullptr;
    UINT nSize = 0;
    if (!CKLVImageManager::GetAlphaBitmapBits(hBitmap, &pInfo, &pBits, &nSize)) return {};
    Pixels pixels(reinterpret_cast<DWORD*>(pBits), reinterpret_cast<DWORD*>(pBits) + nSize / 4);
    std::free(pInfo);
    std::free(pBits);
    return pixels;
}

// A classic icon of nWidth by 1 whose colour pixels are given; mask bit set = transparent.
HICON MakeIcon(const std::vector<COLORREF>& colors, BYTE byMask) {
    const int nWidth = static_cast<int>(colors.size());
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, nWidth, 1);
    ::ReleaseDC(nullptr, hScreen);
    const WORD maskRow[1] = {byMask};
    HBITMAP hMask = ::CreateBitmap(nWidth, 1, 1, 1, maskRow);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hColor);
    for (int x = 0; x < nWidth; ++x) ::SetPixel(hDC, x, 0, colors[x]);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

std::vector<COLORREF> IconColors(HICON hIcon, int nWidth) {
    ICONINFO info = {};
    ::GetIconInfo(hIcon, &info);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, info.hbmColor);
    std::vector<COLORREF> colors;
    for (int x = 0; x < nWidth; ++x) colors.push_back(::GetPixel(hDC, x, 0));
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return colors;
}

const Pixels kSample = {0xFFFFFFFF, 0xFF000000, 0x80808080, 0x40C86428};

}  // namespace

TEST(ImageEffects, DerivedImagesFollowTheirFormulas) {
    CKLVColorManager* pColors = GetColorManager();
    const COLORREF clrSaved = pColors->m_arrCustomColor[31];
    pColors->m_arrCustomColor[31] = RGB(200, 100, 40);
    CKLVImageManagerIcon icon(nullptr, 1, 4);
    icon.SetIcon(CKLVImageManagerIconHandle(MakeAlpha(4, kSample), TRUE));
    const struct {
        const char* what;
        std::function<CKLVImageManagerIconHandle&()> make;
        Pixels expected;
    } cases[] = {
        {"faded", [&]() -> auto& { return icon.GetFadedIcon(); }, {0xFFFFFFFF, 0xFF4C4C4C, 0x80A6A6A6, 0x40D89268}},
        {"shadow", [&]() -> auto& { return icon.GetShadowIcon(); }, {0xFF964B1E, 0xFF964B1E, 0x80964B1E, 0x40964B1E}},
        {"grey", [&]() -> auto& { return icon.GetDisabledIcon(); }, {0xFFFFFFFF, 0xFF000000, 0x80B4B4B4, 0x40B1B1B1}},
        {"tinted white to black",
         [&]() -> auto& {
             icon.Refresh();
             icon.CreateDisabledIcon(RGB(255, 255, 255), RGB(0, 0, 0));
             return icon.GetDisabledIcon(FALSE);
         },
         {0xFFFFFFFF, 0xFF000000, 0x80808080, 0x407B7B7B}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadAlpha(c.make().GetBitmap()), c.expected) << c.what;
    pColors->m_arrCustomColor[31] = clrSaved;

    // Classic icons change their opaque pixels only.
    icon.SetIcon(CKLVImageManagerIconHandle(MakeIcon({RGB(0, 0, 0), RGB(128, 128, 128)}, 0x40), TRUE));
    EXPECT_EQ(IconColors(icon.GetFadedIcon().GetIcon(), 2), (std::vector<COLORREF>{RGB(76, 76, 76), RGB(128, 128, 128)}));
    EXPECT_EQ(IconColors(icon.GetDisabledIcon().GetIcon(), 2), (std::vector<COLORREF>{RGB(0, 0, 0), RGB(128, 128, 128)}));
}

// Runs a blit into a white 4 by 2 32-bit target and returns the target's pixels.
Pixels BlitOnWhite(HBITMAP hSource, int nSrcWidth, const std::function<BOOL(HDC, HDC)>& blit) {
    CBitmap target;
    target.Attach(MakeAlpha(4, Pixels(8, 0x00FFFFFF)));
    HDC hSrc = ::CreateCompatibleDC(nullptr), hDest = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOldSrc = ::SelectObject(hSrc, hSource), hOldDest = ::SelectObject(hDest, target);
    EXPECT_TRUE(blit(hDest, hSrc)) << nSrcWidth;
    ::SelectObject(hSrc, hOldSrc);
    ::SelectObject(hDest, hOldDest);
    ::DeleteDC(hSrc);
    ::DeleteDC(hDest);
    Pixels pixels = ReadAlpha(target);
    for (DWORD& pixel : pixels) pixel &= 0x00FFFFFF;  // the blits leave alpha undefined
    return pixels;
}

TEST(ImageEffects, EmulatedBlitsEqualTheSystemOnes) {
    CBitmap straight, premultiplied;
    straight.Attach(MakeAlpha(4, kSample));
    premultiplied.Attach(CKLVImageManager::PremultiplyBitmap(straight));
    ASSERT_NE(KLVImageManager()->m_pfnAlphaBlend, nullptr);
    const CRect rc(0, 0, 4, 1);
    const Pixels system = BlitOnWhite(premultiplied, 4, [&](HDC hDest, HDC hSrc) {
        return CKLVImageManager::AlphaBlend(hDest, rc, hSrc, rc);
    });
    EXPECT_EQ(system, BlitOnWhite(premultiplied, 4, [&](HDC hDest, HDC hSrc) {
                  return CKLVImageManager::AlphaBlendEmulation(hDest, rc, hSrc, rc);
              }));
    EXPECT_EQ(system[6], 0x00BFBFBFu);  // 128 at alpha 128 is 64 premultiplied, plus 127 of the white

    CBitmap keyed;
    keyed.Attach(MakeAlpha(4, {0xFF00FF, 0xFF0000, 0x000000, 0x00FF00}));
    for (COLORREF clrKey : {RGB(255, 0, 255), RGB(0, 0, 0)}) {
        for (const CRect& rcDest : {CRect(0, 0, 4, 1), CRect(0, 0, 4, 2)}) {
            auto blit = [&](auto pfn) {
                return BlitOnWhite(keyed, 4, [&](HDC hDest, HDC hSrc) { return pfn(hDest, rcDest, hSrc, rc, clrKey); });
            };
            EXPECT_EQ(blit(CKLVImageManager::TransparentBlt), blit(CKLVImageManager::TransparentBltEmulation))
                << clrKey << " " << rcDest.bottom;
        }
    }
}
TEST(ImageEffects, SplitAndIconSizes) {
    Pixels row(64);
    for (int x = 0; x < 64; ++x) row[x] = static_cast<DWORD>(x);
    CBitmap wide;
    wide.Attach(MakeAlpha(64, row));
    HBITMAP strips[4] = {};
    ASSERT_TRUE(CKLVImageManager::SplitBitmap(wide, 4, strips));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ReadAlpha(strips[i]), Pixels(row.begin() + 16 * i, row.begin() + 16 * (i + 1))) << i;
        ::DeleteObject(strips[i]);
    }
    EXPECT_FALSE(CKLVImageManager::SplitBitmap(wide, 5, strips));

    // A monochrome icon's mask holds both halves.
    const std::vector<BYTE> bits(32 * 32 / 8, 0);
    HICON hMono = ::CreateIcon(nullptr, 32, 32, 1, 1, bits.data(), bits.data());
    EXPECT_EQ(CKLVImageManager::GetIconSize(hMono), CSize(32, 32));
    ::DestroyIcon(hMono);
}

class ImageManager : public ::testing::Test {
protected:
    // An alpha icon of nWidth by nWidth whose top row r has red r * 10.
    BOOL SetAlpha(UINT nID, int nWidth, int nState = CKLVImageManager::stateNormal) {
        Pixels pixels(static_cast<size_t>(nWidth * nWidth));
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000 | ((nWidth - 1 - i / nWidth) * 10) << 16;
        return m_manager.SetIcon(CKLVImageManagerIconHandle(MakeAlpha(nWidth, pixels), TRUE), nID, CSize(0, 0), nState);
    }
    std::string Store() {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            m_manager.Serialize(ar);
        }
        std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
        file.SeekToBegin();
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }
    void Load(std::string bytes) {
        CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        m_manager.Serialize(ar);
    }

    CKLVImageManager m_manager;
};

TEST_F(ImageManager, IconsAreFoundByWidthInHashTableOrder) {
    EXPECT_FALSE(SetAlpha(1, 16, CKLVImageManager::stateHot));  // no set yet: only a normal image makes one
    for (int nWidth : {16, 32, 20, 28}) ASSERT_TRUE(SetAlpha(1, nWidth));
    const struct {
        int nAsked, nFound;
    } cases[] = {{24, 28}, {0, 16}, {1, 32}, {17, 16}, {31, 32}, {30, 28}};
    // 20 and 28 share a bucket, the later first; 16 and 32 are in buckets before and after it.
    for (const auto& c : cases) EXPECT_EQ(m_manager.GetImage(1, c.nAsked)->GetWidth(), c.nFound) << c.nAsked;
    EXPECT_FALSE(m_manager.HasIconOfWidth(1, 24));
    EXPECT_TRUE(m_manager.HasIconOfWidth(1, 20));

    CKLVImageManagerIcon* pIcon = m_manager.GetImage(1, 16);
    ASSERT_TRUE(SetAlpha(1, 16, CKLVImageManager::stateHot));
    EXPECT_NE(&pIcon->GetHotIcon(), &pIcon->GetIcon());
    ASSERT_TRUE(SetAlpha(1, 16));  // a new normal image drops the hot one
    EXPECT_EQ(&pIcon->GetHotIcon(), &pIcon->GetIcon());
}

TEST_F(ImageManager, BitmapStripsSkipSeparators) {
    CBitmap strip;
    strip.Attach(MakeAlpha(48, Pixels(48 * 16, 0xFF102030)));
    const UINT ids[] = {10, 0, 11, 12};
    ASSERT_TRUE(m_manager.SetIcons(&strip, ids, 4, CSize(16, 16), CKLVImageManager::stateNormal, TRUE));
    for (UINT nID : {10u, 11u, 12u}) EXPECT_TRUE(m_manager.GetImage(nID, 16) && m_manager.GetImage(nID, 16)->IsAlpha());
    EXPECT_EQ(m_manager.GetImage(0, 16), nullptr);
    ASSERT_TRUE(m_manager.SetIcons(&strip, ids, 4, CSize(16, 16)));  // through an image list
    EXPECT_FALSE(m_manager.GetImage(12, 16)->IsAlpha());
}

TEST_F(ImageManager, AnAlphaIconAboveTheTopDrawsItsLowerRows) {
    ASSERT_TRUE(SetAlpha(3, 16));
    CBitmap target;
    target.Attach(MakeAlpha(16, Pixels(16 * 16, 0x00FFFFFF)));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = dc.SelectObject(static_cast<HGDIOBJ>(target));
    m_manager.GetImage(3, 16)->Draw(&dc, CPoint(0, -4));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(40, 0, 0));
    EXPECT_EQ(dc.GetPixel(5, 11), RGB(150, 0, 0));
    EXPECT_EQ(dc.GetPixel(5, 12), RGB(255, 255, 255));
    dc.SelectObject(hOld);
}

TEST_F(ImageManager, SavedIconsLoadBackAndDamageIsRefused) {
    // Commands in different buckets keep their order through a reload.
    ASSERT_TRUE(SetAlpha(40, 16));
    ASSERT_TRUE(SetAlpha(40, 16, CKLVImageManager::stateChecked));
    ASSERT_TRUE(SetAlpha(40, 16, CKLVImageManager::statePressed));
    ASSERT_TRUE(m_manager.SetIcon(CKLVImageManagerIconHandle(MakeIcon({RGB(1, 2, 3), RGB(4, 5, 6)}, 0), TRUE), 7));
    const std::string bytes = Store();
    const Pixels normal = ReadAlpha(m_manager.GetImage(40, 16)->GetIcon().GetBitmap());
    m_manager.RemoveAll();
    Load(bytes);
    EXPECT_EQ(ReadAlpha(m_manager.GetImage(40, 16)->GetIcon().GetBitmap()), normal);
    EXPECT_EQ(IconColors(m_manager.GetImage(7, 2)->GetIcon().GetIcon(), 2), (std::vector<COLORREF>{RGB(1, 2, 3), RGB(4, 5, 6)}));
    EXPECT_TRUE(Store() == bytes);

    // Icon data of schema 7 has no checked and no pressed image.
    const std::string schemaAt = std::string("\x10\x00\x00\x00\x17\x00\x00\x00", 8);
    std::string old = bytes;
    old[old.find(schemaAt) + 4] = 7;
    Load(old);
    EXPECT_EQ(&m_manager.GetImage(40, 16)->GetCheckedIcon(), &m_manager.GetImage(40, 16)->GetIcon());

    std::string checksum = bytes;
    checksum[checksum.rfind("Icons") + 4] = 'Z';
    EXPECT_EQ(ThrownCause<CArchiveException>([&] { Load(checksum); }), CArchiveException::badClass);
    // A bitmap header that claims to be longer than its 40 bytes drops the icon.
    std::string header = bytes;
    header[header.find(std::string("\x28\x00\x00\x00\x10\x00\x00\x00", 8))] = 124;
    Load(header);
    EXPECT_EQ(m_manager.GetImage(40, 16), nullptr);
    // Cut short anywhere, a load throws or leaves out the icon it could not read.
    for (size_t n = 0; n < bytes.size(); n += 7) {
        const bool bThrew = ThrownCause<CArchiveException>([&] { Load(bytes.substr(0, n)); }).has_value();
        EXPECT_TRUE(bThrew || !m_manager.GetImage(40, 16)) << n;
    }
}
