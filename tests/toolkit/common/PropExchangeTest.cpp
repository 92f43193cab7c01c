// Property exchange: the archive back-end's byte layout and round trips, sections and
// enumerators on one stream, objects and their archive map, schema gating, and damaged state;
// the base's keyed behaviour through a small keyed back-end of the test's own.
#include "classlib/ClassLib.h"
#include "classlib/OleVariant.h"
#include "toolkit/common/PropExchangeArchive.h"
#include "TextKeyedExchange.h"

#include "classlib/ThrownException.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

int g_nPxLiveObjects = 0;

using Bytes = std::string;

Bytes StoreWith(const std::function<void(CKLVPropExchange*, CArchive&)>& write) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CKLVPropExchangeArchive px(ar);
        write(&px, ar);
    }
    const size_t length = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    Bytes bytes(reinterpret_cast<char*>(data), length);
    std::free(data);
    return bytes;
}

void LoadWith(Bytes bytes, const std::function<void(CKLVPropExchange*, CArchive&)>& read) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    CKLVPropExchangeArchive px(ar);
    read(&px, ar);
}

}  // namespace

class CPxShape : public CObject {
    DECLARE_SERIAL(CPxShape)
public:
    CPxShape() { ++g_nPxLiveObjects; }
    ~CPxShape() override { --g_nPxLiveObjects; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_nSize;
        else
            ar >> m_nSize;
    }
    int m_nSize = 0;
};
IMPLEMENT_SERIAL(CPxShape, CObject, VERSIONABLE_SCHEMA | 23)

class PropExchange : public ::testing::Test {
protected:
    void SetUp() override { g_nPxLiveObjects = 0; }
    void TearDown() override { EXPECT_EQ(g_nPxLiveObjects, 0) << "objects leaked or freed twice"; }
};

// Every value kind, in the order the layout below lists them.
struct AllKinds {
    BYTE by = 0;
    short s = 0;
    long l = 0;
    float f = 0;
    double d = 0;
    CY cy{};
    COleDateTime date;
    BOOL b = FALSE;
    COleVariant var;
    CString str;
    RECT rc{};
    SIZE sz{};

    void Exchange(CKLVPropExchange* px) {
        PX_Byte(px, "by", by, 0);
        PX_Short(px, "s", s, 0);
        PX_Long(px, "l", l, 0);
        px->ExchangeProp("f", VT_R4, &f, nullptr);
        px->ExchangeProp("d", VT_R8, &d, nullptr);
        px->ExchangeProp("cy", VT_CY, &cy, nullptr);
        px->ExchangeProp("date", VT_DATE, &date, nullptr);
        PX_Bool(px, "b", b, FALSE);
        px->ExchangeProp("var", VT_VARIANT, &var, nullptr);
        PX_String(px, "str", str, "");
        PX_Rect(px, "rc", rc, RECT{});
        PX_Size(px, "sz", sz, SIZE{});
        int nUnknown = 7;
        EXPECT_TRUE(px->ExchangeProp("unknown", 99, &nUnknown, nullptr));
        EXPECT_EQ(nUnknown, 7);
    }
};

TEST_F(PropExchange, EveryValueKindHasItsLayoutAndRoundTrips) {
    AllKinds in{0xAB, -2, 0x01020304, 1.5f, -0.25, {{0x11223345, -1}}, COleDateTime(2.5), TRUE, COleVariant(7L),
                 "abc", {1, -2, 3, 4}, {5, 6}};
    const Bytes bytes = StoreWith([&](CKLVPropExchange* px, CArchive&) { in.Exchange(px); });
    const Bytes expected = Bytes("\xAB" "\xFE\xFF" "\x04\x03\x02\x01" "\x00\x00\xC0\x3F", 11) +
                           Bytes("\x00\x00\x00\x00\x00\x00\xD0\xBF", 8) + Bytes("\x45\x33\x22\x11\xFF\xFF\xFF\xFF", 8) +
                           Bytes("\x00\x00\x00\x00" "\x00\x00\x00\x00\x00\x00\x04\x40", 12) +
                           Bytes("\x01\x00\x00\x00" "\x03\x00\x07\x00\x00\x00" "\x03" "abc", 14) +
                           Bytes("\x01\x00\x00\x00\xFE\xFF\xFF\xFF\x03\x00\x00\x00\x04\x00\x00\x00", 16) +
                           Bytes("\x05\x00\x00\x00\x06\x00\x00\x00", 8);
    EXPECT_EQ(bytes, expected);

    // What loads stores again byte for byte.
    AllKinds out;
    LoadWith(bytes, [&](CKLVPropExchange* px, CArchive&) { out.Exchange(px); });
    EXPECT_EQ(StoreWith([&](CKLVPropExchange* px, CArchive&) { out.Exchange(px); }), bytes);
}

