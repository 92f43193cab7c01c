// The program's own help window: the user guide's installed pages shown in a rich-edit view, with
// the list of pages beside it and the pages' links followed. It is what help opens wherever the
// system's HTML Help viewer cannot draw the pages, so that help never depends on a browser.
#pragma once

#include "app/HelpPageText.h"
#include "classlib/ClassLib.h"

#include <string>
#include <utility>
#include <vector>

class CHelpWindow {
public:
    CHelpWindow() = default;
    ~CHelpWindow();
    CHelpWindow(const CHelpWindow&) = delete;
    CHelpWindow& operator=(const CHelpWindow&) = delete;

    // Shows the page (a file name in strFolder, which ends in a backslash; an anchor after '#' is
    // let go), making the window, owned by hWndOwner, on first use. FALSE with the cause, naming
    // the file, in strFailure; the window then shows what it showed before.
    BOOL ShowPage(HWND hWndOwner, const std::string& strFolder, const std::string& strPage, std::string& strFailure);

    HWND GetSafeHwnd() const { return m_hWnd; }
    const std::string& GetPage() const { return m_strPage; }
    // The text the view shows (UTF-8, paragraphs ended by "\r").
    std::string GetShownText() const;
    // The link targets of the page shown, in their order.
    std::vector<std::string> GetLinks() const;
    // Follows the page's nLink-th link as a click on it does; FALSE when it leads nowhere.
    BOOL FollowLink(size_t nLink);

private:
    struct Link {
        LONG nStart, nEnd;
        std::string strTarget;
    };

    BOOL Create(HWND hWndOwner, std::string& strFailure);
    void FillTopics();
    void Render(const CHelpPage& page);
    void AppendRun(const CHelpRun& run, const CHelpParagraph& paragraph);
    BOOL InsertPicture(const std::string& strSource, std::string& strFailure);
    void Layout();
    BOOL Follow(const std::string& strTarget);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    HWND m_hWndTopics = nullptr;
    HWND m_hWndText = nullptr;
    HFONT m_hFont = nullptr;
    std::string m_strFolder;
    std::string m_strPage;
    std::vector<std::pair<std::string, std::string>> m_topics;   // page, title
    std::vector<Link> m_links;
};
