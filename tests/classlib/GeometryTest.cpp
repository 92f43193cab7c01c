// CPoint, CSize and CRect: the arithmetic that layout code leans on.
#include "classlib/ClassLib.h"

#include <gtest/gtest.h>

namespace {

TEST(Geometry, RectangleOperations) {
    struct Row {
        const char* what;
        CRect result;
        CRect expected;
    };
    const CRect a(0, 0, 10, 10), b(5, 5, 20, 20), apart(30, 30, 40, 40);
    const Row rows[] = {
        {"intersect", a & b, CRect(5, 5, 10, 10)},
        {"intersect apart", a & apart, CRect(0, 0, 0, 0)},
        {"union", a | b, CRect(0, 0, 20, 20)},
        {"offset by point", a + CPoint(1, 2), CRect(1, 2, 11, 12)},
        {"offset by size", a - CSize(1, 2), CRect(-1, -2, 9, 8)},
        {"inflate by rect", a + CRect(1, 2, 3, 4), CRect(-1, -2, 13, 14)},
        {"deflate by rect", a - CRect(1, 2, 3, 4), CRect(1, 2, 7, 6)},
    };
    for (const Row& row : rows) EXPECT_EQ(row.result, row.expected) << row.what;

    CRect r(a);
    r.InflateRect(2, 3);
    EXPECT_EQ(r, CRect(-2, -3, 12, 13));
    r.DeflateRect(1, 1, 2, 2);
    EXPECT_EQ(r, CRect(-1, -2, 10, 11));
    r.MoveToXY(100, 200);
    EXPECT_EQ(r, CRect(100, 200, 111, 213));
    CRect sub;
    EXPECT_TRUE(sub.SubtractRect(CRect(0, 0, 10, 10), CRect(5, 0, 10, 10)));
    EXPECT_EQ(sub, CRect(0, 0, 5, 10));
}

TEST(Geometry, PointsAndSizes) {
    CPoint p(3, 4);
    p += CSize(1, 1);
    EXPECT_EQ(p, CPoint(4, 5));
    EXPECT_EQ(p - CPoint(1, 2), CSize(3, 3));
    EXPECT_EQ(-p, CPoint(-4, -5));
    EXPECT_EQ(CSize(2, 3) + CSize(1, 1), CSize(3, 4));
    // A packed mouse position carries signed halves.
    EXPECT_EQ(CPoint(static_cast<LPARAM>(MAKELONG(static_cast<WORD>(-5), 7))), CPoint(-5, 7));
}

}  // namespace
