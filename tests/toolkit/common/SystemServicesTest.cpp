// System services: version tests on chosen records, module holding and release, the DLL
// version read, the lock, monitor fall-backs and the accessibility base.
#include "ToolkitTestSupport.h"
#include "toolkit/common/Accessible.h"
#include "toolkit/common/MultiMonitor.h"
#include "toolkit/common/OSVersionInfo.h"

#include <string>

namespace {

TEST(OSVersionInfo, VersionTestsFollowPlatformAndVersion) {
    // Expected answers in the order 9x, 95, 98, NT4, 2K, XP, 2K or later, XP or later.
    const struct {
        DWORD platform, major, minor;
        const char* expected;
    } rows[] = {{1, 4, 0, "11000000"},  {1, 4, 10, "10100000"}, {1, 4, 90, "10000000"}, {2, 4, 0, "00010000"},
                {2, 5, 0, "00001010"},  {2, 5, 1, "00000111"},  {2, 5, 2, "00000011"},  {2, 6, 0, "00000011"}};
    for (const auto& row : rows) {
        CKLVOSVersionInfo info;
        info.dwPlatformId = row.platform;
        info.dwMajorVersion = row.major;
        info.dwMinorVersion = row.minor;
        const BOOL answers[] = {info.IsWin9x(), info.IsWin95(),          info.IsWin98(),         info.IsWinNT4(),
                                info.IsWin2K(), info.IsWinXP(), info.IsWin2KOrGreater(), info.IsWinXPOrGreater()};
        std::string actual;
        for (BOOL b : answers) actual += b ? '1' : '0';
        EXPECT_EQ(actual, row.expected) << row.platform << " " << row.major << "." << row.minor;
    }
    EXPECT_EQ(GetOSVersionInfo()->dwOSVersionInfoSize, 148u);
}

TEST(LoadedModule, HoldsFoundModulesWithoutFreeingAndLoadedOnesUntilReleased) {
    CKLVLoadedModule kernel("kernel32.dll");
    EXPECT_EQ(kernel.GetHoldMode(), CKLVLoadedModule::holdFound);
    EXPECT_EQ(kernel.GetHandle(), ::GetModuleHandleA("kernel32.dll"));
    EXPECT_NE(kernel.GetProc<FARPROC>("GetTickCount"), nullptr);

    {
        CKLVLoadedModule loaded;
        ASSERT_TRUE(loaded.LoadLibrary("msimg32.dll"));
        EXPECT_EQ(loaded.GetHoldMode(), CKLVLoadedModule::holdLoaded);
        EXPECT_STREQ(loaded.GetModuleName(), "msimg32.dll");
        // A second acquire releases the first: the reference taken above is given back.
        ASSERT_TRUE(loaded.GetModuleHandle("kernel32.dll"));
        EXPECT_EQ(loaded.GetHoldMode(), CKLVLoadedModule::holdFound);
    }

    CKLVLoadedModule missing;
    EXPECT_FALSE(missing.GetModuleHandle("klv-no-such-module.dll"));
    EXPECT_FALSE(missing.LoadLibrary("klv-no-such-module.dll"));
    EXPECT_EQ(missing.GetHoldMode(), CKLVLoadedModule::holdNothing);
    EXPECT_EQ(missing.GetProcAddress("anything"), nullptr);
}

TEST(LoadedModule, ModulesWithoutAVersionReportFourZero) {
    EXPECT_EQ(KLVGetDllVersion("klv-no-such-module.dll"), 0x40000u);
    EXPECT_EQ(KLVGetDllVersion("kernel32.dll"), 0x40000u);
    DWORD dwComCtl = GetComCtlVersion();
    EXPECT_GE(HIWORD(dwComCtl), 5);
    EXPECT_EQ(GetComCtlVersion(), dwComCtl);
}

TEST(MultiMonitor, PlacesOffEveryMonitorFallBackToThePrimaryScreen) {
    CKLVMultiMonitor* pMonitors = KLVMultiMonitor();
    ASSERT_TRUE(pMonitors->HasMonitorApi());
    CRect primaryWork;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &primaryWork, 0);
    const CRect primaryScreen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    const POINT offScreen = {-100000, -100000};
    const CRect offScreenRect(-100000, -100000, -99990, -99990);

    EXPECT_EQ(pMonitors->GetWorkRect(offScreen), primaryWork);
    EXPECT_EQ(pMonitors->GetWorkRect(&offScreenRect), primaryWork);
    EXPECT_EQ(pMonitors->GetWorkRect(static_cast<CWnd*>(nullptr)), primaryWork);
    EXPECT_EQ(pMonitors->GetMonitorRect(offScreen), primaryScreen);
    EXPECT_EQ(pMonitors->GetMonitorRect(POINT{0, 0}), primaryScreen);   // the origin's monitor
}

