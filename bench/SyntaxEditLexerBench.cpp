// The background lexer's full parse of 5 MB of C shaped like a generated "<name>_api.c"
// (structs, encoder functions with string literals, comments, preprocessor lines), in MB/s
// against a plain table-driven C tokenizer over the same bytes; and the on-screen parse of 50
// rows in the middle of the text. It prints a digest of the block chain and the fold regions
// of the full parse: a faster lexer must print the same digest as the one before it.
#include "BenchTiming.h"
#include "GeneratedCText.h"
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"
#include "toolkit/syntaxedit/text/SyntaxEditTextIterator.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditLexTextSchema.h"
#include "toolkit/syntaxedit/lexer/SyntaxEditSchemaFileStore.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// One class per byte, then a state machine per token kind.
enum CharKind : unsigned char { kOther, kSpace, kIdent, kDigit, kQuote, kApos, kSlash, kHash, kNewline };

struct Table {
    unsigned char kind[256] = {};
    Table() {
        for (int c = 0; c < 256; ++c) {
            kind[c] = (c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) ? kIdent
                      : (c >= '0' && c <= '9')                                      ? kDigit
                      : (c == ' ' || c == '\t' || c == '\r')                        ? kSpace
                                                                                    : kOther;
        }
        kind[static_cast<unsigned char>('"')] = kQuote;
        kind[static_cast<unsigned char>('\'')] = kApos;
        kind[static_cast<unsigned char>('/')] = kSlash;
        kind[static_cast<unsigned char>('#')] = kHash;
        kind[static_cast<unsigned char>('\n')] = kNewline;
    }
};

size_t Tokenize(const std::string& text) {
    static const Table table;
    const char* p = text.data();
    const char* const end = p + text.size();
    size_t nTokens = 0;
    auto kind = [&](const char* q) { return table.kind[static_cast<unsigned char>(*q)]; };
    while (p < end) {
        const unsigned char k = kind(p);
        const char* q = p + 1;
        if (k == kIdent || k == kDigit) {
            while (q < end && (kind(q) == kIdent || kind(q) == kDigit)) ++q;
        } else if (k == kQuote || k == kApos) {
            while (q < end && *q != *p && *q != '\n') q += (*q == '\\') ? 2 : 1;
            ++q;
        } else if (k == kSlash && q < end && *q == '/') {
            while (q < end && *q != '\n') ++q;
        } else if (k == kSlash && q < end && *q == '*') {
            while (q + 1 < end && !(q[0] == '*' && q[1] == '/')) ++q;
            q += 2;
        } else if (k == kHash) {
            while (q < end && *q != '\n') ++q;
        }
        nTokens += k != kSpace && k != kNewline;
        p = std::min(q, end);
    }
    return nTokens;
}

// FNV-1a over every block (class, start, end, extents, parent's start) and every fold region.
struct ChainDigest {
    uint64_t nHash = 14695981039346656037ull;
    int nBlocks = 0;
    size_t nFolds = 0;

    void Add(const void* p, size_t n) {
        for (size_t i = 0; i < n; ++i) nHash = (nHash ^ static_cast<const unsigned char*>(p)[i]) * 1099511628211ull;
    }
    void Add(const CString& str) { Add(str.GetString(), static_cast<size_t>(str.GetLength()) + 1); }
    void Add(const CKLVSyntaxEditPosition& pos) {
        Add(&pos.nLine, sizeof pos.nLine);
        Add(&pos.nCol, sizeof pos.nCol);
    }

    explicit ChainDigest(CKLVSyntaxEditLexTextSchema* pSchema) {
        for (CKLVSyntaxEditLexTextBlock* p = pSchema->GetFirstBlock().Get(); p; p = p->m_pNext.Get(), ++nBlocks) {
            Add(p->m_pClass ? p->m_pClass->GetName() : CString("?"));
            Add(p->m_posStart);
            Add(p->m_posEnd);
            Add(&p->m_nStartExtent, sizeof p->m_nStartExtent);
            Add(&p->m_nEndExtent, sizeof p->m_nEndExtent);
            Add(p->m_pParent ? p->m_pParent->m_posStart : CKLVSyntaxEditPosition());
        }
        std::vector<CKLVSyntaxEditCollapsedBlock> arFolds;
        pSchema->GetFoldRegions(nullptr, -1, arFolds);
        for (const CKLVSyntaxEditCollapsedBlock& fold : arFolds) {
            Add(fold.lcStart);
            Add(fold.lcEnd);
            Add(fold.strCollapsedText);
        }
        nFolds = arFolds.size();
    }
};

CKLVSmartPtr<CKLVSyntaxEditLexTextSchema> MakeSchema() {
    CKLVSyntaxEditSchemaFileStore store;
    store.LoadSchemaFile(KELVANE_SOURCE_DIR "/runtime/config/lexer/C.lex", FALSE);
    auto pSchema = KLVMakeCounted<CKLVSyntaxEditLexTextSchema>("C");
    CKLVSyntaxEditLexClassTree& tree = pSchema->GetClassTree();
    for (const CKLVSyntaxEditLexClassInfo& info : store.GetCurrentBlocks()) {
        auto pClass = KLVMakeCounted<CKLVSyntaxEditLexClass>();
        pClass->SetName(info.m_strName);
        for (const CKLVSyntaxEditLexClassProperty& prop : info.m_arProperties) pClass->ApplyProperty(prop);
        tree.AddClass(pClass.Get());
    }
    tree.Build();
    return pSchema;
}

}  // namespace

int main() {
    const std::string text = MakeApiSource(5u << 20);
    const double dMB = static_cast<double>(text.size()) / (1 << 20);
    auto* pBuffer = new CKLVSyntaxEditBufferManager;
    {
        CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(text.data())), static_cast<UINT>(text.size()));
        CArchive ar(&file, CArchive::load);
        pBuffer->Serialize(ar);
    }
    pBuffer->SetFileName(".c");
    auto pSchema = MakeSchema();
    const double lexer = BestSeconds([&] {
        pSchema->ResetBlocks();
        CKLVSyntaxEditTextIterator iter(pBuffer);
        const CKLVSyntaxEditPosition top(1, 0);
        pSchema->Parse(TRUE, &iter, &top, nullptr, FALSE);
    });
    size_t nTokens = 0;
    const double tokenizer = BestSeconds([&] { nTokens = Tokenize(text); });
    const int nMiddle = pBuffer->GetRowCount() / 2;
    const double screen = BestSeconds([&] {
        CKLVSyntaxEditTextIterator iter(pBuffer);
        CKLVLexBlockPtr pHead;
        pSchema->ParseScreenLines(&iter, nMiddle, nMiddle + 49, pHead);
        CKLVSyntaxEditLexBlockChain::CloseChain(pHead.Get());
    });
    std::printf("text_mb=%.2f rows=%d tokens=%zu\n", dMB, pBuffer->GetRowCount(), nTokens);
    std::printf("lexer_mb_per_s=%.2f tokenizer_mb_per_s=%.2f ratio_vs_tokenizer=%.4f\n", dMB / lexer,
                dMB / tokenizer, tokenizer / lexer);
    std::printf("screen_parse_50_rows_ms=%.3f\n", screen * 1000);
    const ChainDigest digest(pSchema.Get());
    std::printf("chain_digest=%016llx blocks=%d folds=%zu\n", static_cast<unsigned long long>(digest.nHash),
                digest.nBlocks, digest.nFolds);
    pSchema->Close();
    pBuffer->InternalRelease();
    return 0;
}
