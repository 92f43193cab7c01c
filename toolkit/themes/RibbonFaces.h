// What theme 6 reads of the ribbon's bar, groups and context headers when it draws them. The
// ribbon's classes answer it (its tabs answer CKLVRibbonContextTab), so that the themes know the
// ribbon only through these faces and the ribbon alone includes the themes.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "toolkit/themes/FrameIntegration.h"

class CKLVControl;
class CKLVControls;
class CKLVRibbonContextTab;
class CWnd;

// One coloured header above a run of context tabs.
struct KLVRibbonContextHeaderLook {
    CString strCaption;
    int nColor = 0;
    CRect rcHeader;
};

// The context headers in their order.
class CKLVRibbonContextHeaderList {
public:
    virtual int GetHeaderCount() const = 0;
    virtual KLVRibbonContextHeaderLook GetHeaderLook(int nIndex) const = 0;

protected:
    ~CKLVRibbonContextHeaderList() = default;
};

// A group of the ribbon: its body with the caption band, and the controls it may join into strips.
class CKLVRibbonGroupFace {
public:
    // The group that lists the control; null for a control in no group.
    static const CKLVRibbonGroupFace* Of(const CKLVControl* pControl);

    virtual BOOL IsVisible() const = 0;
    virtual CRect GetRect() const = 0;
    virtual const CString& GetGroupCaption() const = 0;
    // The ribbon shows the group highlighted.
    virtual BOOL IsHighlighted() const = 0;
    // The tab the group lies on; null for a group on no tab.
    virtual CKLVRibbonContextTab* GetContextTab() const = 0;
    // The group's buttons are drawn joined into strips.
    virtual BOOL IsControlsJoined() const = 0;
    virtual int GetControlCount() const = 0;
    virtual CKLVControl* GetControlAt(int nIndex) const = 0;

protected:
    ~CKLVRibbonGroupFace() = default;
};

// The ribbon bar: its caption band with the quick access tool bar, system button, context headers
// and title, and the closing lines below.
class CKLVRibbonBarFace : public CKLVFrameCaptionOwner {
public:
    virtual CRect GetRibbonClientRect() const = 0;
    virtual CRect GetCaptionRect() const = 0;
    virtual CRect GetTitleRect() const = 0;
    virtual CRect GetQuickAccessRect() const = 0;
    virtual BOOL IsQuickAccessVisible() const = 0;
    virtual BOOL IsQuickAccessBelow() const = 0;
    virtual int GetQuickAccessHeight() const = 0;
    virtual CKLVControls* GetQuickAccessControlList() const = 0;
    virtual int GetGroupsAreaHeight() const = 0;
    virtual BOOL IsTabRowShown() const = 0;
    virtual BOOL HasCaptionBand() const = 0;
    virtual CKLVControl* GetSystemButton() const = 0;
    // The window the ribbon's command bars sit in (its frame).
    virtual CWnd* GetRibbonSite() const = 0;
    virtual CKLVRibbonContextHeaderList* GetContextHeaderList() = 0;
};
