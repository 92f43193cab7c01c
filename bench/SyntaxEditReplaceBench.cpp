// Replacing the whole text of an editor buffer (delete everything, insert the new text, with
// undo recorded) against loading the same bytes from a memory file, for 1, 5 and 10 MB of
// generated C (about 30 bytes a row). Both should grow linearly: the times per MB stay flat,
// and so does the ratio of replacing to loading.
#include "BenchTiming.h"
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr int kSizesMB[] = {1, 5, 10};

std::string MakeText(size_t nBytes) {
    std::string text;
    text.reserve(nBytes + 64);
    for (int i = 0; text.size() < nBytes; ++i) text += "    value_" + std::to_string(i) + " = f(x);\r\n";
    return text;
}

void Replace(CKLVSyntaxEditBufferManager& buffer, const std::string& text) {
    const int nLastRow = buffer.GetRowCount() - 1;
    if (nLastRow > 0) {
        CString strLast;
        buffer.GetLineText(nLastRow, strLast);
        buffer.DeleteText(1, 1, nLastRow, strLast.GetLength() + 1);
    }
    buffer.InsertText(text.c_str(), 1, 1);
}

void Load(CKLVSyntaxEditBufferManager& buffer, const std::string& text) {
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(text.data())), static_cast<UINT>(text.size()));
    CArchive ar(&file, CArchive::load);
    buffer.Serialize(ar);
}

}  // namespace

int main() {
    std::printf("%8s %8s %14s %14s %8s\n", "MB", "rows", "replace ms/MB", "load ms/MB", "ratio");
    for (int nMB : kSizesMB) {
        const std::string text = MakeText(static_cast<size_t>(nMB) << 20);
        auto* pBuffer = new CKLVSyntaxEditBufferManager;
        Load(*pBuffer, "old text\r\nof the editor\r\n");
        const double replace = BestSeconds([&] { Replace(*pBuffer, text); });
        const int nRows = pBuffer->GetRowCount() - 1;
        const double load = BestSeconds([&] { Load(*pBuffer, text); });
        pBuffer->InternalRelease();
        std::printf("%8d %8d %14.1f %14.1f %8.2f\n", nMB, nRows, replace * 1000 / nMB, load * 1000 / nMB, replace / load);
    }
    return 0;
}
