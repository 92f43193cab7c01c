#include "app/HelpPageText.h"

#include <cctype>
#include <cstdlib>

namespace {

std::string LowerCase(std::string str) {
    for (char& c : str) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return str;
}

void AppendUtf8(std::string& str, unsigned long nCode) {
    if (nCode == 0 || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) nCode = 0xFFFD;
    if (nCode < 0x80) {
        str += static_cast<char>(nCode);
    } else if (nCode < 0x800) {
        str += static_cast<char>(0xC0 | (nCode >> 6));
        str += static_cast<char>(0x80 | (nCode & 0x3F));
    } else if (nCode < 0x10000) {
        str += static_cast<char>(0xE0 | (nCode >> 12));
        str += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (nCode & 0x3F));
    } else {
        str += static_cast<char>(0xF0 | (nCode >> 18));
        str += static_cast<char>(0x80 | ((nCode >> 12) & 0x3F));
        str += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}

// The character an entity's name (between '&' and ';') stands for; false when unknown.
bool DecodeEntity(const std::string& strName, std::string& strOut) {
    struct Named {
        const char* lpszName;
        unsigned long nCode;
    };
    static const Named s_named[] = {{"amp", '&'},       {"lt", '<'},         {"gt", '>'},
                                    {"quot", '"'},      {"apos", '\''},      {"nbsp", 0xA0},
                                    {"ndash", 0x2013},  {"mdash", 0x2014},   {"hellip", 0x2026},
                                    {"lsquo", 0x2018},  {"rsquo", 0x2019},   {"ldquo", 0x201C},
                                    {"rdquo", 0x201D},  {"copy", 0xA9},      {"rarr", 0x2192}};
    if (strName.size() > 1 && strName[0] == '#') {
        const bool bHex = strName[1] == 'x' || strName[1] == 'X';
        const std::string strDigits = strName.substr(bHex ? 2 : 1);
        if (strDigits.empty()) return false;
        char* pEnd = nullptr;
        const unsigned long nCode = std::strtoul(strDigits.c_str(), &pEnd, bHex ? 16 : 10);
        if (*pEnd) return false;
        AppendUtf8(strOut, nCode);
        return true;
    }
    for (const Named& named : s_named) {
        if (strName == named.lpszName) {
            AppendUtf8(strOut, named.nCode);
            return true;
        }
    }
    return false;
}

std::string DecodeText(const std::string& strRaw) {
    std::string strOut;
    for (size_t i = 0; i < strRaw.size(); ++i) {
        if (strRaw[i] == '&') {
            const size_t nEnd = strRaw.find(';', i);
            if (nEnd != std::string::npos && nEnd - i <= 10 && DecodeEntity(strRaw.substr(i + 1, nEnd - i - 1), strOut)) {
                i = nEnd;
                continue;
            }
        }
        strOut += strRaw[i];
    }
    return strOut;
}

// An attribute's value in a tag's text (after its name); empty when absent.
std::string AttributeValue(const std::string& strTag, const char* lpszName) {
    const std::string strLower = LowerCase(strTag);
    const std::string strKey = lpszName;
    for (size_t nAt = strLower.find(strKey); nAt != std::string::npos; nAt = strLower.find(strKey, nAt + 1)) {
        if (nAt == 0 || !std::isspace(static_cast<unsigned char>(strLower[nAt - 1]))) continue;
        size_t i = nAt + strKey.size();
        while (i < strTag.size() && std::isspace(static_cast<unsigned char>(strTag[i]))) ++i;
        if (i >= strTag.size() || strTag[i] != '=') continue;
        ++i;
        while (i < strTag.size() && std::isspace(static_cast<unsigned char>(strTag[i]))) ++i;
        if (i >= strTag.size()) return "";
        const char cQuote = strTag[i];
        if (cQuote == '"' || cQuote == '\'') {
            const size_t nEnd = strTag.find(cQuote, i + 1);
            return DecodeText(strTag.substr(i + 1, nEnd == std::string::npos ? std::string::npos : nEnd - i - 1));
        }
        size_t nEnd = i;
        while (nEnd < strTag.size() && !std::isspace(static_cast<unsigned char>(strTag[nEnd]))) ++nEnd;
        return DecodeText(strTag.substr(i, nEnd - i));
    }
    return "";
}

class CPageReader {
public:
    CHelpPage Read(const std::string& strHtml);

private:
    void OnTag(const std::string& strName, bool bClosing, const std::string& strTag);
    void OnText(const std::string& strRaw);
    void Open(CHelpParagraph::Kind nKind);
    void Close();
    void AddText(const std::string& strText);
    unsigned Style() const {
        return (m_nBold ? CHelpRun::bold : 0) | (m_nItalic ? CHelpRun::italic : 0) | (m_nCode ? CHelpRun::code : 0);
    }

