// CArchive: the byte layout of counts, strings, classes and objects, round trips of object
// graphs, and the refusals (wrong class, bad index, bad schema) without leaks.
#include "classlib/ClassLib.h"

#include "ThrownException.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>

// Serial classes for the tests; they count their live objects.
int g_nArcLiveObjects = 0;

class CTestArcShape : public CObject {
    DECLARE_SERIAL(CTestArcShape)
public:
    CTestArcShape() { ++g_nArcLiveObjects; }
    CTestArcShape(int nSize, LPCSTR lpszName) : m_nSize(nSize), m_strName(lpszName) { ++g_nArcLiveObjects; }
    ~CTestArcShape() override { --g_nArcLiveObjects; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_nSize << m_strName;
        else
            ar >> m_nSize >> m_strName;
    }
    int m_nSize = 0;
    CString m_strName;
};
IMPLEMENT_SERIAL(CTestArcShape, CObject, 1)

class CTestArcCircle : public CTestArcShape {
    DECLARE_SERIAL(CTestArcCircle)
public:
    void Serialize(CArchive& ar) override {
        CTestArcShape::Serialize(ar);
        if (ar.IsStoring())
            ar << m_nRadius;
        else
            ar >> m_nRadius;
    }
    int m_nRadius = 0;
};
IMPLEMENT_SERIAL(CTestArcCircle, CTestArcShape, 1)

class CTestArcOther : public CObject {
    DECLARE_SERIAL(CTestArcOther)
public:
    CTestArcOther() { ++g_nArcLiveObjects; }
    ~CTestArcOther() override { --g_nArcLiveObjects; }
};
IMPLEMENT_SERIAL(CTestArcOther, CObject, 1)

// Owns two shapes, which may be one and the same.
class CTestArcGroup : public CObject {
    DECLARE_SERIAL(CTestArcGroup)
public:
    CTestArcGroup() { ++g_nArcLiveObjects; }
    ~CTestArcGroup() override {
        if (m_pSecond != m_pFirst) delete m_pSecond;
        delete m_pFirst;
        --g_nArcLiveObjects;
    }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_pFirst << m_pSecond;
        else
            ar >> m_pFirst >> m_pSecond;
    }
    CTestArcShape* m_pFirst = nullptr;
    CTestArcShape* m_pSecond = nullptr;
};
IMPLEMENT_SERIAL(CTestArcGroup, CObject, 1)

class CTestArcVersioned : public CObject {
    DECLARE_SERIAL(CTestArcVersioned)
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsLoading()) m_nLoadedSchema = ar.GetObjectSchema();
    }
    UINT m_nLoadedSchema = 0;
};
IMPLEMENT_SERIAL(CTestArcVersioned, CObject, VERSIONABLE_SCHEMA | 3)

namespace {

using Bytes = std::string;

Bytes B(std::initializer_list<int> values) {
    Bytes bytes;
    for (int v : values) bytes.push_back(static_cast<char>(v));
    return bytes;
}

Bytes Store(const std::function<void(CArchive&)>& write, int nBufSize = 4096) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, nBufSize);
        write(ar);
        ar.Close();
    }
    const size_t length = static_cast<size_t>(file.GetLength());
    BYTE* data = file.Detach();
    Bytes bytes(reinterpret_cast<char*>(data), length);
    std::free(data);
    return bytes;
}

void Load(Bytes bytes, const std::function<void(CArchive&)>& read, int nBufSize = 4096) {
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, nBufSize);
    read(ar);
}

std::optional<int> LoadCause(const Bytes& bytes, const std::function<void(CArchive&)>& read) {
    return ThrownCause<CArchiveException>([&] { Load(bytes, read); });
}

// A new-class record as the archive writes it.
Bytes NewClass(WORD schema, const std::string& name) {
    return B({0xFF, 0xFF, schema & 0xFF, schema >> 8, static_cast<int>(name.size()), 0}) + name;
}

