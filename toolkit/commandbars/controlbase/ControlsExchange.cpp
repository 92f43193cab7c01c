// A control set's saved state: the controls by class name, the original set the program built,
// and the walk over the popup bars the controls lead to.
#include "toolkit/commandbars/controlbase/Controls.h"

#include "classlib/Exceptions.h"
#include "classlib/File.h"
#include "toolkit/commandbars/controlbase/CommandBarList.h"
#include "toolkit/commandbars/controlbase/Control.h"
#include "toolkit/commandbars/controlbase/ControlPopup.h"
#include "toolkit/commandbars/controlbase/PropExchangeParam.h"
#include "toolkit/common/PropExchangeArchive.h"

#include <memory>

namespace {

// No bar or control set of a real program comes near this many elements.
const DWORD kMaxStoredCount = 0x10000;

// Releases a set that never reached its owner.
struct CControlsReleaser {
    void operator()(CKLVControls* pControls) const { pControls->InternalRelease(); }
};
using CControlsRef = std::unique_ptr<CKLVControls, CControlsReleaser>;

BOOL IsSavingOriginals(const CKLVPropExchange* pPX) {
    const auto* pParam = static_cast<const CKLVPropExchangeParam*>(pPX->m_pContext);
    return !pParam || pParam->bSaveOriginalControls;
}

}  // namespace

BOOL CKLVControls::IsStoredCountPlausible(CKLVPropExchange* pPX, DWORD dwCount) {
    if (dwCount > kMaxStoredCount) return FALSE;
    auto* pArchivePX = DYNAMIC_DOWNCAST(CKLVPropExchangeArchive, pPX);
    if (!pArchivePX || dwCount == 0) return TRUE;
    // Every element takes at least a byte of what the archive has left.
    CArchive* pArchive = pArchivePX->OpenArchive(nullptr);
    CFile* pFile = pArchive->GetFile();
    const ULONGLONG nBuffered = static_cast<ULONGLONG>(pArchive->m_lpBufMax - pArchive->m_lpBufCur);
    const ULONGLONG nLength = pFile->GetLength(), nPosition = pFile->GetPosition();
    const ULONGLONG nLeft = nBuffered + (nLength > nPosition ? nLength - nPosition : 0);
    return dwCount <= nLeft;
}

void CKLVControls::SetOriginalControls(CKLVControls* pOriginal) {
    if (m_pOriginalControls) m_pOriginalControls->InternalRelease();
    m_pOriginalControls = pOriginal;
}

void CKLVControls::DoPropExchange(CKLVPropExchange* pPX) {
    std::unique_ptr<CKLVPropExchangeEnumerator> pEnumerator(pPX->OpenEnumerator("Control"));
    if (pPX->IsStoring()) {
        DWORD dwCount = 0;
        for (int i = 0; i < GetCount(); ++i) dwCount += GetAt(i)->IsTemporary() ? 0 : 1;
        POSITION pos = pEnumerator->GetPosition(dwCount);
        for (int i = 0; pos && i < GetCount(); ++i) {
            CKLVControl* pControl = GetAt(i);
            if (pControl->IsTemporary()) continue;
            CKLVPropExchangeSection pSection(pEnumerator->GetNext(pos));
            CObject* pObject = pControl;
            pSection->ExchangeObject(pObject, RUNTIME_CLASS(CKLVControl));
            pControl->DoPropExchange(pSection.get());
        }
    } else {
        RemoveAll();
        POSITION pos = pEnumerator->GetPosition();
        if (!IsStoredCountPlausible(pPX, pEnumerator->GetCount())) AfxThrowArchiveException(CArchiveException::badIndex);
        while (pos) {
            CKLVPropExchangeSection pSection(pEnumerator->GetNext(pos));
            CObject* pObject = nullptr;
            // The exchange checks the class's base before anything is made of it.
            if (!pSection->ExchangeObject(pObject, RUNTIME_CLASS(CKLVControl)) || !pObject)
                AfxThrowArchiveException(CArchiveException::badClass);
            // In the set first: the control finds its bar's managers while it loads.
            auto* pControl = static_cast<CKLVControl*>(Append(static_cast<CKLVControl*>(pObject)));
            pControl->DoPropExchange(pSection.get());
        }
        RefreshIndexes();
    }

    const UINT nSchema = pPX->GetSchema();
    if (nSchema > 2) {
        BOOL bOriginal = pPX->IsStoring() && m_pOriginalControls && IsSavingOriginals(pPX);
        PX_Bool(pPX, "OriginalControls", bOriginal, FALSE);
        if (bOriginal) {
            CKLVPropExchangeSection pSection(pPX->OpenSection("OriginalControls"));
            if (pPX->IsStoring()) {
                m_pOriginalControls->DoPropExchange(pSection.get());
            } else {
                CControlsRef pOriginal(static_cast<CKLVControls*>(GetRuntimeClass()->CreateObject()));
                pOriginal->m_pCommandBars = GetCommandBars();
                pOriginal->DoPropExchange(pSection.get());
                SetOriginalControls(pOriginal.release());
            }
        }
    }
    // Older programs kept a third set here; it is read past and dropped.
    BOOL bCustomized = FALSE;
    PX_Bool(pPX, "CustomizedControls", bCustomized, FALSE);
    if (pPX->IsLoading() && bCustomized) {
        CKLVPropExchangeSection pSection(pPX->OpenSection("CustomizedControls"));
        CControlsRef pScratch(static_cast<CKLVControls*>(GetRuntimeClass()->CreateObject()));
        pScratch->m_pCommandBars = GetCommandBars();
        pScratch->DoPropExchange(pSection.get());
    }
}

void CKLVControls::GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) {
    for (int i = 0; i < GetCount(); ++i)
        if (!GetAt(i)->IsTemporary()) GetAt(i)->GenerateCommandBarList(nID, pList, pParam);
    if (m_pOriginalControls && (!pParam || pParam->bSaveOriginalControls))
        m_pOriginalControls->GenerateCommandBarList(nID, pList, pParam);
}

void CKLVControls::RestoreCommandBarList(CKLVCommandBarList* pList) {
    for (int i = 0; i < GetCount(); ++i) GetAt(i)->RestoreCommandBarList(pList);
    if (m_pOriginalControls) m_pOriginalControls->RestoreCommandBarList(pList);
}

void CKLVControl::GenerateCommandBarList(DWORD&, CKLVCommandBarList*, CKLVPropExchangeParam*) {}

void CKLVControl::RestoreCommandBarList(CKLVCommandBarList*) {}

void CKLVControlPopup::GenerateCommandBarList(DWORD& nID, CKLVCommandBarList* pList, CKLVPropExchangeParam* pParam) {
    if (m_pCommandBar) BarHost()->GenerateCommandBarList(nID, pList, pParam);
}

void CKLVControlPopup::RestoreCommandBarList(CKLVCommandBarList* pList) {
    // Each saved id is resolved once, which also ends the walk on a cycle of popups.
    const UINT nSavedId = m_nCommandBarId;
    m_nCommandBarId = 0;
    if (m_pCommandBar || nSavedId == 0) return;
    CKLVCommandBar* pBar = pList->FindCommandBar(nSavedId);
    if (!pBar) return;
    SetCommandBar(pBar);
    BarHost()->RestoreCommandBarList(pList);
}
