// The edit control's paint of one screen of a 5 MB C buffer, paged through from top to bottom,
// against a plain ExtTextOut of the same rows in the same font into a memory DC of the same size.
#include "BenchTiming.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/SyntaxEditPaintManager.h"

#include <cstdio>
#include <string>

namespace {

std::string MakeCSource(size_t nBytes) {
    std::string text;
    for (int i = 0; text.size() < nBytes; ++i) {
        const std::string n = std::to_string(i);
        text += "/* Field " + n + " of the packet. */\nstruct field_" + n + " {\n\tint value;\n\tchar name[32];\n};\n"
                "static int read_field_" + n + "(const char* p, struct field_" + n + "* f)\n{\n"
                "\tif (!p || !f) return -1;\n\tf->value = atoi(p); /* the value */\n\treturn 0;\n}\n\n";
    }
    return text;
}

}  // namespace

int main() {
    const std::string text = MakeCSource(5u << 20);
    auto* pBuffer = new CKLVSyntaxEditBufferManager;
    {
        CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(text.data())), static_cast<UINT>(text.size()));
        CArchive ar(&file, CArchive::load);
        pBuffer->Serialize(ar);
    }
    CWnd parent;
    parent.Attach(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr));
    CKLVSyntaxEditCtrl ctrl;
    ctrl.Create(&parent, FALSE, FALSE, pBuffer);
    pBuffer->InternalRelease();
    ctrl.MoveWindow(0, 0, 800, 600);
    ctrl.RecalcLayout();

    CClientDC screen(nullptr);
    CDC dc;
    CBitmap bitmap;
    dc.CreateCompatibleDC(&screen);
    bitmap.CreateCompatibleBitmap(&screen, 800, 600);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    const int nRows = ctrl.GetRowCount(), nPage = ctrl.GetVisibleRowCount(), nPages = 200;
    const int nStep = std::max((nRows - nPage) / nPages, 1);

    const double control = BestSeconds([&] {
        for (int nTop = 1; nTop + nPage <= nRows && nTop < nPages * nStep; nTop += nStep) {
            ctrl.SetTopRow(nTop);
            ctrl.Draw(&dc);
        }
    });
    const double textout = BestSeconds([&] {
        CFont* pOldFont = dc.SelectObject(GetPaintManager()->GetTextFont());
        CString strRow;
        for (int nTop = 1; nTop + nPage <= nRows && nTop < nPages * nStep; nTop += nStep) {
            dc.FillSolidRect(0, 0, 800, 600, RGB(255, 255, 255));
            for (int i = 0; i <= nPage; ++i) {
                pBuffer->GetLineText(nTop + i, strRow);
                dc.ExtTextOut(ctrl.GetTextLeftOffset(), i * ctrl.GetRowHeight(), 0, nullptr, strRow,
                              static_cast<UINT>(strRow.GetLength()), nullptr);
            }
        }
        dc.SelectObject(pOldFont);
    });
    dc.SelectObject(pOld);
    std::printf("rows=%d screen_rows=%d pages=%d\n", nRows, nPage, nPages);
    std::printf("control_paint_ms=%.3f textout_paint_ms=%.3f paint_ratio_vs_textout=%.3f\n",
                control * 1000 / nPages, textout * 1000 / nPages, control / textout);
    ctrl.DestroyWindow();
    ::DestroyWindow(parent.Detach());
    return 0;
}
