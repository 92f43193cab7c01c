// Bars and controls through the archive property exchange: every class can be stored by class
// name and recreated with the toolkit's schema.
#include "ControlTestSupport.h"
#include "toolkit/common/PropExchangeArchive.h"
#include "toolkit/common/StartupRegistrations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace commandbars_test {
namespace {

using Bytes = std::string;

Bytes StoreWith(const std::function<void(CKLVPropExchange*)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKLVPropExchangeArchive px(ar);
        write(&px);
    }
    const size_t length = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    Bytes bytes(reinterpret_cast<char*>(data), length);
    std::free(data);
    return bytes;
}

void LoadWith(Bytes bytes, const std::function<void(CKLVPropExchange*)>& read) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CKLVPropExchangeArchive px(ar);
    read(&px);
}

void Release(CObject* pObject) {
    if (pObject) static_cast<CCmdTarget*>(pObject)->InternalRelease();
}

TEST(CommandBarClassRecords, EveryClassStoresAndLoadsThroughTheArchiveExchange) {
    const struct {
        CRuntimeClass* pClass;
        CRuntimeClass* pRequested;
    } classes[] = {
        {RUNTIME_CLASS(CKLVCommandBar), RUNTIME_CLASS(CKLVCommandBar)},
        {RUNTIME_CLASS(CKLVPopupBar), RUNTIME_CLASS(CKLVCommandBar)},
        {RUNTIME_CLASS(CKLVControl), RUNTIME_CLASS(CKLVControl)},
        {RUNTIME_CLASS(CKLVControlButton), RUNTIME_CLASS(CKLVControl)},
        {RUNTIME_CLASS(CKLVControlPopup), RUNTIME_CLASS(CKLVControl)},
        {RUNTIME_CLASS(CKLVControls), RUNTIME_CLASS(CKLVControls)},
    };
    for (const auto& c : classes) {
        const char* pszName = c.pClass->m_lpszClassName;
        EXPECT_EQ(c.pClass->m_wSchema, UINT(VERSIONABLE_SCHEMA | KLV_SCHEMA_VERSION)) << pszName;
        EXPECT_EQ(FindRuntimeClass(pszName), c.pClass) << pszName;

        CObject* pStored = c.pClass->CreateObject();
        ASSERT_NE(pStored, nullptr) << pszName;
        Bytes bytes;
        try {
            bytes = StoreWith([&](CKLVPropExchange* px) { EXPECT_TRUE(px->ExchangeObject(pStored, c.pRequested)); });
        } catch (CException* e) {
            e->Delete();
            ADD_FAILURE() << pszName << " could not be stored";
        }
        Release(pStored);
        // A new class record: its tag, the schema, the name.
        EXPECT_EQ(bytes.substr(0, 4), Bytes("\xFF\xFF\x17\x00", 4)) << pszName;

        CObject* pLoaded = nullptr;
        UINT nSchema = 0;
        LoadWith(bytes, [&](CKLVPropExchange* px) {
            EXPECT_TRUE(px->ExchangeObject(pLoaded, c.pRequested)) << pszName;
            nSchema = px->GetSchema();
        });
        ASSERT_NE(pLoaded, nullptr) << pszName;
        EXPECT_EQ(pLoaded->GetRuntimeClass(), c.pClass) << pszName;
        EXPECT_EQ(nSchema, 23u) << pszName;
        Release(pLoaded);
    }
}

}  // namespace
}  // namespace commandbars_test
