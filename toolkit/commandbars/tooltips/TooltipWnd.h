// The toolkit's own tooltip window: it understands the tooltip messages the host sends, shows the
// tool under the mouse after the initial delay (at once within the reshow delay after another
// tip), and draws a title, an image and the text. The derived windows change the look: rich
// text, the colour manager's scheme gradients, the resource theme's colours.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/String.h"
#include "classlib/Wnd.h"

#include <memory>
#include <vector>

class CKLVImageManagerIcon;
class CKLVRichEditTextHost;
class CKLVTooltipHost;

class CKLVTooltipWnd : public CWnd {
public:
    // Timer 1 waits for the initial delay.
    enum : UINT_PTR { timerShow = 1 };

    // One registered tool.
    struct Tool {
        CString strText;
        BOOL bCallback = FALSE;
        HWND hwnd = nullptr;
        UINT uFlags = 0;
        CRect rect;
        UINT_PTR uId = 0;
        CRect rectPlacement;   // the second rectangle: where the tip shows; empty: at the cursor
        BOOL IsEmpty() const { return hwnd == nullptr; }
        BOOL IsSameTool(const Tool& other) const { return hwnd == other.hwnd && uId == other.uId; }
    };

    explicit CKLVTooltipWnd(CKLVTooltipHost* pHost) : m_pHost(pHost) {}
    ~CKLVTooltipWnd() override;

    // The window of a host style from 2 to 5.
    static std::unique_ptr<CKLVTooltipWnd> CreateForStyle(int nStyle, CKLVTooltipHost* pHost);
    BOOL CreateTipWindow(DWORD dwStyle, HWND hWndOwner);

    BOOL IsActive() const { return m_bActive; }
    const Tool& GetCurrentTool() const { return m_current; }
    const Tool& GetPendingTool() const { return m_pending; }
    const Tool& GetClickedTool() const { return m_clicked; }
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }
    const Tool* GetTool(int nIndex) const { return m_tools[static_cast<size_t>(nIndex)].get(); }
    int GetInitialDelay() const { return m_nInitialDelay; }
    int GetReshowDelay() const { return m_nReshowDelay; }
    const CString& GetTitle() const { return m_strTitle; }
    CKLVImageManagerIcon* GetImage() const { return m_pImage; }
    // The process's mouse hook is set while some tip shows.
    static BOOL IsMouseHookSet();

    // The size the tip needs; (0, 0) shows nothing.
    virtual CSize Measure(CDC* pDC, const CString& strText);
    virtual void DrawBackground(CDC* pDC, CRect rc);
    virtual void DrawText(CDC* pDC, const CString& strText, CRect rc);

protected:
    // The tick count the delays are measured with.
    virtual DWORD GetCurrentTick() const { return ::GetTickCount(); }
    // The tool's text: its own, or its parent's answer for a callback tool; mnemonics removed
    // unless the host shows ampersands.
    CString GetToolText(const Tool& tool) const;
    virtual COLORREF GetTextColor() const;
    COLORREF GetBackColor() const;
    // The text rectangle, its size (the text measured), and the drawing of a title and image.
    CSize MeasureContent(CDC* pDC, const CString& strText);
    void DrawContent(CDC* pDC, CRect rc, const CString& strText);
    virtual CSize MeasureBodyText(CDC* pDC, const CString& strText, int cxMax);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}

    CKLVTooltipHost* m_pHost;

private:
    BOOL HandleTipMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    void AddTool(const TOOLINFOA* pInfo);
    void DeleteTool(const TOOLINFOA* pInfo);
    void UpdateTipText(const TOOLINFOA* pInfo);
    void RelayEvent(const MSG* pMsg);
    const Tool* ToolFromPoint(CPoint ptScreen) const;
    void ShowTool(const Tool& tool);
    void Hide();
    void OnPaintTip();
    void OnTimerShow();
    CRect PlaceAtCursor(CSize size) const;
    // The tool's second rectangle in screen co-ordinates with the tip's size.
    CRect PlaceAtRect(const Tool& tool, CSize size) const;
    // Keeps the tip inside the work area of the cursor's monitor (above the cursor near its
    // bottom).
    CRect KeepInWorkArea(CRect rc) const;
    // The icon the title shows: none, the system's information, warning or error icon (codes
    // 1 to 3), or the icon whose handle the code is.
    HICON GetTitleIcon() const;
    void SetHook();
    void RemoveHook();
    static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    std::vector<std::unique_ptr<Tool>> m_tools;
    BOOL m_bActive = FALSE;
    Tool m_current;
    Tool m_clicked;
    Tool m_pending;
    UINT_PTR m_nPendingTimer = 0;
    DWORD m_dwLastShow = 0;
    int m_nInitialDelay = 500;
    int m_nReshowDelay = 200;
    CString m_strTitle;
    WPARAM m_nTitleIcon = 0;
    CKLVImageManagerIcon* m_pImage = nullptr;
    CPoint m_ptCursor;   // where the last relayed mouse message was
};

// Styles 3, 4 and 5: rich text; the colour manager's scheme gradient; the resource theme.
class CKLVTooltipRichWnd : public CKLVTooltipWnd {
public:
    explicit CKLVTooltipRichWnd(CKLVTooltipHost* pHost);
    ~CKLVTooltipRichWnd() override;
    void DrawText(CDC* pDC, const CString& strText, CRect rc) override;

protected:
    CSize MeasureBodyText(CDC* pDC, const CString& strText, int cxMax) override;

private:
    std::unique_ptr<CKLVRichEditTextHost> m_pTextHost;
};

class CKLVTooltipThemeWnd : public CKLVTooltipWnd {
public:
    using CKLVTooltipWnd::CKLVTooltipWnd;
    void DrawBackground(CDC* pDC, CRect rc) override;
};

class CKLVTooltipResourceWnd : public CKLVTooltipWnd {
public:
    using CKLVTooltipWnd::CKLVTooltipWnd;
    void DrawBackground(CDC* pDC, CRect rc) override;

protected:
    COLORREF GetTextColor() const override { return 0x4C4C4C; }
};