// A list owner: one numbered section per value.
void ExchangeList(CKLVPropExchange* px, std::vector<long>& values) {
    std::unique_ptr<CKLVPropExchangeEnumerator> pEnum(px->OpenEnumerator("Item"));
    POSITION pos = pEnum->GetPosition(static_cast<DWORD>(values.size()));
    values.resize(pEnum->GetCount());
    for (long& value : values) {
        CKLVPropExchange* pSection = pEnum->GetNext(pos);
        EXPECT_TRUE(pSection->m_bChildSection && pSection->m_pContext == px->m_pContext);
        PX_Long(pSection, "Value", value, 0);
        pSection->InternalRelease();
    }
    EXPECT_EQ(pos, nullptr);
}

TEST_F(PropExchange, SectionsAndEnumeratorsContinueOneStream) {
    std::vector<long> stored = {10, 11};
    const Bytes bytes = StoreWith([&](CKLVPropExchange* px, CArchive&) {
        px->m_pContext = &stored;
        ExchangeList(px, stored);
    });
    EXPECT_EQ(bytes, Bytes("\x02\x00" "\x0A\x00\x00\x00" "\x0B\x00\x00\x00", 10));
    std::vector<long> loaded;
    LoadWith(bytes, [&](CKLVPropExchange* px, CArchive&) { ExchangeList(px, loaded); });
    EXPECT_EQ(loaded, stored);
}

TEST_F(PropExchange, ObjectsAreMappedOnceAndTheWrongClassIsRefusedBeforeCreation) {
    CPxShape shape;
    shape.m_nSize = 4;
    const Bytes bytes = StoreWith([&](CKLVPropExchange* px, CArchive& ar) {
        CObject* pObject = &shape;
        EXPECT_TRUE(px->ExchangeObject(pObject, RUNTIME_CLASS(CPxShape)));
        PX_Serialize(px, "Data", pObject);
        ar << static_cast<const CObject*>(&shape);
    });
    // New class record, the object's own data, then a 2-byte reference to map index 2.
    EXPECT_EQ(bytes, Bytes("\xFF\xFF\x17\x00\x08\x00" "CPxShape" "\x04\x00\x00\x00" "\x02\x00", 20));
    LoadWith(bytes, [](CKLVPropExchange* px, CArchive& ar) {
        CObject* pObject = nullptr;
        ASSERT_TRUE(px->ExchangeObject(pObject, RUNTIME_CLASS(CObject)));
        std::unique_ptr<CObject> owned(pObject);
        EXPECT_EQ(px->GetSchema(), 23u);
        EXPECT_TRUE(PX_Serialize(px, "Data", pObject));
        EXPECT_EQ(static_cast<CPxShape*>(pObject)->m_nSize, 4);
        CObject* pReference = nullptr;
        ar >> pReference;
        EXPECT_EQ(pReference, pObject);
    });
    LoadWith(bytes, [](CKLVPropExchange* px, CArchive&) {
        CObject* pObject = reinterpret_cast<CObject*>(1);
        EXPECT_FALSE(px->ExchangeObject(pObject, RUNTIME_CLASS(CException)));
        EXPECT_EQ(pObject, nullptr);
    });
    EXPECT_EQ(g_nPxLiveObjects, 1);  // only the stored one: nothing was created for the refusal

    Bytes unknown = bytes;
    unknown[6] = 'X';  // "XPxShape"
    EXPECT_EQ(ThrownCause<CArchiveException>([&] {
                  LoadWith(unknown, [](CKLVPropExchange* px, CArchive&) {
                      CObject* pObject = nullptr;
                      px->ExchangeObject(pObject, nullptr);
                  });
              }),
              CArchiveException::badClass);
}