    CHelpPage m_page;
    bool m_bOpen = false;
    bool m_bInTitle = false;
    bool m_bInHead = false;
    bool m_bInRow = false;
    bool m_bCaption = false;   // the paragraph open is a figure's caption
    int m_nSkip = 0;   // inside <script> or <style>
    int m_nDepth = 0;
    int m_nPre = 0;
    int m_nBold = 0, m_nItalic = 0, m_nCode = 0;
    std::string m_strLink;
    std::vector<int> m_lists;   // each open list's last item number; -1 for a bulleted one
};

void CPageReader::Open(CHelpParagraph::Kind nKind) {
    Close();
    m_bCaption = false;
    CHelpParagraph paragraph;
    paragraph.nKind = nKind;
    paragraph.nDepth = m_nDepth;
    m_page.paragraphs.push_back(paragraph);
    m_bOpen = true;
}

// A paragraph that ends with nothing in it is dropped, and so is the space that ends it.
void CPageReader::Close() {
    if (!m_bOpen) return;
    m_bOpen = false;
    CHelpParagraph& paragraph = m_page.paragraphs.back();
    if (paragraph.nKind != CHelpParagraph::preformatted) {
        while (!paragraph.runs.empty()) {
            std::string& strText = paragraph.runs.back().strText;
            while (!strText.empty() && strText.back() == ' ') strText.pop_back();
            if (!strText.empty()) break;
            paragraph.runs.pop_back();
        }
    }
    if (paragraph.runs.empty()) {
        m_page.paragraphs.pop_back();
        return;
    }
    // A picture's caption that only repeats its description is said once.
    const size_t nCount = m_page.paragraphs.size();
    if (m_bCaption && nCount >= 2 && m_page.paragraphs[nCount - 2].nKind == CHelpParagraph::picture &&
        m_page.paragraphs[nCount - 2].Text() == paragraph.Text())
        m_page.paragraphs.pop_back();
}

void CPageReader::AddText(const std::string& strText) {
    if (strText.empty()) return;
    if (!m_bOpen) {
        if (m_nPre == 0 && strText == " ") return;
        Open(CHelpParagraph::body);
    }
    std::vector<CHelpRun>& runs = m_page.paragraphs.back().runs;
    if (!runs.empty() && runs.back().nStyle == Style() && runs.back().strLink == m_strLink) {
        runs.back().strText += strText;
        return;
    }
    CHelpRun run;
    run.strText = strText;
    run.nStyle = Style();
    run.strLink = m_strLink;
    runs.push_back(run);
}

void CPageReader::OnText(const std::string& strRaw) {
    if (m_nSkip) return;
    const std::string strText = DecodeText(strRaw);
    if (m_bInTitle) {
        m_page.strTitle += strText;
        return;
    }
    if (m_bInHead) return;
    if (m_nPre) {
        AddText(strText);
        return;
    }
    // White space folds to one space, and none starts a paragraph.
    std::string strFolded;
    for (char c : strText) {
        const bool bSpace = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!bSpace) {
            strFolded += c;
            continue;
        }
        if (!strFolded.empty() && strFolded.back() == ' ') continue;
        strFolded += ' ';
    }
    if (!strFolded.empty() && strFolded[0] == ' ') {
        const bool bAtStart = !m_bOpen || m_page.paragraphs.back().runs.empty() ||
                              m_page.paragraphs.back().runs.back().strText.empty() ||
                              m_page.paragraphs.back().runs.back().strText.back() == ' ' ||
                              m_page.paragraphs.back().runs.back().strText.back() == '\n';
        if (bAtStart) strFolded.erase(0, 1);
    }
    AddText(strFolded);
}

