// A control's saved state: its keys in their order, each from the schema that introduced it.
#include "toolkit/commandbars/controlbase/Control.h"

#include "toolkit/commandbars/controlbase/ControlAction.h"
#include "toolkit/commandbars/controlbase/PropExchangeParam.h"
#include "toolkit/commandbars/interfaces/CommandBarsLink.h"
#include "toolkit/common/ImageManager.h"
#include "toolkit/common/PropExchange.h"

namespace {

using CTemplateSet = CMap<int, int, BOOL, BOOL>;

// A set of document-template ids as an archive sees it: the count, then each id and its value.
// A load fills a scratch set first, so that a short one leaves the control's set as it was.
class CTemplateSetArchive : public CObject {
public:
    explicit CTemplateSetArchive(CTemplateSet& set) : m_set(set) {}
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar.WriteCount(static_cast<DWORD_PTR>(m_set.GetCount()));
            for (POSITION pos = m_set.GetStartPosition(); pos;) {
                int nId;
                BOOL bValue;
                m_set.GetNextAssoc(pos, nId, bValue);
                ar << static_cast<LONG>(nId) << static_cast<LONG>(bValue);
            }
            return;
        }
        CTemplateSet loaded;
        for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
            LONG nId, nValue;
            ar >> nId >> nValue;
            loaded.SetAt(static_cast<int>(nId), static_cast<BOOL>(nValue));
        }
        m_set.RemoveAll();
        for (POSITION pos = loaded.GetStartPosition(); pos;) {
            int nId;
            BOOL bValue;
            loaded.GetNextAssoc(pos, nId, bValue);
            m_set.SetAt(nId, bValue);
        }
    }

private:
    CTemplateSet& m_set;
};

void ExchangeTemplateSet(CKLVPropExchange* pPX, LPCTSTR pszPropName, CTemplateSet& set) {
    if (pPX->IsStoring() && pPX->CanOmitDefaults() && set.IsEmpty()) return;
    CTemplateSetArchive archive(set);
    PX_Serialize(pPX, pszPropName, &archive);
}

void PX_DWord(CKLVPropExchange* pPX, LPCTSTR pszPropName, DWORD& dwValue) {
    long nValue = static_cast<long>(dwValue);
    PX_Long(pPX, pszPropName, nValue, 0);
    dwValue = static_cast<DWORD>(nValue);
}

}  // namespace

void CKLVControl::DoPropExchange(CKLVPropExchange* pPX) {
    const UINT nSchema = pPX->GetSchema();
    PX_Long(pPX, "Type", m_nType, typeButton);
    PX_Long(pPX, "Id", m_nId, -1);
    if (pPX->IsLoading()) {
        const auto* pParam = static_cast<const CKLVPropExchangeParam*>(pPX->m_pContext);
        CKLVControlActions* pActions = pParam && pParam->pLink ? pParam->pLink->GetActions() : nullptr;
        if (CKLVControlAction* pAction = pActions ? pActions->GetAction(m_nId) : nullptr) SetAction(pAction);
    }
    PX_Long(pPX, "IconId", m_nIconId, 0);
    PX_Bool(pPX, "BeginGroup", m_bBeginGroup, FALSE);
    PX_DWord(pPX, "Tag", m_nTag);
    PX_DWord(pPX, "Flags", m_dwFlags);
    PX_DWord(pPX, "HideFlags", m_dwHideFlags);
    PX_String(pPX, "Caption", m_strCaption, "");
    PX_String(pPX, "ShortcutText", m_strShortcutText, "");
    PX_String(pPX, "TooltipText", m_strTooltipText, "");
    PX_String(pPX, "DescriptionText", m_strDescriptionText, "");
    PX_String(pPX, "Parameter", m_strParameter, "");
    PX_Long(pPX, "CustomIconId", m_nCustomIconId, 0);
    PX_String(pPX, "CustomCaption", m_strCustomCaption, "");
    if (nSchema > 1) PX_String(pPX, "Category", m_strCategory, "");
    if (m_nCustomIconId > 0) {
        CKLVPropExchangeSection pSection(pPX->OpenSection("CustomIcon"));
        GetImageManager()->DoPropExchangeIcons(static_cast<UINT>(m_nCustomIconId), pSection.get());
    }
    if (nSchema > 3) {
        ExchangeTemplateSet(pPX, "DocTemplatesExcluded", m_mapDocTemplatesExcluded);
        ExchangeTemplateSet(pPX, "DocTemplatesAssigned", m_mapDocTemplatesAssigned);
        PX_Bool(pPX, "DefaultItem", m_bDefaultItem, FALSE);
    }
    if (nSchema > 6) PX_Bool(pPX, "CloseSubMenuOnClick", m_bCloseSubMenuOnClick, TRUE);
    if (nSchema > 7) {
        PX_Long(pPX, "CustomStyle", m_nCustomStyle, -1);
        // Before schema 18, 0 meant no style of the user's.
        if (pPX->IsLoading() && nSchema < 18 && m_nCustomStyle == 0) m_nCustomStyle = -1;
    }
    if (nSchema > 16) PX_Long(pPX, "HelpId", m_nHelpId, 0);
    if (nSchema > 17) PX_Long(pPX, "Style", m_nStyle, styleAutomatic);
    if (nSchema > 18) {
        PX_Long(pPX, "Width", m_nWidth, 0);
        PX_Long(pPX, "Height", m_nHeight, 0);
        PX_Long(pPX, "ExecuteOnPressInterval", m_nExecuteOnPressInterval, 0);
    }
    if (nSchema > 22) PX_String(pPX, "ShortcutTextAuto", m_strShortcutTextAuto, "");
}
