// Proves the Windows build and its Wine harness: real windows and GDI, and every third-party
// library linked statically into the .exe.
// POCO brings in winsock2.h, which must come before windows.h.
#include <Poco/DateTime.h>
#include <Poco/File.h>
#include <Poco/TemporaryFile.h>

#include <windows.h>

#include <expat.h>
#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK smokeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER + 1) return 42;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(WindowsSmoke, RealWindowAnswersItsMessages) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = smokeWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KelvaneSmokeWindow";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "smoke", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 1, 0, 0), 42);
    char title[16] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    EXPECT_STREQ(title, "smoke");
    EXPECT_TRUE(DestroyWindow(hwnd));
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST(WindowsSmoke, MemoryDcPaintsPixels) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
    RECT r{2, 2, 8, 8};
    FillRect(mem, &r, brush);
    EXPECT_EQ(GetPixel(mem, 4, 4), RGB(10, 200, 30));
    EXPECT_NE(GetPixel(mem, 12, 12), RGB(10, 200, 30));
    DeleteObject(brush);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

TEST(WindowsSmoke, ExpatParsesElements) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    int elements = 0;
    XML_SetUserData(parser, &elements);
    XML_SetStartElementHandler(parser, [](void* data, const XML_Char*, const XML_Char**) {
        ++*static_cast<int*>(data);
    });
    const char doc[] = "<a><b/><c x='1'>t</c></a>";
    EXPECT_EQ(XML_Parse(parser, doc, static_cast<int>(std::strlen(doc)), 1), XML_STATUS_OK);
    EXPECT_EQ(elements, 3);
    XML_ParserFree(parser);
}

TEST(WindowsSmoke, ZlibRoundTrips) {
    std::string text(5000, 'k');
    uLongf packedSize = compressBound(static_cast<uLong>(text.size()));
    std::vector<Bytef> packed(packedSize);
    ASSERT_EQ(compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(text.data()),
                       static_cast<uLong>(text.size())), Z_OK);
    EXPECT_LT(packedSize, text.size());
    std::vector<Bytef> back(text.size());
    uLongf backSize = static_cast<uLongf>(back.size());
    ASSERT_EQ(uncompress(back.data(), &backSize, packed.data(), packedSize), Z_OK);
    EXPECT_EQ(std::string(back.begin(), back.end()), text);
}

TEST(WindowsSmoke, LibpngWritesAndReadsAnImage) {
    Poco::TemporaryFile file;
    {
        FILE* out = std::fopen(file.path().c_str(), "wb");
        ASSERT_NE(out, nullptr);
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, out);
        png_set_IHDR(png, info, 2, 1, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_byte row[6] = {255, 0, 0, 0, 0, 255};
        png_write_row(png, row);
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
    }
    FILE* in = std::fopen(file.path().c_str(), "rb");
    ASSERT_NE(in, nullptr);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, in);
    png_read_info(png, info);
    EXPECT_EQ(png_get_image_width(png, info), 2u);
    png_byte row[6] = {};
    png_read_row(png, row, nullptr);
    EXPECT_EQ(row[0], 255);
    EXPECT_EQ(row[5], 255);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(in);
}

TEST(WindowsSmoke, PocoFoundationWorks) {
    Poco::DateTime moment(2026, 12, 6, 21, 30, 0);
    EXPECT_EQ(moment.dayOfWeek(), 0);  // a Sunday
    Poco::TemporaryFile file;
    std::ofstream(file.path()) << "x";
    EXPECT_TRUE(Poco::File(file.path()).exists());
    EXPECT_TRUE(Poco::File(file.path()).canWrite());
}

}  // namespace
