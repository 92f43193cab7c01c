// The window of docking pane 702 "Properties": a small tool bar above four property grids of
// which one is shown at a time: the protocol's settings, a packet, a field, or a blank grid.
#pragma once

#include "classlib/ClassLib.h"
#include "toolkit/commandbars/ToolBar.h"
#include "toolkit/propertygrid/PropertyGrid.h"

struct CEditTarget;
struct CFieldGridPlan;
struct CFieldRecord;
struct CPacketRecord;
struct CProtocolRecord;

class CPropertiesPane : public CWnd {
public:
    CPropertiesPane() = default;
    ~CPropertiesPane() override;

    CKLVPropertyGrid m_wndProjectGrid;
    CKLVPropertyGrid m_wndPacketGrid;
    CKLVPropertyGrid m_wndFieldGrid;
    CKLVPropertyGrid m_wndBlankGrid;
    CKLVToolBar m_wndToolBar;

    // The grid and the values for a selected tree item of the protocol editor: the item's kind
    // chooses the grid, the record fills it.
    void ShowTreeItem(const CEditTarget& target, CProtocolRecord* pProtocol);
    // The field grid's items follow an edit of the field; the field may take a derived data
    // type and max length.
    void RefreshFieldGrid(CFieldRecord& field);

protected:
    afx_msg LRESULT OnPropertyValueChanged(WPARAM nCode, LPARAM lParam);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);

    // Creates the grid's window, hidden, owned by the pane and in the pane's theme; FALSE when
    // it already has one.
    BOOL CreateGrid(CKLVPropertyGrid& grid);
    void CreateProjectGrid();
    void CreatePacketGrid();
    void CreateFieldGrid();
    // Shows this grid and hides the other three.
    void ShowGrid(CKLVPropertyGrid& grid);
    void FillProjectGrid(const CProtocolRecord& protocol);
    void FillPacketGrid(const CPacketRecord& packet);
    void ApplyFieldPlan(const CFieldGridPlan& plan);

    DECLARE_MESSAGE_MAP()
};