class Archive : public ::testing::Test {
protected:
    void SetUp() override { g_nArcLiveObjects = 0; }
    void TearDown() override { EXPECT_EQ(g_nArcLiveObjects, 0) << "objects leaked or freed twice"; }
};

TEST_F(Archive, CountsUse16BitsBelow0xFFFFAndEscapeAbove) {
    struct Row {
        DWORD count;
        Bytes bytes;
    };
    const Row rows[] = {
        {0, B({0, 0})},
        {0x1234, B({0x34, 0x12})},
        {0xFFFE, B({0xFE, 0xFF})},
        {0xFFFF, B({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
        {0x10000, B({0xFF, 0xFF, 0, 0, 1, 0})},
        {0xFFFFFFFF, B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Store([&](CArchive& ar) { ar.WriteCount(row.count); }), row.bytes) << row.count;
        Load(row.bytes, [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), row.count); });
    }
    EXPECT_EQ(LoadCause(B({0xFF, 0xFF, 1, 0}), [](CArchive& ar) { ar.ReadCount(); }),
              CArchiveException::endOfFile);
}

TEST_F(Archive, StringLengthsUseTheShortAndLongEscapes) {
    struct Row {
        int length;
        Bytes prefix;
    };
    const Row rows[] = {
        {0, B({0})},
        {1, B({1})},
        {254, B({0xFE})},
        {255, B({0xFF, 0xFF, 0})},
        {0xFFFD, B({0xFF, 0xFD, 0xFF})},
        {0xFFFE, B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0})},
        {0x11170, B({0xFF, 0xFF, 0xFF, 0x70, 0x11, 1, 0})},
    };
    for (const Row& row : rows) {
        CString text;
        for (int i = 0; i < row.length; ++i) text += static_cast<char>('a' + i % 26);
        const Bytes bytes = Store([&](CArchive& ar) { ar << text; });
        EXPECT_EQ(bytes.substr(0, row.prefix.size()), row.prefix) << row.length;
        EXPECT_EQ(bytes.size(), row.prefix.size() + row.length);
        CString loaded("old");
        Load(bytes, [&](CArchive& ar) { ar >> loaded; });
        EXPECT_EQ(loaded, text) << row.length;
    }
}

TEST_F(Archive, ReadsUtf16Strings) {
    CString loaded;
    Load(B({0xFF, 0xFE, 0xFF, 3, 'a', 0, 'b', 0, 'c', 0}), [&](CArchive& ar) { ar >> loaded; });
    EXPECT_EQ(loaded, "abc");
}

TEST_F(Archive, DamagedStringLengthsFailWithoutReadingBeyondTheData) {
    struct Row {
        const char* what;
        Bytes bytes;
        int cause;
    };
    const Row rows[] = {
        {"short", B({10, 'a', 'b', 'c'}), CArchiveException::endOfFile},
        {"huge claim", B({0xFF, 0xFF, 0xFF, 0, 0, 0, 0x10, 'a'}), CArchiveException::endOfFile},
        {"beyond any string", B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), CArchiveException::genericException},
        {"two wide markers", B({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0}), CArchiveException::genericException},
        {"no length", B({0xFF, 0x01}), CArchiveException::endOfFile},
    };
    for (const Row& row : rows) {
        CString loaded("kept");
        EXPECT_EQ(LoadCause(row.bytes, [&](CArchive& ar) { ar >> loaded; }), row.cause) << row.what;
        EXPECT_EQ(loaded, "kept") << row.what;
    }
}