TEST_F(PropExchange, AKeyedStoreThatSkipsDefaultsGivesBackAnObjectOfTheRequestedClass) {
    std::map<std::string, std::string> store;
    {
        CTextKeyedExchange storing(store, FALSE, "", TRUE);
        CPxShape shape;
        CObject* pObject = &shape;
        EXPECT_TRUE(storing.ExchangeObject(pObject, RUNTIME_CLASS(CPxShape)));
    }
    ASSERT_TRUE(store.empty()) << "the requested class's name is a default";
    std::map<std::string, std::string> named = {{"Class", "CPxShape"}};
    const struct {
        std::map<std::string, std::string>* pStore;
        CRuntimeClass* pRequested;
        CRuntimeClass* pLoaded;   // null: refused
    } cases[] = {
        {&store, RUNTIME_CLASS(CPxShape), RUNTIME_CLASS(CPxShape)},
        {&store, nullptr, nullptr},
        {&named, RUNTIME_CLASS(CObject), RUNTIME_CLASS(CPxShape)},
        {&named, RUNTIME_CLASS(CException), nullptr},
    };
    for (const auto& c : cases) {
        CTextKeyedExchange loading(*c.pStore, TRUE);
        CObject* pObject = nullptr;
        EXPECT_EQ(loading.ExchangeObject(pObject, c.pRequested), c.pLoaded != nullptr) << c.pStore->size();
        std::unique_ptr<CObject> owned(pObject);
        EXPECT_EQ(pObject ? pObject->GetRuntimeClass() : nullptr, c.pLoaded) << c.pStore->size();
    }
}

// An owner whose "Late" key exists from schema 8 on.
struct GatedOwner {
    long nEarly = 0;
    long nLate = -1;
    void Exchange(CKLVPropExchange* px) {
        px->ExchangeSchemaVersion();
        PX_Long(px, "Early", nEarly, 0);
        if (px->IsStoring() || px->GetSchema() > 7) PX_Long(px, "Late", nLate, 0);
    }
};

TEST_F(PropExchange, TheSchemaHeaderGatesNewerKeys) {
    const struct {
        const char* what;
        Bytes bytes;
        UINT nSchema;
        long nLate;
    } cases[] = {
        {"current", Bytes("\xBF\xAD\xF0\x0F\x17\x00\x00\x00\x01\x00\x00\x00\x02\x00\x00\x00", 16), 23, 2},
        {"schema 7", Bytes("\xBF\xAD\xF0\x0F\x07\x00\x00\x00\x01\x00\x00\x00", 12), 7, -1},
        {"no magic: the stream is left where it was", Bytes("\x01\x00\x00\x00\x02\x00\x00\x00", 8), 17, 2},
    };
    GatedOwner stored;
    stored.nEarly = 1;
    stored.nLate = 2;
    EXPECT_EQ(StoreWith([&](CKLVPropExchange* px, CArchive&) { stored.Exchange(px); }), cases[0].bytes);
    for (const auto& c : cases) {
        GatedOwner loaded;
        LoadWith(c.bytes, [&](CKLVPropExchange* px, CArchive&) {
            loaded.Exchange(px);
            EXPECT_EQ(px->GetSchema(), c.nSchema) << c.what;
        });
        EXPECT_EQ(loaded.nEarly, 1) << c.what;
        EXPECT_EQ(loaded.nLate, c.nLate) << c.what;
    }
}

TEST_F(PropExchange, TruncatedStateThrowsAndLeavesFieldsAsTheyWere) {
    AllKinds in;
    in.str = "text";
    in.var = COleVariant("wide");
    const Bytes bytes = StoreWith([&](CKLVPropExchange* px, CArchive&) { in.Exchange(px); });
    for (size_t n = 0; n < bytes.size(); ++n) {
        AllKinds out;
        out.str = "before";
        EXPECT_EQ(ThrownCause<CArchiveException>(
                      [&] { LoadWith(bytes.substr(0, n), [&](CKLVPropExchange* px, CArchive&) { out.Exchange(px); }); }),
                  CArchiveException::endOfFile)
            << n;
        if (n < bytes.size() - 24) {
            EXPECT_STREQ(out.str, "before") << n;
        }
    }
}

