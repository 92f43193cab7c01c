#ifndef KELVANE_GENERATOR_EMIT_TEXTSPOOL_H
#define KELVANE_GENERATOR_EMIT_TEXTSPOOL_H

#include "generator/emit/TextBuffer.h"

#include <cstdio>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

// Text put aside to be written later. It goes to an anonymous temporary
// file, so that megabytes of it do not stand in the process's memory while
// the rest of the run builds. Where no temporary file can be made, or once
// writing to it fails, the text is kept in the blocks a CTextBuffer passes
// on (never as one string that copies itself each time it doubles).
class CTextSpool : private std::streambuf {
public:
    enum Store { TemporaryFile, Memory };

    explicit CTextSpool(Store store = TemporaryFile) : stream_(this)
    {
        if (store == TemporaryFile)
            file_.reset(std::tmpfile());
    }
    CTextSpool(const CTextSpool&) = delete;
    CTextSpool& operator=(const CTextSpool&) = delete;

    // The sink to give the buffer that writes the text.
    std::ostream& sink() { return stream_; }
    // Everything the sink received, in order. Throws std::runtime_error when
    // the temporary file does not give back what went in.
    void writeTo(CTextBuffer& out) const
    {
        if (fileBytes_ > 0)
            readBack(out);
        for (const std::string& block : blocks_)
            out.append(block);
    }

private:
    static constexpr std::size_t BlockSize = 64 * 1024;

    struct FileClose {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void readBack(CTextBuffer& out) const
    {
        std::FILE* file = file_.get();
        if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_SET) != 0)
            throw std::runtime_error("cannot read back the temporary file");
        std::string block;
        for (std::size_t left = fileBytes_; left > 0; left -= block.size()) {
            block.resize(left < BlockSize ? left : BlockSize);
            if (std::fread(&block[0], 1, block.size(), file) != block.size())
                throw std::runtime_error("cannot read back the temporary file");
            out.append(block);
        }
    }

    std::streamsize xsputn(const char* text, std::streamsize size) override
    {
        auto count = static_cast<std::size_t>(size);
        if (file_ && blocks_.empty()) {
            const std::size_t written = std::fwrite(text, 1, count, file_.get());
            fileBytes_ += written;
            text += written;
            count -= written;
        }
        if (count > 0)
            blocks_.emplace_back(text, count);
        return size;
    }
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char one = traits_type::to_char_type(c);
            xsputn(&one, 1);
        }
        return traits_type::not_eof(c);
    }

    std::unique_ptr<std::FILE, FileClose> file_;
    std::size_t fileBytes_ = 0; // the text's first bytes, in the file
    std::vector<std::string> blocks_; // the rest
    std::ostream stream_;
};

#endif
