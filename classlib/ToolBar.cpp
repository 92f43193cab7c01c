#include "classlib/ToolBar.h"

#include "classlib/Controls.h"
#include "classlib/FrameWnd.h"
#include "classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

// The images of a bitmap resource of the current resource handle, sizeImage.cy high and
// sizeImage.cx wide each; the colour of its top-left pixel is transparent.
BOOL LoadImages(CImageList& images, LPCTSTR lpszResourceName, CSize sizeImage) {
    if (sizeImage.cx <= 0 || sizeImage.cy <= 0) return FALSE;
    if (!images.Attach(ImageList_LoadImageA(AfxGetResourceHandle(), lpszResourceName, sizeImage.cx, 4, CLR_DEFAULT,
                                            IMAGE_BITMAP, LR_CREATEDIBSECTION)))
        return FALSE;
    return images.GetIconSize() == sizeImage;
}

// Updates one button of a tool bar: enabled and checked states go to the button.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar* pBar) : m_pBar(pBar) {}
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        m_pBar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn != FALSE, 0));
    }
    void SetCheck(int nCheck) override {
        m_pBar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck == 1, 0));
        m_pBar->SendMessage(TB_INDETERMINATE, m_nID, MAKELPARAM(nCheck == 2, 0));
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCTSTR) override {}   // the buttons show images only

private:
    CToolBar* m_pBar;
};

}  // namespace

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    // The bar's own styles share bits with window styles: they are kept apart, and the frame's
    // layout rather than the control places the bar.
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | (dwCtrlStyle & 0xFFFF) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (dwStyle & CBRS_TOOLTIPS) dwWndStyle |= TBSTYLE_TOOLTIPS;   // the parent gives the texts
    if (!AfxCreateCommonControl(*this, ICC_BAR_CLASSES, TOOLBARCLASSNAMEA, 0, dwWndStyle, CRect(0, 0, 0, 0),
                                pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

const CToolBarData* CToolBar::FindToolBarData(LPCTSTR lpszResourceName) {
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInstance, lpszResourceName, RT_TOOLBAR);
    HGLOBAL hGlobal = hResource ? ::LoadResource(hInstance, hResource) : nullptr;
    const auto* pData = hGlobal ? static_cast<const CToolBarData*>(::LockResource(hGlobal)) : nullptr;
    const DWORD cbSize = hResource ? ::SizeofResource(hInstance, hResource) : 0;
    // A count beyond the resource's end is damage, not a longer bar.
    if (!pData || cbSize < sizeof(CToolBarData) || cbSize < sizeof(CToolBarData) + pData->wItemCount * sizeof(WORD))
        return nullptr;
    return pData;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (!m_hWnd) return;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

void CToolBar::ShowImages(CImageList& images) {
    m_images.Attach(images.Detach());
    if (m_hWnd) SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.m_hImageList));
}

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName) {
    CImageList images;
    if (!LoadImages(images, lpszResourceName, m_sizeImage)) return FALSE;
    ShowImages(images);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
    const CToolBarData* pData = FindToolBarData(lpszResourceName);
    if (!pData || pData->wVersion != 1) return FALSE;
    const CSize sizeImage(pData->wWidth, pData->wHeight);
    CBitmap bitmap;
    if (!bitmap.Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName))) return FALSE;
    // The window's images are made before anything changes, so that a failure changes nothing.
    CImageList images;
    if (m_hWnd && !LoadImages(images, lpszResourceName, sizeImage)) return FALSE;

    const std::vector<UINT> ids(pData->GetItems(), pData->GetItems() + pData->wItemCount);
    SetSizes(CSize(sizeImage.cx + 7, sizeImage.cy + 7), sizeImage);
    m_bmpImageWell.DeleteObject();
    m_bmpImageWell.Attach(bitmap.Detach());
    if (m_hWnd) ShowImages(images);
    return SetButtons(ids.data(), static_cast<int>(ids.size()));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    m_arrIDs.clear();
    if (lpIDArray && nIDCount > 0) m_arrIDs.assign(lpIDArray, lpIDArray + nIDCount);
    else m_arrIDs.assign(static_cast<size_t>(std::max(nIDCount, 0)), 0u);
    if (!m_hWnd) return TRUE;
    while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons(m_arrIDs.size());
    int nImage = 0;
    for (size_t i = 0; i < buttons.size(); ++i) {
        TBBUTTON& button = buttons[i];
        const UINT nID = m_arrIDs[i];
        button.idCommand = static_cast<int>(nID);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = nID ? TBSTYLE_BUTTON : TBSTYLE_SEP;
        button.iBitmap = nID ? nImage++ : 0;
    }
    if (buttons.empty()) return TRUE;
    return static_cast<BOOL>(SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())));
}

int CToolBar::GetCount() const { return static_cast<int>(m_arrIDs.size()); }

UINT CToolBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_arrIDs[static_cast<size_t>(nIndex)] : 0;
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    const auto it = std::find(m_arrIDs.begin(), m_arrIDs.end(), nIDFind);
    return nIDFind == 0 || it == m_arrIDs.end() ? -1 : static_cast<int>(it - m_arrIDs.begin());
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!m_hWnd || !SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    // The extent of the buttons as the control lays them out, at least one button.
    CSize size = m_sizeButton;
    for (int i = 0; i < GetCount(); ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        size.cx = std::max<LONG>(size.cx, rect.right);
        size.cy = std::max<LONG>(size.cy, rect.bottom);
    }
    if (bStretch) {
        if (bHorz) size.cx = 32767;
        else size.cy = 32767;
    }
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    if (!m_hWnd) return;
    CToolCmdUI state(this);
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = GetItemID(i);
        if (state.m_nID) state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}
