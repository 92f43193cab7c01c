// The window of docking pane 702 "Properties": a small tool bar above four property grids of
// which one is shown at a time: the protocol's settings, a packet, a field, or a blank grid.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/propertygrid/PropertyGrid.h"

class CPropertiesPane : public CWnd {
public:
    CPropertiesPane() = default;
    ~CPropertiesPane() override;

    CKLVPropertyGrid m_wndProjectGrid;
    CKLVPropertyGrid m_wndPacketGrid;
    CKLVPropertyGrid m_wndFieldGrid;
    CKLVPropertyGrid m_wndBlankGrid;
    CKLVToolBar m_wndToolBar;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);

    // Creates the grid's window, hidden, owned by the pane and in the pane's theme; FALSE when
    // it already has one.
    BOOL CreateGrid(CKLVPropertyGrid& grid);
    void CreateProjectGrid();
    void CreatePacketGrid();
    void CreateFieldGrid();

    DECLARE_MESSAGE_MAP()
};
