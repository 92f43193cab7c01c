// Replacing the whole text, 1, 5 and 10 MB of generated C (about 30 bytes a row):
// - in an editor buffer (delete everything, insert the new text, undo recorded) against loading
//   the same bytes from a memory file; both should grow linearly, so the times per MB stay flat;
// - in an edit control the way a user replaces a tab's text (select all, delete, insert) against
//   the system's rich edit control given the same text in the same run: replace_scaling= is the
//   control's 10 MB time over its 1 MB time (10 is linear), ratio_vs_richedit= ours over theirs
//   at 1 MB.
#include "BenchTiming.h"
#include "GeneratedCText.h"
#include "WinBenchReport.h"
#include "toolkit/syntaxedit/SyntaxEditCtrl.h"
#include "toolkit/syntaxedit/text/SyntaxEditBufferManager.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kSizesMB[] = {1, 5, 10};

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

HWND CreatePopup() {
    return ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
}

// Our edit control in a shown window, as a tab holds it.
class CControlHost {
public:
    CControlHost() {
        m_parent.Attach(CreatePopup());
        auto* pBuffer = new CKLVSyntaxEditBufferManager;
        Load(*pBuffer, "old text\r\nof the editor\r\n");
        m_ctrl.Create(&m_parent, TRUE, TRUE, pBuffer);
        pBuffer->InternalRelease();
        m_ctrl.MoveWindow(0, 0, 800, 600);
        m_ctrl.ShowWindow(SW_SHOW);
    }
    ~CControlHost() {
        m_ctrl.DestroyWindow();
        ::DestroyWindow(m_parent.Detach());
    }
    void Replace(const std::string& text) {
        m_ctrl.SelectAll();
        m_ctrl.DeleteSelection();
        m_ctrl.InsertText(text.c_str(), 1, 1);
        m_ctrl.UpdateWindow();
    }

private:
    CWnd m_parent;
    CKLVSyntaxEditCtrl m_ctrl;
};

// The system's rich edit control in a shown window, its limit raised above the largest text.
class CRichEditHost {
public:
    CRichEditHost() {
        m_hLibrary = ::LoadLibraryA("riched20.dll");
        m_hParent = CreatePopup();
        m_hEdit = ::CreateWindowExA(0, RICHEDIT_CLASSA, "old text\r\nof the editor\r\n",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 0, 0, 800, 600,
                                    m_hParent, nullptr, nullptr, nullptr);
        ::SendMessageA(m_hEdit, EM_EXLIMITTEXT, 0, 64 << 20);
    }
    ~CRichEditHost() {
        ::DestroyWindow(m_hParent);
        if (m_hLibrary) ::FreeLibrary(m_hLibrary);
    }
    bool IsValid() const { return m_hEdit != nullptr; }
    void Replace(const std::string& text) {
        ::SendMessageA(m_hEdit, EM_SETSEL, 0, -1);
        ::SendMessageA(m_hEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
        ::SendMessageA(m_hEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        ::UpdateWindow(m_hEdit);
    }
    int GetLength() const { return static_cast<int>(::SendMessageA(m_hEdit, WM_GETTEXTLENGTH, 0, 0)); }

private:
    HMODULE m_hLibrary = nullptr;
    HWND m_hParent = nullptr;
    HWND m_hEdit = nullptr;
};

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CBenchReport report("syntaxedit_replace_bench");
    std::printf("%8s %8s %14s %14s %8s %14s %14s\n", "MB", "rows", "replace ms/MB", "load ms/MB", "ratio",
                "control ms", "richedit ms");
    CControlHost control;
    CRichEditHost richEdit;
    if (!richEdit.IsValid()) {
        std::fprintf(stderr, "the rich edit control could not be created\n");
        return 1;
    }
    double dControl1 = 0, dControl5 = 0, dControl10 = 0, dRich1 = 0;
    for (int nMB : kSizesMB) {
        const std::string text = MakeApiSource(static_cast<size_t>(nMB) << 20);
        auto* pBuffer = new CKLVSyntaxEditBufferManager;
        Load(*pBuffer, "old text\r\nof the editor\r\n");
        const double replace = BestSeconds([&] { Replace(*pBuffer, text); });
        const int nRows = pBuffer->GetRowCount() - 1;
        const double load = BestSeconds([&] { Load(*pBuffer, text); });
        pBuffer->InternalRelease();
        const double dControl = BestSeconds([&] { control.Replace(text); });
        // The rich edit control takes seconds a megabyte under Wine: it is given the smallest text only.
        const double dRich = nMB == kSizesMB[0] ? BestSeconds([&] { richEdit.Replace(text); }, 1) : 0;
        const std::string strRich = dRich > 0 ? std::to_string(static_cast<int>(dRich * 1000)) : "-";
        std::printf("%8d %8d %14.1f %14.1f %8.2f %14.1f %14s\n", nMB, nRows, replace * 1000 / nMB, load * 1000 / nMB,
                    replace / load, dControl * 1000, strRich.c_str());
        if (nMB == kSizesMB[0]) {
            dControl1 = dControl;
            dRich1 = dRich;
        }
        (nMB == 5 ? dControl5 : dControl10) = dControl;
    }
    report.Figure("replace_5mb_ms", dControl5 * 1000, "under 1000 ms, rows inserted in bulk");
    report.Figure("replace_scaling", dControl10 / dControl1, "10 is linear");
    report.Figure("ratio_vs_richedit", dControl1 / dRich1, "below 1, watched as a trend (1 MB)");
    return 0;
}
