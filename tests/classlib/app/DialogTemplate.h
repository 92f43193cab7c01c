// Dialog templates built in memory for the dialog tests.
#pragma once

#include <windows.h>

#include <vector>

namespace classlib_test {

enum : WORD { IDC_NAME = 101, IDC_COUNT, IDC_FLAG, IDC_CHOICE };

// A dialog template built in memory (DLGTEMPLATE and its items, each DWORD-aligned).
class DialogTemplate {
public:
    DialogTemplate(const wchar_t* title, DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME) {
        Add(style);
        Add(0);                               // extended style
        m_nCountAt = m_words.size();
        AddWord(0);                           // items, counted below
        for (int v : {10, 10, 200, 120}) AddWord(static_cast<WORD>(v));
        AddWord(0);                           // no menu
        AddWord(0);                           // the dialog class
        AddText(title);
    }
    // atom: 0x80 button, 0x81 edit, 0x85 combo box.
    DialogTemplate& Item(WORD atom, WORD id, DWORD style, const wchar_t* text, int x, int y, int cx, int cy) {
        while (m_words.size() % 2) AddWord(0);
        Add(WS_CHILD | WS_VISIBLE | style);
        Add(0);
        for (int v : {x, y, cx, cy}) AddWord(static_cast<WORD>(v));
        AddWord(id);
        AddWord(0xFFFF);
        AddWord(atom);
        AddText(text);
        AddWord(0);                           // no creation data
        ++m_words[m_nCountAt];
        return *this;
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

private:
    void AddWord(WORD w) { m_words.push_back(w); }
    void Add(DWORD dw) {
        AddWord(LOWORD(dw));
        AddWord(HIWORD(dw));
    }
    void AddText(const wchar_t* text) {
        for (; *text; ++text) AddWord(static_cast<WORD>(*text));
        AddWord(0);
    }
    std::vector<WORD> m_words;
    size_t m_nCountAt = 0;
};

inline DialogTemplate EntryTemplate(const wchar_t* title) {
    DialogTemplate dlg(title);
    dlg.Item(0x81, IDC_NAME, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, L"", 5, 5, 100, 12)
        .Item(0x81, IDC_COUNT, WS_BORDER | WS_TABSTOP, L"", 5, 20, 40, 12)
        .Item(0x80, IDC_FLAG, BS_AUTOCHECKBOX | WS_TABSTOP, L"Flag", 5, 35, 60, 12)
        .Item(0x85, IDC_CHOICE, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, L"", 5, 50, 80, 60)
        .Item(0x80, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, L"OK", 120, 90, 35, 14)
        .Item(0x80, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, L"Cancel", 160, 90, 35, 14);
    return dlg;
}

}  // namespace classlib_test
