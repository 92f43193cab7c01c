// The tab paint manager: the settings every row it draws shares (position, layout, fonts,
// margins, tooltip mode) and two replaceable strategies, an appearance set (shapes, margins, row
// height) and a colour set (colours and fills), each made by number.
#pragma once

#include "classlib/CmdTarget.h"
#include "classlib/Dc.h"
#include "classlib/GdiObject.h"
#include "toolkit/tabs/TabPainterObserver.h"

#include <memory>

class CKLVTabManager;
class CKLVTabManagerItem;
class CKLVTabManagerNavigateButton;
class CKLVTabStyle;
class CKLVTabColors;

class CKLVTabPainter : public CCmdTarget {
public:
    enum Position { positionTop = 0, positionLeft = 1, positionBottom = 2, positionRight = 3 };
    enum Layout { layoutNormal = 0, layoutSizeToFit = 1, layoutFixed = 2, layoutCompressed = 3, layoutMultiRow = 4,
                  layoutRotated = 5 };
    enum { nPresetColorFirst = 0x1000000, nPresetColorCount = 8 };

    // Makers of the appearances and colour sets that live beside the paint manager; a number
    // with no maker gives appearance 0 or the colour-set base. A null maker removes one.
    using AppearanceCreator = CKLVTabStyle* (*)();
    using ColorSetCreator = CKLVTabColors* (*)();
    static void RegisterAppearance(int nAppearance, AppearanceCreator pfnCreate);
    static void RegisterColorSet(int nColorSet, ColorSetCreator pfnCreate);

    CKLVTabPainter();
    ~CKLVTabPainter() override;