// An accessible command target: the IAccessible part answers for it.
class CTestAccessible : public CCmdTarget, public CKLVAccessible {
public:
    CCmdTarget* GetAccessibleTarget() override { return m_bWithTarget ? this : nullptr; }
    LPUNKNOWN GetInterface(const IID& iid) override {
        return iid == IID_IUnknown || iid == __uuidof(IAccessible) ? GetAccessibleInterface() : nullptr;
    }
    void OnFinalRelease() override { ++m_nFinalReleases; }
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override {
        *pszName = ::SysAllocString(ChildIdFromVariant(&varChild) == 0 ? L"self" : L"child");
        return S_OK;
    }
    BOOL m_bWithTarget = TRUE;
    int m_nFinalReleases = 0;
};

VARIANT I4(long n) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

TEST(Accessible, TheInterfaceForwardsToTheObjectAndCountsOnItsTarget) {
    CTestAccessible object;
    IAccessible* pAccessible = object.GetAccessibleInterface();

    IUnknown* pUnknown = nullptr;
    ASSERT_EQ(pAccessible->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pUnknown)), S_OK);
    EXPECT_EQ(pUnknown, pAccessible);
    EXPECT_EQ(object.GetRefCount(), 2);
    EXPECT_EQ(pAccessible->Release(), 1u);
    void* pOther = reinterpret_cast<void*>(1);
    EXPECT_EQ(pAccessible->QueryInterface(IID_IDispatch, &pOther), E_NOINTERFACE);
    EXPECT_EQ(pOther, nullptr);

    BSTR name = nullptr;
    ASSERT_EQ(pAccessible->get_accName(I4(0), &name), S_OK);
    EXPECT_STREQ(name, L"self");
    ::SysFreeString(name);

    // What the object does not override keeps its default answer.
    BSTR text = nullptr;
    VARIANT var;
    EXPECT_EQ(pAccessible->get_accValue(I4(0), &text), E_NOTIMPL);
    EXPECT_EQ(pAccessible->get_accFocus(&var), S_FALSE);
    EXPECT_EQ(object.m_nFinalReleases, 0);
}

TEST(Accessible, AnObjectWithoutTargetAnswersNoInterface) {
    CTestAccessible object;
    object.m_bWithTarget = FALSE;
    IAccessible* pAccessible = object.GetAccessibleInterface();
    void* pObject = reinterpret_cast<void*>(1);
    EXPECT_EQ(pAccessible->QueryInterface(IID_IUnknown, &pObject), E_NOINTERFACE);
    EXPECT_EQ(pObject, nullptr);
    EXPECT_EQ(pAccessible->AddRef(), 0u);
    EXPECT_EQ(pAccessible->Release(), 0u);
    EXPECT_EQ(object.GetRefCount(), 1);
}

TEST(Accessible, ChildIdsComeFromEveryVariantFormTheClientsUse) {
    long nI4 = 7;
    short nI2 = -3;
    VARIANT inner;
    ::VariantInit(&inner);
    inner.vt = VT_I2;
    inner.iVal = -3;
    struct Row {
        VARTYPE vt;
        void* pointer;
        long value;
        long expected;
    };
    const Row rows[] = {
        {VT_EMPTY, nullptr, 0, 0},
        {VT_I4, nullptr, 5, 5},
        {VT_I2, nullptr, 0xFFFE, -2},
        {VT_BYREF | VT_I4, &nI4, 0, 7},
        {VT_BYREF | VT_I2, &nI2, 0, -3},
        {VT_BYREF | VT_I4, nullptr, 0, -1},
        {VT_BYREF | VT_VARIANT, &inner, 0, -3},
        {VT_BYREF | VT_VARIANT, nullptr, 0, -1},
        {VT_BSTR, nullptr, 0, -1},
    };
    for (const Row& row : rows) {
        VARIANT v;
        ::VariantInit(&v);
        v.vt = row.vt;
        if (row.vt & VT_BYREF)
            v.byref = row.pointer;
        else if (row.vt == VT_I2)
            v.iVal = static_cast<SHORT>(row.value);
        else
            v.lVal = row.value;
        EXPECT_EQ(CKLVAccessible::ChildIdFromVariant(&v), row.expected) << "type " << row.vt;
    }
    EXPECT_EQ(CKLVAccessible::ChildIdFromVariant(nullptr), -1);
}

TEST(Accessible, TheSystemBridgeIsBoundOnFirstUse) {
    CTestAccessible object;
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "accessible", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    object.NotifyWinEvent(EVENT_OBJECT_FOCUS, wnd.GetSafeHwnd(), OBJID_CLIENT, CHILDID_SELF);
    IAccessible* pSystem = nullptr;
    HRESULT hr = object.AccessibleObjectFromWindow(wnd.GetSafeHwnd(), static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible), reinterpret_cast<void**>(&pSystem));
    EXPECT_EQ(hr, S_OK);
    ASSERT_NE(pSystem, nullptr);
    VARIANT role;
    ::VariantInit(&role);
    EXPECT_EQ(pSystem->get_accRole(I4(CHILDID_SELF), &role), S_OK);
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_CLIENT);
    pSystem->Release();
    wnd.DestroyWindow();
}

}  // namespace
