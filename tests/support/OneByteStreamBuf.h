#ifndef KELVANE_TESTS_SUPPORT_ONEBYTESTREAMBUF_H
#define KELVANE_TESTS_SUPPORT_ONEBYTESTREAMBUF_H

#include <cstddef>
#include <streambuf>
#include <string>
#include <utility>

// A stream buffer over a string that hands out at most one byte per read, so
// that a reader on top of it reaches the end of its own buffer after every byte.
class OneByteStreamBuf : public std::streambuf {
public:
    explicit OneByteStreamBuf(std::string data) : data_(std::move(data)) {}

    int reads() const { return reads_; }

protected:
    int_type underflow() override
    {
        return pos_ < data_.size() ? traits_type::to_int_type(data_[pos_]) : traits_type::eof();
    }

    int_type uflow() override
    {
        return pos_ < data_.size() ? traits_type::to_int_type(data_[pos_++]) : traits_type::eof();
    }

    std::streamsize xsgetn(char* s, std::streamsize n) override
    {
        ++reads_;
        if (n <= 0 || pos_ >= data_.size()) {
            return 0;
        }
        *s = data_[pos_++];
        return 1;
    }

private:
    std::string data_;
    std::size_t pos_ = 0;
    int reads_ = 0;
};

#endif
