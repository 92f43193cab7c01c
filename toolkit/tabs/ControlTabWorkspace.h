// A command-bar control that shows the MDI tab client's tabs in a bar: it lends the client a
// workspace of its own, draws that row in its rectangle and forwards clicks and mouse moves to it.
#pragma once

#include "toolkit/commandbars/controlbase/ControlButton.h"
#include "toolkit/tabs/TabWorkspace.h"

class CKLVTabClientWnd;

class CKLVControlTabWorkspace : public CKLVControlButton {
    DECLARE_DYNCREATE(CKLVControlTabWorkspace)
public:
    CKLVControlTabWorkspace();
    // The client gets its own workspaces back.
    ~CKLVControlTabWorkspace() override;

    // The client's tabs go into this control's row (null: back to the client's own rows).
    void SetTabClient(CKLVTabClientWnd* pClient);
    CKLVTabClientWnd* GetTabClient() const { return m_workspace.m_pClient; }
    CKLVTabWorkspace* GetWorkspace() { return &m_workspace; }

    // Along the bar: the row's items; across it: the fixed thickness.
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseMove(CPoint pt) override;

    int m_nThickness = 24;

private:
    // The row of the control: drawn in the bar, laid out in the control's rectangle.
    class CRowWorkspace : public CKLVTabWorkspace {
    public:
        explicit CRowWorkspace(CKLVControlTabWorkspace* pControl) : m_pControl(pControl) {}
        CWnd* GetHostWindow() const override;
        void Reposition() override;
        void RedrawControl(const RECT* lpRect, BOOL bAnimate) override;

    private:
        CKLVControlTabWorkspace* m_pControl;
    };

    BOOL IsVerticalBar() const;
    void LayoutRow(CDC* pDC);

    CRowWorkspace m_workspace;
};
