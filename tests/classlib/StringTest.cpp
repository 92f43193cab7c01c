// CString: extraction, search, editing, formatting and buffer access at their edges.
#include "classlib/ClassLib.h"

#include "ThrownException.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(String, ExtractionClampsToTheText) {
    const CString s("Hello");
    struct Row {
        const char* call;
        CString result;
        const char* expected;
    };
    const Row rows[] = {
        {"Mid(1)", s.Mid(1), "ello"},        {"Mid(5)", s.Mid(5), ""},
        {"Mid(9)", s.Mid(9), ""},            {"Mid(-3)", s.Mid(-3), "Hello"},
        {"Mid(1,3)", s.Mid(1, 3), "ell"},    {"Mid(1,99)", s.Mid(1, 99), "ello"},
        {"Mid(2,0)", s.Mid(2, 0), ""},       {"Mid(2,-1)", s.Mid(2, -1), ""},
        {"Mid(-2,3)", s.Mid(-2, 3), "Hel"},  {"Mid(4,0x7fffffff)", s.Mid(4, 0x7fffffff), "o"},
        {"Left(2)", s.Left(2), "He"},        {"Left(0)", s.Left(0), ""},
        {"Left(-1)", s.Left(-1), ""},        {"Left(10)", s.Left(10), "Hello"},
        {"Right(2)", s.Right(2), "lo"},      {"Right(0)", s.Right(0), ""},
        {"Right(-1)", s.Right(-1), ""},      {"Right(10)", s.Right(10), "Hello"},
    };
    for (const Row& row : rows) EXPECT_EQ(row.result, row.expected) << row.call;
}

TEST(String, FindReportsPositionsOrMinusOne) {
    const CString s("abcabc");
    struct Row {
        const char* call;
        int result;
        int expected;
    };
    const Row rows[] = {
        {"Find('b')", s.Find('b'), 1},           {"Find('b',2)", s.Find('b', 2), 4},
        {"Find('b',5)", s.Find('b', 5), -1},     {"Find('b',6)", s.Find('b', 6), -1},
        {"Find('b',-1)", s.Find('b', -1), -1},   {"Find('z')", s.Find('z'), -1},
        {"Find(\"ca\")", s.Find("ca"), 2},       {"Find(\"abc\",1)", s.Find("abc", 1), 3},
        {"Find(\"abc\",4)", s.Find("abc", 4), -1}, {"Find(\"\",6)", s.Find("", 6), 6},
        {"Find(\"\",7)", s.Find("", 7), -1},     {"Find(\"bc\",-1)", s.Find("bc", -1), -1},
        {"Find(null)", s.Find(static_cast<LPCSTR>(nullptr)), -1},
        {"ReverseFind('a')", s.ReverseFind('a'), 3}, {"ReverseFind('z')", s.ReverseFind('z'), -1},
        {"FindOneOf(\"xc\")", s.FindOneOf("xc"), 2}, {"FindOneOf(\"\")", s.FindOneOf(""), -1},
        {"empty Find('a')", CString().Find('a'), -1}, {"empty ReverseFind", CString().ReverseFind('a'), -1},
    };
    for (const Row& row : rows) EXPECT_EQ(row.result, row.expected) << row.call;
}

TEST(String, ReplaceRemoveInsertDelete) {
    struct Row {
        const char* start;
        int (*edit)(CString&);
        int result;
        const char* expected;
    };
    const Row rows[] = {
        {"a.b.c", [](CString& s) { return s.Replace('.', '/'); }, 2, "a/b/c"},
        {"aaaa", [](CString& s) { return s.Replace("aa", "b"); }, 2, "bb"},
        {"aaa", [](CString& s) { return s.Replace("aa", "b"); }, 1, "ba"},
        {"abab", [](CString& s) { return s.Replace("ab", "abab"); }, 2, "abababab"},
        {"abc", [](CString& s) { return s.Replace("", "x"); }, 0, "abc"},
        {"abc", [](CString& s) { return s.Replace("b", ""); }, 1, "ac"},
        {"abc", [](CString& s) { return s.Replace("z", "y"); }, 0, "abc"},
        {"a-b-c", [](CString& s) { return s.Remove('-'); }, 2, "abc"},
        {"abc", [](CString& s) { return s.Insert(1, "XY"); }, 5, "aXYbc"},
        {"abc", [](CString& s) { return s.Insert(-4, 'X'); }, 4, "Xabc"},
        {"abc", [](CString& s) { return s.Insert(99, 'X'); }, 4, "abcX"},
        {"abcdef", [](CString& s) { return s.Delete(1, 2); }, 4, "adef"},
        {"abcdef", [](CString& s) { return s.Delete(4, 99); }, 4, "abcd"},
        {"abcdef", [](CString& s) { return s.Delete(9); }, 6, "abcdef"},
        {"abcdef", [](CString& s) { return s.Delete(-1, 2); }, 4, "cdef"},
        {"abcdef", [](CString& s) { return s.Delete(2, -1); }, 6, "abcdef"},
    };
    for (const Row& row : rows) {
        CString s(row.start);
        EXPECT_EQ(row.edit(s), row.result) << row.start << " -> " << row.expected;
        EXPECT_EQ(s, row.expected);
    }
}

