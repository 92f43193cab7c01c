// The keyboard shortcut manager of one command bars object: translates key messages through its
// accelerator table, finds and formats the shortcut text shown beside a command, names keys by
// the keyboard layout, and saves and loads the table.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/String.h"

#include <map>
#include <vector>

class CArchive;
class CKLVCommandBars;
class CKLVPropExchange;

// A copy of the table; null for a null or empty one.
HACCEL CopyAccelTable(HACCEL hAccel);
// TRUE when pressing virtual key vk types the character ch, in any installed keyboard layout.
BOOL CompareAccelKey(TCHAR ch, UINT vk);
// The character upper-cased by the system's rules.
TCHAR KLVToUpper(TCHAR ch);

class CKLVAccelManager : public CCmdTarget {
    DECLARE_DYNAMIC(CKLVAccelManager)
public:
    explicit CKLVAccelManager(CKLVCommandBars* pCommandBars = nullptr) : m_pCommandBars(pCommandBars) {}
    ~CKLVAccelManager() override;
    CKLVAccelManager(const CKLVAccelManager&) = delete;
    CKLVAccelManager& operator=(const CKLVAccelManager&) = delete;

    // TRUE with a shortcut; strShortcut keeps its text when that is one of the command's
    // shortcuts, else becomes the best one (empty without any).
    virtual BOOL FindShortcut(UINT nCmd, CString& strShortcut);
    // "Ctrl+Shift+S"; nOrder ranks a command's shortcuts (higher wins): 4 plain, 3 Ctrl,
    // 2 Alt, 1 Shift, 0 for null.
    virtual CString FormatShortcut(const ACCEL* pAccel, int* pOrder = nullptr);
    virtual CString GetKeyName(UINT nKey);
    virtual BOOL IsAccelAllowed(const ACCEL* pAccel);
    virtual int OnReserved1() { return 0; }
    virtual int OnReserved2() { return 0; }
    virtual void DoPropExchange(CKLVPropExchange* pPX);
    virtual HACCEL GetAccelTable() const { return m_hAccelTable; }
    // The current table becomes a copy of the default one.
    virtual void Reset();

    BOOL TranslateAccel(HWND hWnd, MSG* pMsg);
    // Whether FindShortcut has any table to look in.
    BOOL HasTable() const { return m_hAccelTable || m_hDefaultAccelTable || GetFrameAccelTable(); }
    void DisableAccelerators(BOOL bDisable) { m_nDisableLevel += bDisable ? 1 : -1; }
    // Both take ownership of the table (the previous one is destroyed).
    void SetAccelTable(HACCEL hAccel);
    void SetDefaultAccelTable(HACCEL hAccel);
    HACCEL GetDefaultAccelTable() const { return m_hDefaultAccelTable; }
    // The own key names: a count, then pairs of a 32-bit key and a string.
    void SerializeKeyNames(CArchive& ar);
    // The system's name of the key, "Ctrl" and "Page up" style; empty for VK_CANCEL.
    static CString GetSystemKeyName(UINT nKey);
    // Where FindShortcut looks when there is neither a current nor a default table.
    virtual HACCEL GetFrameAccelTable() const { return nullptr; }
    // A loaded table replaces the current one only when it loaded whole.
    BOOL LoadAccelTable(CKLVPropExchange* pPX);

    BOOL m_bAllowEscapeShortcut = FALSE;
    // Set when the manager took over the frame's table: the frame then translates no keys itself.
    BOOL m_bReplacesFrameTable = FALSE;
    BOOL m_bUseSystemKeyNameText = FALSE;
    int m_nDisableLevel = 0;
    CKLVCommandBars* m_pCommandBars;
    HACCEL m_hAccelTable = nullptr;
    HACCEL m_hDefaultAccelTable = nullptr;
    std::map<UINT, CString> m_mapKeyNames;

private:
    void StoreAccelTable(CKLVPropExchange* pPX);
    BOOL LoadArchiveTable(CKLVPropExchange* pPX, std::vector<ACCEL>& entries);
    BOOL LoadSectionTable(CKLVPropExchange* pPX, std::vector<ACCEL>& entries);
};
