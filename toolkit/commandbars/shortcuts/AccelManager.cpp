#include "toolkit/commandbars/shortcuts/AccelManager.h"

#include "classlib/Archive.h"
#include "classlib/Exceptions.h"
#include "toolkit/common/PropExchangeArchive.h"

#include <memory>

IMPLEMENT_DYNAMIC(CKLVAccelManager, CCmdTarget)

namespace {

// More entries than any keyboard has shortcuts for: a count beyond it is damaged data.
constexpr long nMaxAccelEntries = 0x7FFF;

std::vector<ACCEL> ReadEntries(HACCEL hAccel) {
    std::vector<ACCEL> entries;
    const int nCount = hAccel ? ::CopyAcceleratorTableA(hAccel, nullptr, 0) : 0;
    if (nCount <= 0) return entries;
    entries.resize(static_cast<size_t>(nCount));
    ::CopyAcceleratorTableA(hAccel, entries.data(), nCount);
    return entries;
}

HACCEL CreateTable(std::vector<ACCEL>& entries) {
    return entries.empty() ? nullptr : ::CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
}

void ReplaceTable(HACCEL& hTable, HACCEL hNew) {
    if (hTable && hTable != hNew) ::DestroyAcceleratorTable(hTable);
    hTable = hNew;
}

// "CTRL" becomes "Ctrl", "PAGE UP" "Page up".
CString CapitaliseKeyName(CString strName) {
    strName.MakeLower();
    for (int i = 0; i < strName.GetLength(); ++i) {
        if (::IsCharLowerA(strName[i])) {
            strName.SetAt(i, KLVToUpper(strName[i]));
            break;
        }
    }
    return strName;
}

BOOL TypesCharacter(UINT vk, TCHAR ch, const BYTE* pState, HKL hLayout) {
    WORD out[2] = {};
    if (::ToAsciiEx(vk, 0, pState, out, 0, hLayout) != 1) return FALSE;
    const TCHAR chOut = static_cast<TCHAR>(out[0] & 0xFF);
    return chOut == ch || KLVToUpper(chOut) == KLVToUpper(ch);
}

}  // namespace

TCHAR KLVToUpper(TCHAR ch) {
    return static_cast<TCHAR>(reinterpret_cast<UINT_PTR>(::CharUpperA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<BYTE>(ch))))));
}

HACCEL CopyAccelTable(HACCEL hAccel) {
    std::vector<ACCEL> entries = ReadEntries(hAccel);
    return CreateTable(entries);
}

BOOL CompareAccelKey(TCHAR ch, UINT vk) {
    if (::MapVirtualKeyA(vk, 2) == 0) return FALSE;
    const TCHAR chKey = static_cast<TCHAR>(vk & 0xFF);
    if (ch == chKey || KLVToUpper(ch) == chKey) return TRUE;
    const int nLayouts = ::GetKeyboardLayoutList(0, nullptr);
    if (nLayouts < 2) return FALSE;
    std::vector<HKL> layouts(static_cast<size_t>(nLayouts));
    ::GetKeyboardLayoutList(nLayouts, layouts.data());
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    for (HKL hLayout : layouts) {
        if (TypesCharacter(vk, ch, state, hLayout)) return TRUE;
        BYTE shifted[256];
        std::copy(std::begin(state), std::end(state), shifted);
        shifted[VK_SHIFT] = 0x81;
        if (TypesCharacter(vk, ch, shifted, hLayout)) return TRUE;
    }
    return FALSE;
}

CKLVAccelManager::~CKLVAccelManager() {
    ReplaceTable(m_hAccelTable, nullptr);
    ReplaceTable(m_hDefaultAccelTable, nullptr);
}

void CKLVAccelManager::SetAccelTable(HACCEL hAccel) { ReplaceTable(m_hAccelTable, hAccel); }

void CKLVAccelManager::SetDefaultAccelTable(HACCEL hAccel) { ReplaceTable(m_hDefaultAccelTable, hAccel); }

BOOL CKLVAccelManager::TranslateAccel(HWND hWnd, MSG* pMsg) {
    if (m_nDisableLevel > 0 || !m_hAccelTable) return FALSE;
    return ::TranslateAcceleratorA(hWnd, m_hAccelTable, pMsg) != 0;
}