TEST_F(PropExchange, ArchiveBlobsAreCountedAndBoundedByTheData) {
    const Bytes bytes("\x03\x00\x01\x02\x03", 5);
    EXPECT_EQ(StoreWith([&](CKLVPropExchange* px, CArchive&) {
                  BYTE* pData = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data() + 2));
                  DWORD cbData = 3;
                  px->ExchangeBlobProp("Blob", &pData, &cbData);
              }),
              bytes);
    const struct {
        Bytes bytes;
        DWORD cbBuffer;  // 0: allocated by the exchange
        BOOL bResult;
    } cases[] = {
        {bytes, 0, TRUE},
        {bytes, 3, TRUE},
        {bytes, 2, FALSE},
        {Bytes("\xFF\xFF\xFF\xFF\xFF\x7F\x01\x02", 8), 0, FALSE},  // a count far beyond the data
    };
    for (const auto& c : cases) {
        BYTE buffer[3] = {};
        BYTE* pData = c.cbBuffer ? buffer : nullptr;
        DWORD cbData = c.cbBuffer;
        LoadWith(c.bytes, [&](CKLVPropExchange* px, CArchive&) {
            EXPECT_EQ(px->ExchangeBlobProp("Blob", &pData, &cbData), c.bResult) << c.cbBuffer;
        });
        EXPECT_EQ(c.bResult ? Bytes(reinterpret_cast<char*>(pData), cbData) : Bytes(), c.bResult ? bytes.substr(2) : Bytes());
        if (!c.cbBuffer) std::free(pData);
    }
}

TEST_F(PropExchange, TheKeyedBaseLettersBlobsAndNamesClassesAndSections) {
    std::map<std::string, std::string> store;
    CTextKeyedExchange storing(store, FALSE);
    const BYTE data[] = {0x00, 0xFF, 0x1A};
    storing.Write("Blob", data, 3);
    CPxShape shape;
    shape.m_nSize = 12;
    std::unique_ptr<CKLVPropExchangeEnumerator> pEnum(storing.OpenEnumerator("Item"));
    for (POSITION pos = pEnum->GetPosition(2, FALSE); pos;) {
        CKLVPropExchange* pSection = pEnum->GetNext(pos);
        CObject* pObject = &shape;
        pSection->ExchangeObject(pObject, nullptr);
        PX_Serialize(pSection, "Data", pObject);
        pSection->InternalRelease();
    }
    EXPECT_EQ(store, (std::map<std::string, std::string>{{"Blob", "AAPPKB"},
                                                         {"Count", "2"},
                                                         {"Item0\\Class", "CPxShape"},
                                                         {"Item0\\Data", "MAAAAAAA"},
                                                         {"Item1\\Class", "CPxShape"},
                                                         {"Item1\\Data", "MAAAAAAA"}}));

    CTextKeyedExchange loading(store, TRUE);
    BYTE loaded[3] = {};
    EXPECT_EQ(loading.Read("Blob", loaded, 3), 3u);
    EXPECT_EQ(Bytes(reinterpret_cast<char*>(loaded), 3), Bytes("\x00\xFF\x1A", 3));
    store["Odd"] = "AAP";
    EXPECT_EQ(loading.Read("Odd", loaded, 3), 0u);

    CKLVPropExchange* pSection = loading.OpenSection("Item1");
    CObject* pObject = nullptr;
    ASSERT_TRUE(pSection->ExchangeObject(pObject, RUNTIME_CLASS(CPxShape)));
    std::unique_ptr<CObject> owned(pObject);
    EXPECT_TRUE(PX_Serialize(pSection, "Data", pObject));
    EXPECT_EQ(static_cast<CPxShape*>(pObject)->m_nSize, 12);
    pSection->InternalRelease();

    CRuntimeClass* pClass = nullptr;
    EXPECT_TRUE(loading.ExchangeClass("NoSuchKey", pClass, RUNTIME_CLASS(CException)));
    EXPECT_EQ(pClass, RUNTIME_CLASS(CException));
    store["Bad"] = "cpxshape";  // names match case-sensitively
    EXPECT_FALSE(loading.ExchangeClass("Bad", pClass, nullptr));
}
