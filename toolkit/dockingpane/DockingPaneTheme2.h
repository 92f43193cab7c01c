// The theme 2 family of pane themes: caption bands in gradients with a column of grip dots,
// floating frames framed in the scheme's border colour, and colours by the XP colour scheme
// (theme 2), with a larger caption font and plain bands (theme 7), or from the resource theme's
// colour keys (theme 10).
#pragma once

#include "toolkit/dockingpane/DockingPaneThemes.h"

class CKLVDockingPaneTheme2 : public CKLVDockingPaneTheme1 {
public:
    CKLVDockingPaneTheme2();

    void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void RefreshMetrics() override;
    CRect GetCaptionGripperRect(const CKLVDockingPaneTabbedContainer* pPane) override;
    void DrawFloatingFrame(CDC* pDC, CWnd* pFrame, CRect rc) override;
    void DrawCaptionBar(CDC* pDC, CKLVDockingNode* pOwner, CRect rcCaption, const CString& strTitle, BOOL bActive,
                        BOOL bVertical) override;

    // The XP scheme the colour-scheme field asks for; none (0) for any other value.
    int GetAppliedScheme() const;

    BOOL m_bCaptionGripper = TRUE;
    BOOL m_bRoundedCaption = TRUE;

protected:
    // A container's caption band: from its edge, caption height + 3 deep.
    CRect GetFamilyBand(const CKLVDockingPaneTabbedContainer* pPane, CRect rc) const;
    BOOL IsCaptionActive(const CKLVDockingPaneTabbedContainer* pPane) const;
    // The table colours of an XP scheme (1 to 3) into the colour table.
    void WriteSchemeTable(int nScheme);

private:
    void DrawGripperDots(CDC* pDC, CRect& rcCaption, BOOL bVertical);
};

class CKLVDockingPaneTheme7 : public CKLVDockingPaneTheme2 {
public:
    CKLVDockingPaneTheme7();
    void RefreshMetrics() override;
    CRect GetCaptionGripperRect(const CKLVDockingPaneTabbedContainer* pPane) override {
        return CKLVDockingPaneTheme::GetCaptionGripperRect(pPane);
    }
};

class CKLVDockingPaneTheme10 : public CKLVDockingPaneTheme2 {
public:
    CKLVDockingPaneTheme10();
    void DrawCaption(CDC* pDC, CKLVDockingPaneTabbedContainer* pPane, CRect rc) override;
    void RefreshMetrics() override;

private:
    void TakeResourceColors();
    void TakeFixedColors();
};
