#ifndef KELVANE_GENERATOR_EMIT_TEXTBUFFER_H
#define KELVANE_GENERATOR_EMIT_TEXTBUFFER_H

#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// The text of one generated file. Appends go to the end in amortised
// constant time and nothing limits the size; clear starts the file anew.
// A buffer given a sink passes its text on a block at a time, so that a
// large file never stands whole in memory: it holds only what it has not
// passed on yet, and flush passes on the rest.
// The buffer keeps the indentation: a line goes one tab deeper for each
// block opened and not yet closed (an empty line takes no tabs), so that
// emitters say where blocks begin and end instead of counting tabs.
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
            depth_ = std::exchange(other.depth_, 0);
            other.text_.clear();
        }
        return *this;
    }
    ~CTextBuffer() { flush(); }

    void append(const std::string& text) { put(text.data(), text.size()); }
    void append(const char* text) { put(text, std::char_traits<char>::length(text)); }
    // The text, indented, and the line end every generated line carries.
    void line(const std::string& text) { putLine(text.data(), text.size()); }
    void line(const char* text) { putLine(text, std::char_traits<char>::length(text)); }
    // A line of several pieces (strings, C strings, single characters) put
    // in one after the other, so that no joined copy is made first.
    template <class First, class Second, class... Rest>
    void line(const First& first, const Second& second, const Rest&... rest)
    {
        const std::string_view pieces[] = {view(first), view(second), view(rest)...};
        std::size_t size = 0;
        for (std::string_view piece : pieces)
            size += piece.size();
        indentLine(size);
        for (std::string_view piece : pieces)
            text_.append(piece.data(), piece.size());
        text_ += "\r\n";
        spill();
    }
    // Pieces without a line end, likewise.
    template <class First, class Second, class... Rest>
    void append(const First& first, const Second& second, const Rest&... rest)
    {
        for (std::string_view piece : {view(first), view(second), view(rest)...})
            text_.append(piece.data(), piece.size());
        spill();
    }
    void emptyLine() { text_ += "\r\n"; spill(); }
    // The line that opens a block ("{", "for(...){"); the lines after it
    // are one tab deeper until the block is closed.
    void open(const std::string& text)
    {
        line(text);
        indent();
    }
    template <class First, class Second, class... Rest>
    void open(const First& first, const Second& second, const Rest&... rest)
    {
        line(first, second, rest...);
        indent();
    }
    // The line that closes the innermost open block, at the depth it opened.
    void close(const std::string& text = "}")
    {
        outdent();
        line(text);
    }
    // One tab deeper, or back: the body of a statement without braces.
    void indent() { ++depth_; }
    void outdent()
    {
        if (depth_ > 0)
            --depth_;
    }
    std::size_t depth() const { return depth_; }
    void clear() { text_.clear(); passed_ = 0; depth_ = 0; }
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

    static std::string_view view(const std::string& text) { return text; }
    static std::string_view view(std::string_view text) { return text; }
    static std::string_view view(const char* text) { return text; }
    // A character piece is the caller's own argument, alive for the whole call.
    template <class C, std::enable_if_t<std::is_same_v<C, char>, int> = 0>
    static std::string_view view(const C& c)
    {
        return std::string_view(&c, 1);
    }

    // The tabs of a line that holds text. Most lines stand at the margin,
    // where no call into the string is made at all.
    void indentLine(std::size_t lineSize)
    {
        if (lineSize > 0 && depth_ > 0)
            text_.append(depth_, '\t');
    }

    void putLine(const char* text, std::size_t size)
    {
        indentLine(size);
        text_.append(text, size);
        text_ += "\r\n";
        spill();
    }

    // A block or more goes straight on to the sink, never copied.
    void put(const char* text, std::size_t size)
    {
        if (sink_ != nullptr && size >= Block) {
            flush();
            sink_->write(text, static_cast<std::streamsize>(size));
            passed_ += size;
            return;
        }
        text_.append(text, size);
        spill();
    }

    void spill()
    {
        if (sink_ != nullptr && text_.size() >= Block)
            flush();
    }

    std::ostream* sink_ = nullptr;
    std::string text_;
    std::size_t passed_ = 0;
    std::size_t depth_ = 0;
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
