// Themed drawing through the visual-styles library, bound at run time: a system without the
// library, or without one of its entry points, gets each operation's failure value instead.
#pragma once

#include "classlib/Object.h"
#include "toolkit/common/LoadedModule.h"

#include <uxtheme.h>

// The process-wide binding of the visual-styles library.
class CKLVWinThemeApiTable {
public:
    enum { nSlotCount = 52 };
    // The slots the toolkit binds; the rest stay reserved.
    enum Slot {
        slotDrawThemeBackground,
        slotCloseThemeData,
        slotOpenThemeData,
        slotIsThemeActive,
        slotIsAppThemed,
        slotGetThemeSysBool,
        slotGetThemeColor,
        slotGetCurrentThemeName,
        slotBeginBufferedPaint,
        slotEndBufferedPaint,
        slotDrawThemeTextEx,
    };

    // Loads the library by name and never frees it.
    explicit CKLVWinThemeApiTable(LPCSTR lpszModuleName = "UxTheme.dll");
    CKLVWinThemeApiTable(const CKLVWinThemeApiTable&) = delete;
    CKLVWinThemeApiTable& operator=(const CKLVWinThemeApiTable&) = delete;

    // The entry point of a slot, bound by name on first use; null when missing.
    FARPROC GetProc(Slot nSlot);
    template <class T>
    T GetProc(Slot nSlot) {
        return KLVProcCast<T>(GetProc(nSlot));
    }
    // Follows the library actually loaded now: another handle (or none) clears every slot.
    void CheckModule();

    FARPROC m_rgpfn[nSlotCount];
    HMODULE m_hModule;
    DWORD m_dwComCtlVersion;   // major << 16 | minor
    LPCSTR m_lpszModuleName;
};

CKLVWinThemeApiTable* GetWinThemeApiTable();
// Puts another table in the process-wide place and returns the one it replaces; a test uses
// it to present a system without the library.
CKLVWinThemeApiTable* KLVReplaceWinThemeApiTable(CKLVWinThemeApiTable* pTable);

// One theme handle of a drawing client.
class CKLVWinThemeWrapper {
public:
    CKLVWinThemeWrapper() noexcept = default;
    virtual ~CKLVWinThemeWrapper() { CloseThemeData(); }
    CKLVWinThemeWrapper(const CKLVWinThemeWrapper&) = delete;
    CKLVWinThemeWrapper& operator=(const CKLVWinThemeWrapper&) = delete;

    HTHEME OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
    void CloseThemeData();
    HTHEME GetThemeHandle() const { return m_hTheme; }

    HRESULT DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT* pRect, const RECT* pClipRect);
    HRESULT DrawThemeTextEx(HDC hDC, int iPartId, int iStateId, LPCWSTR pszText, int cchText, DWORD dwFlags,
                            LPRECT pRect, const DTTOPTS* pOptions);
    HRESULT GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor);
    BOOL GetThemeSysBool(int iBoolId);
    BOOL IsAppThemed();

    static BOOL IsThemeActive();
    static HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                       int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
    static HPAINTBUFFER BeginBufferedPaint(HDC hdcTarget, const RECT* prcTarget, BP_BUFFERFORMAT dwFormat,
                                           BP_PAINTPARAMS* pPaintParams, HDC* phdc);
    static void EndBufferedPaint(HPAINTBUFFER hBufferedPaint, BOOL fUpdateTarget);
    // Visual styles are active and the common controls can draw them (version 6 or later).
    static BOOL IsComCtlThemed();

private:
    HTHEME m_hTheme = nullptr;
};
