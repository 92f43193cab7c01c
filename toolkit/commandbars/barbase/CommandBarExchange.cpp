// A bar's saved state: its keys in their order, each from the schema that introduced it (the
// tool-bar family adds its keys after them), and the walk that collects and reconnects popup bars.
#include "toolkit/commandbars/barbase/CommandBar.h"

#include "toolkit/commandbars/controlbase/CommandBarList.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/controlbase/PropExchangeParam.h"
#include "toolkit/common/PropExchange.h"

namespace {

void PX_UInt(CKLVPropExchange* pPX, LPCTSTR pszPropName, UINT& nValue) {
    long lValue = static_cast<long>(nValue);
    PX_Long(pPX, pszPropName, lValue, 0);
    nValue = static_cast<UINT>(lValue);
}

void PX_Size(CKLVPropExchange* pPX, LPCTSTR pszPropName, CSize& sz) {
    SIZE value = sz;
    PX_Size(pPX, pszPropName, value, CSize(0, 0));
    sz = value;
}

}  // namespace

void CKLVCommandBar::DoPropExchange(CKLVPropExchange* pPX) {
    const UINT nSchema = pPX->GetSchema();
    PX_Long(pPX, "Type", m_barType, barTypeNormal);
    PX_Long(pPX, "Position", m_barPosition, barTop);
    PX_UInt(pPX, "BarID", m_nBarID);
    PX_UInt(pPX, "Flags", m_nFlags);
    UINT nStyle = m_dwStyle;
    PX_UInt(pPX, "Style", nStyle);
    m_dwStyle = nStyle;
    PX_String(pPX, "Title", m_strTitle, "");
    PX_Bool(pPX, "Customizable", m_bCustomizable, TRUE);
    PX_Long(pPX, "MRUWidth", m_nMRUWidth, 0);
    if (nSchema > 2) PX_Size(pPX, "IconSize", m_szIcons);
    // A loaded bar belongs to the command bars it is loaded for.
    const auto* pParam = static_cast<const CKLVPropExchangeParam*>(pPX->m_pContext);
    if (pPX->IsLoading() && pParam && pParam->pCommandBars) {
        m_pCommandBars = pParam->pCommandBars;
        m_pLink = pParam->pLink;
    }
    if (nSchema > 17) {
        PX_Size(pPX, "ButtonSize", m_szButtons);
        // 2 (follow the command bars) is kept as written, though the key is a BOOL.
        PX_Bool(pPX, "ShowTextBelowIcons", m_nShowTextBelowIcons, 2);
        BOOL bAnimation = IsAnimationEnabled();
        PX_Bool(pPX, "EnableAnimation", bAnimation, FALSE);
        if (pPX->IsLoading()) EnableAnimation(bAnimation);
    }
    if (nSchema > 18) PX_Long(pPX, "DefaultButtonStyle", m_nDefaultButtonStyle, 0);
    CKLVPropExchangeSection pControls(pPX->OpenSection("Controls"));
    m_pControls->DoPropExchange(pControls.get());
}

void CKLVCommandBar::GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) {
    // A bar met again (a shared popup, or a cycle of popups in loaded state) is not walked again.
    if (pList->Contains(this)) return;
    pList->Add(this);
    if (!IsToolBar() && (m_nBarID == 0 || m_nBarID >= firstGeneratedBarID))
        m_nBarID = nID++;
    m_pControls->GenerateCommandBarList(nID, pList, pParam);
}

void CKLVCommandBar::RestoreCommandBarList(CKLVCommandBarList* pList) { m_pControls->RestoreCommandBarList(pList); }
