#include "toolkit/commandbars/options/CommandBarsOptions.h"

#include "toolkit/commandbars/paint/PaintManager.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/PropExchangeArchive.h"

#include <vector>

namespace {

// Keys read only from data written after these schemas.
const long kSchemaUsedCommands = 7;
const long kSchemaKeyboardCues = 8;

// The icon options live with the command bars' paint manager, else the process-wide one.
KLVIconsInfo* IconsInfoOf(CKLVCommandBarsLink* pCommandBars) {
    CKLVPaintManager* pPaintManager = pCommandBars ? pCommandBars->GetPaintManager() : nullptr;
    if (!pPaintManager) {
        if (!CKLVPaintManager::GetGlobalPaintManager()) CKLVPaintManager::SetTheme(0);
        pPaintManager = CKLVPaintManager::GetGlobalPaintManager();
    }
    return pPaintManager ? pPaintManager->GetIconsInfo() : nullptr;
}

CString ItemName(long nIndex) {
    CString strName;
    strName.Format("Item%li", nIndex);
    return strName;
}

void Replace(CKLVCommandBarsOptions::CCommandSet& set, const std::vector<UINT>& ids) {
    set.RemoveAll();
    for (UINT nId : ids) set.SetAt(nId, TRUE);
}

}  // namespace

CKLVCommandBarsOptions::CKLVCommandBarsOptions() {
    m_mapHiddenCommands.InitHashTable(17, FALSE);
    m_mapUsedCommands.InitHashTable(17, FALSE);
}

CKLVCommandBarsOptions::~CKLVCommandBarsOptions() {
    m_mapHiddenCommands.RemoveAll();
    m_mapUsedCommands.RemoveAll();
}

void CKLVCommandBarsOptions::ExchangeCommandSet(CKLVPropExchange* pPX, LPCTSTR pszName, CCommandSet& set) {
    if (pPX->IsStoring() && pPX->CanOmitDefaults() && set.IsEmpty()) return;
    if (pPX->IsSequentialStream()) {
        CArchive* pArchive = pPX->OpenArchive(pszName);
        if (!pArchive) return;
        CArchive& ar = *pArchive;
        if (pPX->IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(set.GetCount()));
            for (POSITION pos = set.GetStartPosition(); pos;) {
                UINT nId;
                BOOL bValue;
                set.GetNextAssoc(pos, nId, bValue);
                ar << static_cast<DWORD>(nId);
            }
        } else {
            // A damaged count cannot be stepped over in a stream: the load stops here.
            const DWORD_PTR nCount = ar.ReadCount();
            if (nCount > nMaxCommandSetCount) AfxThrowArchiveException(CArchiveException::badIndex);
            std::vector<UINT> ids;
            for (DWORD_PTR i = 0; i < nCount; ++i) {
                DWORD nId;
                ar >> nId;
                ids.push_back(nId);
            }
            Replace(set, ids);
        }
        pPX->CloseArchive(pszName, pArchive);
        return;
    }
    CKLVPropExchangeSection pSection(pPX->OpenSection(pszName));
    if (!pSection) return;
    long nCount = static_cast<long>(set.GetCount());
    PX_Long(pSection.get(), "Count", nCount, 0);
    if (pPX->IsStoring()) {
        long i = 0;
        for (POSITION pos = set.GetStartPosition(); pos; ++i) {
            UINT nId;
            BOOL bValue;
            set.GetNextAssoc(pos, nId, bValue);
            long nItem = static_cast<long>(nId);
            PX_Long(pSection.get(), ItemName(i), nItem, 0);
        }
        return;
    }
    // A negative or huge count is damage: the set stays as it was.
    if (nCount < 0 || static_cast<DWORD>(nCount) > nMaxCommandSetCount) return;
    std::vector<UINT> ids;
    for (long i = 0; i < nCount; ++i) {
        long nItem = 0;
        PX_Long(pSection.get(), ItemName(i), nItem, 0);
        ids.push_back(static_cast<UINT>(nItem));
    }
    Replace(set, ids);
}

