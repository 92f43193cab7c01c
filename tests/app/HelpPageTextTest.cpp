// Reading a guide page's HTML into the paragraphs the help window shows.
#include "app/HelpPageText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A page as one line a paragraph: its kind letter, depth, then its runs, each as its text with
// [b], [i], [c] for its styles and {target} for its link.
std::string Describe(const CHelpPage& page) {
    std::string str;
    for (const CHelpParagraph& paragraph : page.paragraphs) {
        static const char s_kinds[] = "b123lpg";
        str += s_kinds[paragraph.nKind];
        str += std::to_string(paragraph.nDepth);
        if (paragraph.nNumber) str += "#" + std::to_string(paragraph.nNumber);
        str += ":";
        for (const CHelpRun& run : paragraph.runs) {
            str += run.strText;
            if (run.nStyle & CHelpRun::bold) str += "[b]";
            if (run.nStyle & CHelpRun::italic) str += "[i]";
            if (run.nStyle & CHelpRun::code) str += "[c]";
            if (!run.strLink.empty()) str += "{" + run.strLink + "}";
            str += "|";
        }
        str += "\n";
    }
    return str;
}

TEST(HelpPageText, ReadsTheElementsTheGuideUses) {
    struct Case {
        const char* lpszHtml;
        const char* lpszExpected;
    };
    const Case cases[] = {
        {"<h1>Title</h1><h2 id=\"a\">Sub</h2><h4>Deep</h4>", "10:Title|\n20:Sub|\n30:Deep|\n"},
        {"<p>one\n   two\tthree </p>", "b0:one two three|\n"},
        {"<p>a <strong>bold</strong> and <em>it</em> <code>x()</code></p>",
         "b0:a |bold[b]| and |it[i]| |x()[c]|\n"},
        {"<p>see <a href=\"keys.html#f1\">the keys</a>.</p>", "b0:see |the keys{keys.html#f1}|.|\n"},
        // A loose list's paragraphs are the items themselves; nested lists go deeper.
        {"<ul><li><p>first</p></li><li>second<ul><li>inner</li></ul></li></ul><p>after</p>",
         "l1:first|\nl1:second|\nl2:inner|\nb0:after|\n"},
        // Numbered lists count their own items, a list inside one counting afresh.
        {"<ol><li>a</li><li>b<ol><li>c</li></ol></li><li>d</li></ol><ol><li>e</li></ol>",
         "l1#1:a|\nl1#2:b|\nl2#1:c|\nl1#3:d|\nl1#1:e|\n"},
        {"<ol><li>a<ul><li>b</li></ul></li><li>c</li></ol>", "l1#1:a|\nl2:b|\nl1#2:c|\n"},
        // Preformatted text keeps its lines and spaces, without the line after <pre>.
        {"<pre><code>int  a;\n  b;</code></pre>", "p0:int  a;\n  b;[c]|\n"},
        {"<pre>\nx  y\n</pre>", "p0:x  y\n|\n"},
        {"<p>a &lt;b&gt; &amp; &quot;c&quot; &#65;&#x42; &nbsp;&copy; &bogus;</p>",
         "b0:a <b> & \"c\" AB \xC2\xA0\xC2\xA9 &bogus;|\n"},
        {"<figure><img src=\"shots/new.png\" alt=\"The New Project dialog\" /><figcaption>New</figcaption></figure>",
         "g0:The New Project dialog[i]{shots/new.png}|\nb0:New[i]|\n"},
        {"<figure><img src=\"a.png\" alt=\"Same\"><figcaption>Same</figcaption></figure><p>Same</p>",
         "g0:Same[i]{a.png}|\nb0:Same|\n"},
        {"<table><tr><th>Key</th><th>Does</th></tr><tr><td>F1</td><td>help</td></tr></table>",
         "b0:Key\tDoes[b]|\nb0:F1\thelp|\n"},
        {"<html><head><title>T &amp; U</title><style>p{}</style></head><body><p>x</p></body></html>", "b0:x|\n"},
        {"<p>a<br>b</p><!-- <p>hidden</p> --><script>var p='<p>';</script>", "b0:a\nb|\n"},
        // Empty paragraphs are dropped; a broken tag ends the page.
        {"<p> </p><p></p><p>x</p><p>y<b", "b0:x|\nb0:y|\n"},
        {"text without a tag", "b0:text without a tag|\n"},
        {"<P CLASS=x>Upper</P><A HREF='z.html'>z</A>", "b0:Upper|\nb0:z{z.html}|\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Describe(ReadHelpPage(c.lpszHtml)), c.lpszExpected) << c.lpszHtml;
}

TEST(HelpPageText, TheTitleComesFromTheHeadAndTextJoinsTheRuns) {
    const CHelpPage page = ReadHelpPage("<title>A &amp; B</title><p>x <b>y</b> z</p>");
    EXPECT_EQ(page.strTitle, "A & B");
    ASSERT_EQ(page.paragraphs.size(), 1u);
    EXPECT_EQ(page.paragraphs[0].Text(), "x y z");
}

}  // namespace
