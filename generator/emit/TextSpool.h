#ifndef KELVANE_GENERATOR_EMIT_TEXTSPOOL_H
#define KELVANE_GENERATOR_EMIT_TEXTSPOOL_H

#include "generator/emit/TextBuffer.h"

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

// Text put aside to be written later, kept in the blocks a CTextBuffer
// passes on: a text of megabytes stands in memory once, never as one string
// that copies itself each time it doubles.
class CTextSpool : private std::streambuf {
public:
    CTextSpool() : stream_(this) {}
    CTextSpool(const CTextSpool&) = delete;
    CTextSpool& operator=(const CTextSpool&) = delete;

    // The sink to give the buffer that writes the text.
    std::ostream& sink() { return stream_; }
    // Everything the sink received, in order.
    void writeTo(CTextBuffer& out) const
    {
        for (const std::string& block : blocks_)
            out.append(block);
    }

private:
    std::streamsize xsputn(const char* text, std::streamsize size) override
    {
        blocks_.emplace_back(text, static_cast<std::size_t>(size));
        return size;
    }
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            blocks_.emplace_back(1, traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

    std::vector<std::string> blocks_;
    std::ostream stream_;
};

#endif
