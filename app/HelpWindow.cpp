#include "app/HelpWindow.h"

#include "app/HelpPicture.h"
#include "app/SystemErrorText.h"
#include "app/WideText.h"
#include "toolkit/common/LoadedModule.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace {

std::wstring Wide(const std::string& strUtf8) {
    return WideText(strUtf8, CP_UTF8);
}

const char* const s_lpszClassName = "KelvaneHelpWindow";
const int s_nTopicsWidth = 220;
const UINT s_nTopicsID = 1, s_nTextID = 2;

// The whole file; FALSE with the cause.
BOOL ReadWholeFile(const std::string& strPath, std::string& strText, std::string& strFailure) {
    const HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        strFailure = strPath + " cannot be read: " + SystemErrorText(::GetLastError());
        return FALSE;
    }
    char buffer[8192];
    DWORD nRead = 0;
    BOOL bRead = TRUE;
    while ((bRead = ::ReadFile(hFile, buffer, sizeof(buffer), &nRead, nullptr)) && nRead > 0) strText.append(buffer, nRead);
    if (!bRead) strFailure = strPath + " cannot be read: " + SystemErrorText(::GetLastError());
    ::CloseHandle(hFile);
    return bRead;
}

// The rich-edit class the view is made of, its library loaded on first use and kept; empty when
// none loads, with the cause.
const wchar_t* RichEditClass(std::string& strFailure) {
    static CKLVLoadedModule s_version4("msftedit.dll");
    if (s_version4.GetHandle()) return L"RICHEDIT50W";
    static CKLVLoadedModule s_version2("riched20.dll");
    if (s_version2.GetHandle()) return L"RichEdit20W";
    strFailure = "neither msftedit.dll nor riched20.dll, which show the help's pages, loads: " +
                 SystemErrorText(::GetLastError());
    return nullptr;
}

// The page's file name without its anchor; empty for a target outside the guide.
std::string PageOfTarget(const std::string& strTarget) {
    if (strTarget.find("://") != std::string::npos || strTarget.compare(0, 7, "mailto:") == 0) return std::string();
    const std::string strPage = strTarget.substr(0, strTarget.find('#'));
    if (strPage.empty() || strPage.find_first_of("\\/:") != std::string::npos) return std::string();
    return strPage;
}

}  // namespace

CHelpWindow::~CHelpWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    if (m_hFont) ::DeleteObject(m_hFont);
}

