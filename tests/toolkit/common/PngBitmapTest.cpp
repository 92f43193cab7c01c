// PNG loading: the colour types and depths libpng's transformations turn into 3 or 4 channels,
// interlaced images, and files and resources that must be refused without an exception.
#include "classlib/ClassLib.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/PngBitmap.h"

#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

namespace {

struct PngSpec {
    const char* what;
    int nColorType;
    int nBitDepth;
    int nInterlace;
    std::vector<std::vector<BYTE>> rows;
    std::vector<png_color> palette;
    std::vector<BYTE> trns;
    // Expected: channels, then the decoded pixels as B, G, R, A, top row first.
    int nChannels;
    std::vector<DWORD> expected;
};

void AppendData(png_structp png, png_bytep pData, png_size_t nLength) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(pData), nLength);
}

std::string MakePng(const PngSpec& spec) {
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &bytes, AppendData, nullptr);
    const int nWidth = static_cast<int>(spec.expected.size() / spec.rows.size());
    png_set_IHDR(png, info, nWidth, static_cast<png_uint_32>(spec.rows.size()), spec.nBitDepth, spec.nColorType,
                 spec.nInterlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty()) png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.trns.empty()) png_set_tRNS(png, info, spec.trns.data(), static_cast<int>(spec.trns.size()), nullptr);
    std::vector<png_bytep> rows;
    for (const auto& row : spec.rows) rows.push_back(const_cast<BYTE*>(row.data()));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

std::vector<DWORD> Pixels(HBITMAP hBitmap) {
    DIBSECTION ds = {};
    if (!::GetObject(hBitmap, sizeof ds, &ds) || !ds.dsBm.bmBits) return {};
    const auto* pPixels = static_cast<const DWORD*>(ds.dsBm.bmBits);
    return std::vector<DWORD>(pPixels, pPixels + ds.dsBm.bmWidth * ds.dsBm.bmHeight);
}

BOOL LoadFromBytes(CKLVPngBitmap& bitmap, std::string bytes) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    return bitmap.LoadPngFromFile(&file);
}

}  // namespace

TEST(PngBitmap, ColourTypesAndDepthsDecodeToTopDownBgra) {
    const PngSpec specs[] = {
        {"grey 8-bit: three channels, alpha 0", PNG_COLOR_TYPE_GRAY, 8, PNG_INTERLACE_NONE, {{0x10, 0xF0}}, {}, {}, 3,
         {0x00101010, 0x00F0F0F0}},
        {"grey 2-bit expands", PNG_COLOR_TYPE_GRAY, 2, PNG_INTERLACE_NONE, {{0x1B}}, {}, {}, 3,
         {0x00000000, 0x00555555, 0x00AAAAAA, 0x00FFFFFF}},
        {"palette with tRNS: alpha", PNG_COLOR_TYPE_PALETTE, 8, PNG_INTERLACE_NONE, {{0, 1}},
         {{255, 0, 0}, {0, 0, 255}}, {0x40}, 4, {0x40FF0000, 0xFF0000FF}},
        {"16-bit RGBA strips to 8", PNG_COLOR_TYPE_RGBA, 16, PNG_INTERLACE_NONE,
         {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0x80, 0x00}}, {}, {}, 4, {0x8012569A}},
        {"interlaced RGB, top row first", PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_ADAM7,
         {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}, {13, 14, 15, 16, 17, 18}}, {}, {}, 3,
         {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112}},
    };
    for (const PngSpec& spec : specs) {
        CKLVPngBitmap bitmap;
        ASSERT_TRUE(LoadFromBytes(bitmap, MakePng(spec))) << spec.what;
        EXPECT_EQ(bitmap.IsAlpha(), spec.nChannels == 4) << spec.what;
        EXPECT_EQ(Pixels(bitmap), spec.expected) << spec.what;
    }
}

TEST(PngBitmap, DamagedFilesAndResourcesAreRefused) {
    const PngSpec spec = {"", PNG_COLOR_TYPE_GRAY, 8, PNG_INTERLACE_NONE, {{1, 2}}, {}, {}, 3, {0, 0}};
    const std::string good = MakePng(spec);
    std::string badSignature = good;
    badSignature[1] = 'Q';
    std::string badCrc = good;
    badCrc[29] ^= 1;  // the header chunk's checksum
    for (const std::string& bytes : {badSignature, good.substr(0, good.size() - 20), good.substr(0, 7), badCrc}) {
        CKLVPngBitmap bitmap;
        EXPECT_FALSE(LoadFromBytes(bitmap, bytes));
        EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    }

    HMODULE hModule = ::GetModuleHandleA(nullptr);
    CKLVPngBitmap bitmap;
    EXPECT_FALSE(bitmap.LoadPngFromResource(hModule, ::FindResourceA(hModule, MAKEINTRESOURCEA(9902), "PNG")));
    EXPECT_FALSE(bitmap.LoadPngFromResource(hModule, nullptr));
    ASSERT_TRUE(bitmap.LoadPngFromResource(hModule, ::FindResourceA(hModule, MAKEINTRESOURCEA(9901), "PNG")));
    EXPECT_EQ(Pixels(bitmap), (std::vector<DWORD>{0xFFFF0000, 0x800000FF}));
}

TEST(BitmapResources, PngAnd32BitResourcesLoadWithAlpha) {
    HMODULE hModule = ::GetModuleHandleA(nullptr);
    BOOL bAlpha = FALSE;
    CBitmap png;
    EXPECT_TRUE(CKLVImageManager::IsPngResource(hModule, MAKEINTRESOURCEA(9901)));
    ASSERT_TRUE(png.Attach(CKLVImageManager::LoadBitmapResource(hModule, MAKEINTRESOURCEA(9901), &bAlpha)));
    EXPECT_TRUE(bAlpha);

    // A top-down bitmap whose header is longer than 40 bytes: the pixels after the header.
    bAlpha = FALSE;
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Attach(CKLVImageManager::LoadBitmapResource(hModule, MAKEINTRESOURCEA(9903), &bAlpha)));
    EXPECT_TRUE(bAlpha);
    EXPECT_EQ(Pixels(bitmap), (std::vector<DWORD>{0xFF030201, 0xFF060504, 0x80090807, 0x000C0B0A}));
}