TEST_F(Archive, NumbersRoundTripThroughASmallBuffer) {
    const Bytes big(5000, 'q');
    const Bytes bytes = Store([&](CArchive& ar) {
        for (int i = 0; i < 300; ++i) ar << i;
        ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0xBEEF) << static_cast<LONG>(-7) << static_cast<DWORD>(0xDEADBEEF)
           << 2.5f << -1.25 << static_cast<LONGLONG>(-1) << static_cast<ULONGLONG>(1) << true << 'c' << static_cast<short>(-2);
        ar.Write(big.data(), static_cast<UINT>(big.size()));
    }, 128);
    EXPECT_EQ(bytes.size(), 300 * 4 + 1 + 2 + 4 + 4 + 4 + 8 + 8 + 8 + 1 + 1 + 2 + 5000u);
    Load(bytes, [&](CArchive& ar) {
        for (int i = 0; i < 300; ++i) {
            int v;
            ar >> v;
            ASSERT_EQ(v, i);
        }
        BYTE by; WORD w; LONG l; DWORD dw; float f; double d; LONGLONG ll; ULONGLONG ull; bool b; char c; short s;
        ar >> by >> w >> l >> dw >> f >> d >> ll >> ull >> b >> c >> s;
        EXPECT_EQ(by, 0xAB); EXPECT_EQ(w, 0xBEEF); EXPECT_EQ(l, -7); EXPECT_EQ(dw, 0xDEADBEEFu);
        EXPECT_EQ(f, 2.5f); EXPECT_EQ(d, -1.25); EXPECT_EQ(ll, -1); EXPECT_EQ(ull, 1u);
        EXPECT_TRUE(b); EXPECT_EQ(c, 'c'); EXPECT_EQ(s, -2);
        Bytes back(big.size(), '\0');
        EXPECT_EQ(ar.Read(&back[0], static_cast<UINT>(back.size() + 10)), big.size());  // the rest, no more
        EXPECT_EQ(back, big);
    }, 128);
}

TEST_F(Archive, ObjectLayoutNamesAClassOnceAndAnObjectOnce) {
    CTestArcShape first(7, "a");
    CTestArcCircle circle;
    circle.m_nRadius = 3;
    CTestArcShape second(1, "");
    const Bytes bytes = Store([&](CArchive& ar) {
        ar << &first << &first << &circle << &second << static_cast<CObject*>(nullptr);
    });
    const Bytes expected = NewClass(1, "CTestArcShape") + B({7, 0, 0, 0, 1, 'a'})  // class 1, object 2
                           + B({2, 0})                                               // object 2 again
                           + NewClass(1, "CTestArcCircle") + B({0, 0, 0, 0, 0, 3, 0, 0, 0})  // class 3, object 4
                           + B({0x01, 0x80}) + B({1, 0, 0, 0, 0})                    // class 1, object 5
                           + B({0, 0});                                               // null
    EXPECT_EQ(bytes, expected);

    Load(bytes, [](CArchive& ar) {
        CObject *p1, *p2, *p3, *p4, *p5;
        ar >> p1 >> p2 >> p3 >> p4 >> p5;
        EXPECT_EQ(p1, p2);
        EXPECT_EQ(static_cast<CTestArcShape*>(p1)->m_strName, "a");
        ASSERT_TRUE(p3->IsKindOf(RUNTIME_CLASS(CTestArcCircle)));
        EXPECT_EQ(static_cast<CTestArcCircle*>(p3)->m_nRadius, 3);
        EXPECT_EQ(p4->GetRuntimeClass(), RUNTIME_CLASS(CTestArcShape));
        EXPECT_EQ(p5, nullptr);
        delete p1;
        delete p3;
        delete p4;
    });
}

TEST_F(Archive, AnObjectWrittenTwiceIsStoredOnceAndLoadedOnce) {
    CTestArcGroup single, shared;
    single.m_pFirst = new CTestArcShape(5, "shape");
    shared.m_pFirst = shared.m_pSecond = new CTestArcShape(5, "shape");
    const Bytes singleBytes = Store([&](CArchive& ar) { ar << &single; });
    const Bytes sharedBytes = Store([&](CArchive& ar) { ar << &shared; });
    EXPECT_EQ(sharedBytes.size(), singleBytes.size());  // the second pointer is a tag like the null
    Load(sharedBytes, [](CArchive& ar) {
        CTestArcGroup* pGroup = nullptr;
        ar >> pGroup;
        ASSERT_NE(pGroup, nullptr);
        EXPECT_EQ(pGroup->m_pFirst, pGroup->m_pSecond);
        EXPECT_EQ(pGroup->m_pFirst->m_strName, "shape");
        delete pGroup;
    });
}