void CKLVAccelManager::Reset() { SetAccelTable(CopyAccelTable(m_hDefaultAccelTable)); }

BOOL CKLVAccelManager::IsAccelAllowed(const ACCEL* pAccel) {
    const BOOL bPlainEscape = (pAccel->fVirt & FVIRTKEY) && pAccel->key == VK_ESCAPE &&
                              !(pAccel->fVirt & (FSHIFT | FCONTROL | FALT));
    return bPlainEscape ? m_bAllowEscapeShortcut : TRUE;
}

BOOL CKLVAccelManager::FindShortcut(UINT nCmd, CString& strShortcut) {
    HACCEL hTable = m_hAccelTable;
    if (!hTable && !m_hDefaultAccelTable) hTable = GetFrameAccelTable();
    CString strBest;
    int nBestOrder = -1;
    BOOL bPresent = FALSE;
    for (const ACCEL& accel : ReadEntries(hTable)) {
        if (accel.cmd != static_cast<WORD>(nCmd)) continue;
        int nOrder = 0;
        const CString strText = FormatShortcut(&accel, &nOrder);
        if (strText == strShortcut) bPresent = TRUE;
        if (nBestOrder < 0 || nOrder > nBestOrder) {
            strBest = strText;
            nBestOrder = nOrder;
        }
    }
    if (nBestOrder < 0) {
        strShortcut.Empty();
        return FALSE;
    }
    if (!bPresent) strShortcut = strBest;
    return TRUE;
}

CString CKLVAccelManager::FormatShortcut(const ACCEL* pAccel, int* pOrder) {
    if (pOrder) *pOrder = 0;
    if (!pAccel) return CString();
    CString strText;
    const auto append = [&](const CString& strName, BOOL bPlus) {
        if (strName.IsEmpty()) return;
        strText += strName;
        if (bPlus) strText += '+';
    };
    if (pAccel->key != VK_CANCEL) {
        if (pAccel->fVirt & FCONTROL) append(GetKeyName(VK_CONTROL), TRUE);
        if (pAccel->fVirt & FSHIFT) append(GetKeyName(VK_SHIFT), TRUE);
        if (pAccel->fVirt & FALT) append(GetKeyName(VK_MENU), TRUE);
    }
    if (pAccel->fVirt & FVIRTKEY) {
        append(GetKeyName(pAccel->key), FALSE);
    } else if (pAccel->key != VK_ESCAPE && pAccel->key != VK_TAB && pAccel->key != 0) {
        strText += static_cast<TCHAR>(pAccel->key);
    }
    if (pAccel->key == 0 && !strText.IsEmpty() && strText[strText.GetLength() - 1] == '+')
        strText = strText.Left(strText.GetLength() - 1);
    if (pOrder) {
        *pOrder = (pAccel->fVirt & FCONTROL) ? 3 : (pAccel->fVirt & FALT) ? 2 : (pAccel->fVirt & FSHIFT) ? 1 : 4;
    }
    return strText;
}

CString CKLVAccelManager::GetSystemKeyName(UINT nKey) {
    if (nKey == VK_CANCEL) return CString();
    LONG lParam = static_cast<LONG>(::MapVirtualKeyExA(nKey, 0, ::GetKeyboardLayout(0)) << 16) | 1;
    if (nKey >= VK_PRIOR && nKey <= VK_HELP) lParam |= 0x1000000;
    // The name is as long as the layout makes it: grow until it fits.
    for (int nSize = 64;; nSize *= 2) {
        std::vector<char> buffer(static_cast<size_t>(nSize));
        const int nLength = ::GetKeyNameTextA(lParam, buffer.data(), nSize);
        if (nLength < nSize - 1 || nSize >= 4096) {
            return nLength > 0 ? CapitaliseKeyName(CString(buffer.data(), nLength)) : CString();
        }
    }
}

CString CKLVAccelManager::GetKeyName(UINT nKey) {
    const auto own = [&]() {
        auto found = m_mapKeyNames.find(nKey);
        return found != m_mapKeyNames.end() ? found->second : CString();
    };
    CString strName = m_bUseSystemKeyNameText ? GetSystemKeyName(nKey) : own();
    if (strName.IsEmpty()) strName = m_bUseSystemKeyNameText ? own() : GetSystemKeyName(nKey);
    return strName;
}

