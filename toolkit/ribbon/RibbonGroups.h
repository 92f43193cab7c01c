// The groups of one ribbon tab, in order, and their layout across the group area: each group
// starts at its widest, the groups are reduced from the last one backwards until they fit, and
// what still does not fit scrolls. The collection owns its groups.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Geometry.h"

#include <memory>
#include <vector>

class CDC;
class CKLVRibbonGroup;
class CKLVRibbonGroupScroller;
class CKLVRibbonTab;

class CKLVRibbonGroups : public CCmdTarget {
public:
    enum { groupSpacing = 7, defaultGroupsHeight = 93, defaultCaptionHeight = 17 };

    CKLVRibbonGroups();
    ~CKLVRibbonGroups() override;

    // Takes the group; -1 appends. Indexes are renumbered.
    CKLVRibbonGroup* Insert(CKLVRibbonGroup* pGroup, int nIndex = -1);
    void RemoveAll();
    // Groups of the same run-time classes as the source's, each copied from its source group.
    void Copy(const CKLVRibbonGroups* pSource);
    // The tab the groups belong to; null for groups that stand alone.
    CKLVRibbonTab* GetTab() const { return m_pTab; }
    void SetTab(CKLVRibbonTab* pTab) { m_pTab = pTab; }
    int GetCount() const { return static_cast<int>(m_groups.size()); }
    CKLVRibbonGroup* GetAt(int nIndex) const { return m_groups[nIndex].get(); }
    // The first group of the id; null when none.
    CKLVRibbonGroup* FindGroup(int nId) const;
    // The first visible group whose rectangle holds the point; null when none.
    CKLVRibbonGroup* HitTest(CPoint pt) const;

    // The height of the bar's group area and of the theme's group caption band.
    void SetMetrics(int nGroupsHeight, int nCaptionHeight);
    int GetGroupHeight() const { return m_nGroupsHeight - groupSpacing; }
    int GetCaptionHeight() const { return m_nCaptionHeight; }

    // The scroller of the bar the groups lie on (the ribbon's, or a tab popup's); may be null.
    void SetScroller(CKLVRibbonGroupScroller* pScroller) { m_pScroller = pScroller; }
    int GetScrollOffset() const { return m_nScrollOffset; }

    // Lays the visible groups out in a band of the width less the left and right margins,
    // starting at the top margin.
    void Reposition(CDC* pDC, int nWidth, CRect rcMargins);

private:
    std::vector<int> MeasureGroups(CDC* pDC) const;
    void ReduceToFit(CDC* pDC, std::vector<int>& widths, int nRoom) const;
    // The first visible group, from the last backwards, that takes one step at the level.
    int ReduceOne(int nLevel) const;
    int TotalWidth(const std::vector<int>& widths) const;
    int ClampOffset(int nTotal, int nRoom);
    void PlaceGroups(const std::vector<int>& widths, CRect rcMargins) const;
    void Renumber();

    std::vector<std::unique_ptr<CKLVRibbonGroup>> m_groups;
    CKLVRibbonGroupScroller* m_pScroller = nullptr;
    CKLVRibbonTab* m_pTab = nullptr;
    int m_nScrollOffset = 0;
    int m_nGroupsHeight = defaultGroupsHeight;
    int m_nCaptionHeight = defaultCaptionHeight;
};
