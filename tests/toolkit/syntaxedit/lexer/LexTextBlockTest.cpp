// Text blocks: closing children and chains, orphans, and blocks following edits.
#include "LexTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

typedef CKLVSyntaxEditPosition Pos;

// A chain of blocks in the given order; each block (start, start extent, end, end extent,
// index of its parent or -1).
struct BlockSpec {
    Pos start;
    int startExtent;
    Pos end;
    int endExtent;
    int parent;
};

struct Chain {
    std::vector<CKLVLexBlockPtr> blocks;
    explicit Chain(const std::vector<BlockSpec>& specs) {
        for (const BlockSpec& spec : specs) {
            CKLVLexBlockPtr p = KLVMakeCounted<CKLVSyntaxEditLexTextBlock>();
            p->m_posStart = spec.start;
            p->m_nStartExtent = spec.startExtent;
            p->m_posEnd = spec.end;
            p->m_nEndExtent = spec.endExtent;
            if (spec.parent >= 0) {
                p->m_pParent = blocks[spec.parent];
                blocks[spec.parent]->m_pLastChild = p;
            }
            if (!blocks.empty()) {
                p->m_pPrev = blocks.back();
                blocks.back()->m_pNext = p;
            }
            blocks.push_back(p);
        }
    }
    ~Chain() { CKLVSyntaxEditLexBlockChain::CloseChain(blocks[0].Get()); }
    CKLVSyntaxEditLexTextBlock* operator[](size_t i) { return blocks[i].Get(); }
};

std::string Span(const CKLVSyntaxEditLexTextBlock* p) {
    std::string span = std::to_string(p->m_posStart.nLine) + "," + std::to_string(p->m_posStart.nCol) + "-";
    return span + (p->IsOpen() ? "open" : std::to_string(p->m_posEnd.nLine) + "," + std::to_string(p->m_posEnd.nCol));
}

// F the file, B a comment "/*" at 2,4 to "*/" ending 4,1, C a token "int" at 6,2, D at 8,0,
// and E, out of order, at 6,9 to show where the walk stops.
std::vector<BlockSpec> EditChain() {
    return {{Pos(1, 0), 0, Pos(20, 0), 0, -1}, {Pos(2, 4), 2, Pos(4, 1), 1, 0}, {Pos(6, 2), 3, Pos(6, 4), 2, 0},
            {Pos(8, 0), 1, Pos(8, 3), 0, 0},   {Pos(6, 9), 1, Pos(6, 9), 0, 0}};
}

