// The small buttons at the end of a tab row (scroll back, scroll forward, close) and the close
// button a tab may carry itself.
#pragma once

#include "classlib/Dc.h"
#include "classlib/String.h"

class CKLVTabManager;
class CKLVTabManagerItem;

class CKLVTabManagerNavigateButton {
public:
    enum { idScrollBack = 0, idScrollForward = 1, idClose = 2, idTabList = 4 };
    enum { showNever = 0, showAuto = 1, showAlways = 2 };

    CKLVTabManagerNavigateButton(CKLVTabManager* pManager, UINT nID, int nShowMode);
    virtual ~CKLVTabManagerNavigateButton();
    CKLVTabManagerNavigateButton(const CKLVTabManagerNavigateButton&) = delete;
    CKLVTabManagerNavigateButton& operator=(const CKLVTabManagerNavigateButton&) = delete;

    virtual void AdjustRowLength(int& nLength);
    virtual CSize GetSize();
    // The press loop: ticks while held, acts on a release inside.
    virtual void PerformClick(HWND hWnd, CPoint pt);
    virtual void Reposition(CRect& rcRow);
    virtual void Draw(CDC* pDC, CRect rc) = 0;
    virtual void OnExecute(BOOL bTick);

    UINT GetID() const { return m_nID; }
    CRect GetRect() const { return m_rcButton; }
    void SetRect(const CRect& rc) { m_rcButton = rc; }
    BOOL IsEnabled() const { return m_bEnabled; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsHot() const;
    BOOL IsVisibleOnRow();

    UINT m_nID;
    int m_nShowMode;
    CKLVTabManager* m_pManager;
    CRect m_rcButton;
    BOOL m_bEnabled = TRUE;
    BOOL m_bPressed = FALSE;
    CString m_strToolTip;
    CKLVTabManagerItem* m_pItem = nullptr;

protected:
    BOOL IsHorizontalRow() const;

private:
    struct LoopState;
    BOOL RunPressLoop(HWND hWnd, CPoint& pt);
};

class CKLVTabManagerNavigateButtonScroll : public CKLVTabManagerNavigateButton {
public:
    CKLVTabManagerNavigateButtonScroll(CKLVTabManager* pManager, BOOL bForward);
    void AdjustRowLength(int& nLength) override;
    void Reposition(CRect& rcRow) override;
    void Draw(CDC* pDC, CRect rc) override;
    void OnExecute(BOOL bTick) override;

private:
    BOOL IsNeeded();
};

class CKLVTabManagerNavigateButtonClose : public CKLVTabManagerNavigateButton {
public:
    CKLVTabManagerNavigateButtonClose(CKLVTabManager* pManager, int nShowMode);
    void Draw(CDC* pDC, CRect rc) override;
    void OnExecute(BOOL bTick) override;
};
