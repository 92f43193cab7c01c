// The controls of the system button's popup: the buttons of its bottom strip, the entries of its
// lists, a list's caption, and the recent file list that puts the application's recent files
// below its caption.
#pragma once

#include "toolkit/commandbars/controlbase/ControlButton.h"

class CRecentFileList;

// A button of the popup's bottom strip: the skin's button face behind a 16-pixel icon (22 for a
// button with its caption below) and its caption, as a tool bar button rather than a menu item.
class CKLVRibbonControlSystemPopupBarButton : public CKLVControlButton {
    DECLARE_SERIAL(CKLVRibbonControlSystemPopupBarButton)
public:
    enum { smallIcon = 16, largeIcon = 22, iconLeft = 3, textGap = 4, textRight = 6, faceParts = 3 };

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;

    CSize GetIconSize() const;
};

class CKLVRibbonControlSystemPopupBarListItem : public CKLVControlButton {
    DECLARE_SERIAL(CKLVRibbonControlSystemPopupBarListItem)
public:
    enum { itemWidth = 300, itemHeight = 21, captionIndent = 7 };

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
};

class CKLVRibbonControlSystemPopupBarListCaption : public CKLVControl {
    DECLARE_SERIAL(CKLVRibbonControlSystemPopupBarListCaption)
public:
    enum { captionWidth = 300, captionHeight = 27 };

    CKLVRibbonControlSystemPopupBarListCaption();
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
};

class CKLVRibbonControlSystemRecentFileList : public CKLVRibbonControlSystemPopupBarListCaption {
    DECLARE_SERIAL(CKLVRibbonControlSystemRecentFileList)
public:
    enum { firstRecentFileId = 57616, maxDisplayName = 260 };
    // Entry flags: a list item that shows its tooltip in the popup.
    enum { itemFlags = flagListItem | flagPopupTooltip };

    // Puts a list item per recent file after the caption, first taking the earlier ones away.
    void PrepareDynamicLayout(int nMode) override;

protected:
    // The application's list unless a subclass shows another.
    virtual CRecentFileList* GetRecentFileList();

private:
    void RemoveFileItems(int nCount);
    void InsertFileItems(CRecentFileList* pList);
};
