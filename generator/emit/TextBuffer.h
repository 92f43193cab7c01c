#ifndef KELVANE_GENERATOR_EMIT_TEXTBUFFER_H
#define KELVANE_GENERATOR_EMIT_TEXTBUFFER_H

#include <string>

// The text of one generated file. Appends go to the end in amortised
// constant time and nothing limits the size; clear starts the file anew.
class CTextBuffer {
public:
    void append(const std::string& text) { text_ += text; }
    void append(const char* text) { text_ += text; }
    // The text and the line end every generated line carries.
    void line(const std::string& text) { text_ += text; text_ += "\r\n"; }
    void line(const char* text) { text_ += text; text_ += "\r\n"; }
    void emptyLine() { text_ += "\r\n"; }
    void clear() { text_.clear(); }

    const std::string& text() const { return text_; }
    std::size_t size() const { return text_.size(); }
    bool empty() const { return text_.empty(); }

private:
    std::string text_;
};

// The four files one run produces.
struct CGeneratedFiles {
    CTextBuffer header;
    CTextBuffer source;
    CTextBuffer demo;
    CTextBuffer makefile;

    void clearSources()
    {
        header.clear();
        source.clear();
        demo.clear();
    }
};

#endif
