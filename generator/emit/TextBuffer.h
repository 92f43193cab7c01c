#ifndef KELVANE_GENERATOR_EMIT_TEXTBUFFER_H
#define KELVANE_GENERATOR_EMIT_TEXTBUFFER_H

#include <algorithm>
#include <cstring>
#include <iterator>
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
// A piece given to the buffer must not be the buffer's own text.
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
            used_ = std::exchange(other.used_, 0);
            passed_ = std::exchange(other.passed_, 0);
            depth_ = std::exchange(other.depth_, 0);
            other.text_.clear();
        }
        return *this;
    }
    ~CTextBuffer() { flush(); }

    void append(const std::string& text) { put(text.data(), text.size()); }
    void append(const char* text) { put(text, std::char_traits<char>::length(text)); }
    // Pieces (strings, C strings, string views, single characters) put in
    // one after the other, so that no joined copy is made first.
    template <class First, class Second, class... Rest>
    void append(const First& first, const Second& second, const Rest&... rest)
    {
        const std::string_view pieces[] = {view(first), view(second), view(rest)...};
        putPieces(pieces, std::size(pieces), false);
    }
    // The text, indented, and the line end every generated line carries;
    // likewise of pieces.
    template <class First, class... Rest>
    void line(const First& first, const Rest&... rest)
    {
        const std::string_view pieces[] = {view(first), view(rest)...};
        putPieces(pieces, std::size(pieces), true);
    }
    void emptyLine()
    {
        char* at = roomFor(2);
        at[0] = '\r';
        at[1] = '\n';
        used_ += 2;
        spill();
    }
    // The line that opens a block ("{", "for(...){"); the lines after it
    // are one tab deeper until the block is closed.
    template <class First, class... Rest>
    void open(const First& first, const Rest&... rest)
    {
        line(first, rest...);
        indent();
    }
    // The line that closes the innermost open block, at the depth it opened.
    void close() { close("}"); }
    template <class First, class... Rest>
    void close(const First& first, const Rest&... rest)
    {
        outdent();
        line(first, rest...);
    }
    // One tab deeper, or back: the body of a statement without braces.
    void indent() { ++depth_; }
    void outdent()
    {
        if (depth_ > 0)
            --depth_;
    }
    std::size_t depth() const { return depth_; }
    // The room the text took stays for the text that comes next.
    void clear() { used_ = 0; passed_ = 0; depth_ = 0; }
    void flush()
    {
        if (sink_ == nullptr || used_ == 0)
            return;
        sink_->write(text_.data(), static_cast<std::streamsize>(used_));
        passed_ += used_;
        used_ = 0;
    }

    // What is held: the whole text of a buffer without a sink.
    const std::string& text() const
    {
        text_.resize(used_);
        return text_;
    }
    // Everything appended since the start or the last clear.
    std::size_t size() const { return passed_ + used_; }
    bool empty() const { return size() == 0; }

private:
    static constexpr std::size_t Block = 64 * 1024;
    static constexpr std::size_t SpillSlack = 1024;

    static std::string_view view(const std::string& text) { return text; }
    static std::string_view view(std::string_view text) { return text; }
    static std::string_view view(const char* text) { return text; }
    // A character piece is the caller's own argument, alive for the whole call.
    template <class C, std::enable_if_t<std::is_same_v<C, char>, int> = 0>
    static std::string_view view(const C& c)
    {
        return std::string_view(&c, 1);
    }

    // The pieces, after the tabs of a line that holds text (an empty line
    // takes none) and before the line end when asLine, copied straight
    // into the room behind the text.
    void putPieces(const std::string_view* pieces, std::size_t count, bool asLine)
    {
        std::size_t size = 0;
        for (std::size_t i = 0; i < count; ++i)
            size += pieces[i].size();
        const std::size_t tabs = asLine && size > 0 ? depth_ : 0;
        char* const start = roomFor(tabs + size + 2);
        char* end = putTabs(start, tabs);
        for (std::size_t i = 0; i < count; ++i) {
            if (!pieces[i].empty())
                end = static_cast<char*>(std::memcpy(end, pieces[i].data(), pieces[i].size())) + pieces[i].size();
        }
        if (asLine) {
            *end++ = '\r';
            *end++ = '\n';
        }
        used_ += static_cast<std::size_t>(end - start);
        spill();
    }

    // Tabs a few at a time: a run of fixed size needs no call to fill it.
    // It may write past the tabs, into room that roomFor keeps.
    static constexpr char Tabs[8] = {'\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t'};
    static char* putTabs(char* at, std::size_t count)
    {
        for (std::size_t left = count; left > 0; left -= std::min(left, sizeof(Tabs)))
            at = std::copy(Tabs, Tabs + sizeof(Tabs), at) - sizeof(Tabs) + std::min(left, sizeof(Tabs));
        return at;
    }

    // Where size bytes go behind the text, with a run of tabs' worth more
    // room beyond them. The room at least doubles each time it grows (room
    // is filled when it is made, so it is not made larger than that).
    char* roomFor(std::size_t size)
    {
        const std::size_t needed = used_ + size + sizeof(Tabs);
        if (text_.size() < needed)
            text_.resize(std::max(needed, grownRoom()));
        return &text_[used_];
    }
    // Twice the room; but a buffer with a sink spills at a block, so a
    // block and a line is all it ever needs (doubled, a writer's buffer
    // would hold twice that).
    std::size_t grownRoom() const
    {
        const std::size_t doubled = 2 * text_.size();
        return sink_ != nullptr ? std::min(doubled, Block + SpillSlack) : doubled;
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
        if (size > 0)
            std::memcpy(roomFor(size), text, size);
        used_ += size;
        spill();
    }

    void spill()
    {
        if (sink_ != nullptr && used_ >= Block)
            flush();
    }

    std::ostream* sink_ = nullptr;
    // The text is text_'s first used_ bytes; the rest of text_ is room for
    // what comes next, so that a line goes in without a call into the
    // string. text() cuts text_ to the text.
    mutable std::string text_;
    std::size_t used_ = 0;
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