TEST_F(Archive, IndexesFrom0x7FFFUseThe32BitEscape) {
    CTestArcShape first(1, "");
    CTestArcShape second(2, "");
    const int nFillers = 0x7FFE;  // the map then holds 0x7FFF entries (0 is the null object)
    const Bytes bytes = Store([&](CArchive& ar) {
        for (int i = 0; i < nFillers; ++i) ar.MapObject(nullptr);
        ar << &first << &first << &second;
    });
    const Bytes expected = NewClass(1, "CTestArcShape") + B({1, 0, 0, 0, 0})  // class 0x7FFF, object 0x8000
                           + B({0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00})          // object 0x8000
                           + B({0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80})          // class 0x7FFF | big class bit
                           + B({2, 0, 0, 0, 0});
    EXPECT_EQ(bytes, expected);
    Load(bytes, [&](CArchive& ar) {
        for (int i = 0; i < nFillers; ++i) ar.MapObject(nullptr);
        CObject *p1, *p2, *p3;
        ar >> p1 >> p2 >> p3;
        EXPECT_EQ(p1, p2);
        EXPECT_EQ(static_cast<CTestArcShape*>(p3)->m_nSize, 2);
        delete p1;
        delete p3;
    });
}

TEST_F(Archive, AWrongClassIsRefusedAndNothingLeaks) {
    CTestArcOther other;
    const Bytes otherBytes = Store([&](CArchive& ar) { ar << &other; });
    // A group whose first shape is an object of another class.
    const Bytes groupBytes = Store([&](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CTestArcGroup));
        ar.MapObject(nullptr);  // the group's own index
        ar << &other << static_cast<CObject*>(nullptr);
    });
    struct Row {
        const char* what;
        Bytes bytes;
        std::function<void(CArchive&)> read;
        int cause;
    };
    const Row rows[] = {
        {"requested base", otherBytes, [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CTestArcShape)); },
         CArchiveException::badClass},
        {"typed extraction", otherBytes, [](CArchive& ar) { CTestArcShape* p; ar >> p; }, CArchiveException::badClass},
        {"inside an object", groupBytes, [](CArchive& ar) { CTestArcGroup* p; ar >> p; }, CArchiveException::badClass},
        {"unknown class name", NewClass(1, "CTestArcMissing") + B({0, 0}),
         [](CArchive& ar) { CObject* p; ar >> p; }, CArchiveException::badClass},
        {"class not serializable", otherBytes, [](CArchive& ar) { ar.ReadObject(RUNTIME_CLASS(CMemFile)); },
         CArchiveException::badClass},
        {"reference never written", B({5, 0}), [](CArchive& ar) { CObject* p; ar >> p; }, CArchiveException::badIndex},
        {"class tag never written", B({0x05, 0x80}), [](CArchive& ar) { CObject* p; ar >> p; },
         CArchiveException::badIndex},
        {"class tag naming an object", otherBytes + B({0x02, 0x80}),
         [](CArchive& ar) { CObject* p; ar >> p; delete p; ar >> p; }, CArchiveException::badIndex},
        {"object tag where a class is read", B({1, 0}), [](CArchive& ar) { ar.ReadClass(); },
         CArchiveException::badIndex},
        {"changed schema", NewClass(2, "CTestArcShape") + B({0, 0, 0, 0, 0}),
         [](CArchive& ar) { CObject* p; ar >> p; }, CArchiveException::badSchema},
        {"cut short", otherBytes.substr(0, otherBytes.size() - 3), [](CArchive& ar) { CObject* p; ar >> p; },
         CArchiveException::endOfFile},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LoadCause(row.bytes, row.read), row.cause) << row.what;
        EXPECT_EQ(g_nArcLiveObjects, 1) << row.what << ": only the stored object lives";
    }
}