    virtual void DrawTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rcControl);
    virtual void AdjustClientRect(CKLVTabManager* pTabManager, CRect& rcClient);
    virtual void RepositionTabControl(CKLVTabManager* pTabManager, CDC* pDC, CRect rcClient);
    virtual void DrawNavigateButton(CDC* pDC, CKLVTabManagerNavigateButton* pButton, CRect& rc);
    virtual int DrawItemContent(CDC* pDC, CKLVTabManagerItem* pItem, CRect rcItem, BOOL bDraw);
    virtual void RefreshMetrics();
    virtual void NotifyObservers();
    virtual void DrawFocusRect(CDC* pDC, CKLVTabManagerItem* pItem, CRect rc);

    CKLVTabStyle* SetAppearance(int nAppearance);
    void SetAppearanceSet(CKLVTabStyle* pAppearanceSet);
    int GetAppearance() const { return m_nAppearance; }
    CKLVTabStyle* GetAppearanceSet() const { return m_pAppearanceSet.get(); }
    CKLVTabColors* SetColor(int nColorSet);
    void SetColorSet(CKLVTabColors* pColorSet);
    int GetColor() const { return m_nColor; }
    CKLVTabColors* GetColorSet() const { return m_pColorSet.get(); }
    void SetPosition(int nPosition);
    int GetPosition() const { return m_nPosition; }
    void SetLayout(int nLayout);
    int GetLayout() const { return m_nLayout; }
    void SetFontIndirect(const LOGFONTA* pLogFont, BOOL bUseStandardFont = FALSE);
    CFont* GetFont(BOOL bVertical = FALSE) { return bVertical ? &m_fntVerticalNormal : &m_fntNormal; }
    CFont* GetBoldFont(BOOL bVertical = FALSE) { return bVertical ? &m_fntVerticalBold : &m_fntBold; }
    BOOL IsLunaColorsDisabled() const;
    CKLVTabPainterObserverArray& GetObservers() { return m_arrObservers; }
    void AddObserver(CKLVTabPainterObserver* pObserver) { m_arrObservers.Add(pObserver); }
    void RemoveObserver(CKLVTabPainterObserver* pObserver) { m_arrObservers.Remove(pObserver); }
    // The next preset colour code for a new tab; the counter runs over every row drawn by this
    // paint manager.
    COLORREF NextPresetColor() { return nPresetColorFirst + (m_nItemColor++ % nPresetColorCount); }

    static COLORREF GetPresetItemColor(COLORREF clrCode);
    static void InflateRectEx(CRect& rc, int nLeft, int nTop, int nRight, int nBottom, int nPosition);
    static void InflateRectEx(CRect& rc, const CRect& rcMargins, int nPosition) {
        InflateRectEx(rc, rcMargins.left, rcMargins.top, rcMargins.right, rcMargins.bottom, nPosition);
    }
    static void DeflateRectEx(CRect& rc, int nLeft, int nTop, int nRight, int nBottom, int nPosition) {
        InflateRectEx(rc, -nLeft, -nTop, -nRight, -nBottom, nPosition);
    }
    static void DeflateRectEx(CRect& rc, const CRect& rcMargins, int nPosition) {
        InflateRectEx(rc, -rcMargins.left, -rcMargins.top, -rcMargins.right, -rcMargins.bottom, nPosition);
    }
    static void DrawHorzLine(CDC* pDC, int x, int y, int nWidth, COLORREF clr);
    static void DrawVertLine(CDC* pDC, int x, int y, int nHeight, COLORREF clr);
    static void DrawLine(CDC* pDC, COLORREF clr, int x1, int y1, int x2, int y2);
    // Each point after the first is a step (dx, dy) from the previous one.
    static void DrawPolyline(CDC* pDC, COLORREF clr, const POINT* pts, int nCount);
    static void DrawEdgeLine(CDC* pDC, CRect rc, int nPosition, COLORREF clr1, COLORREF clr2);
    static COLORREF FillItemPolygon(CDC* pDC, CKLVTabManagerItem* pItem, const POINT* pts, int nCount, int nPosition,
                                    BOOL bAbsolute);
    static void DrawTextMiddleEllipsis(CDC* pDC, const CString& strText, CRect rc, UINT nFormat);

    // The default drawing and layout of a row (the appearance's DrawTabControl and
    // RepositionTabControl land here).
    void DrawTabRow(CKLVTabManager* pTabManager, CDC* pDC, CRect rcControl);
    void LayoutTabRow(CKLVTabManager* pTabManager, CDC* pDC, CRect rcClient);
    CRect GetItemsRect(CKLVTabManager* pTabManager, CRect rcClient);
    void FitItems(CKLVTabManager* pTabManager, int nRoom);
    void LayoutMultiRow(CKLVTabManager* pTabManager, CDC* pDC, CRect rcClient);
    int CalcRows(CKLVTabManager* pTabManager, CDC* pDC, int nRoom);
    BOOL FillRows(CKLVTabManager* pTabManager, int nRoom, int nRow, int nRemaining);
    void EnsureVisible(CKLVTabManager* pTabManager, CKLVTabManagerItem* pItem);

    void* m_pReserved1 = nullptr;
    BOOL m_bShowIcons = TRUE;
    BOOL m_bBoldSelected = FALSE;
    BOOL m_bBoldNormal = FALSE;
    BOOL m_bDisableLunaColors = FALSE;
    BOOL m_bShowItemColors = FALSE;
    int m_nClientFrame = 0;   // 0 frame on four sides, 1 a band on the row's side, 2 none
    BOOL m_bStaticFrame = FALSE;
    CRect m_rcClientMargin;
    CRect m_rcControlMargin;
    CRect m_rcButtonMargin;   // inset inside each item around its content
    CRect m_rcButtonText = CRect(6, 0, 6, 0);
    void* m_pReserved2 = nullptr;
    BOOL m_bFillBackground = TRUE;
    CSize m_szIcon = CSize(16, 16);
    BOOL m_bDrawTextMiddleEllipsis = FALSE;
    BOOL m_bDrawTextEndEllipsis = TRUE;
    BOOL m_bDrawTextNoPrefix = TRUE;
    UINT m_nDrawTextFormat = DT_VCENTER;
    BOOL m_bDrawTextHidePrefix = FALSE;   // strip '&' markers before drawing
    BOOL m_bKeepSelectedRow = FALSE;
    BOOL m_bMultiRowJustified = TRUE;     // even rows
    BOOL m_bDrawFocusRect = TRUE;
    BOOL m_bSelectOnDragOver = TRUE;
    int m_nFixedItemExtra = 0;            // added to every visible item's length
    BOOL m_bHotTracking = TRUE;
    BOOL m_bClearTypeText = FALSE;
    BOOL m_bRotateImageOnVerticalDraw = FALSE;
    BOOL m_bClipHeader = TRUE;
    CSize m_szNavigateButton = CSize(14, 15);
    int m_nMinTabWidth = 0;
    int m_nMaxTabWidth = 0;
    int m_nFixedTabWidth = 70;
    int m_nToolTipMode = 2;               // 0 none, 1 always, 2 captions that do not fit
    BOOL m_bSelectOnButtonDown = FALSE;
    BOOL m_bInvertGradient = FALSE;
    BOOL m_bUseStandardFont = TRUE;       // follow the system's icon-title font

private:
    void InstallAppearance(CKLVTabStyle* pAppearanceSet);
    void InstallColorSet(CKLVTabColors* pColorSet);
    void DrawRowItems(CKLVTabManager* pTabManager, CDC* pDC, const CRect& rcClipBox, int nRow);
    int MeasureCaption(CDC* pDC, const CString& strCaption, BOOL bVertical);
    int GetWidestCaption(CDC* pDC, CKLVTabManager* pTabManager, BOOL bVertical);
    void DrawCaption(CDC* pDC, CKLVTabManagerItem* pItem, CRect rc, BOOL bVertical);
    void DrawItemButtons(CDC* pDC, CKLVTabManagerItem* pItem, CRect& rc, BOOL bVertical);
    void PlaceRowItems(CKLVTabManager* pTabManager, const CRect& rcRow, int nHeaderStart);

    std::unique_ptr<CKLVTabStyle> m_pAppearanceSet;
    std::unique_ptr<CKLVTabColors> m_pColorSet;
    CKLVTabPainterObserverArray m_arrObservers;
    int m_nAppearance = 0;
    int m_nColor = 1;
    int m_nPosition = 0;
    int m_nLayout = 0;
    int m_nItemColor = 0;
    CFont m_fntNormal;
    CFont m_fntBold;
    CFont m_fntVerticalNormal;
    CFont m_fntVerticalBold;
};
