#include "classlib/ToolBar.h"

#include "classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

const CToolBarData* CToolBar::FindToolBarData(LPCTSTR lpszResourceName) {
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInstance, lpszResourceName, RT_TOOLBAR);
    HGLOBAL hGlobal = hResource ? ::LoadResource(hInstance, hResource) : nullptr;
    const auto* pData = hGlobal ? static_cast<const CToolBarData*>(::LockResource(hGlobal)) : nullptr;
    const DWORD cbSize = hResource ? ::SizeofResource(hInstance, hResource) : 0;
    if (!pData || cbSize < sizeof(CToolBarData) || cbSize < sizeof(CToolBarData) + pData->wItemCount * sizeof(WORD))
        return nullptr;
    return pData;
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
    const CToolBarData* pData = FindToolBarData(lpszResourceName);
    if (!pData || pData->wVersion != 1) return FALSE;
    HBITMAP hBitmap = ::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName);
    if (!hBitmap) return FALSE;

    m_arrIDs.assign(pData->GetItems(), pData->GetItems() + pData->wItemCount);
    m_sizeImage = CSize(pData->wWidth, pData->wHeight);
    m_sizeButton = CSize(pData->wWidth + 7, pData->wHeight + 7);
    m_bmpImageWell.DeleteObject();
    m_bmpImageWell.Attach(hBitmap);
    return TRUE;
}