void CPageReader::OnTag(const std::string& strName, bool bClosing, const std::string& strTag) {
    const int nStep = bClosing ? -1 : 1;
    if (strName == "head") m_bInHead = !bClosing;
    else if (strName == "title") m_bInTitle = !bClosing;
    else if (strName == "script" || strName == "style") m_nSkip += nStep;
    if (m_bInHead || m_nSkip) return;
    if (strName == "b" || strName == "strong" || strName == "th" || strName == "dt") m_nBold += nStep;
    else if (strName == "i" || strName == "em" || strName == "figcaption") m_nItalic += nStep;
    else if (strName == "code" || strName == "kbd" || strName == "tt") m_nCode += nStep;
    if (m_nBold < 0) m_nBold = 0;
    if (m_nItalic < 0) m_nItalic = 0;
    if (m_nCode < 0) m_nCode = 0;

    if (strName == "a") {
        m_strLink = bClosing ? "" : AttributeValue(strTag, "href");
    } else if (strName == "h1" || strName == "h2" || strName == "h3" || strName == "h4" || strName == "h5" ||
               strName == "h6") {
        static const CHelpParagraph::Kind s_kinds[] = {CHelpParagraph::heading1, CHelpParagraph::heading2,
                                                      CHelpParagraph::heading3};
        const int nLevel = strName[1] - '1';
        if (bClosing) Close();
        else Open(s_kinds[nLevel < 2 ? nLevel : 2]);
    } else if (strName == "figcaption") {
        if (bClosing) {
            Close();
            m_bCaption = false;
        } else {
            Open(CHelpParagraph::body);
            m_bCaption = true;
        }
    } else if (strName == "p" || strName == "dd" || strName == "dt" || strName == "div") {
        // A list item's first paragraph is the item itself.
        const bool bEmptyItem = m_bOpen && m_page.paragraphs.back().nKind == CHelpParagraph::listItem &&
                                m_page.paragraphs.back().runs.empty();
        if (bClosing) Close();
        else if (!bEmptyItem) Open(CHelpParagraph::body);
    } else if (strName == "li") {
        if (bClosing) {
            Close();
        } else {
            Open(CHelpParagraph::listItem);
            if (!m_lists.empty() && m_lists.back() >= 0) m_page.paragraphs.back().nNumber = ++m_lists.back();
        }
    } else if (strName == "ul" || strName == "ol" || strName == "blockquote") {
        Close();
        m_nDepth += nStep;
        if (m_nDepth < 0) m_nDepth = 0;
        if (strName == "blockquote") return;
        if (!bClosing) m_lists.push_back(strName == "ol" ? 0 : -1);
        else if (!m_lists.empty()) m_lists.pop_back();
    } else if (strName == "pre") {
        if (bClosing) {
            if (m_nPre > 0) --m_nPre;
            Close();
        } else {
            Open(CHelpParagraph::preformatted);
            ++m_nPre;
        }
    } else if (strName == "br") {
        AddText("\n");
    } else if (strName == "tr") {
        Close();
        m_bInRow = !bClosing;
        if (m_bInRow) Open(CHelpParagraph::body);
    } else if ((strName == "td" || strName == "th") && !bClosing) {
        // Cells after the first are set apart by a tab.
        if (m_bInRow && m_bOpen && !m_page.paragraphs.back().runs.empty()) AddText("\t");
    } else if (strName == "img" && !bClosing) {
        const bool bWasOpen = m_bOpen;
        const CHelpParagraph::Kind nWas = bWasOpen ? m_page.paragraphs.back().nKind : CHelpParagraph::body;
        Open(CHelpParagraph::picture);
        const std::string strAlt = AttributeValue(strTag, "alt");
        CHelpRun run;
        run.strText = strAlt.empty() ? AttributeValue(strTag, "src") : strAlt;
        run.nStyle = CHelpRun::italic;
        run.strLink = AttributeValue(strTag, "src");
        m_page.paragraphs.back().runs.push_back(run);
        Close();
        if (bWasOpen && nWas != CHelpParagraph::body) Open(nWas);
    }
}

CHelpPage CPageReader::Read(const std::string& strHtml) {
    size_t i = 0;
    while (i < strHtml.size()) {
        const size_t nTag = strHtml.find('<', i);
        if (nTag == std::string::npos) {
            OnText(strHtml.substr(i));
            break;
        }
        OnText(strHtml.substr(i, nTag - i));
        if (strHtml.compare(nTag, 4, "<!--") == 0) {
            const size_t nEnd = strHtml.find("-->", nTag + 4);
            if (nEnd == std::string::npos) break;
            i = nEnd + 3;
            continue;
        }
        // The tag ends at the first '>' outside quotes.
        size_t nEnd = nTag + 1;
        char cQuote = 0;
        for (; nEnd < strHtml.size(); ++nEnd) {
            const char c = strHtml[nEnd];
            if (cQuote) {
                if (c == cQuote) cQuote = 0;
            } else if (c == '"' || c == '\'') {
                cQuote = c;
            } else if (c == '>') {
                break;
            }
        }
        if (nEnd >= strHtml.size()) break;
        const std::string strTag = strHtml.substr(nTag + 1, nEnd - nTag - 1);
        i = nEnd + 1;
        const bool bClosing = !strTag.empty() && strTag[0] == '/';
        size_t nNameEnd = bClosing ? 1 : 0;
        while (nNameEnd < strTag.size() && std::isalnum(static_cast<unsigned char>(strTag[nNameEnd]))) ++nNameEnd;
        const std::string strName = LowerCase(strTag.substr(bClosing ? 1 : 0, nNameEnd - (bClosing ? 1 : 0)));
        if (strName.empty()) continue;   // <!DOCTYPE>, <?...?>
        OnTag(strName, bClosing, strTag);
        // Text right after <pre> starts on its first line.
        if (strName == "pre" && !bClosing && i < strHtml.size() && strHtml[i] == '\n') ++i;
    }
    Close();
    return m_page;
}

}  // namespace

std::string CHelpParagraph::Text() const {
    std::string strText;
    for (const CHelpRun& run : runs) strText += run.strText;
    return strText;
}

CHelpPage ReadHelpPage(const std::string& strHtml) {
    return CPageReader().Read(strHtml);
}