TEST(String, AppendsIncludingItself) {
    CString s("ab");
    s += s;
    EXPECT_EQ(s, "abab");
    s += static_cast<LPCSTR>(s) + 2;  // a tail of itself, while the block grows
    EXPECT_EQ(s, "ababab");
    s += 'c';
    EXPECT_EQ(s, "ababab" "c");
    EXPECT_EQ(CString("x") + "y" + 'z' + CString("!"), "xyz!");
    EXPECT_EQ('<' + CString("a") + '>', "<a>");
    CString grown;
    for (int i = 0; i < 1000; ++i) grown += "0123456789";
    EXPECT_EQ(grown.GetLength(), 10000);
    EXPECT_EQ(grown.Right(3), "789");
}

TEST(String, FormatsAnyLength) {
    CString s;
    s.Format("%d-%s-%05.1f-%c-%x", 42, "txt", 3.14159, 'q', 255u);
    EXPECT_EQ(s, "42-txt-003.1-q-ff");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
    const std::string big(5000, 'w');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(s.Left(2), "[w");
    s.Format("%lld %lld %zu", 1234567890123LL, static_cast<long long>(-5), static_cast<size_t>(7));
    EXPECT_EQ(s, "1234567890123 -5 7");
}

TEST(String, FormatMayUseItsOwnText) {
    CString s("ab");
    s.Format("%s|%s", static_cast<LPCSTR>(s), static_cast<LPCSTR>(s));
    EXPECT_EQ(s, "ab|ab");
    s.AppendFormat("+%d", 7);
    EXPECT_EQ(s, "ab|ab+7");
    s.AppendFormat("%s", static_cast<LPCSTR>(s));
    EXPECT_EQ(s, "ab|ab+7ab|ab+7");
}

TEST(String, BufferAccess) {
    CString s("abc");
    char* p = s.GetBuffer(11);
    std::strcpy(p, "longer text");  // 11 characters and the terminator fit
    s.ReleaseBuffer();
    EXPECT_EQ(s, "longer text");
    p = s.GetBuffer(0);
    p[3] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, "lon");
    s.GetBufferSetLength(5)[4] = 'z';
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_EQ(s[4], 'z');
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, "lo");
    CString empty;
    empty.GetBuffer()[0] = '\0';  // even an empty string gives a writable buffer
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());
    s.FreeExtra();
    EXPECT_EQ(s, "lo");
}

TEST(String, IndexOutsideTheTextThrows) {
    CString s("ab");
    EXPECT_EQ(s.GetAt(1), 'b');
    for (int index : {-1, 2, 100}) {
        EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.GetAt(index); })) << index;
        EXPECT_TRUE(Throws<CInvalidArgException>([&] { s.SetAt(index, 'x'); })) << index;
        EXPECT_TRUE(Throws<CInvalidArgException>([&] { (void)s[index]; })) << index;
    }
    EXPECT_EQ(s, "ab");
}

TEST(String, TokenizeSkipsDelimiterRuns) {
    const CString s(",,a,bc;;d,");
    std::vector<std::string> tokens;
    int pos = 0;
    for (CString token = s.Tokenize(",;", pos); pos != -1; token = s.Tokenize(",;", pos))
        tokens.push_back(static_cast<LPCSTR>(token));
    EXPECT_EQ(tokens, (std::vector<std::string>{"a", "bc", "d"}));
    pos = 0;
    EXPECT_TRUE(CString(",,").Tokenize(",", pos).IsEmpty());
    EXPECT_EQ(pos, -1);
}

}  // namespace
