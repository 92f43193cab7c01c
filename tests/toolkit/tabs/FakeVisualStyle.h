// A visual style of the tests' own, for machines whose "TAB" style is not active: while it lives,
// the process-wide visual-styles table answers themed for the "TAB" and "TOOLBAR" classes (or the
// classes a test names) and draws
// every part as a face of its part and state with an outer line of its own colour along the top,
// the top-left pixel left alone, so that a turned image shows which way it was turned.
#pragma once

#include "classlib/Geometry.h"
#include "toolkit/common/WinThemeWrapper.h"

#include <initializer_list>
#include <vector>

namespace tabs_test {

class FakeVisualStyle {
public:
    struct Call {
        int nPart, nState;
        CRect rc;
        BOOL bIntoScreenDC;   // drawn straight into the caller's DC, not into an image
        int nClass;           // the drawing class's place in the list, from 0
    };
    static constexpr COLORREF kPaneHint = RGB(1, 2, 3);
    static COLORREF Face(int nPart, int nState) { return RGB(nPart * 16, nState * 40, 0x80); }
    static COLORREF Edge(int nPart, int nState) { return RGB(0xF0, nPart * 16, nState * 40); }

    explicit FakeVisualStyle(std::initializer_list<LPCWSTR> classes = {L"TAB", L"TOOLBAR"}) {
        Classes().assign(classes.begin(), classes.end());
        m_table.m_dwComCtlVersion = MAKELONG(0, 6);
        Bind(CKLVWinThemeApiTable::slotOpenThemeData, &Open);
        Bind(CKLVWinThemeApiTable::slotCloseThemeData, &Close);
        Bind(CKLVWinThemeApiTable::slotIsThemeActive, &Yes);
        Bind(CKLVWinThemeApiTable::slotIsAppThemed, &Yes);
        Bind(CKLVWinThemeApiTable::slotGetThemeColor, &Color);
        Bind(CKLVWinThemeApiTable::slotDrawThemeBackground, &Draw);
        Calls().clear();
        m_pSaved = KLVReplaceWinThemeApiTable(&m_table);
    }
    ~FakeVisualStyle() { KLVReplaceWinThemeApiTable(m_pSaved); }
    FakeVisualStyle(const FakeVisualStyle&) = delete;
    FakeVisualStyle& operator=(const FakeVisualStyle&) = delete;

    static std::vector<Call>& Calls() {
        static std::vector<Call> s_calls;
        return s_calls;
    }
    // The DC the test draws into; a part drawn elsewhere went into an intermediate image.
    static HDC& TargetDC() {
        static HDC s_hDC = nullptr;
        return s_hDC;
    }

private:
    template <class T>
    void Bind(CKLVWinThemeApiTable::Slot nSlot, T pfn) {
        m_table.m_rgpfn[nSlot] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(pfn));
    }
    static std::vector<LPCWSTR>& Classes() {
        static std::vector<LPCWSTR> s_classes;
        return s_classes;
    }
    // The handle of a class is its place in the list, from 1.
    static HTHEME WINAPI Open(HWND, LPCWSTR pszClass) {
        for (size_t i = 0; i < Classes().size(); ++i)
            if (!lstrcmpW(pszClass, Classes()[i])) return reinterpret_cast<HTHEME>(i + 1);
        return nullptr;
    }
    static HRESULT WINAPI Close(HTHEME) { return S_OK; }
    static BOOL WINAPI Yes() { return TRUE; }
    static HRESULT WINAPI Color(HTHEME, int nPart, int, int nProp, COLORREF* pColor) {
        if (nPart != 9 || nProp != 3821) return E_FAIL;
        *pColor = kPaneHint;
        return S_OK;
    }
    static HRESULT WINAPI Draw(HTHEME hTheme, HDC hDC, int nPart, int nState, const RECT* pRect, const RECT*) {
        const CRect rc(*pRect);
        const int nClass = static_cast<int>(reinterpret_cast<INT_PTR>(hTheme)) - 1;
        Calls().push_back({nPart, nState, rc, hDC == TargetDC(), nClass});
        const COLORREF clrFace = Face(nPart, nState), clrEdge = Edge(nPart, nState);
        const RECT rcFace = {rc.left, rc.top + 1, rc.right, rc.bottom}, rcEdge = {rc.left + 1, rc.top, rc.right, rc.top + 1};
        ::SetBkColor(hDC, clrFace);
        ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rcFace, nullptr, 0, nullptr);
        ::SetBkColor(hDC, clrEdge);
        ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rcEdge, nullptr, 0, nullptr);
        return S_OK;
    }

    CKLVWinThemeApiTable m_table{"klv-fake-visual-styles.dll"};
    CKLVWinThemeApiTable* m_pSaved = nullptr;
};

}  // namespace tabs_test
