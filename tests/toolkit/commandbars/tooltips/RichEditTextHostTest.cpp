// The windowless rich-edit host over the system's text services: RTF or plain text in, the
// narrowest width that keeps a text's height, and nothing left behind by many rounds or by the
// host itself.
#include "classlib/ClassLib.h"
#include "classlib/WindowTestSupport.h"
#include "toolkit/commandbars/tooltips/RichEditTextHost.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <memory>
#include <string>

namespace {

std::wstring ServicesText(CKLVRichEditTextHost& host) {
    BSTR bstr = nullptr;
    if (FAILED(host.m_pTextServices->TxGetText(&bstr)) || !bstr) return std::wstring();
    std::wstring str(bstr);
    ::SysFreeString(bstr);
    // The services end the last paragraph with a carriage return.
    while (!str.empty() && (str.back() == L'\r' || str.back() == L'\n')) str.pop_back();
    return str;
}

struct Counts {
    DWORD nGdi, nUser;
    SIZE_T cbCommitted;
    static Counts Now() {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
        const classlib_test::HandleCounts handles = classlib_test::CountHandles();
        return {handles.nGdi, handles.nUser, counters.PagefileUsage};
    }
};

class RichEditTextHostTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.HasTextServices()) << "the system's text services are missing"; }
    CKLVRichEditTextHost m_host;
    CClientDC m_dc{nullptr};
};

TEST_F(RichEditTextHostTest, RtfAndPlainTextBothShow) {
    struct Case {
        const char* what;
        const char* pszText;
        LONG nExpectedCount;
        const wchar_t* pszShown;
    } const cases[] = {
        {"plain text: the RTF pass reads nothing, the text pass all", "Hello, tip", 10, L"Hello, tip"},
        {"RTF", "{\\rtf1\\ansi Hello {\\b bold} tip}", -1, L"Hello bold tip"},
        {"empty", "", 0, L""},
        {"null", nullptr, 0, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_host.SetText("something before");
        const LONG nCount = m_host.SetText(c.pszText);
        if (c.nExpectedCount >= 0) EXPECT_EQ(nCount, c.nExpectedCount);
        else EXPECT_GT(nCount, 0);
        EXPECT_EQ(ServicesText(m_host), c.pszShown);
    }
}

TEST_F(RichEditTextHostTest, CalcSizeFindsTheNarrowestWidthThatKeepsTheHeight) {
    const int cxMax = 300;
    m_host.SetText("Hi there");
    const CSize sizeShort = m_host.CalcSize(&m_dc, cxMax);
    EXPECT_GT(sizeShort.cx, 0);
    EXPECT_LT(sizeShort.cx, cxMax);
    EXPECT_GT(sizeShort.cy, 0);
    m_host.SetText("Hi");
    EXPECT_EQ(m_host.CalcSize(&m_dc, cxMax).cy, sizeShort.cy) << "one line high";

    std::string strLong;
    for (int i = 0; i < 40; ++i) strLong += "wrapping words ";
    m_host.SetText(strLong.c_str());
    const CSize sizeLong = m_host.CalcSize(&m_dc, cxMax);
    EXPECT_LE(sizeLong.cx, cxMax + 1);
    EXPECT_GT(sizeLong.cx, cxMax / 2);
    EXPECT_GE(sizeLong.cy, 2 * sizeShort.cy) << "wrapped over several lines";
}

TEST_F(RichEditTextHostTest, DrawingPaintsTheText) {
    m_host.SetText("Tip");
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 60;
    bmi.bmiHeader.biHeight = -30;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    CBitmap bitmap;
    bitmap.Attach(::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = dc.SelectObject(static_cast<HGDIOBJ>(bitmap));
    dc.FillSolidRect(0, 0, 60, 30, RGB(255, 255, 255));
    const CRect rc(0, 0, 60, 30);
    m_host.Draw(&dc, rc);
    int nInked = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) nInked += dc.GetPixel(x, y) != RGB(255, 255, 255);
    dc.SelectObject(hOld);
    EXPECT_GT(nInked, 10);
}

TEST_F(RichEditTextHostTest, AThousandRoundsLeaveNothingBehind) {
    const char* const texts[] = {"{\\rtf1 Round \\i italic\\i0 text}", "A plain round of text that wraps somewhere"};
    // The services keep the fonts of the styles they met.
    for (const char* pszText : texts) {
        m_host.SetText(pszText);
        m_host.CalcSize(&m_dc, 120);
    }
    const Counts before = Counts::Now();
    for (int i = 0; i < 1000; ++i) {
        m_host.SetText(texts[i % 2]);
        m_host.CalcSize(&m_dc, 120);
    }
    const Counts after = Counts::Now();
    EXPECT_EQ(after.nGdi, before.nGdi);
    EXPECT_EQ(after.nUser, before.nUser);
    EXPECT_LT(after.cbCommitted, before.cbCommitted + 8 * 1024 * 1024);
}

TEST(RichEditTextHostLifetime, TheServicesGoBeforeTheirLibrary) {
    const BOOL bLoadedBefore = ::GetModuleHandleA("riched20.dll") != nullptr;
    const Counts before = Counts::Now();
    for (int i = 0; i < 200; ++i) {
        auto pHost = std::make_unique<CKLVRichEditTextHost>();
        ASSERT_TRUE(pHost->HasTextServices());
        pHost->SetText("short-lived");
        EXPECT_GT(pHost->CalcSize(nullptr, 100).cx, -1);
    }
    if (!bLoadedBefore) {
        EXPECT_EQ(::GetModuleHandleA("riched20.dll"), nullptr) << "the library was freed";
    }
    const Counts after = Counts::Now();
    EXPECT_EQ(after.nGdi, before.nGdi);
    // Services left behind would hold several kilobytes each.
    EXPECT_LT(after.cbCommitted, before.cbCommitted + 512 * 1024);
}

}  // namespace
