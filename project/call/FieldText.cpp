#include "project/call/FieldText.h"

#include "net/HexDigits.h"

#include <algorithm>

namespace {

const char* const kHex = "0123456789ABCDEF";

bool needsEscape(unsigned char c)
{
    return c == '%' || c < 0x20 || c == 0x7f;
}

}  // namespace

std::string FieldText::escaped(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

void FieldText::append(std::string& out, const std::string& name, const std::string& value)
{
    out += name + " " + escaped(value) + "\n";
}

bool FieldText::fail(int column, const std::string& message)
{
    column_ = column;
    error_ = message;
    return false;
}

bool FieldText::next(std::string& name, std::string& value)
{
    if (atEnd())
        return false;
    ++line_;
    column_ = 1;
    std::size_t end = text_.find('\n', at_);
    if (end == std::string::npos)
        end = text_.size();
    std::string line = text_.substr(at_, end - at_);
    at_ = std::min(end + 1, text_.size() + 1);
    // A file an editor saved with CR LF line ends reads as well.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const std::size_t space = line.find(' ');
    if (space == std::string::npos || space == 0)
        return fail(1, "a line must be a name, a space and a value");
    name = line.substr(0, space);
    return unescape(line.substr(space + 1), static_cast<int>(space) + 2, value);
}

bool FieldText::unescape(const std::string& text, int firstColumn, std::string& value)
{
    value.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            value += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? hexDigitValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexDigitValue(text[i + 2]) : -1;
        if (high < 0 || low < 0)
            return fail(firstColumn + static_cast<int>(i), "'%' must be followed by two hexadecimal digits");
        value += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

bool FieldText::takeBytes(std::size_t count, std::string& bytes)
{
    const std::size_t left = at_ < text_.size() ? text_.size() - at_ : 0;
    if (count > left) {
        ++line_;
        return fail(1, std::to_string(count) + " bytes announced, " + std::to_string(left) + " found");
    }
    bytes = text_.substr(at_, count);
    // The bytes begin on a line of their own; line() is where they end.
    line_ += 1 + static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
    at_ += count;
    if (at_ < text_.size() && text_[at_] == '\n')
        ++at_;
    return true;
}
