// The property grid window: the list view of rows, the help pane under it with its splitter,
// the paint manager, the shared in-place edit and list, and the one channel (message 0x2ADF)
// through which the owner learns what happened.
#pragma once

#include "classlib/Wnd.h"
#include "toolkit/propertygrid/PropertyGridDefs.h"
#include "toolkit/propertygrid/PropertyGridVerbs.h"

class CKLVPropertyGridView;
class CKLVPropertyGridItem;
class CKLVPropertyGridPaintManager;
class CKLVPropertyGridInplaceEdit;
class CKLVPropertyGridInplaceList;
class CKLVImageManager;

class CKLVPropertyGrid : public CWnd {
public:
    enum { nSplitterHeight = 3, nHelpMinTop = 45, nHelpBottomGap = 20 };
    enum { hitHelpSplitter = 1, hitVerb = 3 };   // a verb's hit code adds its index

    CKLVPropertyGrid();
    ~CKLVPropertyGrid() override;

    virtual BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwListStyle = 0);
    virtual CKLVPropertyGridView* CreateView();
    // A click on a verb link: notification 10 with the verb.
    virtual void OnVerbClick(int nIndex, CPoint point);
    virtual void Navigate(int nPart, BOOL bForward, CKLVPropertyGridItem* pItem);
    virtual LRESULT SendNotifyMessage(WPARAM nCode, LPARAM lParam = 0);
    virtual void Reposition(int cx, int cy);
    virtual int HitTest(CPoint point);
    virtual void OnSelectionChanged(CKLVPropertyGridItem* pItem);
    virtual void OnSortChanged();

    CKLVPropertyGridView& GetGridView();
    // The view's first item, depth first, whose caption is exactly this one; null when none is.
    CKLVPropertyGridItem* FindItemByCaption(LPCTSTR lpszCaption);
    BOOL HasGridView() const { return m_pView != nullptr; }
    CKLVPropertyGridItem* GetSelectedItem();
    CKLVPropertyGridItem* AddCategory(UINT nID);
    CKLVPropertyGridItem* AddCategory(LPCTSTR lpszCaption);
    void SetTheme(int nTheme);
    int GetTheme() const { return m_nTheme; }
    void SetPaintManager(CKLVPropertyGridPaintManager* pPaintManager);
    CKLVPropertyGridPaintManager* GetPaintManager() const { return m_pPaintManager; }
    CKLVImageManager* GetImageManager() const;
    CKLVPropertyGridInplaceEdit& GetInplaceEdit() { return *m_pInplaceEdit; }
    CKLVPropertyGridInplaceList& GetInplaceList() { return *m_pInplaceList; }
    CWnd* GetNextTabWindow(BOOL bPrevious);
    BOOL IsHelpVisible() const { return m_bHelpVisible; }
    int GetHelpHeight() const { return m_nHelpHeight; }
    void ShowHelp(BOOL bShow);
    BOOL CreateGridView(DWORD dwListStyle);
    CKLVPropertyGridVerbs* GetVerbs() const { return m_pVerbs; }
    CKLVPropertyGridVerb* AddVerb(LPCTSTR lpszCaption, UINT nID);
    BOOL IsVerbsVisible() const { return m_pVerbs->GetCount() > 0; }
    // The panes at the bottom of the client: the help pane, and the verb pane above it.
    CRect GetHelpRect() const;
    CRect GetVerbsRect() const;

    int m_nHelpHeight = 58;
    BOOL m_bHelpVisible = TRUE;
    BOOL m_bHelpResizable = TRUE;
    HCURSOR m_hCursorSplit = nullptr;
    HCURSOR m_hCursorHand = nullptr;
    BOOL m_bTabItems = FALSE;
    int m_nTheme = 0;
    CKLVPropertyGridPaintManager* m_pPaintManager;
    CKLVPropertyGridView* m_pView = nullptr;
    BOOL m_bHighlightChangedItems = FALSE;
    CKLVImageManager* m_pImageManager;
    BOOL m_bVariableItemsHeight = FALSE;
    BOOL m_bPreSubclassInit = TRUE;
    CKLVPropertyGridInplaceEdit* m_pInplaceEdit;
    CKLVPropertyGridInplaceList* m_pInplaceList;
    BOOL m_bShowInplaceButtonsAlways = FALSE;
    CRect m_rcTracker;
    int m_nBorderStyle = 2;
    int m_nVerbsHeight = 25;
    int m_nFocusedVerb = -1;
    CKLVPropertyGridVerbs* m_pVerbs;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void TrackHelpSplitter();
    void InvertTracker(CDC* pDC);
    void OnPaintGrid();
    void OnSetFocusGrid(HWND hWndOld);
    BOOL TryNavigatePart(int nPart, BOOL bForward, CKLVPropertyGridItem*& pItem);
    void FocusRow(int nRow);
};