BOOL CHelpWindow::Create(HWND hWndOwner, std::string& strFailure) {
    const wchar_t* lpszRichEdit = RichEditClass(strFailure);
    if (!lpszRichEdit) return FALSE;
    WNDCLASSA windowClass{};
    if (!::GetClassInfoA(::GetModuleHandleA(nullptr), s_lpszClassName, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = s_lpszClassName;
        ::RegisterClassA(&windowClass);
    }
    m_hWnd = ::CreateWindowExA(0, s_lpszClassName, "Kelvane Help", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                               CW_USEDEFAULT, 860, 640, hWndOwner, nullptr, ::GetModuleHandleA(nullptr), this);
    if (!m_hWnd) {
        strFailure = "the help window cannot be made: " + SystemErrorText(::GetLastError());
        return FALSE;
    }
    m_hWndTopics = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr,
                                     WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0,
                                     m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(s_nTopicsID)),
                                     ::GetModuleHandleA(nullptr), nullptr);
    m_hWndText = ::CreateWindowExW(WS_EX_CLIENTEDGE, lpszRichEdit, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
                                   0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(s_nTextID)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    if (!m_hWndTopics || !m_hWndText) {
        strFailure = "the help window's views cannot be made: " + SystemErrorText(::GetLastError());
        ::DestroyWindow(m_hWnd);
        return FALSE;
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_hFont = ::CreateFontIndirectA(&metrics.lfMessageFont);
    ::SendMessageA(m_hWndTopics, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont ? m_hFont : ::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ::SendMessageW(m_hWndText, EM_SETEVENTMASK, 0, ENM_LINK);
    ::SendMessageW(m_hWndText, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(12, 12));
    Layout();
    return TRUE;
}

// The pages the start page lists, in its order, after the start page itself.
void CHelpWindow::FillTopics() {
    m_topics.clear();
    ::SendMessageA(m_hWndTopics, LB_RESETCONTENT, 0, 0);
    std::string strHtml, strFailure;
    if (!ReadWholeFile(m_strFolder + "index.html", strHtml, strFailure)) return;
    const CHelpPage start = ReadHelpPage(strHtml);
    m_topics.emplace_back("index.html", start.strTitle);
    for (const CHelpParagraph& paragraph : start.paragraphs) {
        for (const CHelpRun& run : paragraph.runs) {
            const std::string strPage = PageOfTarget(run.strLink);
            if (strPage.empty() || strPage == "index.html") continue;
            bool bListed = false;
            for (const auto& topic : m_topics) bListed = bListed || topic.first == strPage;
            if (!bListed) m_topics.emplace_back(strPage, run.strText);
        }
    }
    for (const auto& topic : m_topics)
        ::SendMessageW(m_hWndTopics, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(topic.second).c_str()));
}

BOOL CHelpWindow::ShowPage(HWND hWndOwner, const std::string& strFolder, const std::string& strPage,
                           std::string& strFailure) {
    const std::string strFile = strPage.substr(0, strPage.find('#'));
    std::string strHtml;
    if (!ReadWholeFile(strFolder + strFile, strHtml, strFailure)) return FALSE;
    if (!m_hWnd && !Create(hWndOwner, strFailure)) return FALSE;
    if (m_strFolder != strFolder || m_topics.empty()) {
        m_strFolder = strFolder;
        FillTopics();
    }
    const CHelpPage page = ReadHelpPage(strHtml);
    m_strPage = strFile;
    Render(page);
    ::SetWindowTextW(m_hWnd, Wide("Kelvane Help - " + page.strTitle).c_str());
    int nTopic = -1;
    for (size_t i = 0; i < m_topics.size(); ++i)
        if (m_topics[i].first == strFile) nTopic = static_cast<int>(i);
    ::SendMessageA(m_hWndTopics, LB_SETCURSEL, static_cast<WPARAM>(nTopic), 0);
    ::ShowWindow(m_hWnd, ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    return TRUE;
}

void CHelpWindow::AppendRun(const CHelpRun& run, const CHelpParagraph& paragraph) {
    static const int s_nHeadingPoints[] = {18, 14, 12};
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_FACE | CFM_SIZE | CFM_LINK | CFM_COLOR;
    format.dwEffects = CFE_AUTOCOLOR;
    const bool bHeading = paragraph.nKind == CHelpParagraph::heading1 || paragraph.nKind == CHelpParagraph::heading2 ||
                          paragraph.nKind == CHelpParagraph::heading3;
    if ((run.nStyle & CHelpRun::bold) || bHeading) format.dwEffects |= CFE_BOLD;
    if (run.nStyle & CHelpRun::italic) format.dwEffects |= CFE_ITALIC;
    const bool bCode = (run.nStyle & CHelpRun::code) || paragraph.nKind == CHelpParagraph::preformatted;
    wcscpy(format.szFaceName, bCode ? L"Courier New" : L"Tahoma");
    format.yHeight = 20 * (bHeading ? s_nHeadingPoints[paragraph.nKind - CHelpParagraph::heading1] : 10);
    std::string strText = run.strText;
    if (paragraph.nKind == CHelpParagraph::picture) {
        std::string strFailure;
        if (InsertPicture(run.strLink, strFailure)) return;
        strText = "[Picture: " + strText + "; " + strFailure + "]";
    }
    // A line break inside a paragraph is a paragraph end in the view.
    for (char& c : strText)
        if (c == '\n') c = '\r';
    CHARRANGE range{};
    ::SendMessageW(m_hWndText, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    ::SendMessageW(m_hWndText, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const LONG nStart = range.cpMax;
    ::SendMessageW(m_hWndText, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    ::SendMessageW(m_hWndText, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Wide(strText).c_str()));
    if (run.strLink.empty() || paragraph.nKind == CHelpParagraph::picture) return;
    ::SendMessageW(m_hWndText, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    m_links.push_back({nStart, range.cpMax, run.strLink});
    CHARRANGE link{nStart, range.cpMax};
    ::SendMessageW(m_hWndText, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&link));
    format.dwEffects |= CFE_LINK;
    ::SendMessageW(m_hWndText, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

namespace {

struct RtfSource {
    const std::string* pText;
    size_t nAt;
};

DWORD CALLBACK ReadRtf(DWORD_PTR dwCookie, LPBYTE pBuffer, LONG nWanted, LONG* pnRead) {
    auto* pSource = reinterpret_cast<RtfSource*>(dwCookie);
    const size_t nCount = std::min(static_cast<size_t>(nWanted), pSource->pText->size() - pSource->nAt);
    memcpy(pBuffer, pSource->pText->data() + pSource->nAt, nCount);
    pSource->nAt += nCount;
    *pnRead = static_cast<LONG>(nCount);
    return 0;
}

}  // namespace

// The page's picture (a file beside the pages), as wide as the view at most, at the end of the text.
BOOL CHelpWindow::InsertPicture(const std::string& strSource, std::string& strFailure) {
    std::string strPath = m_strFolder + strSource;
    for (char& c : strPath)
        if (c == '/') c = '\\';
    RECT rcView{};
    ::GetClientRect(m_hWndText, &rcView);
    const int nMaxWidth = std::max(200, static_cast<int>(rcView.right) - 40);
    const std::string strRtf = HelpPictureRtf(strPath, nMaxWidth, strFailure);
    if (strRtf.empty()) return FALSE;
    const LRESULT nBefore = ::SendMessageW(m_hWndText, WM_GETTEXTLENGTH, 0, 0);
    ::SendMessageW(m_hWndText, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    RtfSource source{&strRtf, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadRtf;
    ::SendMessageW(m_hWndText, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError == 0 && ::SendMessageW(m_hWndText, WM_GETTEXTLENGTH, 0, 0) > nBefore) return TRUE;
    strFailure = strPath + " cannot be shown: the view took no picture from it";
    return FALSE;
}

void CHelpWindow::Render(const CHelpPage& page) {
    m_links.clear();
    ::SendMessageW(m_hWndText, WM_SETREDRAW, FALSE, 0);
    ::SetWindowTextW(m_hWndText, L"");
    bool bFirst = true;
    for (const CHelpParagraph& paragraph : page.paragraphs) {
        CHARRANGE range{};
        if (!bFirst) {
            ::SendMessageW(m_hWndText, EM_SETSEL, static_cast<WPARAM>(-1), -1);
            ::SendMessageW(m_hWndText, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\r"));
        }
        bFirst = false;
        ::SendMessageW(m_hWndText, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        ::SendMessageW(m_hWndText, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        const LONG nStart = range.cpMin;
        if (paragraph.nNumber > 0) {
            CHelpRun number;
            number.strText = std::to_string(paragraph.nNumber) + ".  ";
            AppendRun(number, paragraph);
        }
        for (const CHelpRun& run : paragraph.runs) AppendRun(run, paragraph);
        ::SendMessageW(m_hWndText, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        ::SendMessageW(m_hWndText, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        PARAFORMAT2 format{};
        format.cbSize = sizeof(format);
        format.dwMask = PFM_STARTINDENT | PFM_NUMBERING | PFM_SPACEAFTER | PFM_ALIGNMENT;
        format.dxStartIndent = 360 * paragraph.nDepth;
        format.wNumbering = paragraph.nKind == CHelpParagraph::listItem && paragraph.nNumber == 0 ? PFN_BULLET : 0;
        format.dySpaceAfter = paragraph.nKind == CHelpParagraph::preformatted ? 60 : 120;
        format.wAlignment = paragraph.nKind == CHelpParagraph::picture ? PFA_CENTER : PFA_LEFT;
        CHARRANGE whole{nStart, range.cpMax};
        ::SendMessageW(m_hWndText, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&whole));
        ::SendMessageW(m_hWndText, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    }
    ::SendMessageW(m_hWndText, EM_SETSEL, 0, 0);
    ::SendMessageW(m_hWndText, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_hWndText, nullptr, TRUE);
}

std::string CHelpWindow::GetShownText() const {
    if (!m_hWndText) return std::string();
    GETTEXTLENGTHEX length{GTL_DEFAULT, 1200};
    const LRESULT nLength = ::SendMessageW(m_hWndText, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::wstring strText(static_cast<size_t>(nLength) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(strText.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT nGot = ::SendMessageW(m_hWndText, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                        reinterpret_cast<LPARAM>(&strText[0]));
    strText.resize(static_cast<size_t>(nGot));
    return NarrowText(strText, CP_UTF8);
}

std::vector<std::string> CHelpWindow::GetLinks() const {
    std::vector<std::string> links;
    for (const Link& link : m_links) links.push_back(link.strTarget);
    return links;
}

BOOL CHelpWindow::FollowLink(size_t nLink) {
    return nLink < m_links.size() && Follow(m_links[nLink].strTarget);
}

// A page of the guide opens here; an address outside it goes to the system, which says itself
// when it cannot open it.
BOOL CHelpWindow::Follow(const std::string& strTarget) {
    const std::string strPage = PageOfTarget(strTarget);
    if (strPage.empty()) {
        return reinterpret_cast<INT_PTR>(::ShellExecuteA(m_hWnd, "open", strTarget.c_str(), nullptr, nullptr,
                                                         SW_SHOWNORMAL)) > 32;
    }
    std::string strFailure;
    if (ShowPage(nullptr, m_strFolder, strPage, strFailure)) return TRUE;
    ::MessageBoxA(m_hWnd, strFailure.c_str(), "Kelvane Help", MB_ICONERROR);
    return FALSE;
}

void CHelpWindow::Layout() {
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    ::MoveWindow(m_hWndTopics, 0, 0, s_nTopicsWidth, rcClient.bottom, TRUE);
    ::MoveWindow(m_hWndText, s_nTopicsWidth + 4, 0, rcClient.right - s_nTopicsWidth - 4, rcClient.bottom, TRUE);
}

LRESULT CHelpWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (m_hWndText) Layout();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == s_nTopicsID && HIWORD(wParam) == LBN_SELCHANGE) {
            const LRESULT nTopic = ::SendMessageA(m_hWndTopics, LB_GETCURSEL, 0, 0);
            if (nTopic >= 0 && static_cast<size_t>(nTopic) < m_topics.size()) Follow(m_topics[static_cast<size_t>(nTopic)].first);
        }
        return 0;
    case WM_NOTIFY: {
        const auto* pLink = reinterpret_cast<const ENLINK*>(lParam);
        if (pLink->nmhdr.code != EN_LINK || pLink->msg != WM_LBUTTONUP) break;
        for (const Link& link : m_links) {
            if (pLink->chrg.cpMin >= link.nStart && pLink->chrg.cpMin < link.nEnd) {
                const std::string strTarget = link.strTarget;   // the links are made anew by Follow
                Follow(strTarget);
                return 1;
            }
        }
        return 0;
    }
    case WM_NCDESTROY:
        m_hWnd = m_hWndTopics = m_hWndText = nullptr;
        m_topics.clear();
        m_links.clear();
        break;
    default: break;
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CHelpWindow::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
        static_cast<CHelpWindow*>(pCreate->lpCreateParams)->m_hWnd = hWnd;
    }
    auto* pWindow = reinterpret_cast<CHelpWindow*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!pWindow || pWindow->m_hWnd != hWnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return pWindow->OnMessage(message, wParam, lParam);
}