void CKLVCommandBarsOptions::DoPropExchange(CKLVPropExchange* pPX, BOOL bUserOptionsOnly) {
    KLVIconsInfo* pIconsInfo = IconsInfoOf(m_pCommandBars);
    long nSchema = 23;
    PX_Long(pPX, "Schema", nSchema, 23);
    if (pPX->IsStoring()) nSchema = 23;

    PX_Bool(pPX, "AlwaysShowFullMenus", bAlwaysShowFullMenus, TRUE);
    PX_Bool(pPX, "ShowFullAfterDelay", bShowFullAfterDelay, TRUE);
    PX_Bool(pPX, "ToolBarScreenTips", bToolBarScreenTips, TRUE);
    PX_Bool(pPX, "ToolBarAccelTips", bToolBarAccelTips, FALSE);
    PX_Bool(pPX, "LargeIcons", bLargeIcons, FALSE);
    if (nSchema > kSchemaUsedCommands) ExchangeCommandSet(pPX, "UsedCommands", m_mapUsedCommands);
    if (nSchema > kSchemaUsedCommands || bUserOptionsOnly) PX_Long(pPX, "Animation", animateType, 0);
    if (bUserOptionsOnly) return;

    PX_Bool(pPX, "SyncFloatingBars", bSyncFloatingBars, TRUE);
    PX_Bool(pPX, "ShowExpandButtonAlways", bShowExpandButtonAlways, TRUE);
    PX_Size(pPX, "IconsSize", szIcons, CSize(0, 0));
    PX_Size(pPX, "LargeIconsSize", szLargeIcons, CSize(0, 0));
    ExchangeCommandSet(pPX, "HiddenCommands", m_mapHiddenCommands);
    if (pIconsInfo) {
        PX_Bool(pPX, "IconsWithShadow", pIconsInfo->bIconsWithShadow, FALSE);
        PX_Bool(pPX, "UseDisabledIcons", pIconsInfo->bUseDisabledIcons, TRUE);
        PX_Bool(pPX, "UseFadedIcons", pIconsInfo->bUseFadedIcons, TRUE);
    }
    if (nSchema > kSchemaUsedCommands) {
        // Written a second time: data of these schemas has them here too.
        PX_Bool(pPX, "SyncFloatingBars", bSyncFloatingBars, TRUE);
        PX_Bool(pPX, "ShowExpandButtonAlways", bShowExpandButtonAlways, TRUE);
        PX_Bool(pPX, "DblClickFloat", bDblClickFloat, FALSE);
        PX_Bool(pPX, "ShowTextBelowIcons", bShowTextBelowIcons, FALSE);
        PX_Bool(pPX, "AltDragCustomization", bAltDragCustomization, TRUE);
        PX_Bool(pPX, "AutoHideUnusedPopups", bAutoHideUnusedPopups, TRUE);
        PX_Size(pPX, "PopupIconsSize", szPopupIcons, CSize(0, 0));
    }
    if (nSchema > kSchemaKeyboardCues) {
        PX_Long(pPX, "KeyboardCuesUse", keyboardCuesUse, 1);
        PX_Long(pPX, "KeyboardCuesShow", keyboardCuesShow, cuesShowAlways);
        if (pPX->IsLoading()) SetKeyboardCuesShow(keyboardCuesShow);
    }
}

void CKLVCommandBarsOptions::Serialize(CArchive& ar) {
    CKLVPropExchangeArchive px(ar);
    DoPropExchange(&px, FALSE);
}

void CKLVCommandBarsOptions::GetKeyboardCuesState(int nShow, BOOL& bVisible, BOOL& bOnDemand) {
    bVisible = nShow != cuesShowNever;
    bOnDemand = FALSE;
    if (nShow != cuesShowAsSystem) return;
    BOOL bSystemCues = TRUE;
    if (::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &bSystemCues, 0) && !bSystemCues) {
        bVisible = FALSE;
        bOnDemand = TRUE;
    }
}

void CKLVCommandBarsOptions::SetKeyboardCuesShow(int nShow) {
    keyboardCuesShow = nShow;
    BOOL bVisible, bOnDemand;
    GetKeyboardCuesState(nShow, bVisible, bOnDemand);
    if (m_pCommandBars) m_pCommandBars->SetKeyboardCuesState(bVisible, bOnDemand);
}
