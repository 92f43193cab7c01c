#ifndef KELVANE_PROJECT_CALL_XMLECHO_H
#define KELVANE_PROJECT_CALL_XMLECHO_H

#include <memory>
#include <string>
#include <vector>

class XmlPullParser;

// An element read back from a pull parser into a small tree, to be written
// out again indented. Names, prefixes and namespace declarations stay as
// written; text, CDATA, comments and processing instructions keep their place.
class XmlEcho {
public:
    enum Kind { Element, Text, CData, Comment, Instruction, DocType };

    // Reads the node the parser stands on (after nextToken), with an
    // element's whole content; the parser is left on its end. The parser's
    // exceptions leave as they are.
    static std::unique_ptr<XmlEcho> read(XmlPullParser& xpp);

    // Appends the node at the given depth, each element on a line of its own
    // unless its content holds text other than blanks.
    void write(std::string& out, int depth) const;

    Kind kind() const { return kind_; }
    bool blank() const;

private:
    explicit XmlEcho(Kind kind) : kind_(kind) {}
    void readStartTag(const XmlPullParser& xpp);
    void readContent(XmlPullParser& xpp);
    bool holdsText() const;
    void writeElement(std::string& out, int depth) const;

    Kind kind_;
    std::string text_;  // the element's start tag without its '<' and '>'; the text of others
    std::string name_;  // an element's qualified name
    std::vector<std::unique_ptr<XmlEcho>> children_;
};

#endif
