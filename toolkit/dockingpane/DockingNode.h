// The node interface every part of a docking layout implements (panes, tabbed and splitter
// containers, floating frames, the client node and auto-hide panels), with the node base's
// behaviour. Nodes are reference counted through the command target of their class; Release
// drops one reference.
#pragma once

#include "classlib/ControlBar.h"
#include "classlib/List.h"
#include "classlib/Map.h"
#include "classlib/Wnd.h"

#include <memory>
#include <vector>

class CKLVDockingLayout;
class CKLVDockingNode;
class CKLVDockingPaneManager;
class CKLVDockingPaneTheme;
class CKLVDockingPaneCaptionButton;
class CKLVPropExchange;

using CKLVDockingNodeList = CList<CKLVDockingNode*, CKLVDockingNode*>;

// A layout request without a deferred-position handle only measures; none at all lays out.
inline BOOL IsMeasuringPass(const AFX_SIZEPARENTPARAMS* pParams) { return pParams && !pParams->hDWP; }
using CKLVDockingNodeMap = CMap<CKLVDockingNode*, CKLVDockingNode*, CKLVDockingNode*, CKLVDockingNode*>;

class CKLVDockingNode {
public:
    enum Type { typePane = 0, typeTabbedContainer = 1, typeSplitterContainer = 2, typeMiniWnd = 3,
                typeClient = 4, typeAutoHidePanel = 5 };
    enum { nMaxTrackSize = 32000 };

    // Appends itself to the layout's node list; the docking site is the manager's site.
    CKLVDockingNode(int nType, CKLVDockingLayout* pLayout);
    virtual ~CKLVDockingNode();
    CKLVDockingNode(const CKLVDockingNode&) = delete;
    CKLVDockingNode& operator=(const CKLVDockingNode&) = delete;

    virtual void RedrawPane();
    virtual BOOL ContainsPane(const CKLVDockingNode* pNode) const { return pNode == this; }
    virtual void FindPane(int nType, CKLVDockingNodeList* pList);
    virtual void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const;
    virtual BOOL IsEmpty() const { return FALSE; }
    virtual CWnd* GetDockingSite() const { return m_pDockingSite; }
    virtual BOOL IsHidden() const { return FALSE; }
    virtual HWND GetPaneHwnd() const { return nullptr; }
    // pParams without a deferred-position handle is a measuring pass; null lays out.
    virtual void OnSizeParent(CWnd* pSite, CRect rect, AFX_SIZEPARENTPARAMS* pParams);
    virtual void UpdateActiveState() {}
    virtual void SetDockingSite(CWnd* pSite) { m_pDockingSite = pSite; }
    virtual void SetParentContainer(CKLVDockingNode* pContainer) { m_pParentContainer = pContainer; }
    virtual void OnChildChanged(CKLVDockingNode* /*pNode*/) {}
    virtual void UpdateCaption();
    virtual void OnParentChanged(CKLVDockingNode* /*pNode*/) {}
    virtual BOOL DoPropExchange(CKLVPropExchange* pPX);
    // A new node of this type in pLayout; pMap (when given) records this -> new.
    virtual CKLVDockingNode* Clone(CKLVDockingLayout* pLayout, CKLVDockingNodeMap* pMap, DWORD dwIgnoredOptions = 0);
    virtual void RemovePane(CKLVDockingNode* /*pNode*/) {}
    virtual void OnReserved() {}
    virtual BOOL IsCaptionButtonVisible(CKLVDockingPaneCaptionButton* /*pButton*/) { return TRUE; }
    virtual void Release() = 0;

    int GetType() const { return m_nType; }
    CKLVDockingLayout* GetLayout() const { return m_pLayout; }
    CKLVDockingNode* GetContainer() const { return m_pParentContainer; }
    CKLVDockingPaneManager* GetManager() const;
    CKLVDockingPaneTheme* GetPaintManager() const;
    CRect GetPaneWindowRect() const { return m_rcWindow; }
    // The node's rectangle on the screen; the plain rectangle without a site window.
    CRect GetScreenRect() const;
    CKLVDockingPaneCaptionButton* FindCaptionButton(UINT nID) const;
    const std::vector<std::unique_ptr<CKLVDockingPaneCaptionButton>>& GetCaptionButtons() const {
        return m_arrCaptionButtons;
    }
    // Every caption button follows the point (client co-ordinates of its owner); TRUE when
    // any hot state changed.
    BOOL CheckCaptionButtons(CPoint point);
    // The layout let go of this node; a reference held elsewhere must not reach back into it.
    void ForgetLayout() { m_pLayout = nullptr; }
    // The node now belongs to pLayout (a loaded layout's nodes move into the layout loaded).
    void MoveToLayout(CKLVDockingLayout* pLayout) { m_pLayout = pLayout; }

    CSize m_szDocking;        // what the node asks for when docked
    CRect m_rcWindow;         // its place in the docking site's client co-ordinates
    int m_nLength = 0;        // the splitter's working length during a size distribution
    int m_nIndex = 0;         // the record number in a saved layout

protected:
    void AddCaptionButton(UINT nID, CWnd* pOwner);

    CKLVDockingLayout* m_pLayout;
    CKLVDockingNode* m_pParentContainer = nullptr;
    CWnd* m_pDockingSite = nullptr;
    int m_nType;
    std::vector<std::unique_ptr<CKLVDockingPaneCaptionButton>> m_arrCaptionButtons;
};

// The base of the nodes that hold other nodes: an ordered child list.
class CKLVDockingContainer : public CKLVDockingNode {
public:
    using CKLVDockingNode::CKLVDockingNode;

    BOOL ContainsPane(const CKLVDockingNode* pNode) const override;
    void FindPane(int nType, CKLVDockingNodeList* pList) override;
    BOOL IsEmpty() const override;

    CKLVDockingNode* GetFirstPane() const { return m_lstPanes.IsEmpty() ? nullptr : m_lstPanes.GetHead(); }
    CKLVDockingNode* GetLastPane() const { return m_lstPanes.IsEmpty() ? nullptr : m_lstPanes.GetTail(); }
    POSITION GetHeadPosition() const { return m_lstPanes.GetHeadPosition(); }
    CKLVDockingNode* GetNext(POSITION& pos) const { return m_lstPanes.GetNext(pos); }
    INT_PTR GetCount() const { return m_lstPanes.GetCount(); }
    BOOL HasChild(const CKLVDockingNode* pNode) const {
        return m_lstPanes.Find(const_cast<CKLVDockingNode*>(pNode)) != nullptr;
    }

protected:
    CKLVDockingNodeList m_lstPanes;
};