TEST_F(Archive, VersionableClassesLoadOlderSchemas) {
    CTestArcVersioned* pLoaded = nullptr;
    Load(NewClass(2, "CTestArcVersioned"), [&](CArchive& ar) { ar >> pLoaded; });
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->m_nLoadedSchema, 2u);
    delete pLoaded;
    const Bytes bytes = Store([](CArchive& ar) {
        CTestArcVersioned current;
        ar << &current;
    });
    EXPECT_EQ(bytes, NewClass(3, "CTestArcVersioned"));  // the flag is not stored
}

TEST_F(Archive, ClassesRoundTripWithTheirSchema) {
    const Bytes bytes = Store([](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CTestArcCircle));
        ar.WriteClass(RUNTIME_CLASS(CTestArcCircle));
        ar.WriteClass(RUNTIME_CLASS(CTestArcVersioned));
    });
    EXPECT_EQ(bytes, NewClass(1, "CTestArcCircle") + B({0x01, 0x80}) + NewClass(3, "CTestArcVersioned"));
    Load(bytes, [](CArchive& ar) {
        UINT schema = 0;
        EXPECT_EQ(ar.ReadClass(RUNTIME_CLASS(CTestArcShape), &schema), RUNTIME_CLASS(CTestArcCircle));
        EXPECT_EQ(schema, 1u);
        EXPECT_EQ(ar.ReadClass(), RUNTIME_CLASS(CTestArcCircle));
        EXPECT_EQ(ThrownCause<CArchiveException>([&] { ar.ReadClass(RUNTIME_CLASS(CTestArcShape)); }),
                  CArchiveException::badClass);
    });
    EXPECT_EQ(ThrownCause<CArchiveException>([] { Store([](CArchive& ar) { ar.WriteClass(RUNTIME_CLASS(CMemFile)); }); }),
              CArchiveException::badClass);
}

TEST_F(Archive, FillBufferLetsAReaderPeek) {
    const Bytes bytes = Store([](CArchive& ar) { ar << static_cast<DWORD>(0x0FF0ADBF) << static_cast<DWORD>(23); });
    Load(bytes, [](CArchive& ar) {
        ar.FillBuffer(4);
        ASSERT_GE(ar.m_lpBufMax - ar.m_lpBufCur, 4);
        DWORD peeked;
        std::memcpy(&peeked, ar.m_lpBufCur, 4);
        EXPECT_EQ(peeked, 0x0FF0ADBFu);
        DWORD magic, schema;
        ar >> magic >> schema;  // nothing was consumed by the peek
        EXPECT_EQ(magic, 0x0FF0ADBFu);
        EXPECT_EQ(schema, 23u);
        ar.FillBuffer(4);  // at the end: no bytes, no exception
        EXPECT_EQ(ar.m_lpBufMax, ar.m_lpBufCur);
    });
}

TEST_F(Archive, ClosingALoadingArchiveLeavesTheFileAtTheReadPosition) {
    Bytes bytes = B({1, 2, 3, 4, 5, 6});
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    {
        CArchive ar(&file, CArchive::load);
        BYTE first, second;
        ar >> first >> second;
        ar.Close();
    }
    EXPECT_EQ(file.GetPosition(), 2u);
    {
        CArchive ar(&file, CArchive::load);
        BYTE third;
        ar >> third;
        EXPECT_EQ(third, 3);
    }
}

TEST_F(Archive, AbortWritesNothingFurther) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << 1;
        ar.Abort();
    }
    EXPECT_EQ(file.GetLength(), 0u);
    {
        CArchive ar(&file, CArchive::store);
        ar << 1;
    }  // the destructor flushes
    EXPECT_EQ(file.GetLength(), 4u);
}

}  // namespace
