// The command bars' saved state: collecting the bars to write, writing and reading them as a
// numbered list of sections, and merging loaded bars into the bars the program made.
#include "toolkit/commandbars/manager/CommandBars.h"

#include "classlib/Exceptions.h"
#include "classlib/WinApp.h"
#include "toolkit/commandbars/barbase/CommandBar.h"
#include "toolkit/commandbars/controlbase/CommandBarList.h"
#include "toolkit/commandbars/manager/ContextMenus.h"
#include "toolkit/commandbars/controlbase/Controls.h"
#include "toolkit/commandbars/popups/PopupBar.h"
#include "toolkit/commandbars/controlbase/PropExchangeParam.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/common/PropExchange.h"
#include "toolkit/common/ResourceManager.h"

#include <memory>

namespace {

// Lends the exchange default parameters for the command bars when the caller gave none.
class CParamScope {
public:
    CParamScope(CKLVPropExchange* pPX, CKLVCommandBars* pCommandBars) : m_pPX(pPX) {
        if (pPX->m_pContext) return;
        m_param.pCommandBars = pCommandBars;
        m_param.pLink = pCommandBars;
        pPX->m_pContext = &m_param;
        m_bLent = TRUE;
    }
    ~CParamScope() {
        if (m_bLent) m_pPX->m_pContext = nullptr;
    }
    CParamScope(const CParamScope&) = delete;
    CParamScope& operator=(const CParamScope&) = delete;

private:
    CKLVPropExchange* m_pPX;
    CKLVPropExchangeParam m_param;
    BOOL m_bLent = FALSE;
};

// Keeps a reference on an original set across a copy that replaces it.
struct CControlsReleaser {
    void operator()(CKLVControls* pControls) const { pControls->InternalRelease(); }
};
using CControlsRef = std::unique_ptr<CKLVControls, CControlsReleaser>;

CControlsRef HoldOriginals(CKLVCommandBar* pBar) {
    CKLVControls* pOriginal = pBar->GetControls()->GetOriginalControls();
    if (pOriginal) pOriginal->InternalAddRef();
    return CControlsRef(pOriginal);
}

// Gives the set back the originals the bar had before a copy.
void KeepOriginals(CKLVCommandBar* pBar, CControlsRef pOriginal) {
    if (pOriginal) pBar->GetControls()->SetOriginalControls(pOriginal.release());
}

BOOL AskToTakeUpdatedBar(const CString& strTitle) {
    CString strFormat, strPrompt;
    KLVResourceManager()->LoadString(&strFormat, CKLVToolBar::idsUpdatedQuestion);
    strPrompt.Format(strFormat, static_cast<LPCTSTR>(strTitle));
    return AfxMessageBox(strPrompt, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

BOOL CKLVCommandBars::SaveCommandBarList(CKLVPropExchange* pPX, CKLVCommandBarList* pList) {
    CParamScope scope(pPX, this);
    try {
        CKLVPropExchangeSection pSection(pPX->OpenSection("CommandBars"));
        std::unique_ptr<CKLVPropExchangeEnumerator> pEnumerator(pSection->OpenEnumerator("CommandBar"));
        POSITION pos = pEnumerator->GetPosition(static_cast<DWORD>(pList->GetCount()));
        for (int i = 0; pos; ++i) {
            CKLVPropExchangeSection pBarSection(pEnumerator->GetNext(pos));
            CObject* pObject = pList->GetAt(i);
            pBarSection->ExchangeObject(pObject, RUNTIME_CLASS(CKLVCommandBar));
            pList->GetAt(i)->DoPropExchange(pBarSection.get());
        }
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

BOOL CKLVCommandBars::LoadCommandBarList(CKLVPropExchange* pPX, CKLVCommandBarList* pList) {
    CParamScope scope(pPX, this);
    // Bars are held here until all of them loaded: a failed load leaves nothing half-made.
    CKLVCommandBarList loaded(this);
    try {
        CKLVPropExchangeSection pSection(pPX->OpenSection("CommandBars"));
        std::unique_ptr<CKLVPropExchangeEnumerator> pEnumerator(pSection->OpenEnumerator("CommandBar"));
        POSITION pos = pEnumerator->GetPosition();
        if (!CKLVControls::IsStoredCountPlausible(pSection.get(), pEnumerator->GetCount())) return FALSE;
        while (pos) {
            CKLVPropExchangeSection pBarSection(pEnumerator->GetNext(pos));
            CObject* pObject = nullptr;
            // The exchange checks the class's base before anything is made of it.
            if (!pBarSection->ExchangeObject(pObject, RUNTIME_CLASS(CKLVCommandBar)) || !pObject) return FALSE;
            auto* pBar = static_cast<CKLVCommandBar*>(pObject);
            loaded.Add(pBar);
            pBar->InternalRelease();
            pBar->DoPropExchange(pBarSection.get());
            pBar->GetControls()->RefreshIndexes();
        }
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    for (int i = 0; i < loaded.GetCount(); ++i) pList->Add(loaded.GetAt(i));
    return TRUE;
}

void CKLVCommandBars::GenerateCommandBarList(CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) {
    DWORD nID = CKLVCommandBar::firstGeneratedBarID;
    const BOOL bOnlyCustomized = pParam && pParam->bSerializeOnlyCustomized;
    for (int i = 0; i < GetCount(); ++i) {
        CKLVCommandBar* pBar = GetAt(i);
        if (bOnlyCustomized && pBar->m_bBuiltIn && !pBar->m_bTearOffBar) {
            auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, pBar);
            const BOOL bChanged = pToolBar ? pToolBar->IsResetAvailable() : pBar->GetControls()->IsChanged();
            if (!bChanged) continue;
        }
        pBar->GenerateCommandBarList(nID, pList, pParam);
    }
    for (int i = 0; i < m_pContextMenus->GetCount(); ++i) {
        CKLVCommandBar* pMenu = m_pContextMenus->GetAt(i);
        if (bOnlyCustomized && !pMenu->GetControls()->IsChanged()) continue;
        pMenu->GenerateCommandBarList(nID, pList, pParam);
    }
}

void CKLVCommandBars::RestoreCommandBarList(CKLVCommandBarList* pList, BOOL bSilent) {
    for (int i = 0; i < pList->GetCount(); ++i) {
        CKLVCommandBar* pBar = pList->GetAt(i);
        if (auto* pToolBar = DYNAMIC_DOWNCAST(CKLVToolBar, pBar)) {
            RestoreToolBar(pList, pToolBar, bSilent);
        } else {
            auto* pPopup = DYNAMIC_DOWNCAST(CKLVPopupBar, pBar);
            if (pPopup && pPopup->m_bContextMenu) RestoreContextMenu(pList, pPopup);
        }
    }
}

void CKLVCommandBars::RestoreToolBar(CKLVCommandBarList* pList, CKLVToolBar* pLoaded, BOOL bSilent) {
    pLoaded->RestoreCommandBarList(pList);
    if (CKLVCommandBar* pExisting = FindCommandBar(pLoaded->m_nBarID)) {
        MergeToolBar(pExisting, pLoaded, bSilent);
        return;
    }
    pLoaded->InternalAddRef();
    m_arrBars.Add(pLoaded);
    pLoaded->m_pCommandBars = this;
    pLoaded->m_pLink = this;
    // Making the window may change the flags; the saved ones hold.
    const UINT nFlags = pLoaded->m_nFlags;
    if (m_pSite && m_pSite->GetSafeHwnd()) pLoaded->CreateToolBarWindow(m_pSite, FALSE);
    pLoaded->m_nFlags = nFlags;
    AddRebarBand(pLoaded);
}

void CKLVCommandBars::MergeToolBar(CKLVCommandBar* pExisting, CKLVToolBar* pLoaded, BOOL bSilent) {
    CKLVControls* pExistingOriginal = pExisting->GetControls()->GetOriginalControls();
    CKLVControls* pLoadedOriginal = pLoaded->GetControls()->GetOriginalControls();
    if (pExistingOriginal && pLoadedOriginal && !pExistingOriginal->IsEqualTo(pLoadedOriginal)) {
        // The program's own bar changed since the save: a bar the user never changed, or a
        // silent merge, keeps the new one; otherwise the user chooses.
        if (bSilent || pLoaded->GetControls()->IsEqualTo(pLoadedOriginal)) return;
        if (pExisting->AsksBeforeTakingUpdatedBar() && AskToTakeUpdatedBar(pExisting->GetTitle())) return;
        CControlsRef pKept = HoldOriginals(pExisting);
        pExisting->Copy(pLoaded, FALSE);
        KeepOriginals(pExisting, std::move(pKept));
    } else {
        CControlsRef pKept;
        if (!pLoadedOriginal) pKept = HoldOriginals(pExisting);
        pExisting->Copy(pLoaded, FALSE);
        KeepOriginals(pExisting, std::move(pKept));
    }
    pExisting->m_pCommandBars = this;
    pExisting->m_pLink = this;
    pExisting->DelayLayout();
}

void CKLVCommandBars::RestoreContextMenu(CKLVCommandBarList* pList, CKLVPopupBar* pLoaded) {
    pLoaded->RestoreCommandBarList(pList);
    CKLVControls* pLoadedSet = pLoaded->GetControls();
    CKLVCommandBar* pExisting = m_pContextMenus->FindCommandBar(pLoaded->m_nBarID);
    if (!pExisting) {
        m_pContextMenus->Add(pLoaded);
        if (!pLoadedSet->GetOriginalControls()) pLoadedSet->CreateOriginalControls();
        return;
    }
    // The existing menu takes the loaded set over; without originals of its own the set keeps
    // those the existing menu had.
    if (!pLoadedSet->GetOriginalControls()) KeepOriginals(pLoaded, HoldOriginals(pExisting));
    pLoadedSet->InternalAddRef();
    pLoaded->SetControls(new CKLVControls);
    pExisting->SetControls(pLoadedSet);
}
