#ifndef KELVANE_GENERATOR_EMIT_TEXTBUFFER_H
#define KELVANE_GENERATOR_EMIT_TEXTBUFFER_H

#include <ostream>
#include <string>
#include <utility>

// The text of one generated file. Appends go to the end in amortised
// constant time and nothing limits the size; clear starts the file anew.
// A buffer given a sink passes its text on a block at a time, so that a
// large file never stands whole in memory: it holds only what it has not
// passed on yet, and flush passes on the rest.
class CTextBuffer {
public:
    CTextBuffer() = default;
    explicit CTextBuffer(std::ostream& sink) : sink_(&sink) {}
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;
    CTextBuffer(CTextBuffer&& other) noexcept { *this = std::move(other); }
    CTextBuffer& operator=(CTextBuffer&& other) noexcept
    {
        if (this != &other) {
            flush();
            sink_ = std::exchange(other.sink_, nullptr);
            text_ = std::move(other.text_);
            passed_ = std::exchange(other.passed_, 0);
            other.text_.clear();
        }
        return *this;
    }
    ~CTextBuffer() { flush(); }

    void append(const std::string& text) { text_ += text; spill(); }
    void append(const char* text) { text_ += text; spill(); }
    // The text and the line end every generated line carries.
    void line(const std::string& text) { text_ += text; text_ += "\r\n"; spill(); }
    void line(const char* text) { text_ += text; text_ += "\r\n"; spill(); }
    void emptyLine() { text_ += "\r\n"; spill(); }
    void clear() { text_.clear(); passed_ = 0; }
    void flush()
    {
        if (sink_ == nullptr || text_.empty())
            return;
        sink_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
        passed_ += text_.size();
        text_.clear();
    }

    // What is held: the whole text of a buffer without a sink.
    const std::string& text() const { return text_; }
    // Everything appended since the start or the last clear.
    std::size_t size() const { return passed_ + text_.size(); }
    bool empty() const { return size() == 0; }

private:
    static constexpr std::size_t Block = 64 * 1024;

    void spill()
    {
        if (sink_ != nullptr && text_.size() >= Block)
            flush();
    }

    std::ostream* sink_ = nullptr;
    std::string text_;
    std::size_t passed_ = 0;
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