TEST(LexTextBlock, BlocksFollowEdits) {
    const struct {
        const char* what;
        Pos s, e;
        int kind;
        int flags;
        const char* spans;   // F B C D E
    } cases[] = {
        {"typing in B's start tag", Pos(2, 5), Pos(2, 6), 1, 0x102, "1,0-20,0 2,4-2,3 6,2-6,4 8,0-8,3 6,9-6,9"},
        {"deleting B's start", Pos(2, 0), Pos(2, 6), 2, 0x102, "1,0-20,0 2,4-2,3 6,2-6,4 8,0-8,3 6,9-6,9"},
        {"deleting a line of B", Pos(3, 0), Pos(4, 0), 2, 0x100, "1,0-19,0 2,4-3,1 5,2-5,4 7,0-7,3 5,9-5,9"},
        {"typing on B's end line", Pos(4, 0), Pos(4, 3), 1, 0x100, "1,0-20,0 2,4-4,4 6,2-6,4 8,0-8,3 6,9-6,9"},
        {"typing in B's end tag", Pos(4, 1), Pos(4, 2), 1, 0x102, "1,0-20,0 2,4-open 6,2-6,4 8,0-8,3 6,9-6,9"},
        {"typing before C", Pos(6, 0), Pos(6, 3), 1, 0, "1,0-20,0 2,4-4,1 6,5-6,7 8,0-8,3 6,9-6,9"},
        {"inserting two lines", Pos(1, 5), Pos(3, 0), 1, 0x100, "1,0-22,0 4,4-6,1 8,2-8,4 10,0-10,3 8,9-8,9"},
        {"deleting C", Pos(6, 0), Pos(6, 7), 2, 0x2, "1,0-20,0 2,4-4,1 6,2-6,1 8,0-8,3 6,9-6,9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Chain chain(EditChain());
        CMutex lock;
        EXPECT_EQ(c.flags, CKLVSyntaxEditLexBlockChain::UpdateBlocksOnEdit(chain[0], c.s, c.e, c.kind, &lock));
        std::string spans;
        for (size_t i = 0; i < chain.blocks.size(); ++i) spans += (i ? " " : "") + Span(chain[i]);
        EXPECT_EQ(c.spans, spans);
    }
    EXPECT_EQ(0, CKLVSyntaxEditLexBlockChain::UpdateBlocksOnEdit(nullptr, Pos(1, 0), Pos(1, 1), 1, nullptr));
}

TEST(LexTextBlock, OpenChildrenTakeTheParentsEnd) {
    // P with children c1 (open), c2 (closed) and c3 (open, with the open child g).
    Chain chain({{Pos(1, 0), 0, Pos(9, 0), 0, -1}, {Pos(2, 0), 0, Pos(), 0, 0}, {Pos(3, 0), 0, Pos(3, 5), 0, 0},
                 {Pos(4, 0), 0, Pos(), 0, 0}, {Pos(5, 0), 0, Pos(), 0, 3}});
    CKLVSyntaxEditLexBlockChain::CloseOpenEnds(chain[1], chain[4], nullptr);
    EXPECT_EQ("2,0-9,0 4,0-9,0 5,0-9,0", Span(chain[1]) + " " + Span(chain[3]) + " " + Span(chain[4]));
    for (size_t i : {1, 3, 4}) chain[i]->m_posEnd.Clear();
    FakeSchema schema;
    EXPECT_EQ(3, chain[0]->CloseOpenChildren(&schema));
    EXPECT_EQ(3, schema.nStored);
    EXPECT_EQ("2,0-9,0 3,0-3,5 4,0-9,0 5,0-9,0",
              Span(chain[1]) + " " + Span(chain[2]) + " " + Span(chain[3]) + " " + Span(chain[4]));
}

TEST(LexTextBlock, OrphansFindTheirEnclosingBlockAndChainsClose) {
    Chain chain({{Pos(1, 0), 0, Pos(9, 0), 0, -1}, {Pos(2, 0), 0, Pos(6, 0), 0, 0}, {Pos(3, 0), 0, Pos(5, 0), 0, 1},
                 {Pos(4, 0), 0, Pos(4, 2), 0, 2}, {Pos(7, 0), 0, Pos(7, 1), 0, 0}});
    // The block at 4,0 lost its parent to a closed chain.
    CKLVLexBlockPtr pGone = KLVMakeCounted<CKLVSyntaxEditLexTextBlock>();
    EXPECT_TRUE(pGone->IsClosed());
    chain[3]->m_pParent = pGone;
    CKLVSyntaxEditLexBlockChain::ReparentOrphans(chain[0], nullptr);
    EXPECT_EQ(chain[2], chain[3]->m_pParent.Get());
    EXPECT_EQ(chain[0], chain[4]->m_pParent.Get());
    EXPECT_EQ(chain[3], CKLVSyntaxEditLexBlockChain::FindBlock(chain[0], Pos(4, 1), nullptr).Get());

    CKLVSyntaxEditLexBlockChain::CloseChain(chain[0]);
    for (size_t i = 0; i < chain.blocks.size(); ++i) {
        EXPECT_TRUE(chain[i]->IsClosed());
        EXPECT_EQ(1, chain[i]->GetRefCount());
    }
}

}  // namespace
