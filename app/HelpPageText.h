// A page of the user guide read from its HTML into paragraphs of styled runs, which the program's
// own help window shows where no HTML viewer can. Only what the guide's pages hold is read:
// headings, paragraphs, lists, preformatted text, tables, pictures, emphasis, code and links.
#pragma once

#include <string>
#include <vector>

struct CHelpRun {
    enum Style { plain = 0, bold = 1, italic = 2, code = 4 };
    std::string strText;   // UTF-8, entities resolved, white space folded outside <pre>
    unsigned nStyle = plain;
    std::string strLink;   // the link's target; empty for none
};

struct CHelpParagraph {
    enum Kind { body, heading1, heading2, heading3, listItem, preformatted, picture };
    Kind nKind = body;
    int nDepth = 0;   // how many lists (or quotes) hold it
    int nNumber = 0;  // a numbered list item's number; 0 for a bullet
    std::vector<CHelpRun> runs;

    std::string Text() const;
};

struct CHelpPage {
    std::string strTitle;
    std::vector<CHelpParagraph> paragraphs;
};

// Never fails: unknown elements give their text, a broken tag ends the page.
CHelpPage ReadHelpPage(const std::string& strHtml);