void CKLVAccelManager::SerializeKeyNames(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_mapKeyNames.size());
        for (const auto& entry : m_mapKeyNames) ar << static_cast<DWORD>(entry.first) << entry.second;
        return;
    }
    m_mapKeyNames.clear();
    for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
        DWORD dwKey = 0;
        CString strName;
        ar >> dwKey >> strName;
        m_mapKeyNames[dwKey] = strName;
    }
}

void CKLVAccelManager::DoPropExchange(CKLVPropExchange* pPX) {
    if (pPX->IsLoading())
        LoadAccelTable(pPX);
    else
        StoreAccelTable(pPX);
}

void CKLVAccelManager::StoreAccelTable(CKLVPropExchange* pPX) {
    std::vector<ACCEL> entries = ReadEntries(m_hAccelTable);
    if (pPX->IsKindOf(RUNTIME_CLASS(CKLVPropExchangeArchive))) {
        pPX->WriteCount(static_cast<DWORD>(entries.size()));
        pPX->Write("Data", entries.data(), static_cast<UINT>(entries.size() * sizeof(ACCEL)));
        return;
    }
    std::unique_ptr<CKLVPropExchangeEnumerator> pEnumerator(pPX->OpenEnumerator("Accel"));
    POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(entries.size()));
    for (ACCEL& accel : entries) {
        if (!pos) break;
        CKLVPropExchangeSection pSection(pEnumerator->GetNext(pos));
        short nId = static_cast<short>(accel.cmd), nKey = static_cast<short>(accel.key);
        PX_Short(pSection.get(), "Id", nId, 0);
        PX_Byte(pSection.get(), "virt", accel.fVirt, 0);
        PX_Short(pSection.get(), "key", nKey, 0);
    }
}

BOOL CKLVAccelManager::LoadAccelTable(CKLVPropExchange* pPX) {
    std::vector<ACCEL> entries;
    BOOL bLoaded = FALSE;
    try {
        bLoaded = pPX->IsKindOf(RUNTIME_CLASS(CKLVPropExchangeArchive)) ? LoadArchiveTable(pPX, entries)
                                                                        : LoadSectionTable(pPX, entries);
    } catch (CArchiveException* e) {
        e->Delete();
    }
    if (!bLoaded) return FALSE;
    HACCEL hNew = CreateTable(entries);
    if (!hNew && !entries.empty()) return FALSE;
    SetAccelTable(hNew);
    return TRUE;
}

BOOL CKLVAccelManager::LoadArchiveTable(CKLVPropExchange* pPX, std::vector<ACCEL>& entries) {
    const DWORD dwCount = pPX->ReadCount();
    if (dwCount > static_cast<DWORD>(nMaxAccelEntries)) return FALSE;
    entries.resize(dwCount);
    const UINT cbData = static_cast<UINT>(dwCount * sizeof(ACCEL));
    return pPX->Read("Data", entries.data(), cbData) == cbData;
}

BOOL CKLVAccelManager::LoadSectionTable(CKLVPropExchange* pPX, std::vector<ACCEL>& entries) {
    std::unique_ptr<CKLVPropExchangeEnumerator> pEnumerator(pPX->OpenEnumerator("Accel"));
    POSITION pos = pEnumerator->GetPosition();
    const long nCount = static_cast<long>(pEnumerator->GetCount());
    if (nCount < 0 || nCount > nMaxAccelEntries) return FALSE;
    while (pos) {
        CKLVPropExchangeSection pSection(pEnumerator->GetNext(pos));
        short nId = 0, nKey = 0;
        ACCEL accel = {};
        PX_Short(pSection.get(), "Id", nId, 0);
        PX_Byte(pSection.get(), "virt", accel.fVirt, 0);
        PX_Short(pSection.get(), "key", nKey, 0);
        accel.cmd = static_cast<WORD>(nId);
        accel.key = static_cast<WORD>(nKey);
        entries.push_back(accel);
    }
    return TRUE;
}
